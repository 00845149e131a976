#pragma once

// The tank model computes its results in single precision, as the tank window always has.

#include <cmath>
#include <limits>
#include <optional>

namespace brimwell {

// True when the value rounds to a finite single-precision number; false for NaN.
inline bool fitsSingle(double value) {
    return std::fabs(value) <= std::numeric_limits<float>::max();
}

// The value rounded to single precision; empty when it does not fit.
inline std::optional<float> toSingle(double value) {
    if (!fitsSingle(value)) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

}  // namespace brimwell
