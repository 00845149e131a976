#pragma once

// The tank tool's units, identified by their display texts, and the conversions between them.
// Internally lengths are in inches and volumes in US gallons of 231 cubic inches. Temperatures
// are never converted to an internal scale.

#include <array>
#include <optional>
#include <string_view>

namespace brimwell {

inline constexpr std::array<std::string_view, 5> kLengthUnits{"inches", "feet", "millimeters",
                                                              "centimeters", "meters"};
inline constexpr std::array<std::string_view, 4> kVolumeUnits{"gallons", "litres", "cubic meters",
                                                              "millilitres"};
inline constexpr std::string_view kDegreesF = "degrees F";
inline constexpr std::string_view kDegreesC = "degrees C";
inline constexpr std::array<std::string_view, 2> kTempUnits{kDegreesF, kDegreesC};

inline constexpr double kLitresPerGallon = 3.785411784;

// The factor by which a length shown in `from` is multiplied to show it in `to`; empty when
// either text is not a length unit. A direct factor, never routed through inches.
std::optional<double> LengthFactor(std::string_view from, std::string_view to);

// The same for volume units.
std::optional<double> VolumeFactor(std::string_view from, std::string_view to);

// A length given in `unit` expressed in inches (feet times 12, millimeters divided by 25.4, ...);
// empty when the text is not a length unit.
std::optional<double> LengthToInches(double value, std::string_view unit);

// How many units of `unit` make one gallon; empty when the text is not a volume unit.
std::optional<double> GallonFactor(std::string_view unit);

// A temperature from one scale to the other; empty unless both texts are temperature units.
std::optional<double> ConvertTemperature(double value, std::string_view from, std::string_view to);

// An expansion coefficient per degree of `from` expressed per degree of `to`.
std::optional<double> ConvertCoefficient(double ce, std::string_view from, std::string_view to);

// The reference temperature of the expansion coefficient in a scale: 60 for degrees F and 15 for
// degrees C. Each scale has its own value: the reference is never converted between the scales.
std::optional<double> ReferenceTemperature(std::string_view unit);

}  // namespace brimwell
