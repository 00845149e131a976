#pragma once

// The lines of a tank chart: a header, then data lines of up to three level/volume pairs behind
// the range of levels they cover. Lines are built one at a time; the chart is never held whole.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/failurereporter.h"
#include "model/window/tankmodel.h"

namespace brimwell {

// A data line: the range of levels it covers (its first and last level), then its one to three
// level/volume pairs. Each pair is the level padded to 6 characters, a comma, the volume with two
// decimals padded to 9, and two blanks; a longer number is written whole and pushes the rest of
// the line to the right. Shared by the window's chart and brimwell-tank's chart in text.
inline constexpr int kPairsPerLine = 3;

class ChartLine {
public:
    // Levels show `levelDecimals` decimals: two in the tank window's chart.
    explicit ChartLine(int levelDecimals = 2) : levelDecimals_(levelDecimals) {}

    // The line of these pairs, as many levels as volumes, one to three. The view stays valid
    // until the next call.
    std::string_view write(std::span<const double> levels, std::span<const double> volumes);

private:
    int levelDecimals_;
    std::string line_;
};

// The diameter and the length fit single precision (deriveChartParams refuses other tanks).
struct TankChartParams {
    double radius = 0;  // inches; the chart's top level is twice this
    double length = 0;  // inches
    std::int16_t stepCount = 0;
    TankShape shape = TankShape::FlatEnded;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
};

inline constexpr std::string_view kTankChartHeader =
    "LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME";

class TankChart {
public:
    // `reporter` hears the level-to-volume routine's own failures; it must outlive the chart.
    TankChart(TankChartParams params, FailureReporter& reporter);

    // The header first, then each data line, without line ends; empty after the last line, and
    // right after the header when the step count is 0 (see failed()). A view stays valid until
    // the next call.
    std::optional<std::string_view> nextLine();

    // True once the chart has stopped short: a step count of 0 makes the first level 0/0.
    bool failed() const { return failed_; }

    // How many level/volume pairs the line last returned holds (0 for the header).
    int pairsInLine() const { return pairsInLine_; }

private:
    TankChartParams params_;
    LevelVolume volumeAt_;
    FailureReporter& reporter_;
    bool headerDone_ = false;
    bool failed_ = false;
    int nextLevel_ = 0;
    int pairsInLine_ = 0;
    ChartLine line_;
};

}  // namespace brimwell
