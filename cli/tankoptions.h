#pragma once

// The command line of brimwell-tank, read into a request: the subcommand, the tank as given
// with its defaults filled in, and what the subcommand asks.

#include <optional>
#include <string>
#include <vector>

#include "model/expected.h"
#include "model/units.h"
#include "tank/levelchart.h"

namespace brimwell {

enum class Subcommand { Reading, Level, Chart };
enum class HeadShape { Flat, Hemispherical, Ellipsoidal, Torispherical, Conical };

// Lengths in `lengthUnit`. Only the head parameters of the shape are set, defaults filled in.
struct TankOptions {
    bool vertical = false;
    HeadShape heads = HeadShape::Flat;
    double diameter = 0;
    double length = 0;  // the straight shell, or the height of a vertical tank
    std::optional<double> headDepth;
    std::optional<double> crown;
    std::optional<double> knuckle;
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;

    double top() const { return vertical ? length : diameter; }
};

struct TankCommand {
    Subcommand subcommand = Subcommand::Reading;
    TankOptions tank;
    double level = 0;                  // reading
    double safeFill = 90;              // reading, percent of the capacity
    std::optional<double> fillVolume;  // level: one of the two
    std::optional<double> fillPercent;
    double increment = 0;  // chart, in the length unit
    ChartFormat format = ChartFormat::Text;
    std::optional<std::string> output;  // standard output when empty or "-"
    bool help = false;
    bool version = false;
};

// The command, or one line that names the option at fault.
Expected<TankCommand, std::string> parseTankArguments(const std::vector<std::string>& args);

std::string_view headWord(HeadShape heads);

extern const char* const kTankUsage;

}  // namespace brimwell
