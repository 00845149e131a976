#include "product.h"

#include <cfloat>
#include <cmath>

#include "numbertext.h"
#include "units.h"

namespace brimwell {

std::optional<float> NetVolume(float gross, float T, float Ce, float Tref) {
    const double g = gross;
    const double net = g + g * ((static_cast<double>(Tref) - T) * Ce);
    if (!std::isfinite(net) || std::fabs(net) > FLT_MAX) {
        return std::nullopt;
    }
    return static_cast<float>(net);
}

std::optional<ProductSelection> SelectProduct(std::string_view product, std::string_view tempUnit,
                                              std::string_view decimal) {
    for (const auto& p : kProducts) {
        if (p.name != product) {
            continue;
        }
        const double perDegreeF = readLenient(p.cePerDegreeF);
        if (tempUnit == kDegreesF) {
            return ProductSelection{formatGeneral(perDegreeF, decimal), formatGeneral(perDegreeF, decimal)};
        }
        if (tempUnit == kDegreesC) {
            return ProductSelection{formatGeneral(perDegreeF / (5.0 / 9.0), decimal), std::nullopt};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace brimwell
