#pragma once

// Reading brimwell-book's options: numbers into their places, the options a subcommand needs,
// and a tank's shape, product and rules as tank add and tank edit take them.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/records.h"
#include "cli/options.h"
#include "model/expected.h"
#include "model/units/units.h"

namespace brimwell::bookcli {

// Reads each named option into its place, as a stick in `levels` when that is given; the first
// error, if any.
std::optional<std::string> readNumbers(
    const Options& options,
    std::initializer_list<std::pair<std::string_view, std::optional<double>*>> into,
    std::optional<LengthUnit> levels = {});

// The first of `names` that is not given, told as missing.
std::optional<std::string> require(const Options& options,
                                   std::initializer_list<std::string_view> names);

bool hasAny(const Options& options, std::initializer_list<std::string_view> names);

// The options that describe a tank, as tank add and tank edit take them, and `more`.
std::vector<std::string_view> tankOptions(std::initializer_list<std::string_view> more = {});

// The tank's settings as the options give them: `adding` reads them all, an edit only those the
// options name, `tank`'s stored ones standing for the rest.
Expected<book::TankSettings, std::string> settingsOf(const Options& options, bool adding,
                                                     book::TankSettings tank);

}  // namespace brimwell::bookcli
