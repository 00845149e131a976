#include "tank/chartstream.h"

#include <string>

namespace brimwell {
namespace {

constexpr int kBlockLines = 1024;  // about 80 KB of text: few writes

// Appends the chart's next `lines` lines, fewer at the chart's end.
void appendLines(TankChart& chart, int lines, std::string& text) {
    for (int i = 0; i < lines; ++i) {
        const auto line = chart.nextLine();
        if (!line) {
            break;
        }
        text += *line;
        text += "\r\n";
    }
}

}  // namespace

bool streamTankChart(const TankChartParams& params, FailureReporter& reporter,
                     const ChartSink& sink) {
    TankChart chart(params, reporter);
    std::string block;
    block.reserve(std::size_t{kBlockLines + 1} * 96);
    appendLines(chart, kBlockLines + 1, block);  // the header comes first
    while (!block.empty()) {
        if (!sink(block)) {
            return false;
        }
        block.clear();
        appendLines(chart, kBlockLines, block);
    }
    return true;
}

}  // namespace brimwell
