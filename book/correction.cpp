#include "book/correction.h"

#include <cmath>

#include "model/tables/volumecorrection.h"

namespace brimwell::book {

Expected<double, std::string> productVcf(const Product& product, double temperature) {
    switch (product.correction) {
        case Correction::Linear: {
            const double vcf = 1 + (product.reference - temperature) * product.value;
            if (!std::isfinite(vcf) || vcf <= 0) {
                return Unexpected(
                    std::string("the linear correction gives no factor at this "
                                "temperature"));
            }
            return vcf;
        }
        case Correction::Table6B:
            return vcfTable6B(product.value, temperature);
        case Correction::Table54B:
            return vcfTable54B(product.value, temperature);
        case Correction::Table6C:
            return vcfTable6C(product.value, temperature);
        case Correction::Table54C:
            return vcfTable54C(product.value, temperature);
    }
    return Unexpected(std::string("unknown correction"));
}

}  // namespace brimwell::book
