#pragma once

// The tank tool's units and the conversions between them. A unit is read from its display text
// once, where the text comes in; past that point it is an enum. Internally lengths are in inches
// and volumes in US gallons of 231 cubic inches. Temperatures are never converted to an internal
// scale.

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace brimwell {

enum class LengthUnit { Inches, Feet, Millimeters, Centimeters, Meters };
enum class VolumeUnit { Gallons, Litres, CubicMeters, Millilitres };
enum class TempUnit { DegreesF, DegreesC };

// The display texts, in list order; an enum's value is its index.
inline constexpr std::array<std::string_view, 5> kLengthUnits{"inches", "feet", "millimeters",
                                                              "centimeters", "meters"};
inline constexpr std::array<std::string_view, 4> kVolumeUnits{"gallons", "litres", "cubic meters",
                                                              "millilitres"};
inline constexpr std::array<std::string_view, 2> kTempUnits{"degrees F", "degrees C"};

// The units as single words, as the command lines take them and the book stores them: the
// length words are the display texts, the volume words join theirs with a hyphen.
inline constexpr std::array<std::string_view, 4> kVolumeWords{"gallons", "litres", "cubic-meters",
                                                              "millilitres"};
std::string_view unitWord(LengthUnit unit);
std::string_view unitWord(VolumeUnit unit);

// The enum value whose word, in the enum's order, is `word`; empty for any other word.
template <typename T, std::size_t N>
std::optional<T> named(const std::array<std::string_view, N>& words, std::string_view word) {
    const auto it = std::find(words.begin(), words.end(), word);
    if (it == words.end()) {
        return std::nullopt;
    }
    return static_cast<T>(it - words.begin());
}

inline constexpr double kLitresPerGallon = 3.785411784;

// The unit a display text names; empty for any other text ("no unit").
std::optional<LengthUnit> parseLengthUnit(std::string_view text);
std::optional<VolumeUnit> parseVolumeUnit(std::string_view text);
std::optional<TempUnit> parseTempUnit(std::string_view text);

std::string_view unitName(LengthUnit unit);
std::string_view unitName(VolumeUnit unit);
std::string_view unitName(TempUnit unit);

// The factor by which a length shown in `from` is multiplied to show it in `to`: a direct
// factor, never routed through inches.
double LengthFactor(LengthUnit from, LengthUnit to);

// The same for volume units.
double VolumeFactor(VolumeUnit from, VolumeUnit to);

// A length given in `unit` expressed in inches (feet times 12, millimeters divided by 25.4, ...).
// Not LengthFactor(unit, Inches): dividing by 25.4 and multiplying by 1/25.4 differ in the last
// bit.
double lengthToInches(double value, LengthUnit unit);

// How many units of `unit` make one gallon. Not VolumeFactor(Gallons, unit): each window routine
// keeps the factor its own rule was written with, and the two differ in the last bit.
double gallonFactor(VolumeUnit unit);

// A temperature from one scale to the other.
double ConvertTemperature(double value, TempUnit from, TempUnit to);

// An expansion coefficient per degree of `from` expressed per degree of `to`.
double ConvertCoefficient(double ce, TempUnit from, TempUnit to);

// The reference temperature of the expansion coefficient in a scale: 60 for degrees F and 15 for
// degrees C. Each scale has its own value: the reference is never converted between the scales.
double ReferenceTemperature(TempUnit unit);

}  // namespace brimwell
