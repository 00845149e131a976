#include "tankchart.h"

#include "numbertext.h"
#include "tankmodel.h"

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;
constexpr int kPairsPerLine = 3;

}  // namespace

TankChart::TankChart(TankChartParams params, FailureReporter& reporter)
    : params_(std::move(params)), reporter_(reporter) {
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
    double rangeStart = 0;
    double level = 0;
    pairs_.clear();
    int pairs = 0;
    for (; pairs < kPairsPerLine && nextLevel_ <= n; ++pairs, ++nextLevel_) {
        level = 2 * params_.radius * nextLevel_ / n;
        if (pairs == 0) {
            rangeStart = level;
        }
        const float volume = VolumeAtLevel(static_cast<float>(level), r, length, params_.shape,
                                           params_.volumeUnit, reporter_);
        appendFixed2(pairs_, level, kLevelWidth);
        pairs_ += ',';
        appendFixed2(pairs_, volume, kVolumeWidth);
        pairs_ += "  ";
    }
    pairsInLine_ = pairs;
    line_.clear();
    appendFixed2(line_, rangeStart, kLevelWidth);
    line_ += " - ";
    appendFixed2(line_, level, kLevelWidth);
    line_ += "   ";
    line_ += pairs_;
    return line_;
}

}  // namespace brimwell
