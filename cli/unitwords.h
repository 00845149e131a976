#pragma once

// The words that name things on the command line ("--units meters", "--volume cubic-meters"),
// and the one way a command says that a word names nothing.

#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "model/expected.h"
#include "model/units/units.h"

namespace brimwell {

// "--units: unknown value 'yards' (inches, feet, millimeters, centimeters or meters)".
std::string unknownValue(std::string_view option, std::string_view value,
                         std::span<const std::string_view> words);

// What an option's word names among `words`, in the enum's order; otherwise the option's one-line
// error that lists the words.
template <typename T, std::size_t N>
Expected<T, std::string> wordOption(std::string_view option, std::string_view word,
                                    const std::array<std::string_view, N>& words) {
    if (const auto value = named<T>(words, word)) {
        return *value;
    }
    return Unexpected(unknownValue(option, word, words));
}

// The same for an option that may be left out, which gives `fallback`.
template <typename T, std::size_t N>
Expected<T, std::string> wordOption(const OptionValues& values, std::string_view option,
                                    const std::array<std::string_view, N>& words, T fallback) {
    const auto it = values.find(option);
    return it == values.end() ? fallback : wordOption<T>(option, it->second, words);
}

// The unit an option's word names, or the option's one-line error that lists the words.
Expected<LengthUnit, std::string> lengthUnitOption(std::string_view option, std::string_view word);
Expected<VolumeUnit, std::string> volumeUnitOption(std::string_view option, std::string_view word);

}  // namespace brimwell
