#include "model/units/units.h"

namespace brimwell {
namespace {

template <typename Unit>
std::size_t index(Unit unit) {
    return static_cast<std::size_t>(unit);
}

// Each factor is the expression as written, evaluated left to right in double precision.
constexpr double kLengthFactors[5][5] = {
    {1, 1.0 / 12, 25.4, 2.54, 0.0254},
    {12, 1, 12 * 25.4, 12 * 2.54, 12 * 0.0254},
    {1 / 25.4, 1.0 / 12 / 25.4, 1, 1.0 / 10, 1.0 / 1000},
    {1 / 2.54, 1.0 / 12 / 2.54, 10, 1, 1.0 / 100},
    {1 / 0.0254, 1.0 / 12 / 0.0254, 1000, 100, 1},
};

constexpr double G = kLitresPerGallon;
constexpr double kVolumeFactors[4][4] = {
    {1, G, G / 1000, 3785.411784},
    {1 / G, 1, 1.0 / 1000, 1000},
    {1000 / G, 1000, 1, 1000000},
    {1 / 3785.411784, 1.0 / 1000, 1.0 / 1000000, 1},
};

constexpr double kGallonFactors[4] = {1, 3.785411784, 0.003785411784, 3785.411784};

}  // namespace

std::optional<LengthUnit> parseLengthUnit(std::string_view text) {
    return named<LengthUnit>(kLengthUnits, text);
}
std::optional<VolumeUnit> parseVolumeUnit(std::string_view text) {
    return named<VolumeUnit>(kVolumeUnits, text);
}
std::optional<TempUnit> parseTempUnit(std::string_view text) {
    return named<TempUnit>(kTempUnits, text);
}

std::string_view unitName(LengthUnit unit) { return kLengthUnits[index(unit)]; }
std::string_view unitName(VolumeUnit unit) { return kVolumeUnits[index(unit)]; }
std::string_view unitName(TempUnit unit) { return kTempUnits[index(unit)]; }

double LengthFactor(LengthUnit from, LengthUnit to) {
    return kLengthFactors[index(from)][index(to)];
}

double VolumeFactor(VolumeUnit from, VolumeUnit to) {
    return kVolumeFactors[index(from)][index(to)];
}

double lengthToInches(double value, LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Inches:
        return value;
    case LengthUnit::Feet:
        return value * 12;
    case LengthUnit::Millimeters:
        return value / 25.4;
    case LengthUnit::Centimeters:
        return value / 2.54;
    case LengthUnit::Meters:
        return value / 0.0254;
    }
    return value;
}

double gallonFactor(VolumeUnit unit) { return kGallonFactors[index(unit)]; }

double ConvertTemperature(double value, TempUnit from, TempUnit to) {
    if (from == to) {
        return value;
    }
    if (from == TempUnit::DegreesF) {
        return (value - 32) * 5 / 9;
    }
    return value * 9 / 5 + 32;
}

double ConvertCoefficient(double ce, TempUnit from, TempUnit to) {
    if (from == to) {
        return ce;
    }
    // The coefficient is per degree: it grows by the ratio of the degree sizes.
    if (from == TempUnit::DegreesF) {
        return ce / (5.0 / 9.0);
    }
    return ce / (9.0 / 5.0);
}

double ReferenceTemperature(TempUnit unit) { return unit == TempUnit::DegreesF ? 60 : 15; }

std::string_view unitWord(LengthUnit unit) {
    return kLengthUnits.at(static_cast<std::size_t>(unit));
}

std::string_view unitWord(VolumeUnit unit) {
    return kVolumeWords.at(static_cast<std::size_t>(unit));
}

}  // namespace brimwell
