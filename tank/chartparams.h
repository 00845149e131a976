#pragma once

// Derives a tank chart's parameters from the tank window's texts and the increment typed at the
// prompt, with every check made before any dialog is shown or any file is touched.

#include <optional>
#include <string>

#include "model/expected.h"
#include "model/text/numbertext.h"
#include "tank/tankchart.h"

namespace brimwell {

// A unit list that shows a typed text that names no unit gives no unit.
struct ChartRequest {
    std::string diameter;  // in the length unit
    std::string length;    // in the length unit
    std::optional<LengthUnit> lengthUnit;
    TankShape shape = TankShape::FlatEnded;
    std::optional<VolumeUnit> volumeUnit;
    std::string increment;  // always inches, whatever the length unit
};

// Why no chart can be made, in the order the checks run.
enum class ChartRefusal {
    DiameterNotANumber,
    IncrementNotANumber,
    UnknownUnit,             // no length or volume unit
    NoDiameter,              // a diameter of 0 or below
    DiameterTooSmall,        // a radius that is 0 in single precision, where the chart computes
    InappropriateIncrement,  // 0, negative, or so large that no step fits: ask again
    TooManySteps,            // more than 32767 steps
    LengthNotANumber,
    CapacityOverflow,        // a tank beyond the single-precision range
};

Expected<TankChartParams, ChartRefusal> deriveChartParams(const ChartRequest& request,
                                                          const NumberFormat& format = {});

// The step count for a diameter and an increment in inches: the quotient rounded to the nearest
// whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundStepCount(double diameter, double increment);

}  // namespace brimwell
