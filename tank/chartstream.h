#pragma once

// The one way a chart's text is handed on, for the window, brimwell-chart and brimwell-tank: the
// lines a chart's writer appends are gathered and handed on in blocks of about 64 KB, so that
// saving the largest chart costs little more than writing its bytes, and memory stays the same
// whatever the chart's length.

#include <functional>
#include <string>
#include <string_view>

#include "tank/tankchart.h"

namespace brimwell {

// Takes one block of the chart's text; returns false to stop the chart there.
using ChartSink = std::function<bool(std::string_view)>;

// Appends the chart's next whole lines to its argument; false once there are none left.
using ChartLines = std::function<bool(std::string&)>;

// Hands what `lines` appends to `sink` in order, a block at a time; true when every block was
// taken.
bool streamChart(const ChartLines& lines, const ChartSink& sink);

// The window's chart: TankChart's lines with CR LF ends. Each failure is reported before the
// block holding its line is handed on.
bool streamTankChart(const TankChartParams& params, FailureReporter& reporter,
                     const ChartSink& sink);

}  // namespace brimwell
