#pragma once

// Reads a command line of options in the usual manner: "--name value" or "--name=value", each
// option at most once; "--help" (or "-h") and "--version" stand alone.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/expected.h"

namespace brimwell {

struct Options {
    std::map<std::string, std::string, std::less<>> values;  // by option name, "--diameter"
    bool help = false;
    bool version = false;

    bool has(std::string_view name) const { return values.contains(name); }
};

// The options, or a one-line description of what is wrong: an unknown option or a stray
// argument, a missing value, an option given twice.
Expected<Options, std::string> readOptions(const std::vector<std::string>& args,
                                           std::span<const std::string_view> known);

}  // namespace brimwell
