#pragma once

// The command line of brimwell-tank, read into a request: the subcommand, the tank as given
// with its defaults filled in, and what the subcommand asks.

#include <optional>
#include <string>
#include <vector>

#include "model/expected.h"
#include "model/geometry/tank.h"
#include "model/window/units.h"
#include "cli/levelchart.h"

namespace brimwell {

enum class Subcommand { Reading, Level, Chart };
enum class CorrectionTable { Linear, Table6B, Table54B, Table6C, Table54C };
enum class LevelFormat { Decimal, FeetInches };

// Lengths in `lengthUnit`, a head's depth too; a default the model fills in stays empty.
struct TankOptions {
    bool vertical = false;
    Heads heads = FlatHeads{};  // flat for a vertical tank
    double diameter = 0;
    double length = 0;  // the straight shell, or the height of a vertical tank
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    // A calibration chart's file, in place of the shape: levels in lengthUnit, volumes in
    // volumeUnit.
    std::optional<std::string> calibration;

    double top() const { return vertical ? length : diameter; }
};

// A reading's correction to the base temperature, as given, its defaults filled in. The
// temperatures are in `unit`, which 6B and 6C take in °F and 54B and 54C in °C.
struct CorrectionOptions {
    CorrectionTable table = CorrectionTable::Linear;
    double temperature = 0;
    TempUnit unit = TempUnit::DegreesF;
    // The coefficient per degree of `unit` (linear), the API gravity (6B), the density in kg/m³
    // (54B), or α per °F (6C) or per °C (54C).
    double value = 0;
    double reference = 60;        // linear only: 60 °F or 15 °C unless given
    bool observed = false;        // 6B, 54B: the gravity or density was read at `temperature`
    bool glassHydrometer = true;  // observed: read on a glass hydrometer, not a density meter
};

struct TankCommand {
    Subcommand subcommand = Subcommand::Reading;
    TankOptions tank;
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

std::string_view headWord(const Heads& heads);
std::string_view correctionWord(CorrectionTable table);
// The option that gives the correction's value: --coefficient, --api-gravity, --density, --alpha.
std::string_view correctionValueOption(CorrectionTable table);

extern const char* const kTankUsage;

}  // namespace brimwell
