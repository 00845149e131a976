#include "tank/levelchart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "model/fixed2.h"
#include "model/numbertext.h"
#include "tank/chartline.h"
#include "tank/tankchart.h"

namespace brimwell {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

// The most a CSV or JSON row takes when its numbers are written fast: ",\n[", the level, ", ",
// the volume and "]".
constexpr std::size_t kRowLength = 3 + 2 * kFixedFastLength + 2 + 1;

constexpr int kVolumeDigits = 10;
// From here on 10 significant digits would show fewer than the text's two decimals.
constexpr double kTwoDecimalsFrom = 1e8;
constexpr int kTextDecimals = 2;

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// The last place that a volume shows: a hundredth in text, and in CSV and JSON the tenth
// significant digit below kTwoDecimalsFrom. It stays the same across a decade, which is kept.
class LastPlace {
public:
    explicit LastPlace(bool significant) : significant_(significant) {}

    // The last place of every number in [low, high], or nullopt if they do not share one.
    std::optional<double> of(double low, double high) {
        if (!significant_ || low >= kTwoDecimalsFrom) {
            return 0.01;
        }
        if (high >= kTwoDecimalsFrom) {
            return std::nullopt;
        }
        if (!(low >= decadeFrom_ && high < decadeTo_)) {
            const double decade = std::floor(std::log10(low));
            decadeFrom_ = std::pow(10.0, decade) * (1 + 4 * kEpsilon);
            decadeTo_ = std::pow(10.0, decade + 1) * (1 - 4 * kEpsilon);
            place_ = std::pow(10.0, decade - (kVolumeDigits - 1));
        }
        if (!(low >= decadeFrom_ && high < decadeTo_)) {
            return std::nullopt;  // near a power of ten, where the digits shift
        }
        return place_;
    }

private:
    bool significant_;
    double decadeFrom_ = 0;
    double decadeTo_ = 0;
    double place_ = 0;
};

// Whether every number within `bound` of `volume`, and the roundings of writing it, is written
// as `volume` is.
bool writtenAlike(double volume, double bound, LastPlace& lastPlace) {
    const double slack = bound + 8 * kEpsilon * std::fabs(volume);
    const double low = volume - slack;
    const double high = volume + slack;
    const auto place = low > 0 ? lastPlace.of(low, high) : std::nullopt;
    return place && std::floor(low / *place + 0.5) == std::floor(high / *place + 0.5);
}

// The volume as appendVolume writes it, or nullptr for one that needs the exact decimal rules.
char* writeVolumeFast(char* out, double volume) {
    return std::fabs(volume) < kTwoDecimalsFrom ? writeSignificantFast(out, volume, kVolumeDigits)
                                                : writeFixedFast(out, volume, kTextDecimals);
}

template <std::size_t N>
char* put(char* out, const char (&piece)[N]) {
    std::memcpy(out, piece, N - 1);
    return out + N - 1;
}

// Gathers the text and hands it on a block at a time. Rows are written straight into the block:
// a million small appends cost more than their numbers.
class Blocks {
public:
    explicit Blocks(const ChartSink& sink) : sink_(sink), text_(kBlockBytes + 16 * 1024, ' ') {}

    // Where at least `size` more characters can be written; commit() tells where they end.
    char* room(std::size_t size) {
        if (used_ + size > text_.size()) {
            text_.resize(used_ + size);
        }
        return text_.data() + used_;
    }
    void commit(const char* end) { used_ = static_cast<std::size_t>(end - text_.data()); }
    void append(std::string_view piece) {
        char* out = room(piece.size());
        std::memcpy(out, piece.data(), piece.size());
        commit(out + piece.size());
    }

    bool handOnWhenFull() { return used_ < kBlockBytes || handOn(); }
    bool handOn() {
        const bool taken = used_ == 0 || sink_(std::string_view(text_.data(), used_));
        used_ = 0;
        return taken;
    }

private:
    const ChartSink& sink_;
    std::string text_;
    std::size_t used_ = 0;
};

}  // namespace

void appendVolume(std::string& out, double volume) {
    if (std::fabs(volume) < kTwoDecimalsFrom) {
        appendSignificant(out, volume, kVolumeDigits);
    } else {
        appendFixed(out, volume, kTextDecimals);
    }
}

bool streamLevelChart(const TankVolumes& tank, const LevelChartLayout& layout,
                      const ChartSink& sink) {
    Blocks blocks(sink);
    const auto n = layout.steps;
    // The levels and their volumes a chunk at a time, which lets the volumes be computed side by
    // side; a chunk of the text layout is whole lines.
    constexpr std::int64_t kChunk = 64 * kPairsPerLine;
    std::array<double, kChunk> levels{};
    std::array<double, kChunk> volumes{};
    std::array<double, kChunk> bounds{};
    LastPlace lastPlace(layout.format != ChartFormat::Text);
    const auto forEachChunk = [&](const auto& write) {
        for (std::int64_t first = 0; first <= n; first += kChunk) {
            const auto count = static_cast<std::size_t>(std::min(kChunk, n - first + 1));
            for (std::size_t k = 0; k < count; ++k) {
                const auto i = static_cast<double>(first + static_cast<std::int64_t>(k));
                levels[k] = std::min(tank.top() * i / static_cast<double>(n), tank.top());
            }
            tank.volumesAt(std::span(levels).first(count), std::span(volumes).first(count),
                           std::span(bounds).first(count));
            // A volume that may be written otherwise than the level's reading is its reading.
            for (std::size_t k = 0; k < count; ++k) {
                if (bounds[k] > 0 && !writtenAlike(volumes[k], bounds[k], lastPlace)) {
                    volumes[k] = *tank.volumeAt(levels[k]);
                }
            }
            write(count);
            if (!blocks.handOnWhenFull()) {
                return false;
            }
        }
        return true;
    };

    if (layout.format == ChartFormat::Text) {
        ChartLine line(layout.levelDecimals);
        blocks.append(kTankChartHeader);
        blocks.append("\r\n");
        const bool complete = forEachChunk([&](std::size_t count) {
            for (std::size_t first = 0; first < count; first += kPairsPerLine) {
                const std::size_t pairs = std::min<std::size_t>(kPairsPerLine, count - first);
                blocks.append(line.write(std::span(levels).subspan(first, pairs),
                                         std::span(volumes).subspan(first, pairs)));
                blocks.append("\r\n");
            }
        });
        return complete && blocks.handOn();
    }

    const bool csv = layout.format == ChartFormat::Csv;
    if (csv) {
        blocks.append("level,volume\r\n");
    } else {
        blocks.append("{");
        blocks.append(layout.jsonMembers);
        blocks.append("\"rows\": [\n");
    }
    bool first = true;
    const bool complete = forEachChunk([&](std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            char* p = blocks.room(kRowLength);
            if (!csv) {
                p = first ? put(p, "[") : put(p, ",\n[");
                first = false;
            }
            // A number too large or too near a half for the fast path is written the exact way.
            if (char* end = writeFixedFast(p, levels[k], layout.levelDecimals)) {
                p = end;
            } else {
                blocks.commit(p);
                std::string level;
                appendFixed(level, levels[k], layout.levelDecimals);
                blocks.append(level);
                p = blocks.room(kRowLength);
            }
            p = csv ? put(p, ",") : put(p, ", ");
            if (char* end = writeVolumeFast(p, volumes[k])) {
                p = end;
            } else {
                blocks.commit(p);
                std::string volume;
                appendVolume(volume, volumes[k]);
                blocks.append(volume);
                p = blocks.room(kRowLength);
            }
            p = csv ? put(p, "\r\n") : put(p, "]");
            blocks.commit(p);
        }
    });
    if (!csv) {
        blocks.append("\n]}\n");
    }
    return complete && blocks.handOn();
}

}  // namespace brimwell
