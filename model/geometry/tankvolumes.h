#pragma once

// What a reading, a level and a chart ask of a tank: the volume at a level and the level for a
// volume, answered by the geometry or by the tank's own calibration chart alike.

#include <span>
#include <variant>

#include "model/geometry/calibrationchart.h"
#include "model/expected.h"
#include "model/geometry/tankinunits.h"

namespace brimwell {

class TankVolumes {
public:
    TankVolumes(TankInUnits geometry) : source_(std::move(geometry)) {}
    TankVolumes(CalibrationChart chart) : source_(std::move(chart)) {}

    bool calibrated() const { return std::holds_alternative<CalibrationChart>(source_); }
    double top() const;
    double capacity() const;
    // The volume at level 0: 0 for the geometry, the first row of a chart.
    double bottomVolume() const;

    // TankError::Level outside [0, top()].
    Expected<double, TankError> volumeAt(double level) const;
    // Each level in [0, top()]; `volumes` and `bounds` are as long as `levels`. Each volume lies
    // within its bound of what volumeAt gives, and is volumeAt's own where the bound is 0, as a
    // calibration chart's always are.
    void volumesAt(std::span<const double> levels, std::span<double> volumes,
                   std::span<double> bounds) const;
    // TankError::Volume outside [bottomVolume(), capacity()].
    Expected<double, TankError> levelFor(double volume) const;
    // TankError::Percent outside 0 to 100, or below the bottom volume's share of the capacity.
    Expected<double, TankError> levelForPercent(double percent) const;

private:
    std::variant<TankInUnits, CalibrationChart> source_;
};

}  // namespace brimwell
