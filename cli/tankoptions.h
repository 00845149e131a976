#pragma once

// The command line of brimwell-tank, read into a request: the subcommand, the tank as given
// with its defaults filled in, and what the subcommand asks.

#include <optional>
#include <string>
#include <vector>

#include "model/expected.h"
#include "model/geometry/tankdescription.h"
#include "model/units/units.h"
#include "cli/levelchart.h"

namespace brimwell {

enum class Subcommand { Reading, Level, Chart };
enum class LevelFormat { Decimal, FeetInches };

struct TankCommand {
    Subcommand subcommand = Subcommand::Reading;
    TankDescription tank;
    double level = 0;                                // reading
    std::optional<double> water;                     // reading: the water cut, in the length unit
    LevelFormat levelFormat = LevelFormat::Decimal;  // reading and level, in text
    double safeFill = 90;                            // reading, percent of the capacity
    std::optional<CorrectionOptions> correction;     // reading
    std::optional<double> fillVolume;                // level: one of the two
    std::optional<double> fillPercent;
    double increment = 0;  // chart, in the length unit
    ChartFormat format = ChartFormat::Text;
    std::optional<std::string> output;  // standard output when empty or "-"
    bool help = false;
    bool version = false;
};

// The command, or one line that names the option at fault.
Expected<TankCommand, std::string> parseTankArguments(const std::vector<std::string>& args);

// The option that gives the correction's value: --coefficient, --api-gravity, --density, --alpha.
std::string_view correctionValueOption(CorrectionTable table);

// The options that describe the tank's shape and units to brimwell-tank, every one written:
// "--diameter 96 --length 240 --heads flat --units inches --volume gallons". A calibrated
// tank's are its units alone.
std::string shapeOptionsText(const TankDescription& tank);

extern const char* const kTankUsage;

}  // namespace brimwell
