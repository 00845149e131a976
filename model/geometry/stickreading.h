#pragma once

// A level as an operator writes down a stick reading: a decimal in the level's unit (75.625), or
// feet, inches and a fraction marked as such whatever the unit (6'3-5/8", 6 ft 3 5/8 in,
// 75 5/8 in), or, when the unit is inches, a whole number and a fraction without a mark (75 5/8).
// "." is the only decimal point.

#include <string>
#include <string_view>

#include "model/expected.h"
#include "model/window/units.h"

namespace brimwell {

// The level in `unit`, or why the text is not one (the caller names the option).
Expected<double, std::string> readStickLevel(std::string_view text, LengthUnit unit);

// A level in inches as feet, inches and eighths, rounded to the nearest 1/8 in: 6'3-5/8", 6'0",
// 0'0-1/8". readStickLevel reads it back. The level is finite and not below 0.
std::string feetInchesText(double inches);

}  // namespace brimwell
