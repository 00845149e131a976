#pragma once

// The arithmetic of the tank window's Perform Calculations command, step by step, so that the
// window can show each result as soon as it is computed.

#include <optional>
#include <string>
#include <string_view>

#include "failurereporter.h"
#include "numbertext.h"

namespace brimwell {

// The tank as the window shows it, all texts, in the units selected in the lists.
struct TankInputs {
    std::string shape;
    std::string lengthUnit;
    std::string volumeUnit;
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

// The three measures in inches, or empty when a text that must be read is not a number or a
// value overflows. Inches are read as they stand; the level in inches is read by ReadLevel
// later, when it is first used, so that a bad level comes to light after the capacity is shown.
std::optional<TankMeasures> ReadMeasures(const TankInputs& in, const NumberFormat& format);

// The level in inches when the length unit is inches (the value ReadMeasures left for later).
std::optional<double> ReadLevelInInches(const TankInputs& in, const NumberFormat& format);

// Steps 4 and 5: the capacity in the selected volume unit, single precision; empty on overflow.
std::optional<float> CapacityInUnit(std::string_view shape, double r, double L,
                                    std::string_view volumeUnit);

// Steps 9 and 10: the net volume at the reference temperature; empty when the stored
// coefficient is not a number or the arithmetic overflows.
std::optional<float> NetVolumeOf(float gross, const TankInputs& in, const NumberFormat& format);

// Step 12: the picture for the computed fill, from the texts just displayed; empty when the
// picture stays as it is (a level of 0 or below, a negative ratio, a shape without pictures).
// A capacity that reads as 0 shows the empty tank.
std::optional<std::string> FillPicture(std::string_view shape, std::string_view levelText,
                                       std::string_view grossText, std::string_view capacityText,
                                       std::string_view decimal);

// The picture family of a shape ("ftank", "ctank", "vtank"); empty for any other text.
std::optional<std::string> PictureFamily(std::string_view shape);

// The pattern of the calculated volumes.
inline constexpr std::string_view kVolumePattern = "##########.##";

}  // namespace brimwell
