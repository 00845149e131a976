#include "tank/tankcalculation.h"

#include <array>
#include <cmath>
#include <utility>

#include "model/window/product.h"
#include "model/window/singleprecision.h"

namespace brimwell {
namespace {

// A length text in inches; empty when it is not a number or the conversion overflows.
std::optional<double> toInches(const std::string& text, std::optional<LengthUnit> unit,
                               const NumberFormat& format) {
    const auto value = readStrict(text, format);
    if (!value || !unit) {
        return std::nullopt;
    }
    const double inches = lengthToInches(*value, *unit);
    if (!std::isfinite(inches)) {
        return std::nullopt;
    }
    return inches;
}

}  // namespace

std::optional<TankMeasures> readMeasures(const TankInputs& in, const NumberFormat& format) {
    const auto L = toInches(in.length, in.lengthUnit, format);
    const auto diameter = toInches(in.diameter, in.lengthUnit, format);
    if (!L || !diameter) {
        return std::nullopt;
    }
    TankMeasures m{*diameter / 2, *L, 0};
    if (in.lengthUnit != LengthUnit::Inches) {
        const auto h = toInches(in.level, in.lengthUnit, format);
        if (!h) {
            return std::nullopt;
        }
        m.h = *h;
    }
    return m;
}

std::optional<double> readLevelInInches(const TankInputs& in, const NumberFormat& format) {
    return toInches(in.level, in.lengthUnit, format);
}

std::optional<float> capacityInUnit(TankShape shape, double r, double L,
                                    std::optional<VolumeUnit> volumeUnit) {
    const auto gallons = TankCapacity(shape, r, L);
    if (!gallons || !volumeUnit) {
        return std::nullopt;
    }
    return toSingle(static_cast<double>(*gallons) * gallonFactor(*volumeUnit));
}

std::optional<float> netVolumeOf(float gross, const TankInputs& in, const NumberFormat& format) {
    const double Tref = readLenient(in.referenceTemp, format.decimal);
    const double T = readLenient(in.productTemp, format.decimal);
    const auto Ce = readStrict(in.cevalue, format);
    if (!fitsSingle(Tref) || !fitsSingle(T) || !Ce || !fitsSingle(*Ce)) {
        return std::nullopt;
    }
    return NetVolume(gross, static_cast<float>(T), static_cast<float>(*Ce),
                     static_cast<float>(Tref));
}

std::string pictureFamily(TankShape shape) {
    static constexpr std::array<std::string_view, 3> kFamilies{"ftank", "ctank", "vtank"};
    return std::string(kFamilies[static_cast<std::size_t>(shape)]);
}

std::optional<std::string> fillPicture(TankShape shape, std::string_view levelText,
                                       std::string_view grossText, std::string_view capacityText,
                                       std::string_view decimal) {
    if (!(readLenient(levelText, decimal) > 0)) {
        return std::nullopt;
    }
    const std::string family = pictureFamily(shape);
    const double capacity = readLenient(capacityText, decimal);
    const double ratio = capacity == 0 ? 0 : readLenient(grossText, decimal) / capacity;
    static constexpr std::array<std::pair<double, int>, 6> kThresholds{
        {{0.95, 100}, {0.85, 90}, {0.6, 75}, {0.4, 50}, {0.2, 25}, {0.0, 10}}};
    for (const auto& [from, number] : kThresholds) {
        if (from == 0.0 ? ratio > 0 : ratio >= from) {
            return family + std::to_string(number);
        }
    }
    if (ratio == 0) {
        return family + "0";
    }
    return std::nullopt;  // negative or not a number: the picture stays
}

}  // namespace brimwell
