#pragma once

// A level as an operator writes down a stick reading: a decimal in the level's unit (75.625), or
// feet, inches and a fraction marked as such whatever the unit (6'3-5/8", 6 ft 3 5/8 in,
// 75 5/8 in; what follows the feet is inches, marked or not: 6'3-5/8), or, when the unit is
// inches, a whole number and a fraction without a mark (75 5/8).
// "." is the only decimal point.

#include <optional>
#include <string>
#include <string_view>

#include "model/expected.h"
#include "model/units/units.h"

namespace brimwell {

// The level in `unit`, or why the text is not one (the caller names the option).
Expected<double, std::string> readStickLevel(std::string_view text, LengthUnit unit);

// A level in inches as feet, inches and eighths, rounded to the nearest 1/8 in: 6'3-5/8", 6'0",
// 0'0-1/8". readStickLevel reads it back. The level is finite and not below 0.
std::string feetInchesText(double inches);

// How brimwell-tank writes levels in its length unit: a level found for a volume with three
// decimals in text (fewer on a huge tank) and ten significant digits in JSON, a chart's levels
// with two to nine.
inline constexpr int kTextLevelDecimals = 3;
inline constexpr int kJsonLevelDigits = 10;
inline constexpr int kLeastChartDecimals = 2;
inline constexpr int kMostChartDecimals = 9;

// The decimals of a level found for a volume in text: three, or as many as the ten significant
// digits that the search holds leave on a level of a hundred million or more.
int foundLevelDecimals(double level);

// Whether `level`, read from a text, lies above `top` only as brimwell-tank writes the top: with
// the decimals of its text or its charts, the digits of its JSON, or in feet, inches and eighths
// when the level's unit is known. Such a level is the top.
bool writtenAsTop(double level, double top, std::optional<LengthUnit> unit);

}  // namespace brimwell
