#include "tank/tankchart.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

#include "model/fixed2.h"
#include "model/numbertext.h"

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;
constexpr int kPairsPerLine = 3;

// The most a line holds when every number is written fast: the range and three pairs.
constexpr std::size_t kFastLineLength =
    2 * kFixed2FastLength + 6 + kPairsPerLine * (2 * kFixed2FastLength + 3);

// A data line: the range of levels it covers (its first and last level), then its level/volume
// pairs. The writer puts the numbers and the pieces between them.
template <typename Writer>
void layOutLine(Writer& write, int pairs) {
    write.level(0);
    write.text(" - ");
    write.level(pairs - 1);
    write.text("   ");
    for (int pair = 0; pair < pairs; ++pair) {
        write.level(pair);
        write.text(",");
        write.volume(pair);
        write.text("  ");
    }
}

// Writes the line straight into a buffer with room for kFastLineLength, from numbers already
// rounded to cents: the way nearly every line is written.
class FastLineWriter {
public:
    FastLineWriter(char* out, const std::array<Cents, kPairsPerLine>& levels,
                   const std::array<Cents, kPairsPerLine>& volumes)
        : end_(out), levels_(levels), volumes_(volumes) {}

    // A level the line already shows is copied rather than written again.
    void level(int pair) {
        if (const char* shown = shownLevel_[pair]) {
            char text[kFixed2FastLength];  // whole, so that the copy is of known size
            std::memcpy(text, shown, sizeof text);
            std::memcpy(end_, text, sizeof text);
            end_ += shownLength_[pair];
            return;
        }
        shownLevel_[pair] = end_;
        end_ = writeCents(end_, levels_[pair], kLevelWidth);
        shownLength_[pair] = static_cast<std::size_t>(end_ - shownLevel_[pair]);
    }
    void volume(int pair) { end_ = writeCents(end_, volumes_[pair], kVolumeWidth); }
    template <std::size_t N>
    void text(const char (&piece)[N]) {
        std::memcpy(end_, piece, N - 1);  // of known size: a store or two
        end_ += N - 1;
    }
    char* end() const { return end_; }

private:
    char* end_;
    const std::array<Cents, kPairsPerLine>& levels_;
    const std::array<Cents, kPairsPerLine>& volumes_;
    std::array<const char*, kPairsPerLine> shownLevel_{};
    std::array<std::size_t, kPairsPerLine> shownLength_{};
};

// Writes the line by the exact decimal rules, for a number too large or too near a half-cent.
class ExactLineWriter {
public:
    ExactLineWriter(std::string& out, const std::array<double, kPairsPerLine>& levels,
                    const std::array<float, kPairsPerLine>& volumes)
        : out_(out), levels_(levels), volumes_(volumes) {}

    void level(int pair) { appendFixed2(out_, levels_[pair], kLevelWidth); }
    void volume(int pair) { appendFixed2(out_, volumes_[pair], kVolumeWidth); }
    void text(std::string_view piece) { out_ += piece; }

private:
    std::string& out_;
    const std::array<double, kPairsPerLine>& levels_;
    const std::array<float, kPairsPerLine>& volumes_;
};

// The data line of these levels and their volumes, written into `line`, which it stays in.
std::string_view writeDataLine(std::string& line, const std::array<double, kPairsPerLine>& levels,
                               const std::array<float, kPairsPerLine>& volumes, int pairs) {
    std::array<Cents, kPairsPerLine> levelCents{};
    std::array<Cents, kPairsPerLine> volumeCents{};
    bool fast = true;
    for (int pair = 0; pair < pairs; ++pair) {
        const auto level = roundToCents(levels[pair]);
        const auto volume = roundToCents(volumes[pair]);
        fast = fast && level && volume;
        levelCents[pair] = level.value_or(Cents{});
        volumeCents[pair] = volume.value_or(Cents{});
    }
    if (fast) {
        line.resize(kFastLineLength);
        FastLineWriter write(line.data(), levelCents, volumeCents);
        layOutLine(write, pairs);
        return {line.data(), static_cast<std::size_t>(write.end() - line.data())};
    }
    line.clear();
    ExactLineWriter write(line, levels, volumes);
    layOutLine(write, pairs);
    return line;
}

class FailureCount : public FailureReporter {
public:
    void reportFailure(std::string_view) override { ++count; }
    int count = 0;
};

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
    FailureCount failures;
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
    return writeDataLine(line_, levels, volumes, pairsInLine_);
}

}  // namespace brimwell
