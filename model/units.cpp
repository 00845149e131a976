#include "units.h"

#include <algorithm>

namespace brimwell {
namespace {

template <std::size_t N>
std::optional<std::size_t> indexOf(const std::array<std::string_view, N>& units, std::string_view text) {
    const auto it = std::find(units.begin(), units.end(), text);
    if (it == units.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - units.begin());
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

std::optional<double> LengthFactor(std::string_view from, std::string_view to) {
    const auto f = indexOf(kLengthUnits, from);
    const auto t = indexOf(kLengthUnits, to);
    if (!f || !t) {
        return std::nullopt;
    }
    return kLengthFactors[*f][*t];
}

std::optional<double> VolumeFactor(std::string_view from, std::string_view to) {
    const auto f = indexOf(kVolumeUnits, from);
    const auto t = indexOf(kVolumeUnits, to);
    if (!f || !t) {
        return std::nullopt;
    }
    return kVolumeFactors[*f][*t];
}

std::optional<double> LengthToInches(double value, std::string_view unit) {
    if (unit == "inches") {
        return value;
    }
    if (unit == "feet") {
        return value * 12;
    }
    if (unit == "millimeters") {
        return value / 25.4;
    }
    if (unit == "centimeters") {
        return value / 2.54;
    }
    if (unit == "meters") {
        return value / 0.0254;
    }
    return std::nullopt;
}

std::optional<double> GallonFactor(std::string_view unit) {
    const auto i = indexOf(kVolumeUnits, unit);
    if (!i) {
        return std::nullopt;
    }
    return kGallonFactors[*i];
}

std::optional<double> ConvertTemperature(double value, std::string_view from, std::string_view to) {
    if (!indexOf(kTempUnits, from) || !indexOf(kTempUnits, to)) {
        return std::nullopt;
    }
    if (from == to) {
        return value;
    }
    if (from == kDegreesF) {
        return (value - 32) * 5 / 9;
    }
    return value * 9 / 5 + 32;
}

std::optional<double> ConvertCoefficient(double ce, std::string_view from, std::string_view to) {
    if (!indexOf(kTempUnits, from) || !indexOf(kTempUnits, to)) {
        return std::nullopt;
    }
    if (from == to) {
        return ce;
    }
    // The coefficient is per degree: it grows by the ratio of the degree sizes.
    if (from == kDegreesF) {
        return ce / (5.0 / 9.0);
    }
    return ce / (9.0 / 5.0);
}

std::optional<double> ReferenceTemperature(std::string_view unit) {
    if (unit == kDegreesF) {
        return 60;
    }
    if (unit == kDegreesC) {
        return 15;
    }
    return std::nullopt;
}

}  // namespace brimwell
