#pragma once

// Reads a command line of options in the usual manner: "--name value" or "--name=value", each
// option at most once; "--help" (or "-h") and "--version" stand alone, and so does each flag, an
// option without a value such as "--observed".

#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/expected.h"

namespace brimwell {

struct Options {
    std::map<std::string, std::string, std::less<>> values;  // by option name, "--diameter"
    std::set<std::string, std::less<>> flags;                // the flags given, "--observed"
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

}  // namespace brimwell
