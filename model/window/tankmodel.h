#pragma once

// Tank shapes, the full capacity of a tank and the gross volume at a product level.
// Lengths are in inches, capacities in US gallons of 231 cubic inches.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "model/failurereporter.h"
#include "model/units/units.h"

namespace brimwell {

enum class TankShape { FlatEnded, Cylindrical, Vertical };

// The display texts, in list order; a shape's value is its index.
inline constexpr std::array<std::string_view, 3> kTankShapes{
    "Flat-Ended (Steel)", "Cylindrical (Fiberglass)", "Vertical (Aboveground)"};

// The shape a display text names; empty for any other text.
std::optional<TankShape> parseTankShape(std::string_view text);

// pi as the tank formulas use it: ten decimals, not the full double value.
inline constexpr double kPi = 3.1415926535;
inline constexpr double kCubicInchesPerGallon = 231;

// The capacity in gallons, rounded to single precision. Empty when the capacity does not fit the
// single-precision range.
std::optional<float> TankCapacity(TankShape shape, double r, double L);

// The gross volume at level h in the requested volume unit, single precision. Each arithmetic
// failure (a zero radius, a horizontal tank's level outside its diameter, an overflow) is
// reported once for the step it happens in; the step is abandoned and the routine carries on,
// so it always returns a number. Keeps no state.
float VolumeAtLevel(float h, float r, float L, TankShape shape, VolumeUnit volumeUnit,
                    FailureReporter& reporter);

// VolumeAtLevel for one shape and unit, for a chart's thousands of levels.
class LevelVolume {
public:
    LevelVolume(TankShape shape, VolumeUnit volumeUnit);
    float operator()(float h, float r, float L, FailureReporter& reporter) const;

    // The volumes at several levels, faster than one at a time; `volumes` is as long as `levels`.
    // Each level's failures are reported as one at a time would report them, though not always in
    // the same order among the levels.
    void operator()(std::span<const float> levels, float r, float L, FailureReporter& reporter,
                    std::span<float> volumes) const;

private:
    template <typename Fail>
    float volumeFromAngle(float h, float r, float L, float d, double theta, Fail& fail) const;

    TankShape shape_;
    double gallonFactor_;
};

}  // namespace brimwell
