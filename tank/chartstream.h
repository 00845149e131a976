#pragma once

// A tank chart's whole text, CR LF line ends included, handed on in blocks of a thousand lines,
// so that saving the largest chart costs little more than writing its bytes.

#include <functional>
#include <string_view>

#include "tank/tankchart.h"

namespace brimwell {

// Takes one block of the chart's text; returns false to stop the chart there.
using ChartSink = std::function<bool(std::string_view)>;

// Hands the chart to `sink` block by block in order; true when every block was taken. Each
// failure is reported before the block holding its line is handed on. Memory stays the same
// whatever the chart's length.
bool streamTankChart(const TankChartParams& params, FailureReporter& reporter,
                     const ChartSink& sink);

}  // namespace brimwell
