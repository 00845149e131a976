#include "cli/unitwords.h"

#include <algorithm>
#include <array>

namespace brimwell {
namespace {

// In the enums' order.
constexpr std::array<std::string_view, 5> kLengthWords{"inches", "feet", "millimeters",
                                                       "centimeters", "meters"};
constexpr std::array<std::string_view, 4> kVolumeWords{"gallons", "litres", "cubic-meters",
                                                       "millilitres"};

template <typename Unit, std::size_t N>
std::optional<Unit> named(const std::array<std::string_view, N>& words, std::string_view word) {
    const auto it = std::find(words.begin(), words.end(), word);
    if (it == words.end()) {
        return std::nullopt;
    }
    return static_cast<Unit>(it - words.begin());
}

}  // namespace

std::optional<LengthUnit> lengthUnitNamed(std::string_view word) {
    return named<LengthUnit>(kLengthWords, word);
}
std::optional<VolumeUnit> volumeUnitNamed(std::string_view word) {
    return named<VolumeUnit>(kVolumeWords, word);
}
std::string_view unitWord(LengthUnit unit) {
    return kLengthWords[static_cast<std::size_t>(unit)];
}
std::string_view unitWord(VolumeUnit unit) {
    return kVolumeWords[static_cast<std::size_t>(unit)];
}

}  // namespace brimwell
