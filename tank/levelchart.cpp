#include "tank/levelchart.h"

#include <algorithm>
#include <array>
#include <cstring>

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

int volumeDigits(const TankVolumes& tank) {
    return tank.singlePrecision() ? 7 : 10;
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

void appendVolume(std::string& out, const TankVolumes& tank, double volume) {
    appendSignificant(out, volume, volumeDigits(tank));
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
    const auto forEachChunk = [&](const auto& write) {
        for (std::int64_t first = 0; first <= n; first += kChunk) {
            const auto count = static_cast<std::size_t>(std::min(kChunk, n - first + 1));
            for (std::size_t k = 0; k < count; ++k) {
                const auto i = static_cast<double>(first + static_cast<std::int64_t>(k));
                levels[k] = std::min(tank.top() * i / static_cast<double>(n), tank.top());
            }
            tank.volumesAt(std::span(levels).first(count), std::span(volumes).first(count));
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
    const int digits = volumeDigits(tank);
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
            if (char* end = writeSignificantFast(p, volumes[k], digits)) {
                p = end;
            } else {
                blocks.commit(p);
                std::string volume;
                appendVolume(volume, tank, volumes[k]);
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
