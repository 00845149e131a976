#pragma once

// A tank of the book as brimwell-book reads its stored shape, for the book's window: its gauge,
// its units and its extent. Implemented beside the command line's own reading of it.

#include <string>

#include "book/reconcile.h"
#include "book/records.h"
#include "cli/tankoptions.h"
#include "model/expected.h"
#include "model/window/units.h"

namespace brimwell {

struct BookTank {
    book::Gauge gauge;
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    double capacity = 0;
    double top = 0;  // the highest stick
    bool vertical = false;
    TankOptions shape;  // as stored, read as brimwell-tank reads its options
};

// The tank, or why the book would not keep these settings: a name holding a control character,
// an opening stick outside the tank, a percent rule beyond its range.
Expected<BookTank, std::string> bookTank(const book::TankSettings& tank);

// The percent rule's allowance unless one is given: 130 gallons in `unit`.
double defaultAllowance(VolumeUnit unit);

}  // namespace brimwell
