#include "cli/levelchart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "model/window/numbertext.h"
#include "tank/tankchart.h"

namespace brimwell {
namespace {

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

// The chart's levels and their volumes, a chunk at a time, which lets the volumes be computed side
// by side; a chunk of the text layout is whole lines.
class LevelChunks {
public:
    static constexpr std::int64_t kChunk = 64 * kPairsPerLine;

    LevelChunks(const TankVolumes& tank, std::int64_t steps, bool significant)
        : tank_(tank), steps_(steps), lastPlace_(significant) {}

    // The next chunk's count of levels, 0 after the last.
    std::size_t next() {
        const auto count =
            static_cast<std::size_t>(std::clamp<std::int64_t>(steps_ - first_ + 1, 0, kChunk));
        for (std::size_t k = 0; k < count; ++k) {
            const auto i = static_cast<double>(first_ + static_cast<std::int64_t>(k));
            levels[k] = std::min(tank_.top() * i / static_cast<double>(steps_), tank_.top());
        }
        first_ += kChunk;
        if (count == 0) {
            return 0;
        }
        tank_.volumesAt(std::span(levels).first(count), std::span(volumes).first(count),
                        std::span(bounds_).first(count));
        // A volume that may be written otherwise than the level's reading is its reading.
        for (std::size_t k = 0; k < count; ++k) {
            if (bounds_[k] > 0 && !writtenAlike(volumes[k], bounds_[k], lastPlace_)) {
                volumes[k] = *tank_.volumeAt(levels[k]);
            }
        }
        return count;
    }

    std::array<double, kChunk> levels{};
    std::array<double, kChunk> volumes{};

private:
    const TankVolumes& tank_;
    std::int64_t steps_;
    std::int64_t first_ = 0;
    std::array<double, kChunk> bounds_{};
    LastPlace lastPlace_;
};

// Text: the window's chart lines.
void appendTextLines(std::string& out, const LevelChunks& chunk, std::size_t count,
                     ChartLine& line) {
    for (std::size_t first = 0; first < count; first += kPairsPerLine) {
        const std::size_t pairs = std::min<std::size_t>(kPairsPerLine, count - first);
        out += line.write(std::span(chunk.levels).subspan(first, pairs),
                          std::span(chunk.volumes).subspan(first, pairs));
        out += "\r\n";
    }
}

// CSV and JSON: a row per level, JSON's rows after the first behind a comma.
void appendRows(std::string& out, const LevelChunks& chunk, std::size_t count,
                const LevelChartLayout& layout, bool& firstRow) {
    const bool csv = layout.format == ChartFormat::Csv;
    for (std::size_t k = 0; k < count; ++k) {
        if (!csv) {
            out += firstRow ? "[" : ",\n[";
            firstRow = false;
        }
        appendFixed(out, chunk.levels[k], layout.levelDecimals);
        out += csv ? "," : ", ";
        appendVolume(out, chunk.volumes[k]);
        out += csv ? "\r\n" : "]";
    }
}

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
    const bool text = layout.format == ChartFormat::Text;
    LevelChunks chunk(tank, layout.steps, !text);
    ChartLine line(layout.levelDecimals);
    bool opened = false;
    bool firstRow = true;
    return streamChart(
        [&](std::string& out) {
            if (!std::exchange(opened, true)) {
                if (text) {
                    out.append(kTankChartHeader).append("\r\n");
                } else if (layout.format == ChartFormat::Csv) {
                    out += "level,volume\r\n";
                } else {
                    out.append("{").append(layout.jsonMembers).append("\"rows\": [\n");
                }
                return true;
            }
            const std::size_t count = chunk.next();
            if (text) {
                appendTextLines(out, chunk, count, line);
            } else {
                appendRows(out, chunk, count, layout, firstRow);
            }
            if (count == 0 && layout.format == ChartFormat::Json) {
                out += "\n]}\n";
            }
            return count > 0;
        },
        sink);
}

}  // namespace brimwell
