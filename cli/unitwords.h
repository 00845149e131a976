#pragma once

// The words that name things on the command line ("--units meters", "--volume cubic-meters"),
// and the one way a command says that a word names nothing.

#include <string>
#include <string_view>

#include "model/expected.h"
#include "model/window/units.h"

namespace brimwell {

// "--units: unknown value 'yards' (inches, feet, ...)".
std::string unknownValue(std::string_view option, std::string_view value, std::string_view choices);

// The unit an option's word names, or the option's one-line error that lists the words.
Expected<LengthUnit, std::string> lengthUnitOption(std::string_view option, std::string_view word);
Expected<VolumeUnit, std::string> volumeUnitOption(std::string_view option, std::string_view word);

std::string_view unitWord(LengthUnit unit);
std::string_view unitWord(VolumeUnit unit);

}  // namespace brimwell
