#include "tankcalculation.h"

#include <array>
#include <cmath>
#include <utility>

#include "product.h"
#include "tankmodel.h"
#include "units.h"

namespace brimwell {
namespace {

// A length text in inches; empty when it is not a number or the conversion overflows.
std::optional<double> toInches(const std::string& text, const std::string& unit,
                               const NumberFormat& format) {
    const auto value = readStrict(text, format);
    if (!value) {
        return std::nullopt;
    }
    const auto inches = LengthToInches(*value, unit);
    if (!inches || !std::isfinite(*inches)) {
        return std::nullopt;
    }
    return inches;
}

}  // namespace

std::optional<TankMeasures> ReadMeasures(const TankInputs& in, const NumberFormat& format) {
    const auto L = toInches(in.length, in.lengthUnit, format);
    const auto diameter = toInches(in.diameter, in.lengthUnit, format);
    if (!L || !diameter) {
        return std::nullopt;
    }
    TankMeasures m{*diameter / 2, *L, 0};
    if (in.lengthUnit != "inches") {
        const auto h = toInches(in.level, in.lengthUnit, format);
        if (!h) {
            return std::nullopt;
        }
        m.h = *h;
    }
    return m;
}

std::optional<double> ReadLevelInInches(const TankInputs& in, const NumberFormat& format) {
    return toInches(in.level, in.lengthUnit, format);
}

std::optional<float> CapacityInUnit(std::string_view shape, double r, double L,
                                    std::string_view volumeUnit) {
    const auto gallons = TankCapacity(shape, r, L);
    const auto factor = GallonFactor(volumeUnit);
    if (!gallons || !factor) {
        return std::nullopt;
    }
    const double inUnit = static_cast<double>(*gallons) * *factor;
    if (!(std::fabs(inUnit) <= 3.4028234663852886e38)) {
        return std::nullopt;
    }
    return static_cast<float>(inUnit);
}

std::optional<float> NetVolumeOf(float gross, const TankInputs& in, const NumberFormat& format) {
    const double Tref = readLenient(in.referenceTemp, format.decimal);
    const double T = readLenient(in.productTemp, format.decimal);
    const auto Ce = readStrict(in.cevalue, format);
    constexpr double kFloatMax = 3.4028234663852886e38;
    for (double v : {Tref, T, Ce.value_or(0)}) {
        if (!(std::fabs(v) <= kFloatMax)) {
            return std::nullopt;
        }
    }
    if (!Ce) {
        return std::nullopt;
    }
    return NetVolume(gross, static_cast<float>(T), static_cast<float>(*Ce), static_cast<float>(Tref));
}

std::optional<std::string> PictureFamily(std::string_view shape) {
    if (shape == kFlatEnded) {
        return "ftank";
    }
    if (shape == kCylindrical) {
        return "ctank";
    }
    if (shape == kVertical) {
        return "vtank";
    }
    return std::nullopt;
}

std::optional<std::string> FillPicture(std::string_view shape, std::string_view levelText,
                                       std::string_view grossText, std::string_view capacityText,
                                       std::string_view decimal) {
    if (!(readLenient(levelText, decimal) > 0)) {
        return std::nullopt;
    }
    const auto family = PictureFamily(shape);
    if (!family) {
        return std::nullopt;
    }
    const double capacity = readLenient(capacityText, decimal);
    const double ratio = capacity == 0 ? 0 : readLenient(grossText, decimal) / capacity;
    static constexpr std::array<std::pair<double, int>, 6> kThresholds{
        {{0.95, 100}, {0.85, 90}, {0.6, 75}, {0.4, 50}, {0.2, 25}, {0.0, 10}}};
    for (const auto& [from, number] : kThresholds) {
        if (from == 0.0 ? ratio > 0 : ratio >= from) {
            return *family + std::to_string(number);
        }
    }
    if (ratio == 0) {
        return *family + "0";
    }
    return std::nullopt;  // negative or not a number: the picture stays
}

}  // namespace brimwell
