#include "tank/tankchart.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "model/text/numbertext.h"

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;

// Hands on the failures of the volume at one level with that level's text.
class LevelReporter : public FailureReporter {
public:
    LevelReporter(FailureReporter& reporter, std::string_view level)
        : reporter_(reporter), level_(level) {}
    void reportFailure(std::string_view message) override {
        reporter_.reportLevelFailure(level_, message);
    }

private:
    FailureReporter& reporter_;
    std::string_view level_;
};

}  // namespace

TankChart::TankChart(TankChartParams params, FailureReporter& reporter)
    : params_(std::move(params)),
      volumeAt_(params_.shape, params_.volumeUnit),
      reporter_(reporter) {}

std::optional<std::string_view> TankChart::nextLine() {
    if (!headerDone_) {
        headerDone_ = true;
        failed_ = params_.stepCount == 0;
        return kTankChartHeader;
    }
    const int n = params_.stepCount;
    if (failed_ || nextLevel_ > n) {
        return std::nullopt;
    }
    const auto r = static_cast<float>(params_.radius);
    const auto length = static_cast<float>(params_.length);
    const auto levelAt = [&](int step) { return 2 * params_.radius * step / n; };
    const int first = nextLevel_;
    pairsInLine_ = std::min(kPairsPerLine, n - first + 1);
    nextLevel_ += pairsInLine_;
    // The line's volumes all at once: their long chains of divisions and roots then overlap.
    std::array<double, kPairsPerLine> levels{};
    std::array<float, kPairsPerLine> singleLevels{};
    std::array<float, kPairsPerLine> volumes{};
    for (int pair = 0; pair < pairsInLine_; ++pair) {
        levels[pair] = levelAt(first + pair);
        singleLevels[pair] = static_cast<float>(levels[pair]);
    }
    const auto count = static_cast<std::size_t>(pairsInLine_);
    CountingReporter failures;
    volumeAt_(std::span(singleLevels).first(count), r, length, failures,
              std::span(volumes).first(count));
    if (failures.count > 0) {
        // Rare: computed again one level at a time, so that each failure names its level.
        for (int pair = 0; pair < pairsInLine_; ++pair) {
            std::string level;
            appendFixed2(level, levels[pair], 0);
            LevelReporter named(reporter_, level);
            volumes[pair] = volumeAt_(singleLevels[pair], r, length, named);
        }
    }
    std::array<double, kPairsPerLine> wideVolumes{};
    std::copy(volumes.begin(), volumes.end(), wideVolumes.begin());
    return line_.write(std::span(levels).first(count), std::span(wideVolumes).first(count));
}

std::string_view ChartLine::write(std::span<const double> levels, std::span<const double> volumes) {
    line_.clear();
    appendFixed(line_, levels.front(), levelDecimals_, kLevelWidth);
    line_ += " - ";
    appendFixed(line_, levels.back(), levelDecimals_, kLevelWidth);
    line_ += "   ";
    for (std::size_t pair = 0; pair < levels.size(); ++pair) {
        appendFixed(line_, levels[pair], levelDecimals_, kLevelWidth);
        line_ += ",";
        appendFixed2(line_, volumes[pair], kVolumeWidth);
        line_ += "  ";
    }
    return line_;
}

}  // namespace brimwell
