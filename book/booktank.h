#pragma once

// A tank of the book as the book works with it: the gauge that turns its sticks into volumes
// (through its shape or its own calibration chart) and its product's factors, its units and
// its extent.

#include <string>

#include "book/reconcile.h"
#include "book/records.h"
#include "book/validation.h"
#include "model/expected.h"
#include "model/units/units.h"

namespace brimwell::book {

struct BookTank {
    Gauge gauge;
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    double capacity = 0;
    double top = 0;  // the highest stick
    bool vertical = false;
};

// The tank as stored, unchecked, so that a tank kept before a check was made is still reported
// and can be corrected; or why its shape or chart gives no volumes.
Expected<BookTank, std::string> gaugedTank(const TankSettings& tank);

// The same, or why the book would not keep these settings: a name holding a control character,
// an opening stick outside the tank, a percent rule beyond its range.
Expected<BookTank, std::string> bookTank(const TankSettings& tank);

// What the day and delivery checks need of the tank.
TankLimits limitsOf(const TankSettings& settings, const BookTank& tank);

// The percent rule's allowance unless one is given: 130 gallons in `unit`.
double defaultAllowance(VolumeUnit unit);

}  // namespace brimwell::book
