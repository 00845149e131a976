#pragma once

// The chart of a tank brimwell-tank describes, of any shape, with up to ten million levels: the
// levels i·increment for i = 0, 1, 2 ... up to the top in the tank's length unit, and the top
// itself when it is not a whole number of increments, each with its volume. Each row's volume is
// the volume at the level the row prints: a level is the decimal i·increment, the increment taken
// as its shortest text, and the top row prints the top with every decimal it needs. Written as
// the window's text layout, as CSV or as JSON, and handed on in blocks, so that memory stays the
// same whatever the number of levels.

#include <cstdint>
#include <string>

#include "model/geometry/stickreading.h"
#include "model/geometry/tankvolumes.h"
#include "tank/chartstream.h"

namespace brimwell {

enum class ChartFormat { Text, Csv, Json };

struct LevelChartLayout {
    double increment = 1;  // above 0, with at most kMostChartDecimals decimals in its shortest text
    ChartFormat format = ChartFormat::Text;
    // JSON: the members that stand before "rows", each followed by a comma.
    std::string jsonMembers;
};

// The most increments that fit the top, as the top over the increment rounded half to even.
inline constexpr std::int64_t kMostSteps = 10'000'000;

// The decimals of a number's shortest text: 0.125 has 3, 12 has none.
int decimalsOf(double number);

// How many rows the chart of this increment has: the whole increments up to the top, from 0, and
// the top when it is not one of them.
std::int64_t chartRows(const TankVolumes& tank, double increment);

// Text: the window's chart header and data lines, CR LF line ends. CSV: the header "level,volume"
// and a row per level, CR LF line ends. JSON: one object whose "rows" are [level, volume] pairs,
// a pair a line. Levels show the increment's decimals, at least 2, and the top row those its
// level needs too; volumes in CSV and JSON are written as appendVolume writes them. True when the
// sink took every block.
bool streamLevelChart(const TankVolumes& tank, const LevelChartLayout& layout,
                      const ChartSink& sink);

// A volume as CSV and JSON write it: to 10 significant digits (appendSignificant), and never
// fewer decimals than the two that text shows.
void appendVolume(std::string& out, double volume);

}  // namespace brimwell
