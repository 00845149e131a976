#pragma once

// The shape as books up to version 2 stored it: brimwell-tank's geometry options as one text,
// "--diameter 96 --length 240 --heads ellipsoidal --units inches --volume gallons", each option
// and its value once, in any order. Read once, when such a book is upgraded.

#include <string>

#include "model/expected.h"
#include "model/geometry/tankdescription.h"

namespace brimwell::book {

// The shape the text describes, its defaults filled in as brimwell-tank filled them in; a
// calibrated tank's text names its units only, and `chart` becomes its calibration. Refuses
// any text brimwell-tank would have refused, naming what is wrong.
Expected<TankDescription, std::string> readLegacyShape(const std::string& text,
                                                      const std::optional<std::string>& chart);

}  // namespace brimwell::book
