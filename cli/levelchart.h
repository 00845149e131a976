#pragma once

// The chart of a tank brimwell-tank describes, of any shape, with up to ten million levels: the
// levels top·i/n for i = 0 to n in the tank's length unit, each with its volume. Written as the
// window's text layout, as CSV or as JSON, and handed on in blocks, so that memory stays the same
// whatever the number of levels.

#include <cstdint>
#include <string>

#include "model/geometry/tankvolumes.h"
#include "tank/chartstream.h"

namespace brimwell {

enum class ChartFormat { Text, Csv, Json };

struct LevelChartLayout {
    std::int64_t steps = 1;  // n, at least 1
    int levelDecimals = 2;
    ChartFormat format = ChartFormat::Text;
    // JSON: the members that stand before "rows", each followed by a comma.
    std::string jsonMembers;
};

// Text: the window's chart header and data lines, CR LF line ends. CSV: the header "level,volume"
// and a row per level, CR LF line ends. JSON: one object whose "rows" are [level, volume] pairs,
// a pair a line. Levels show `levelDecimals` decimals; volumes in CSV and JSON are written as
// appendVolume writes them. True when the sink took every block.
bool streamLevelChart(const TankVolumes& tank, const LevelChartLayout& layout,
                      const ChartSink& sink);

// A volume as CSV and JSON write it: to 10 significant digits (appendSignificant), and never
// fewer decimals than the two that text shows.
void appendVolume(std::string& out, double volume);

}  // namespace brimwell
