#pragma once

// Tank shapes, the full capacity of a tank and the gross volume at a product level.
// Lengths are in inches, capacities in US gallons of 231 cubic inches.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "failurereporter.h"

namespace brimwell {

inline constexpr std::string_view kFlatEnded = "Flat-Ended (Steel)";
inline constexpr std::string_view kCylindrical = "Cylindrical (Fiberglass)";
inline constexpr std::string_view kVertical = "Vertical (Aboveground)";
inline constexpr std::array<std::string_view, 3> kTankShapes{kFlatEnded, kCylindrical, kVertical};

// pi as the tank formulas use it: ten decimals, not the full double value.
inline constexpr double kPi = 3.1415926535;
inline constexpr double kCubicInchesPerGallon = 231;

// The capacity in gallons, rounded to single precision; 0 for a text that is not a shape.
// Empty when the capacity does not fit the single-precision range.
std::optional<float> TankCapacity(std::string_view shape, double r, double L);

// The gross volume at level h in the requested volume unit, single precision. Each arithmetic
// failure (a zero radius, a horizontal tank's level outside its diameter, an overflow) is
// reported once for the step it happens in; the step is abandoned and the routine carries on,
// so it always returns a number. Unknown shape or unit texts give 0. Keeps no state.
float VolumeAtLevel(float h, float r, float L, std::string_view shape, std::string_view volumeUnit,
                    FailureReporter& reporter);

// VolumeAtLevel with the shape and unit texts looked up once, for a chart's thousands of levels.
class LevelVolume {
public:
    LevelVolume(std::string_view shape, std::string_view volumeUnit);
    float operator()(float h, float r, float L, FailureReporter& reporter) const;

    // The volumes at several levels, faster than one at a time; `volumes` is as long as `levels`.
    // Each level's failures are reported as one at a time would report them, though not always in
    // the same order among the levels.
    void operator()(std::span<const float> levels, float r, float L, FailureReporter& reporter,
                    std::span<float> volumes) const;

private:
    template <typename Fail>
    float volumeFromAngle(float h, float r, float L, float d, double theta, Fail& fail) const;

    enum class Shape { None, FlatEnded, Cylindrical, Vertical };
    Shape shape_ = Shape::None;
    std::optional<double> gallonFactor_;
};

}  // namespace brimwell
