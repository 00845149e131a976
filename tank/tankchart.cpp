#include "tankchart.h"

#include <algorithm>
#include <array>

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;
constexpr int kPairsPerLine = 3;

}  // namespace

TankChart::TankChart(TankChartParams params, FailureReporter& reporter)
    : params_(std::move(params)),
      volumeAt_(params_.shape, params_.volumeUnit),
      reporter_(reporter) {}

void TankChart::continueAtLine(int index) {
    if (!headerDone_) {
        headerDone_ = true;
        failed_ = params_.stepCount == 0;
    }
    nextLevel_ = kPairsPerLine * index;
}

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
    // The line's volumes first: their long chains of divisions and roots then overlap.
    std::array<double, kPairsPerLine> levels{};
    std::array<float, kPairsPerLine> volumes{};
    for (int pair = 0; pair < pairsInLine_; ++pair) {
        levels[pair] = levelAt(first + pair);
        volumes[pair] = volumeAt_(static_cast<float>(levels[pair]), r, length, reporter_);
    }
    // The range in front holds the first and the last level of the pairs behind it, which copy
    // its texts rather than write the numbers again.
    line_.clear();
    const auto firstText = line_.putFixed2(levels[0], kLevelWidth);
    line_.put(" - ");
    const auto lastText = line_.putFixed2(levels[pairsInLine_ - 1], kLevelWidth);
    line_.put("   ");
    for (int pair = 0; pair < pairsInLine_; ++pair) {
        if (pair == 0 || pair == pairsInLine_ - 1) {
            line_.putCopy(pair == 0 ? firstText : lastText);
        } else {
            line_.putFixed2(levels[pair], kLevelWidth);
        }
        line_.put(",");
        line_.putFixed2(volumes[pair], kVolumeWidth);
        line_.put("  ");
    }
    return line_.text();
}

}  // namespace brimwell
