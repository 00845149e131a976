#include "tank/levelchart.h"

#include <algorithm>
#include <array>

#include "model/numbertext.h"
#include "tank/chartline.h"
#include "tank/tankchart.h"

namespace brimwell {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

// Gathers the text and hands it on whenever a block is full.
class Blocks {
public:
    explicit Blocks(const ChartSink& sink) : sink_(sink) { text_.reserve(kBlockBytes + 1024); }
    std::string& text() { return text_; }
    bool handOnWhenFull() { return text_.size() < kBlockBytes || handOn(); }
    bool handOn() {
        const bool taken = text_.empty() || sink_(text_);
        text_.clear();
        return taken;
    }

private:
    const ChartSink& sink_;
    std::string text_;
};

}  // namespace

void appendVolume(std::string& out, const TankInUnits& tank, double volume) {
    if (tank.singlePrecision()) {
        appendShortest(out, static_cast<float>(volume));
    } else {
        appendShortest(out, volume);
    }
}

bool streamLevelChart(const TankInUnits& tank, const LevelChartSpec& spec, const ChartSink& sink) {
    Blocks blocks(sink);
    std::string& out = blocks.text();
    const auto n = spec.steps;
    const auto levelAt = [&](std::int64_t i) {
        return std::min(tank.top() * static_cast<double>(i) / static_cast<double>(n), tank.top());
    };
    // Every level lies in [0, top], so each has a volume.
    const auto volumeAt = [&](double level) { return tank.volumeAt(level).value(); };

    if (spec.format == ChartFormat::Text) {
        ChartLine line(spec.levelDecimals);
        out.append(kTankChartHeader).append("\r\n");
        std::array<double, kPairsPerLine> levels{};
        std::array<double, kPairsPerLine> volumes{};
        for (std::int64_t first = 0; first <= n; first += kPairsPerLine) {
            const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kPairsPerLine, n - first + 1));
            for (std::size_t pair = 0; pair < count; ++pair) {
                levels[pair] = levelAt(first + static_cast<std::int64_t>(pair));
                volumes[pair] = volumeAt(levels[pair]);
            }
            out.append(line.write(std::span(levels).first(count), std::span(volumes).first(count)))
                .append("\r\n");
            if (!blocks.handOnWhenFull()) {
                return false;
            }
        }
        return blocks.handOn();
    }

    const bool csv = spec.format == ChartFormat::Csv;
    out.append(csv ? "level,volume\r\n" : "{" + spec.jsonMembers + "\"rows\": [\n");
    for (std::int64_t i = 0; i <= n; ++i) {
        const double level = levelAt(i);
        out.append(csv ? "" : "[");
        appendFixed(out, level, spec.levelDecimals);
        out.append(csv ? "," : ", ");
        appendVolume(out, tank, volumeAt(level));
        out.append(csv ? "\r\n" : i < n ? "],\n" : "]\n");
        if (!blocks.handOnWhenFull()) {
            return false;
        }
    }
    out.append(csv ? "" : "]}\n");
    return blocks.handOn();
}

}  // namespace brimwell
