#include "cli/tankoptions.h"

#include <algorithm>
#include <array>
#include <map>

#include "cli/options.h"
#include "cli/unitwords.h"
#include "model/numbertext.h"
#include "model/tank.h"

namespace brimwell {

const char* const kTankUsage =
    "Usage: brimwell-tank reading TANK --level H [--safe-fill P] [--format text|json]\n"
    "                     [--output FILE|-]\n"
    "       brimwell-tank level TANK --fill-volume V|--fill-percent P [--format text|json]\n"
    "                     [--output FILE|-]\n"
    "       brimwell-tank chart TANK --increment I [--format text|csv|json] [--output FILE|-]\n"
    "       brimwell-tank --help | --version\n"
    "\n"
    "TANK is --diameter D --length L with these options:\n"
    "  --orientation horizontal|vertical  default horizontal. L is the straight shell of a\n"
    "                 horizontal tank, heads not included, and the height of a vertical tank,\n"
    "                 which stands on a flat bottom and has no heads\n"
    "  --heads flat|hemispherical|ellipsoidal|torispherical|conical  two equal heads, default "
    "flat\n"
    "  --head-depth A  ellipsoidal heads: A > 0, default D/4; conical heads: A > 0, required\n"
    "  --crown F --knuckle K  torispherical heads: crown radius F*D, F >= 0.5, default 1;\n"
    "                 knuckle radius K*D, 0 < K < 0.5, default 0.06\n"
    "  --units inches|feet|millimeters|centimeters|meters  D, L, A, H and I; default inches\n"
    "  --volume gallons|litres|cubic-meters|millilitres  every volume, in and out; default\n"
    "                 gallons (231 cubic inches)\n"
    "\n"
    "reading  the capacity, the volume at level H (0 to the top: D, or L of a vertical tank),\n"
    "         the ullage (capacity minus volume) and the room left below the safe fill, P percent\n"
    "         of the capacity (0 to 100, default 90; negative when the tank is above it)\n"
    "level    the level at which the tank holds volume V (0 to the capacity) or P percent of its\n"
    "         capacity (0 to 100)\n"
    "chart    the volume at each level top*i/n for i = 0 to n, where n is top/I rounded half to\n"
    "         even, 1 to 10000000; text is brimwell-chart's layout, csv has the header\n"
    "         level,volume; both with CRLF line ends\n"
    "\n"
    "Numbers are read and written with \".\" as the decimal point. Without --output, or with\n"
    "--output -, the output goes to standard output; a file is replaced only once all of it has\n"
    "been written.\n"
    "\n"
    "Exit status: 0 written; 1 not written (the reason is printed); 2 bad input, nothing written.\n"
    "\n"
    "Example: brimwell-tank reading --diameter 108 --length 156 --heads ellipsoidal --head-depth 42"
    " --level 36\n";

namespace {

using Values = std::map<std::string, std::string, std::less<>>;

constexpr std::array<std::string_view, 5> kHeadWords{"flat", "hemispherical", "ellipsoidal",
                                                     "torispherical", "conical"};
constexpr std::array<std::string_view, 3> kSubcommandWords{"reading", "level", "chart"};
constexpr std::array<std::string_view, 3> kFormatWords{"text", "csv", "json"};

constexpr std::string_view kKnown[] = {
    "--orientation",  "--heads",     "--head-depth", "--crown", "--knuckle",   "--diameter",
    "--length",       "--units",     "--volume",     "--level", "--safe-fill", "--fill-volume",
    "--fill-percent", "--increment", "--format",     "--output"};

template <typename T, std::size_t N>
std::optional<T> named(const std::array<std::string_view, N>& words, std::string_view word) {
    const auto it = std::find(words.begin(), words.end(), word);
    if (it == words.end()) {
        return std::nullopt;
    }
    return static_cast<T>(it - words.begin());
}

std::string unknown(std::string_view option, const std::string& value, std::string_view choices) {
    return std::string(option) + ": unknown value '" + value + "' (" + std::string(choices) + ")";
}

// The options that apply to this subcommand and tank.
std::vector<std::string_view> applicable(Subcommand subcommand, const TankOptions& tank) {
    std::vector<std::string_view> names{"--orientation", "--diameter", "--length", "--units",
                                        "--volume",      "--format",   "--output"};
    if (!tank.vertical) {
        names.push_back("--heads");
    }
    if (!tank.vertical &&
        (tank.heads == HeadShape::Ellipsoidal || tank.heads == HeadShape::Conical)) {
        names.push_back("--head-depth");
    }
    if (!tank.vertical && tank.heads == HeadShape::Torispherical) {
        names.insert(names.end(), {"--crown", "--knuckle"});
    }
    switch (subcommand) {
        case Subcommand::Reading:
            names.insert(names.end(), {"--level", "--safe-fill"});
            break;
        case Subcommand::Level:
            names.insert(names.end(), {"--fill-volume", "--fill-percent"});
            break;
        case Subcommand::Chart:
            names.push_back("--increment");
            break;
    }
    return names;
}

std::string notApplicable(std::string_view option, Subcommand subcommand, const TankOptions& tank) {
    const std::string name(option);
    if (option == "--heads" || option == "--head-depth" || option == "--crown" ||
        option == "--knuckle") {
        if (tank.vertical) {
            return name + " does not apply to a vertical tank";
        }
        return name + " does not apply to " + std::string(headWord(tank.heads)) + " heads";
    }
    return name + " does not apply to " +
           std::string(kSubcommandWords[static_cast<std::size_t>(subcommand)]);
}

class NumberReader {
public:
    explicit NumberReader(const Values& values) : values_(values) {}

    // Empty when the option is not given; the error names it when it is not a number.
    Expected<std::optional<double>, std::string> optional(std::string_view option) const {
        const auto it = values_.find(option);
        if (it == values_.end()) {
            return std::optional<double>();
        }
        const auto number = readStrict(it->second);
        if (!number) {
            return Unexpected(std::string(option) + ": '" + it->second + "' is not a number");
        }
        return std::optional<double>(*number);
    }

    Expected<double, std::string> required(std::string_view option,
                                           std::string_view why = "") const {
        auto number = optional(option);
        if (!number) {
            return Unexpected(number.error());
        }
        if (!*number) {
            return Unexpected(std::string(option) + " is missing" + std::string(why) +
                              " (see --help)");
        }
        return **number;
    }

private:
    const Values& values_;
};

// Reads the tank's own options, the numbers aside.
Expected<TankOptions, std::string> readTankWords(const Values& values) {
    TankOptions tank;
    if (const auto it = values.find("--orientation"); it != values.end()) {
        if (it->second != "horizontal" && it->second != "vertical") {
            return Unexpected(unknown("--orientation", it->second, "horizontal or vertical"));
        }
        tank.vertical = it->second == "vertical";
    }
    if (const auto it = values.find("--heads"); it != values.end() && !tank.vertical) {
        const auto heads = named<HeadShape>(kHeadWords, it->second);
        if (!heads) {
            return Unexpected(
                unknown("--heads", it->second,
                        "flat, hemispherical, ellipsoidal, torispherical or conical"));
        }
        tank.heads = *heads;
    }
    if (const auto it = values.find("--units"); it != values.end()) {
        const auto unit = lengthUnitNamed(it->second);
        if (!unit) {
            return Unexpected(
                unknown("--units", it->second, "inches, feet, millimeters, centimeters or meters"));
        }
        tank.lengthUnit = *unit;
    }
    if (const auto it = values.find("--volume"); it != values.end()) {
        const auto unit = volumeUnitNamed(it->second);
        if (!unit) {
            return Unexpected(
                unknown("--volume", it->second, "gallons, litres, cubic-meters or millilitres"));
        }
        tank.volumeUnit = *unit;
    }
    return tank;
}

// Reads the numbers into `command`; the first error, if any.
std::optional<std::string> readNumbers(const NumberReader& read, TankCommand& command) {
    std::optional<std::string> failure;
    auto take = [&failure](auto number, auto& into) {
        if (failure) {
            return;
        }
        if (!number) {
            failure = number.error();
        } else {
            into = *number;
        }
    };
    TankOptions& tank = command.tank;
    take(read.required("--diameter"), tank.diameter);
    take(read.required("--length"), tank.length);
    if (tank.heads == HeadShape::Ellipsoidal && !tank.vertical) {
        take(read.optional("--head-depth"), tank.headDepth);
        if (!failure && !tank.headDepth) {
            tank.headDepth = tank.diameter / 4;
        }
    }
    if (tank.heads == HeadShape::Conical && !tank.vertical) {
        take(read.required("--head-depth", " for conical heads"), tank.headDepth);
    }
    if (tank.heads == HeadShape::Torispherical && !tank.vertical) {
        take(read.optional("--crown"), tank.crown);
        take(read.optional("--knuckle"), tank.knuckle);
        tank.crown = tank.crown.value_or(TorisphericalHeads{}.crown);
        tank.knuckle = tank.knuckle.value_or(TorisphericalHeads{}.knuckle);
    }
    switch (command.subcommand) {
        case Subcommand::Reading: {
            take(read.required("--level"), command.level);
            std::optional<double> safeFill;
            take(read.optional("--safe-fill"), safeFill);
            command.safeFill = safeFill.value_or(90);
            if (!failure && !(command.safeFill >= 0 && command.safeFill <= 100)) {
                failure = "--safe-fill must be from 0 to 100 (percent of the capacity)";
            }
            break;
        }
        case Subcommand::Level:
            take(read.optional("--fill-volume"), command.fillVolume);
            take(read.optional("--fill-percent"), command.fillPercent);
            if (!failure && command.fillVolume.has_value() == command.fillPercent.has_value()) {
                failure = command.fillVolume
                              ? "--fill-volume and --fill-percent: give only one"
                              : "--fill-volume or --fill-percent is missing (see --help)";
            }
            break;
        case Subcommand::Chart:
            take(read.required("--increment"), command.increment);
            break;
    }
    return failure;
}

}  // namespace

std::string_view headWord(HeadShape heads) {
    return kHeadWords[static_cast<std::size_t>(heads)];
}

Expected<TankCommand, std::string> parseTankArguments(const std::vector<std::string>& args) {
    TankCommand command;
    std::optional<Subcommand> subcommand;
    std::vector<std::string> rest = args;
    if (!rest.empty() && !rest.front().starts_with("-")) {
        subcommand = named<Subcommand>(kSubcommandWords, rest.front());
        if (!subcommand) {
            return Unexpected("unknown subcommand '" + rest.front() +
                              "' (reading, level or chart; see --help)");
        }
        rest.erase(rest.begin());
    }
    auto options = readOptions(rest, kKnown);
    if (!options) {
        return Unexpected(options.error());
    }
    command.help = options->help;
    command.version = options->version;
    if (command.help || command.version) {
        return command;
    }
    if (!subcommand) {
        return Unexpected(
            std::string("the subcommand is missing: reading, level or chart (see --help)"));
    }
    command.subcommand = *subcommand;
    const Values values = std::move(*options).values;
    auto tank = readTankWords(values);
    if (!tank) {
        return Unexpected(tank.error());
    }
    command.tank = *tank;
    const auto names = applicable(command.subcommand, command.tank);
    for (const auto& [name, value] : values) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            return Unexpected(notApplicable(name, command.subcommand, command.tank));
        }
    }
    if (const auto failure = readNumbers(NumberReader(values), command)) {
        return Unexpected(*failure);
    }
    if (const auto it = values.find("--format"); it != values.end()) {
        const auto format = named<ChartFormat>(kFormatWords, it->second);
        if (!format) {
            return Unexpected(unknown("--format", it->second, "text, csv or json"));
        }
        if (*format == ChartFormat::Csv && command.subcommand != Subcommand::Chart) {
            return Unexpected(std::string("--format csv applies only to chart (text or json)"));
        }
        command.format = *format;
    }
    if (const auto it = values.find("--output"); it != values.end()) {
        if (it->second.empty()) {
            return Unexpected(std::string("--output needs a file name"));
        }
        command.output = it->second;
    }
    return command;
}

}  // namespace brimwell
