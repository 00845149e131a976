#pragma once

#include <optional>

namespace brimwell::leak {

struct EquivalentRate {
    double gallonsPerHour = 0;
    double millilitresPerMinute = 0;
};

// The leak rate that a rate stated at the reference pressure amounts to at the desired pressure:
// E = L x sqrt(P / Pref), and E x 3785 / 60 in millilitres per minute (3785 ml taken for a
// gallon). No value when the reference pressure is 0, the pressure ratio is negative, or a
// result is not finite.
std::optional<EquivalentRate> equivalentRate(double leakRate, double referencePressure,
                                             double desiredPressure);

}  // namespace brimwell::leak
