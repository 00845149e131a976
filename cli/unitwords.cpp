#include "cli/unitwords.h"

namespace brimwell {

std::string unknownValue(std::string_view option, std::string_view value,
                         std::span<const std::string_view> words) {
    std::string line = std::string(option) + ": unknown value '" + std::string(value) + "' (";
    for (std::size_t i = 0; i < words.size(); ++i) {
        line.append(i == 0 ? "" : i + 1 == words.size() ? " or " : ", ").append(words[i]);
    }
    return line + ")";
}

Expected<LengthUnit, std::string> lengthUnitOption(std::string_view option, std::string_view word) {
    return wordOption<LengthUnit>(option, word, kLengthUnits);
}

Expected<VolumeUnit, std::string> volumeUnitOption(std::string_view option, std::string_view word) {
    return wordOption<VolumeUnit>(option, word, kVolumeWords);
}

}  // namespace brimwell
