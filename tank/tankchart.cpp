#include "tankchart.h"

#include "numbertext.h"

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;
constexpr int kPairsPerLine = 3;

}  // namespace

TankChart::TankChart(TankChartParams params, FailureReporter& reporter)
    : params_(std::move(params)),
      volumeAt_(params_.shape, params_.volumeUnit),
      reporter_(reporter) {
    line_.reserve(128);
    pairs_.reserve(96);
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
    // The range in front repeats the first and the last level of the pairs: each is written once.
    pairs_.clear();
    std::size_t firstEnd = 0;
    std::size_t lastStart = 0;
    std::size_t lastEnd = 0;
    int pairs = 0;
    for (; pairs < kPairsPerLine && nextLevel_ <= n; ++pairs, ++nextLevel_) {
        const double level = 2 * params_.radius * nextLevel_ / n;
        const float volume = volumeAt_(static_cast<float>(level), r, length, reporter_);
        lastStart = pairs_.size();
        appendFixed2(pairs_, level, kLevelWidth);
        lastEnd = pairs_.size();
        firstEnd = pairs == 0 ? lastEnd : firstEnd;
        pairs_ += ',';
        appendFixed2(pairs_, volume, kVolumeWidth);
        pairs_ += "  ";
    }
    pairsInLine_ = pairs;
    line_.assign(pairs_, 0, firstEnd);
    line_ += " - ";
    line_.append(pairs_, lastStart, lastEnd - lastStart);
    line_ += "   ";
    line_ += pairs_;
    return line_;
}

}  // namespace brimwell
