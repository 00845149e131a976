#include "model/window/product.h"

#include "model/text/numbertext.h"
#include "model/window/singleprecision.h"

namespace brimwell {

std::optional<float> NetVolume(float gross, float T, float Ce, float Tref) {
    const double g = gross;
    const double net = g + g * ((static_cast<double>(Tref) - T) * Ce);
    return toSingle(net);
}

std::optional<ProductSelection> selectProduct(std::string_view product,
                                              std::optional<TempUnit> tempUnit,
                                              std::string_view decimal) {
    for (const auto& p : kProducts) {
        if (p.name != product || !tempUnit) {
            continue;
        }
        const double perDegreeF = readLenient(p.cePerDegreeF);
        if (tempUnit == TempUnit::DegreesF) {
            return ProductSelection{formatGeneral(perDegreeF, decimal),
                                    formatGeneral(perDegreeF, decimal)};
        }
        const double perDegreeC =
            ConvertCoefficient(perDegreeF, TempUnit::DegreesF, TempUnit::DegreesC);
        return ProductSelection{formatGeneral(perDegreeC, decimal), std::nullopt};
    }
    return std::nullopt;
}

}  // namespace brimwell
