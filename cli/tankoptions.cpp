#include "cli/tankoptions.h"

#include <algorithm>
#include <array>
#include <map>

#include "cli/options.h"
#include "cli/unitwords.h"
#include "model/geometry/stickreading.h"
#include "model/geometry/tank.h"
#include "model/window/numbertext.h"

namespace brimwell {

const char* const kTankUsage =
    "Usage: brimwell-tank reading TANK --level H [--water W] [--safe-fill P] [CORRECTION]\n"
    "                     [--level-format decimal|feet-inches] [--format text|json]\n"
    "                     [--output FILE|-]\n"
    "       brimwell-tank level TANK --fill-volume V|--fill-percent P\n"
    "                     [--level-format decimal|feet-inches] [--format text|json]\n"
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
    "  --head-depth A  ellipsoidal heads: default D/4, for any D; conical heads: required\n"
    "  --crown F --knuckle K  torispherical heads: crown radius F*D, 0.5 <= F <= 1000, default\n"
    "                 1; knuckle radius K*D, 0.001 <= K < 0.5, default 0.06\n"
    "  D, L and A are 0.000001 to 1000000000 inches, or the same length in other units\n"
    "  --units inches|feet|millimeters|centimeters|meters  D, L, A, H and I; default inches\n"
    "  --volume gallons|litres|cubic-meters|millilitres  every volume, in and out; default\n"
    "                 gallons (231 cubic inches)\n"
    "or TANK is --calibration FILE: the tank's own chart, CSV with a header line and rows\n"
    "                 level,volume in --units and --volume (\",\" between fields, \".\" as the\n"
    "                 decimal point), or a chart in brimwell-chart's text layout. The first\n"
    "                 row is level 0, levels and volumes rise strictly, and between rows the\n"
    "                 volume and the level are interpolated linearly\n"
    "\n"
    "H and W are stick readings: a decimal in --units (75.625); feet and inches with their\n"
    "marks in any unit (6'3-5/8\", 6 ft 3 5/8 in, 75 5/8 in, 75\"); with --units inches also\n"
    "a whole number and a fraction without a mark (75 5/8)\n"
    "\n"
    "reading  the capacity, the volume at level H (0 to the top: D, or L of a vertical tank;\n"
    "         the top as brimwell-tank writes it is the top, though rounded above it),\n"
    "         the ullage (capacity minus volume) and the room left below the safe fill, P percent\n"
    "         of the capacity (0 to 100, default 90; negative when the tank is above it)\n"
    "         and with a CORRECTION the gross volume (the volume at H), the VCF and the net\n"
    "         volume, gross times VCF, at the base temperature, in the --volume unit.\n"
    "         --water W: the water cut, W at most H; adds the water volume (the volume at W)\n"
    "         and the product volume (the volume at H less the water), which alone is corrected\n"
    "level    the level at which the tank holds volume V (0 to the capacity) or P percent of its\n"
    "         capacity (0 to 100)\n"
    "--level-format  how text shows the level of level and the water level of reading:\n"
    "         decimal (default) or feet-inches, rounded to the nearest 1/8 in\n"
    "chart    the volume at each level i*I from 0 up to the top, and at the top when it is not a\n"
    "         whole number of increments, which that row shows with all its decimals; top/I\n"
    "         rounded half to even is 1 to 10000000; text is brimwell-chart's layout, csv has\n"
    "         the header level,volume; both with CRLF line ends\n"
    "\n"
    "CORRECTION is --temperature T --correction C with C's options:\n"
    "  --temperature-unit F|C  T and R in °F or °C, default F; 6B and 6C take F, 54B and 54C C\n"
    "  --correction linear --coefficient CE [--reference R]  the tank window's rule, net =\n"
    "                 gross + gross*(R-T)*CE; CE per degree, R default 60 °F or 15 °C; VCF is\n"
    "                 1 + (R-T)*CE\n"
    "  --correction 6B --api-gravity G  API gravity at 60 °F, 1980 Table 6B (0 to 85)\n"
    "  --correction 54B --density D  kg/m³ at 15 °C, 1980 Table 54B (653 to 1075)\n"
    "  --correction 6C --alpha A  per °F at 60 °F, Table 6C; 54C: per °C at 15 °C, Table 54C\n"
    "  --observed     6B, 54B: G or D was read at T and is brought to 60 °F or 15 °C first\n"
    "                 (Tables 5B, 53B, which correct a glass hydrometer's reading for its glass)\n"
    "  --no-glass-correction  with --observed: G or D is the liquid's own, from a density meter\n"
    "A value or temperature outside the table's range is refused.\n"
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

using Values = OptionValues;

constexpr std::array<std::string_view, 3> kSubcommandWords{"reading", "level", "chart"};
constexpr std::array<std::string_view, 3> kFormatWords{"text", "csv", "json"};
constexpr std::array<std::string_view, 2> kLevelFormatWords{"decimal", "feet-inches"};
constexpr std::array<std::string_view, 2> kOrientationWords{"horizontal", "vertical"};
constexpr std::array<std::string_view, 2> kTemperatureWords{"F", "C"};  // in TempUnit's order

// The subcommands an option applies to, as bits.
constexpr unsigned kReading = 1;
constexpr unsigned kLevel = 2;
constexpr unsigned kChart = 4;
constexpr unsigned kAll = kReading | kLevel | kChart;

// The tanks an option applies to.
enum class ForTank { Any, Shaped, Calibrated, Horizontal, HeadDepth, Torispherical };

// A correction table as a bit, for the correction options that apply to some tables only.
constexpr unsigned tableBit(CorrectionTable table) {
    return 1U << static_cast<unsigned>(table);
}
constexpr unsigned kEveryTable = 0x1f;

struct OptionRule {
    std::string_view name;
    unsigned subcommands;
    ForTank tank = ForTank::Any;
    unsigned tables = 0;  // a reading's correction option: the tables it applies to
    bool flag = false;    // takes no value
    bool value = false;   // the value of the tables it applies to
};

// Which option applies to which subcommand, tank and correction. The correction options stand in
// the order in which one given without --correction is named.
constexpr std::array<OptionRule, 29> kOptionRules{{
    {"--units", kAll},
    {"--volume", kAll},
    {"--format", kAll},
    {"--output", kAll},
    {"--calibration", kAll, ForTank::Calibrated},
    {"--orientation", kAll, ForTank::Shaped},
    {"--diameter", kAll, ForTank::Shaped},
    {"--length", kAll, ForTank::Shaped},
    {"--heads", kAll, ForTank::Horizontal},
    {"--head-depth", kAll, ForTank::HeadDepth},
    {"--crown", kAll, ForTank::Torispherical},
    {"--knuckle", kAll, ForTank::Torispherical},
    {"--level-format", kReading | kLevel},
    {"--level", kReading},
    {"--safe-fill", kReading},
    {"--water", kReading},
    {"--fill-volume", kLevel},
    {"--fill-percent", kLevel},
    {"--increment", kChart},
    {"--correction", kReading, ForTank::Any, kEveryTable},
    {"--temperature", kReading, ForTank::Any, kEveryTable},
    {"--temperature-unit", kReading, ForTank::Any, kEveryTable},
    {"--reference", kReading, ForTank::Any, tableBit(CorrectionTable::Linear)},
    {"--observed", kReading, ForTank::Any,
     tableBit(CorrectionTable::Table6B) | tableBit(CorrectionTable::Table54B), true},
    {"--no-glass-correction", kReading, ForTank::Any, kEveryTable, true},
    {"--coefficient", kReading, ForTank::Any, tableBit(CorrectionTable::Linear), false, true},
    {"--api-gravity", kReading, ForTank::Any, tableBit(CorrectionTable::Table6B), false, true},
    {"--density", kReading, ForTank::Any, tableBit(CorrectionTable::Table54B), false, true},
    {"--alpha", kReading, ForTank::Any,
     tableBit(CorrectionTable::Table6C) | tableBit(CorrectionTable::Table54C), false, true},
}};

// The names of the options that take a value, or of the flags.
std::vector<std::string_view> optionNames(bool flags) {
    std::vector<std::string_view> names;
    for (const auto& rule : kOptionRules) {
        if (rule.flag == flags) {
            names.push_back(rule.name);
        }
    }
    return names;
}

bool takes(ForTank kind, const TankDescription& tank) {
    const bool horizontal = !tank.calibration && !tank.vertical;
    switch (kind) {
        case ForTank::Any:
            return true;
        case ForTank::Shaped:
            return !tank.calibration;
        case ForTank::Calibrated:
            return tank.calibration.has_value();
        case ForTank::Horizontal:
            return horizontal;
        case ForTank::HeadDepth:
            return horizontal && (std::holds_alternative<EllipsoidalHeads>(tank.heads) ||
                                  std::holds_alternative<ConicalHeads>(tank.heads));
        case ForTank::Torispherical:
            return horizontal && std::holds_alternative<TorisphericalHeads>(tank.heads);
    }
    return false;
}

bool applies(std::string_view option, Subcommand subcommand, const TankDescription& tank) {
    const auto bit = 1U << static_cast<unsigned>(subcommand);
    return std::any_of(kOptionRules.begin(), kOptionRules.end(), [&](const OptionRule& rule) {
        return rule.name == option && (rule.subcommands & bit) != 0 && takes(rule.tank, tank);
    });
}

std::string notApplicable(std::string_view option, Subcommand subcommand, const TankDescription& tank) {
    const std::string name(option);
    const auto rule = std::find_if(kOptionRules.begin(), kOptionRules.end(),
                                   [&](const OptionRule& each) { return each.name == option; });
    if (tank.calibration && rule->tank != ForTank::Any && rule->tank != ForTank::Calibrated) {
        return name + " does not apply with --calibration, whose chart is the tank";
    }
    if (rule->tank == ForTank::Horizontal || rule->tank == ForTank::HeadDepth ||
        rule->tank == ForTank::Torispherical) {
        if (tank.vertical) {
            return name + " does not apply to a vertical tank";
        }
        return name + " does not apply to " + std::string(headWord(tank.heads)) + " heads";
    }
    return name + " does not apply to " +
           std::string(kSubcommandWords[static_cast<std::size_t>(subcommand)]);
}

// The option's number, which must be given; `why` tells why in the error when it is not.
Expected<double, std::string> requiredNumber(const Values& values, std::string_view option,
                                             std::string_view why = "") {
    const auto number = optionalNumber(values, option);
    if (!number) {
        return Unexpected(number.error());
    }
    if (!*number) {
        return Unexpected(std::string(option) + " is missing" + std::string(why) + " (see --help)");
    }
    return **number;
}

// Reads the tank's own options, the numbers aside.
Expected<TankDescription, std::string> readTankWords(const Values& values) {
    TankDescription tank;
    FirstFailure words;
    std::size_t orientation = 0;
    words.take(wordOption(values, "--orientation", kOrientationWords, orientation), orientation);
    tank.vertical = orientation == 1;
    if (!tank.vertical) {
        std::size_t heads = 0;
        words.take(wordOption(values, "--heads", kHeadWords, heads), heads);
        tank.heads = *headsNamed(kHeadWords[heads]);
    }
    words.take(wordOption(values, "--units", kLengthUnits, LengthUnit::Inches), tank.lengthUnit);
    words.take(wordOption(values, "--volume", kVolumeWords, VolumeUnit::Gallons), tank.volumeUnit);
    words.take(fileOption(values, "--calibration"), tank.calibration);
    return words.orFailure(tank);
}

// The tank with its sizes and its heads' numbers read, or the first error.
Expected<TankDescription, std::string> readTankNumbers(const Values& values, TankDescription tank) {
    FirstFailure numbers;
    if (!tank.calibration) {
        numbers.take(requiredNumber(values, "--diameter"), tank.diameter);
        numbers.take(requiredNumber(values, "--length"), tank.length);
    }
    if (auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&tank.heads)) {
        numbers.take(optionalNumber(values, "--head-depth"), ellipsoidal->depth);
    }
    if (auto* conical = std::get_if<ConicalHeads>(&tank.heads)) {
        numbers.take(requiredNumber(values, "--head-depth", " for conical heads"), conical->depth);
    }
    if (auto* dished = std::get_if<TorisphericalHeads>(&tank.heads)) {
        std::optional<double> crown;
        std::optional<double> knuckle;
        numbers.take(optionalNumber(values, "--crown"), crown);
        numbers.take(optionalNumber(values, "--knuckle"), knuckle);
        dished->crown = crown.value_or(dished->crown);
        dished->knuckle = knuckle.value_or(dished->knuckle);
    }
    return numbers.orFailure(tank);
}

// The command with the numbers of its subcommand read, or the first error.
Expected<TankCommand, std::string> readAnswerNumbers(const Values& values, TankCommand command) {
    FirstFailure numbers;
    std::optional<std::string>& failure = numbers.failure;
    const LengthUnit unit = command.tank.lengthUnit;
    switch (command.subcommand) {
        case Subcommand::Reading: {
            std::optional<double> level;
            numbers.take(optionalStick(values, "--level", unit), level);
            if (!failure && !level) {
                failure = "--level is missing (see --help)";
            }
            command.level = level.value_or(0);
            numbers.take(optionalStick(values, "--water", unit), command.water);
            std::optional<double> safeFill;
            numbers.take(optionalNumber(values, "--safe-fill"), safeFill);
            command.safeFill = safeFill.value_or(90);
            if (!failure && !(command.safeFill >= 0 && command.safeFill <= 100)) {
                failure = "--safe-fill must be from 0 to 100 (percent of the capacity)";
            }
            break;
        }
        case Subcommand::Level:
            numbers.take(optionalNumber(values, "--fill-volume"), command.fillVolume);
            numbers.take(optionalNumber(values, "--fill-percent"), command.fillPercent);
            if (!failure && command.fillVolume.has_value() == command.fillPercent.has_value()) {
                failure = command.fillVolume
                              ? "--fill-volume and --fill-percent: give only one"
                              : "--fill-volume or --fill-percent is missing (see --help)";
            }
            break;
        case Subcommand::Chart:
            numbers.take(requiredNumber(values, "--increment"), command.increment);
            break;
    }
    return numbers.orFailure(command);
}

// The command with its numbers read, or the first error.
Expected<TankCommand, std::string> readNumbers(const Values& values, TankCommand command) {
    auto tank = readTankNumbers(values, command.tank);
    if (!tank) {
        return Unexpected(tank.error());
    }
    command.tank = *std::move(tank);
    return readAnswerNumbers(values, std::move(command));
}

bool fahrenheitTable(CorrectionTable table) {
    return table == CorrectionTable::Table6B || table == CorrectionTable::Table6C;
}

// The first option given that does not apply to the table: the other tables' values first.
std::optional<std::string> notForTable(const Options& options, CorrectionTable table,
                                       const std::string& toTable) {
    for (const bool values : {true, false}) {
        for (const auto& rule : kOptionRules) {
            if (rule.tables == 0 || rule.value != values || (rule.tables & tableBit(table)) != 0 ||
                !options.has(rule.name)) {
                continue;
            }
            std::string line = std::string(rule.name) + " does not apply" + toTable;
            if (rule.name == "--reference") {
                line += fahrenheitTable(table) ? ", whose base is 60 °F" : ", whose base is 15 °C";
            } else if (rule.name == "--observed") {
                line += " (only to 6B and 54B)";
            }
            return line;
        }
    }
    return std::nullopt;
}

// The temperature scale, which must be the table's own.
Expected<TempUnit, std::string> temperatureUnit(const Values& values, CorrectionTable table,
                                                const std::string& word) {
    const auto unit =
        wordOption(values, "--temperature-unit", kTemperatureWords, TempUnit::DegreesF);
    if (!unit) {
        return unit;
    }
    const bool celsiusTable =
        table == CorrectionTable::Table54B || table == CorrectionTable::Table54C;
    if (celsiusTable && *unit == TempUnit::DegreesF) {
        return Unexpected("--temperature-unit C is needed for --correction " + word +
                          ", which takes °C");
    }
    if (fahrenheitTable(table) && *unit == TempUnit::DegreesC) {
        return Unexpected("--temperature-unit C does not apply to --correction " + word +
                          ", which takes °F");
    }
    return unit;
}

Expected<std::optional<CorrectionOptions>, std::string> readCorrection(const Options& options) {
    const auto it = options.values.find("--correction");
    if (it == options.values.end()) {
        for (const auto& rule : kOptionRules) {
            if (rule.tables != 0 && options.has(rule.name)) {
                return Unexpected(std::string(rule.name) +
                                  " applies only with --correction (see --help)");
            }
        }
        return std::optional<CorrectionOptions>();
    }
    const auto table = wordOption<CorrectionTable>("--correction", it->second, kCorrectionWords);
    if (!table) {
        return Unexpected(table.error());
    }
    CorrectionOptions correction;
    correction.table = *table;
    const std::string forTable = " for --correction " + it->second;
    const std::string toTable = " to --correction " + it->second;
    const auto unit = temperatureUnit(options.values, *table, it->second);
    if (!unit) {
        return Unexpected(unit.error());
    }
    correction.unit = *unit;
    if (auto refusal = notForTable(options, *table, toTable)) {
        return Unexpected(*std::move(refusal));
    }
    correction.observed = options.has("--observed");
    correction.glassHydrometer = !options.has("--no-glass-correction");
    if (!correction.glassHydrometer && !correction.observed) {
        return Unexpected(std::string("--no-glass-correction applies only with --observed"));
    }
    const auto temperature = requiredNumber(options.values, "--temperature", forTable);
    if (!temperature) {
        return Unexpected(temperature.error());
    }
    correction.temperature = *temperature;
    const auto value = requiredNumber(options.values, correctionValueOption(*table), forTable);
    if (!value) {
        return Unexpected(value.error());
    }
    correction.value = *value;
    const auto reference = optionalNumber(options.values, "--reference");
    if (!reference) {
        return Unexpected(reference.error());
    }
    correction.reference = reference->value_or(correction.unit == TempUnit::DegreesF ? 60.0 : 15.0);
    return std::optional<CorrectionOptions>(correction);
}

// The first option given that does not apply to the subcommand and tank.
std::optional<std::string> firstNotApplicable(const Options& options, const TankCommand& command) {
    std::vector<std::string_view> given;
    for (const auto& [name, value] : options.values) {
        given.push_back(name);
    }
    given.insert(given.end(), options.flags.begin(), options.flags.end());
    for (const auto name : given) {
        if (!applies(name, command.subcommand, command.tank)) {
            return notApplicable(name, command.subcommand, command.tank);
        }
    }
    return std::nullopt;
}

// The command with the words of its output read: the format, the level format and the file.
Expected<TankCommand, std::string> readOutputWords(const Values& values, TankCommand command) {
    FirstFailure words;
    words.take(wordOption(values, "--format", kFormatWords, ChartFormat::Text), command.format);
    if (!words.failure && command.format == ChartFormat::Csv &&
        command.subcommand != Subcommand::Chart) {
        return Unexpected(std::string("--format csv applies only to chart (text or json)"));
    }
    words.take(wordOption(values, "--level-format", kLevelFormatWords, LevelFormat::Decimal),
               command.levelFormat);
    words.take(fileOption(values, "--output"), command.output);
    return words.orFailure(command);
}

}  // namespace

std::string shapeOptionsText(const TankDescription& tank) {
    std::string text;
    const auto add = [&text](std::string_view name, std::string_view value) {
        text.append(text.empty() ? "" : " ").append(name).append(" ").append(value);
    };
    if (!tank.calibration) {
        add("--diameter", plainText(tank.diameter));
        add("--length", plainText(tank.length));
        if (tank.vertical) {
            add("--orientation", "vertical");
        } else {
            add("--heads", headWord(tank.heads));
            if (const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&tank.heads);
                ellipsoidal && ellipsoidal->depth) {
                add("--head-depth", plainText(*ellipsoidal->depth));
            } else if (const auto* conical = std::get_if<ConicalHeads>(&tank.heads)) {
                add("--head-depth", plainText(conical->depth));
            } else if (const auto* dished = std::get_if<TorisphericalHeads>(&tank.heads)) {
                add("--crown", plainText(dished->crown));
                add("--knuckle", plainText(dished->knuckle));
            }
        }
    }
    add("--units", unitWord(tank.lengthUnit));
    add("--volume", unitWord(tank.volumeUnit));
    return text;
}

std::string_view correctionValueOption(CorrectionTable table) {
    for (const auto& rule : kOptionRules) {
        if (rule.value && (rule.tables & tableBit(table)) != 0) {
            return rule.name;
        }
    }
    return {};
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
    const auto options = readOptions(rest, optionNames(false), optionNames(true));
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
    const Values& values = options->values;
    auto tank = readTankWords(values);
    if (!tank) {
        return Unexpected(tank.error());
    }
    command.tank = *tank;
    if (auto refusal = firstNotApplicable(*options, command)) {
        return Unexpected(*std::move(refusal));
    }
    auto withNumbers = readNumbers(values, command);
    if (!withNumbers) {
        return Unexpected(withNumbers.error());
    }
    command = *std::move(withNumbers);
    if (command.subcommand == Subcommand::Reading) {
        auto correction = readCorrection(*options);
        if (!correction) {
            return Unexpected(correction.error());
        }
        command.correction = *correction;
    }
    return readOutputWords(values, std::move(command));
}

}  // namespace brimwell
