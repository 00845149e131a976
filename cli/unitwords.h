#pragma once

// The words that name units on the command line: "--units meters", "--volume cubic-meters".

#include <optional>
#include <string_view>

#include "model/units.h"

namespace brimwell {

std::optional<LengthUnit> lengthUnitNamed(std::string_view word);
std::optional<VolumeUnit> volumeUnitNamed(std::string_view word);
std::string_view unitWord(LengthUnit unit);
std::string_view unitWord(VolumeUnit unit);

}  // namespace brimwell
