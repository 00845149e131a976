#pragma once

// Reads a command line of options in the usual manner: "--name value" or "--name=value", each
// option at most once; "--help" (or "-h") and "--version" stand alone, and so does each flag, an
// option without a value such as "--observed".

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/expected.h"
#include "model/units/units.h"

namespace brimwell {

// The values given, by option name ("--diameter").
using OptionValues = std::map<std::string, std::string, std::less<>>;

struct Options {
    OptionValues values;
    std::set<std::string, std::less<>> flags;  // the flags given, "--observed"
    bool help = false;
    bool version = false;

    bool has(std::string_view name) const { return values.contains(name) || flags.contains(name); }
};

// The options, or a one-line description of what is wrong: an unknown option or a stray
// argument, a missing value, a value given to a flag, an option given twice.
Expected<Options, std::string> readOptions(const std::vector<std::string>& args,
                                           std::span<const std::string_view> known,
                                           std::span<const std::string_view> knownFlags = {});

// The option's value as a number, "." the only decimal point; otherwise a line that names the
// option and shows how to write a number.
Expected<double, std::string> readNumberOption(std::string_view option, std::string_view text);

// The option's number; empty when the option is not given.
Expected<std::optional<double>, std::string> optionalNumber(const OptionValues& values,
                                                            std::string_view option);

// A level as a stick reading in `unit` (75.625; 75 5/8 in inches; 6'3-5/8"); empty when the option
// is not given.
Expected<std::optional<double>, std::string> optionalStick(const OptionValues& values,
                                                           std::string_view option,
                                                           LengthUnit unit);

// A file name, empty when the option is not given; an empty name is refused.
Expected<std::optional<std::string>, std::string> fileOption(const OptionValues& values,
                                                             std::string_view option);

// Takes values into their places until the first that is missing or wrong, whose error it keeps.
struct FirstFailure {
    std::optional<std::string> failure;

    template <typename Value, typename Into>
    void take(const Value& value, Into& into) {
        if (failure) {
            return;
        }
        if (!value) {
            failure = value.error();
        } else {
            into = *value;
        }
    }

    // `result`, or the first failure.
    template <typename T>
    Expected<T, std::string> orFailure(T result) const {
        if (failure) {
            return Unexpected(*failure);
        }
        return result;
    }
};

}  // namespace brimwell
