#pragma once

// A Tank seen in the units a person gives: levels in a length unit, volumes in a volume unit.
// The top (the diameter, or the height of a vertical tank) is kept as given, so that levels
// derived from it are the person's numbers rather than a round trip through inches.

#include <span>

#include "model/expected.h"
#include "model/geometry/tank.h"
#include "model/window/units.h"

namespace brimwell {

class TankInUnits {
public:
    // Refuses (TankError::Capacity) a tank whose capacity has no finite number in the volume
    // unit: then no volume of it has either.
    static Expected<TankInUnits, TankError> make(Tank tank, double top, LengthUnit lengthUnit,
                                                 VolumeUnit volumeUnit);

    double top() const { return top_; }
    double capacity() const { return capacity_; }

    // TankError::Level for a level outside [0, top()].
    Expected<double, TankError> volumeAt(double level) const;
    // The volumes at many levels, each in [0, top()], faster than volumeAt gives them one by one;
    // `volumes` and `bounds` are as long as `levels`. Each volume lies within its bound of what
    // volumeAt gives, and is volumeAt's own where the bound is 0 (see Tank::volumesAt).
    void volumesAt(std::span<const double> levels, std::span<double> volumes,
                   std::span<double> bounds) const;
    // TankError::Volume for a volume outside [0, capacity()].
    Expected<double, TankError> levelFor(double volume) const;
    // TankError::Percent outside 0 to 100.
    Expected<double, TankError> levelForPercent(double percent) const;

private:
    TankInUnits(Tank tank, double top, LengthUnit lengthUnit, VolumeUnit volumeUnit)
        : tank_(std::move(tank)), top_(top), lengthUnit_(lengthUnit), volumeUnit_(volumeUnit) {}
    double inVolumeUnit(double gallons) const;
    double inInches(double level) const;
    double inLengthUnit(double inches) const;

    Tank tank_;
    double top_;
    LengthUnit lengthUnit_;
    VolumeUnit volumeUnit_;
    double capacity_ = 0;
};

}  // namespace brimwell
