#pragma once

// What a reading, a level and a chart ask of a tank: the volume at a level and the level for a
// volume, answered by the geometry or by the tank's own calibration chart alike. Levels are in a
// length unit and volumes in a volume unit, the person's own. The geometry's top (the diameter,
// or the height of a vertical tank) is kept as given, so that levels derived from it are the
// person's numbers rather than a round trip through inches.

#include <optional>
#include <span>
#include <variant>

#include "model/expected.h"
#include "model/geometry/calibrationchart.h"
#include "model/geometry/tank.h"
#include "model/units/units.h"

namespace brimwell {

class TankVolumes {
public:
    // Refuses (TankError::Capacity) a tank whose capacity has no finite number in the volume
    // unit: then no volume of it has either.
    static Expected<TankVolumes, TankError> make(Tank tank, double top, LengthUnit lengthUnit,
                                                 VolumeUnit volumeUnit);
    // Levels in `lengthUnit` when it is known, which lets a level in feet and inches be the top.
    TankVolumes(CalibrationChart chart, std::optional<LengthUnit> lengthUnit = std::nullopt)
        : source_(std::move(chart)), lengthUnit_(lengthUnit) {}

    bool calibrated() const { return std::holds_alternative<CalibrationChart>(source_); }
    double top() const;
    double capacity() const;
    // The volume at level 0: 0 for the geometry, the first row of a chart.
    double bottomVolume() const;

    // The level, or the top for a level above it that is the top as brimwell-tank writes it
    // (writtenAsTop).
    double levelAsWritten(double level) const;
    // TankError::Level outside [0, top()], a level written as the top being the top.
    Expected<double, TankError> volumeAt(double level) const;
    // As Tank::volumesAt; a calibration chart's bounds are all 0.
    void volumesAt(std::span<const double> levels, std::span<double> volumes,
                   std::span<double> bounds) const;
    // TankError::Volume outside [bottomVolume(), capacity()].
    Expected<double, TankError> levelFor(double volume) const;
    // TankError::Percent outside 0 to 100, or below the bottom volume's share of the capacity.
    Expected<double, TankError> levelForPercent(double percent) const;

private:
    // A Tank in inches and gallons, seen in the person's units.
    struct Geometry {
        Tank tank;
        double top;
        LengthUnit lengthUnit;
        VolumeUnit volumeUnit;

        double inVolumeUnit(double gallons) const;
        double inInches(double level) const;
        double inLengthUnit(double inches) const;
    };
    explicit TankVolumes(Geometry geometry)
        : source_(std::move(geometry)), lengthUnit_(std::get<Geometry>(source_).lengthUnit) {}

    std::variant<Geometry, CalibrationChart> source_;
    std::optional<LengthUnit> lengthUnit_;
};

}  // namespace brimwell
