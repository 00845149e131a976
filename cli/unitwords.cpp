#include "cli/unitwords.h"

namespace brimwell {
namespace {

// In the enum's order; the length words are the window's own (kLengthUnits).
constexpr std::array<std::string_view, 4> kVolumeWords{"gallons", "litres", "cubic-meters",
                                                       "millilitres"};

}  // namespace

std::string unknownValue(std::string_view option, std::string_view value,
                         std::string_view choices) {
    return std::string(option) + ": unknown value '" + std::string(value) + "' (" +
           std::string(choices) + ")";
}

Expected<LengthUnit, std::string> lengthUnitOption(std::string_view option, std::string_view word) {
    if (const auto unit = named<LengthUnit>(kLengthUnits, word)) {
        return *unit;
    }
    return Unexpected(
        unknownValue(option, word, "inches, feet, millimeters, centimeters or meters"));
}

Expected<VolumeUnit, std::string> volumeUnitOption(std::string_view option, std::string_view word) {
    if (const auto unit = named<VolumeUnit>(kVolumeWords, word)) {
        return *unit;
    }
    return Unexpected(unknownValue(option, word, "gallons, litres, cubic-meters or millilitres"));
}

std::string_view unitWord(LengthUnit unit) {
    return kLengthUnits[static_cast<std::size_t>(unit)];
}
std::string_view unitWord(VolumeUnit unit) {
    return kVolumeWords[static_cast<std::size_t>(unit)];
}

}  // namespace brimwell
