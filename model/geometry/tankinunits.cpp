#include "model/geometry/tankinunits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace brimwell {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

}  // namespace

Expected<TankInUnits, TankError> TankInUnits::make(Tank tank, double top, LengthUnit lengthUnit,
                                                   VolumeUnit volumeUnit) {
    TankInUnits inUnits(std::move(tank), top, lengthUnit, volumeUnit);
    const double gallons = inUnits.tank_.capacity() * gallonFactor(volumeUnit);
    if (!std::isfinite(gallons)) {
        return Unexpected(TankError::Capacity);
    }
    inUnits.capacity_ = inUnits.inVolumeUnit(inUnits.tank_.capacity());
    return inUnits;
}

Expected<double, TankError> TankInUnits::volumeAt(double level) const {
    if (!(level >= 0 && level <= top_)) {
        return Unexpected(TankError::Level);
    }
    const auto gallons = tank_.volumeAt(inInches(level));
    if (!gallons) {
        return Unexpected(gallons.error());
    }
    return inVolumeUnit(*gallons);
}

void TankInUnits::volumesAt(std::span<const double> levels, std::span<double> volumes,
                            std::span<double> bounds) const {
    std::vector<double> inches(levels.size());
    std::transform(levels.begin(), levels.end(), inches.begin(),
                   [this](double level) { return inInches(level); });
    tank_.volumesAt(inches, volumes, bounds);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        volumes[i] = inVolumeUnit(volumes[i]);
        // The conversion's rounding, too, may fall either way.
        bounds[i] = bounds[i] > 0 ? inVolumeUnit(bounds[i]) + 4 * kEpsilon * volumes[i] : 0;
    }
}

Expected<double, TankError> TankInUnits::levelFor(double volume) const {
    if (!(volume >= 0 && volume <= capacity_)) {
        return Unexpected(TankError::Volume);
    }
    // The capacity as shown, converted back, may lie a rounding above the tank's own.
    const double gallons = std::min(volume / gallonFactor(volumeUnit_), tank_.capacity());
    const auto inches = tank_.levelFor(gallons);
    if (!inches) {
        return Unexpected(inches.error());
    }
    return inLengthUnit(*inches);
}

Expected<double, TankError> TankInUnits::levelForPercent(double percent) const {
    const auto inches = tank_.levelForPercent(percent);
    if (!inches) {
        return Unexpected(inches.error());
    }
    return inLengthUnit(*inches);
}

double TankInUnits::inVolumeUnit(double gallons) const {
    return gallons * gallonFactor(volumeUnit_);
}

// The top converts to the tank's own top exactly; a level below it stays below.
double TankInUnits::inInches(double level) const {
    return std::min(lengthToInches(level, lengthUnit_), tank_.top());
}

double TankInUnits::inLengthUnit(double inches) const {
    return std::min(inches * LengthFactor(LengthUnit::Inches, lengthUnit_), top_);
}

}  // namespace brimwell
