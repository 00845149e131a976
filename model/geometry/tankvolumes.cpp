#include "model/geometry/tankvolumes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "model/geometry/stickreading.h"

namespace brimwell {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

Expected<double, TankError> orError(Expected<double, ChartLookupError> value, TankError error) {
    if (!value) {
        return Unexpected(error);
    }
    return *value;
}

// A level in the length unit from the tank's own in inches, or the tank's error.
Expected<double, TankError> inLengthUnit(const Expected<double, TankError>& inches,
                                         const auto& geometry) {
    if (!inches) {
        return Unexpected(inches.error());
    }
    return geometry.inLengthUnit(*inches);
}

}  // namespace

Expected<TankVolumes, TankError> TankVolumes::make(Tank tank, double top, LengthUnit lengthUnit,
                                                   VolumeUnit volumeUnit) {
    Geometry geometry{std::move(tank), top, lengthUnit, volumeUnit};
    if (!std::isfinite(geometry.inVolumeUnit(geometry.tank.capacity()))) {
        return Unexpected(TankError::Capacity);
    }
    return TankVolumes(std::move(geometry));
}

double TankVolumes::top() const {
    const auto* chart = std::get_if<CalibrationChart>(&source_);
    return chart ? chart->top() : std::get<Geometry>(source_).top;
}

double TankVolumes::capacity() const {
    if (const auto* chart = std::get_if<CalibrationChart>(&source_)) {
        return chart->capacity();
    }
    const Geometry& geometry = std::get<Geometry>(source_);
    return geometry.inVolumeUnit(geometry.tank.capacity());
}

double TankVolumes::bottomVolume() const {
    const auto* chart = std::get_if<CalibrationChart>(&source_);
    return chart ? chart->bottomVolume() : 0;
}

double TankVolumes::levelAsWritten(double level) const {
    return writtenAsTop(level, top(), lengthUnit_) ? top() : level;
}

Expected<double, TankError> TankVolumes::volumeAt(double written) const {
    const double level = levelAsWritten(written);
    if (const auto* chart = std::get_if<CalibrationChart>(&source_)) {
        return orError(chart->volumeAt(level), TankError::Level);
    }
    const Geometry& geometry = std::get<Geometry>(source_);
    if (!(level >= 0 && level <= geometry.top)) {
        return Unexpected(TankError::Level);
    }
    const auto gallons = geometry.tank.volumeAt(geometry.inInches(level));
    if (!gallons) {
        return Unexpected(gallons.error());
    }
    return geometry.inVolumeUnit(*gallons);
}

void TankVolumes::volumesAt(std::span<const double> levels, std::span<double> volumes,
                            std::span<double> bounds) const {
    if (const auto* chart = std::get_if<CalibrationChart>(&source_)) {
        chart->volumesAt(levels, volumes);
        std::fill(bounds.begin(), bounds.end(), 0.0);
        return;
    }
    const Geometry& geometry = std::get<Geometry>(source_);
    std::vector<double> inches(levels.size());
    std::transform(levels.begin(), levels.end(), inches.begin(),
                   [&geometry](double level) { return geometry.inInches(level); });
    geometry.tank.volumesAt(inches, volumes, bounds);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        volumes[i] = geometry.inVolumeUnit(volumes[i]);
        // The conversion's rounding, too, may fall either way.
        bounds[i] =
            bounds[i] > 0 ? geometry.inVolumeUnit(bounds[i]) + 4 * kEpsilon * volumes[i] : 0;
    }
}

Expected<double, TankError> TankVolumes::levelFor(double volume) const {
    if (const auto* chart = std::get_if<CalibrationChart>(&source_)) {
        return orError(chart->levelFor(volume), TankError::Volume);
    }
    if (!(volume >= 0 && volume <= capacity())) {
        return Unexpected(TankError::Volume);
    }
    const Geometry& geometry = std::get<Geometry>(source_);
    // The capacity as shown, converted back, may lie a rounding above the tank's own.
    const double gallons =
        std::min(volume / gallonFactor(geometry.volumeUnit), geometry.tank.capacity());
    return inLengthUnit(geometry.tank.levelFor(gallons), geometry);
}

Expected<double, TankError> TankVolumes::levelForPercent(double percent) const {
    if (!(percent >= 0 && percent <= 100)) {
        return Unexpected(TankError::Percent);
    }
    if (const auto* chart = std::get_if<CalibrationChart>(&source_)) {
        return orError(chart->levelFor(chart->capacity() * (percent / 100)), TankError::Percent);
    }
    const Geometry& geometry = std::get<Geometry>(source_);
    return inLengthUnit(geometry.tank.levelFor(geometry.tank.capacity() * (percent / 100)),
                        geometry);
}

double TankVolumes::Geometry::inVolumeUnit(double gallons) const {
    return gallons * gallonFactor(volumeUnit);
}

// The top converts to the tank's own top exactly; a level below it stays below.
double TankVolumes::Geometry::inInches(double level) const {
    return std::min(lengthToInches(level, lengthUnit), tank.top());
}

double TankVolumes::Geometry::inLengthUnit(double inches) const {
    return std::min(inches * LengthFactor(LengthUnit::Inches, lengthUnit), top);
}

}  // namespace brimwell
