#pragma once

// What the files that read brimwell-tank's command line share: the rules of which option applies
// to which subcommand, tank and correction, and the readings one file makes for another. The rest
// of the program includes cli/tankoptions.h.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "cli/tankoptions.h"
#include "model/expected.h"

namespace brimwell::tankoptions {

constexpr std::array<std::string_view, 3> kSubcommandWords{"reading", "level", "chart"};

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
std::vector<std::string_view> optionNames(bool flags);

// The first option given that does not apply to the subcommand and tank.
std::optional<std::string> firstNotApplicable(const Options& options, const TankCommand& command);

// The option's number, which must be given; `why` tells why in the error when it is not.
Expected<double, std::string> requiredNumber(const OptionValues& values, std::string_view option,
                                             std::string_view why = "");

// The correction of a reading, none when --correction is not given, or the first error.
Expected<std::optional<CorrectionOptions>, std::string> readCorrection(const Options& options);

}  // namespace brimwell::tankoptions
