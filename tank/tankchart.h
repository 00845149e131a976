#pragma once

// The lines of a tank chart: a header, then data lines of up to three level/volume pairs behind
// the range of levels they cover. Lines are built one at a time; the chart is never held whole.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/failurereporter.h"
#include "model/tankmodel.h"
#include "tank/chartline.h"

namespace brimwell {

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
