#include "cli/levelchart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "model/text/numbertext.h"
#include "tank/tankchart.h"

namespace brimwell {
namespace {

constexpr int kVolumeDigits = 10;
// From here on 10 significant digits would show fewer than the text's two decimals.
constexpr double kTwoDecimalsFrom = 1e8;
constexpr int kTextDecimals = 2;
// The window's text layout: a level padded to 6 characters, a volume to 9.
constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;

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

// The chart's levels: the decimals i·increment, the increment taken as its shortest text, up to
// the top, and then the top when it is not one of them. A row's level is the number its text
// reads as, and so a reading at the printed level is a reading at the row's level.
class ChartLevels {
public:
    ChartLevels(double increment, double top)
        : digits_(plainText(increment)), decimals_(decimalsOf(increment)), top_(top) {
        if (const auto point = digits_.find('.'); point != std::string::npos) {
            digits_.erase(point, 1);
        }
        digits_.erase(0, std::min(digits_.find_first_not_of('0'), digits_.size() - 1));
        std::uint64_t units = 0;
        const auto [end, error] =
            std::from_chars(digits_.data(), digits_.data() + digits_.size(), units);
        units_ = error == std::errc() && units <= kExactBelow ? units : 0;
        shown_ = std::max(decimals_, kLeastChartDecimals);
        topText_ = plainText(top);
        const auto point = topText_.find('.');
        const int topDecimals =
            point == std::string::npos ? 0 : static_cast<int>(topText_.size() - point - 1);
        if (topDecimals < shown_) {
            topText_.append(point == std::string::npos ? "." : "");
            topText_.append(static_cast<std::size_t>(shown_ - topDecimals), '0');
        }
        // Estimated from the quotient, then moved to the last multiple at or below the top.
        const double estimate = std::floor(top / increment);
        whole_ = estimate >= 0 ? static_cast<std::int64_t>(std::min(estimate, kMostWhole)) : 0;
        while (whole_ < static_cast<std::int64_t>(kMostWhole) && multiple(whole_ + 1) <= top) {
            ++whole_;
        }
        while (whole_ > 0 && multiple(whole_) > top) {
            --whole_;
        }
        rows_ = whole_ + (multiple(whole_) < top ? 2 : 1);
    }

    std::int64_t rows() const { return rows_; }

    double at(std::int64_t row) const { return row <= whole_ ? multiple(row) : top_; }

    // The row's level as the row prints it.
    void append(std::string& out, std::int64_t row) const {
        if (row > whole_) {
            out += topText_;
        } else {
            appendMultiple(out, row);
        }
    }

private:
    static constexpr std::uint64_t kExactBelow = std::uint64_t{1} << 53;
    static constexpr double kMostWhole = 2 * static_cast<double>(kMostSteps);

    void appendMultiple(std::string& out, std::int64_t i) const {
        std::string digits = productDigits(i);
        if (digits.size() <= static_cast<std::size_t>(decimals_)) {
            digits.insert(0, static_cast<std::size_t>(decimals_) + 1 - digits.size(), '0');
        }
        const std::size_t point = digits.size() - static_cast<std::size_t>(decimals_);
        out.append(digits, 0, point).append(1, '.').append(digits, point);
        out.append(static_cast<std::size_t>(shown_ - decimals_), '0');
    }

    // i·increment, the number nearest the decimal.
    double multiple(std::int64_t i) const {
        const auto n = static_cast<std::uint64_t>(i);
        if (units_ != 0 && (n == 0 || units_ <= kExactBelow / n)) {
            // Both are exact, so their quotient is rounded once, as reading the text rounds it.
            return static_cast<double>(units_ * n) /
                   kPowersOfTen[static_cast<std::size_t>(decimals_)];
        }
        std::string text;
        appendMultiple(text, i);
        double level = 0;
        std::from_chars(text.data(), text.data() + text.size(), level);
        return level;
    }

    // The digits of i times the increment's, without a point.
    std::string productDigits(std::int64_t i) const {
        const auto n = static_cast<std::uint64_t>(i);
        std::array<char, 24> text{};
        if (units_ != 0 && (n == 0 || units_ <= kExactBelow / n)) {
            const char* end = std::to_chars(text.data(), text.data() + text.size(), units_ * n).ptr;
            return std::string(text.data(), static_cast<std::size_t>(end - text.data()));
        }
        // Long multiplication of the digits, from the last; i is at most a few times kMostSteps.
        std::string product(digits_.size(), '0');
        std::uint64_t carry = 0;
        for (std::size_t k = digits_.size(); k-- > 0;) {
            carry += static_cast<std::uint64_t>(digits_[k] - '0') * n;
            product[k] = static_cast<char>('0' + carry % 10);
            carry /= 10;
        }
        const char* end = std::to_chars(text.data(), text.data() + text.size(), carry).ptr;
        if (carry != 0) {
            product.insert(0, text.data(), static_cast<std::size_t>(end - text.data()));
        }
        product.erase(0, std::min(product.find_first_not_of('0'), product.size() - 1));
        return product;
    }

    static constexpr std::array<double, kMostChartDecimals + 1> kPowersOfTen{
        1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

    std::string digits_;       // the increment's, without its point or leading zeros
    int decimals_;             // the increment's
    std::uint64_t units_ = 0;  // the digits as a number, when it lies below 2^53; else 0
    int shown_ = kLeastChartDecimals;
    double top_;
    std::string topText_;
    std::int64_t whole_ = 0;  // the last i whose multiple is at or below the top
    std::int64_t rows_ = 1;
};

// The chart's levels and their volumes, a chunk at a time, which lets the volumes be computed side
// by side; a chunk of the text layout is whole lines.
class LevelChunks {
public:
    static constexpr std::int64_t kChunk = 64 * kPairsPerLine;

    LevelChunks(const TankVolumes& tank, double increment, bool significant)
        : tank_(tank), levels_(increment, tank.top()), lastPlace_(significant) {}

    // The next chunk's count of levels, 0 after the last.
    std::size_t next() {
        const auto count =
            static_cast<std::size_t>(std::clamp<std::int64_t>(levels_.rows() - first_, 0, kChunk));
        for (std::size_t k = 0; k < count; ++k) {
            const std::int64_t row = first_ + static_cast<std::int64_t>(k);
            levels[k] = levels_.at(row);
            texts[k].clear();
            levels_.append(texts[k], row);
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
    std::array<std::string, kChunk> texts{};  // the levels as their rows print them
    std::array<double, kChunk> volumes{};

private:
    const TankVolumes& tank_;
    ChartLevels levels_;
    std::int64_t first_ = 0;
    std::array<double, kChunk> bounds_{};
    LastPlace lastPlace_;
};

// A level in the window's layout, padded on the left to its column.
void appendPadded(std::string& out, const std::string& level) {
    out.append(level.size() < kLevelWidth ? kLevelWidth - level.size() : 0, ' ').append(level);
}

// Text: the window's chart lines, as ChartLine writes them, each level as its row prints it.
void appendTextLines(std::string& out, const LevelChunks& chunk, std::size_t count) {
    for (std::size_t first = 0; first < count; first += kPairsPerLine) {
        const std::size_t pairs = std::min<std::size_t>(kPairsPerLine, count - first);
        appendPadded(out, chunk.texts[first]);
        out += " - ";
        appendPadded(out, chunk.texts[first + pairs - 1]);
        out += "   ";
        for (std::size_t k = first; k < first + pairs; ++k) {
            appendPadded(out, chunk.texts[k]);
            out += ",";
            appendFixed2(out, chunk.volumes[k], kVolumeWidth);
            out += "  ";
        }
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
        out += chunk.texts[k];
        out += csv ? "," : ", ";
        appendVolume(out, chunk.volumes[k]);
        out += csv ? "\r\n" : "]";
    }
}

}  // namespace

int decimalsOf(double number) {
    const std::string text = plainText(number);
    const auto point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::int64_t chartRows(const TankVolumes& tank, double increment) {
    return ChartLevels(increment, tank.top()).rows();
}

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
    LevelChunks chunk(tank, layout.increment, !text);
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
                appendTextLines(out, chunk, count);
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
