#include "leak/leakrate.h"

#include <cmath>

namespace brimwell::leak {

std::optional<EquivalentRate> equivalentRate(double leakRate, double referencePressure,
                                             double desiredPressure) {
    if (referencePressure == 0) {
        return std::nullopt;
    }
    const double ratio = desiredPressure / referencePressure;
    if (!std::isfinite(ratio) || ratio < 0) {
        return std::nullopt;
    }
    const double gallonsPerHour = leakRate * std::sqrt(ratio);
    // Multiplied before dividing, and from the unrounded rate.
    const double millilitresPerMinute = gallonsPerHour * 3785 / 60;
    if (!std::isfinite(gallonsPerHour) || !std::isfinite(millilitresPerMinute)) {
        return std::nullopt;
    }
    return EquivalentRate{gallonsPerHour, millilitresPerMinute};
}

}  // namespace brimwell::leak
