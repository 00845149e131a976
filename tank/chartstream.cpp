#include "tank/chartstream.h"

namespace brimwell {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

bool streamChart(const ChartLines& lines, const ChartSink& sink) {
    std::string block;
    block.reserve(kBlockBytes + 1024);
    for (bool more = true; more;) {
        more = lines(block);
        if (block.size() >= kBlockBytes || (!more && !block.empty())) {
            if (!sink(block)) {
                return false;
            }
            block.clear();
        }
    }
    return true;
}

bool streamTankChart(const TankChartParams& params, FailureReporter& reporter,
                     const ChartSink& sink) {
    TankChart chart(params, reporter);
    return streamChart(
        [&chart](std::string& out) {
            const auto line = chart.nextLine();
            if (line) {
                out.append(*line).append("\r\n");
            }
            return line.has_value();
        },
        sink);
}

}  // namespace brimwell
