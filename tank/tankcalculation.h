#pragma once

// The arithmetic of the tank window's Perform Calculations command, step by step, so that the
// window can show each result as soon as it is computed.

#include <optional>
#include <string>
#include <string_view>

#include "model/failurereporter.h"
#include "model/text/numbertext.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"

namespace brimwell {

// The tank as the window shows it, in the units its lists show. A unit list that shows a typed
// text that names no unit gives no unit.
struct TankInputs {
    TankShape shape = TankShape::FlatEnded;
    std::optional<LengthUnit> lengthUnit;
    std::optional<VolumeUnit> volumeUnit;
    std::string diameter;
    std::string length;
    std::string level;
    std::string productTemp;
    std::string referenceTemp;
    std::string cevalue;
};

// Radius, length and level in inches.
struct TankMeasures {
    double r = 0;
    double L = 0;
    double h = 0;
};

// The three measures in inches, or empty when there is no length unit, a text that must be read
// is not a number or a value overflows. Inches are read as they stand; the level in inches is
// read by readLevelInInches later, when it is first used, so that a bad level comes to light
// after the capacity is shown.
std::optional<TankMeasures> readMeasures(const TankInputs& in, const NumberFormat& format);

// The level in inches when the length unit is inches (the value readMeasures left for later).
std::optional<double> readLevelInInches(const TankInputs& in, const NumberFormat& format);

// The capacity in the selected volume unit, single precision; empty on overflow or when there is
// no volume unit.
std::optional<float> capacityInUnit(TankShape shape, double r, double L,
                                    std::optional<VolumeUnit> volumeUnit);

// The net volume at the reference temperature; empty when the stored coefficient is not a number
// or the arithmetic overflows.
std::optional<float> netVolumeOf(float gross, const TankInputs& in, const NumberFormat& format);

// The picture for the computed fill, from the texts just displayed; empty when the picture stays
// as it is (a level of 0 or below, a negative ratio). A capacity that reads as 0 shows the empty
// tank.
std::optional<std::string> fillPicture(TankShape shape, std::string_view levelText,
                                       std::string_view grossText, std::string_view capacityText,
                                       std::string_view decimal);

// The picture family of a shape: "ftank", "ctank" or "vtank".
std::string pictureFamily(TankShape shape);

// The pattern of the calculated volumes.
inline constexpr std::string_view kVolumePattern = "##########.##";

}  // namespace brimwell
