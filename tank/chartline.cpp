#include "tank/chartline.h"

#include <array>
#include <cstring>

#include "model/fixed2.h"
#include "model/numbertext.h"

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;

// The most a line holds when every number is written fast: the range and three pairs.
constexpr std::size_t kFastLineLength =
    2 * kFixed2FastLength + 6 + kPairsPerLine * (2 * kFixed2FastLength + 3);

// The writer puts the numbers and the pieces between them.
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

// Writes the line by the exact decimal rules: for a number too large or too near a half-cent,
// and for levels with other than two decimals.
class ExactLineWriter {
public:
    ExactLineWriter(std::string& out, std::span<const double> levels,
                    std::span<const double> volumes, int levelDecimals)
        : out_(out), levels_(levels), volumes_(volumes), levelDecimals_(levelDecimals) {}

    void level(int pair) { appendFixed(out_, levels_[pair], levelDecimals_, kLevelWidth); }
    void volume(int pair) { appendFixed2(out_, volumes_[pair], kVolumeWidth); }
    void text(std::string_view piece) { out_ += piece; }

private:
    std::string& out_;
    std::span<const double> levels_;
    std::span<const double> volumes_;
    int levelDecimals_;
};

}  // namespace

std::string_view ChartLine::write(std::span<const double> levels, std::span<const double> volumes) {
    const int pairs = static_cast<int>(levels.size());
    std::array<Cents, kPairsPerLine> levelCents{};
    std::array<Cents, kPairsPerLine> volumeCents{};
    bool fast = levelDecimals_ == 2;
    for (int pair = 0; fast && pair < pairs; ++pair) {
        const auto level = roundToCents(levels[pair]);
        const auto volume = roundToCents(volumes[pair]);
        fast = level && volume;
        levelCents[pair] = level.value_or(Cents{});
        volumeCents[pair] = volume.value_or(Cents{});
    }
    if (fast) {
        line_.resize(kFastLineLength);
        FastLineWriter write(line_.data(), levelCents, volumeCents);
        layOutLine(write, pairs);
        return {line_.data(), static_cast<std::size_t>(write.end() - line_.data())};
    }
    line_.clear();
    ExactLineWriter write(line_, levels, volumes, levelDecimals_);
    layOutLine(write, pairs);
    return line_;
}

}  // namespace brimwell
