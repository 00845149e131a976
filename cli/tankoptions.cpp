#include "cli/tankoptions.h"

#include <array>
#include <variant>

#include "cli/options.h"
#include "cli/tankoptionparts.h"
#include "cli/unitwords.h"
#include "model/text/numbertext.h"

namespace brimwell {

using tankoptions::firstNotApplicable;
using tankoptions::kSubcommandWords;
using tankoptions::optionNames;
using tankoptions::readCorrection;
using tankoptions::requiredNumber;

namespace {

using Values = OptionValues;

constexpr std::array<std::string_view, 3> kFormatWords{"text", "csv", "json"};
constexpr std::array<std::string_view, 2> kLevelFormatWords{"decimal", "feet-inches"};
constexpr std::array<std::string_view, 2> kOrientationWords{"horizontal", "vertical"};

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

Expected<double, std::string> tankoptions::requiredNumber(const Values& values,
                                                          std::string_view option,
                                                          std::string_view why) {
    const auto number = optionalNumber(values, option);
    if (!number) {
        return Unexpected(number.error());
    }
    if (!*number) {
        return Unexpected(std::string(option) + " is missing" + std::string(why) + " (see --help)");
    }
    return **number;
}

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
