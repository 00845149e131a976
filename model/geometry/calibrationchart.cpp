#include "model/geometry/calibrationchart.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "model/text/numbertext.h"

namespace brimwell {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kTextLayoutHeader = "LEVEL RANGE";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kPointNeeded = "the chart needs '.' as the decimal point";

struct Line {
    std::size_t number = 0;
    std::string_view text;
};

// Lines end in CR LF, LF or a lone CR, as spreadsheets on each system write them.
std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t number = 1;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines.push_back({number++, text.substr(0, end)});
        if (end == std::string_view::npos) {
            break;
        }
        const std::size_t ending = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        text.remove_prefix(end + ending);
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

Unexpected<ChartFileError> refuse(std::size_t line, std::string message) {
    return Unexpected(ChartFileError{line, std::move(message)});
}

// A decimal number with "." as the point, nothing around it but blanks.
Expected<double, std::string> readNumber(std::string_view field, std::string_view what) {
    const std::string_view text = trimmed(field);
    if (text.empty()) {
        return Unexpected("the " + std::string(what) + " is missing (a row is level,volume)");
    }
    if (text.find(',') != std::string_view::npos) {
        return Unexpected("'" + std::string(text) +
                          "' has a decimal comma: " + std::string(kPointNeeded));
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return Unexpected("the " + std::string(what) + " '" + std::string(text) +
                          "' is not a number");
    }
    return value;
}

// Gathers the rows and checks each against the one before it.
class Rows {
public:
    std::optional<std::string> add(double level, double volume) {
        if (levels_.empty()) {
            if (level != 0) {
                return "the first row must be level 0, not " + shortestText(level);
            }
            if (volume < 0) {
                return "the volume at level 0 is below 0: " + shortestText(volume);
            }
        } else if (!(level > levels_.back())) {
            return "the level " + shortestText(level) + " is not above the level before it, " +
                   shortestText(levels_.back());
        } else if (!(volume > volumes_.back())) {
            return "the volume " + shortestText(volume) + " is not above the volume before it, " +
                   shortestText(volumes_.back()) + " (volumes must rise with the level)";
        }
        levels_.push_back(level);
        volumes_.push_back(volume);
        return std::nullopt;
    }
    std::size_t size() const { return levels_.size(); }
    std::vector<double> takeLevels() { return std::move(levels_); }
    std::vector<double> takeVolumes() { return std::move(volumes_); }

private:
    std::vector<double> levels_;
    std::vector<double> volumes_;
};

std::optional<std::string> addCsvRow(std::string_view line, Rows& rows) {
    if (line.find(';') != std::string_view::npos) {
        return "fields are separated by ';': the chart needs ',' between fields and '.' as the "
               "decimal point";
    }
    const auto fields = csvFields(line, CsvQuotes::Anywhere);
    if (!fields) {
        return std::string("a quoted field does not end on its line");
    }
    if (fields->size() < 2) {
        return std::string("the volume is missing (a row is level,volume)");
    }
    const bool extra =
        std::any_of(fields->begin() + 2, fields->end(),
                    [](const std::string& field) { return !trimmed(field).empty(); });
    if (extra) {
        return std::to_string(fields->size()) +
               " fields where a row is level,volume: a decimal "
               "comma? " +
               std::string(kPointNeeded) + " and ',' between fields";
    }
    const auto level = readNumber((*fields)[0], "level");
    if (!level) {
        return level.error();
    }
    const auto volume = readNumber((*fields)[1], "volume");
    if (!volume) {
        return volume.error();
    }
    return rows.add(*level, *volume);
}

// A line of the text layout: "first - last" and then pairs "level, volume".
std::optional<std::string> addTextLine(std::string_view line, Rows& rows) {
    auto token = [&line](std::string_view stops) {
        line = line.substr(std::min(line.size(), line.find_first_not_of(kBlanks)));
        const std::string_view taken = line.substr(0, line.find_first_of(stops));
        line.remove_prefix(taken.size());
        return taken;
    };
    const auto expect = [&line](char mark) {
        line = line.substr(std::min(line.size(), line.find_first_not_of(kBlanks)));
        if (line.empty() || line.front() != mark) {
            return false;
        }
        line.remove_prefix(1);
        return true;
    };
    constexpr std::string_view kForm = "a line is 'first - last' then pairs 'level, volume'";
    for (std::string_view what : {"first level", "last level"}) {
        if (!readNumber(token(" \t-"), what) || (what == "first level" && !expect('-'))) {
            return "the range of levels does not read: " + std::string(kForm);
        }
    }
    while (!trimmed(line).empty()) {
        const auto level = readNumber(token(" \t,"), "level");
        if (!level) {
            return level.error();
        }
        if (!expect(',')) {
            return "a level without its volume: " + std::string(kForm);
        }
        const auto volume = readNumber(token(" \t"), "volume");
        if (!volume) {
            return volume.error();
        }
        if (auto failure = rows.add(*level, *volume)) {
            return failure;
        }
    }
    return std::nullopt;
}

bool readsAsNumbers(std::string_view line) {
    const auto fields = csvFields(line, CsvQuotes::Anywhere);
    return fields && !fields->empty() && readNumber(fields->front(), "level").has_value();
}

}  // namespace

Expected<CalibrationChart, ChartFileError> CalibrationChart::parse(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    const auto lines = splitLines(text);
    const auto header = std::find_if(lines.begin(), lines.end(),
                                     [](const Line& line) { return !trimmed(line.text).empty(); });
    if (header == lines.end()) {
        return refuse(1, "the file is empty");
    }
    const bool textLayout = trimmed(header->text).starts_with(kTextLayoutHeader);
    if (!textLayout && header->text.find(';') != std::string_view::npos) {
        return refuse(header->number,
                      "fields are separated by ';': the chart needs ',' between "
                      "fields and '.' as the decimal point");
    }
    if (!textLayout && readsAsNumbers(header->text)) {
        return refuse(header->number, "the header line, such as level,volume, is missing");
    }
    Rows rows;
    for (auto line = header + 1; line != lines.end(); ++line) {
        if (trimmed(line->text).empty()) {
            continue;
        }
        auto failure = textLayout ? addTextLine(line->text, rows) : addCsvRow(line->text, rows);
        if (failure) {
            return refuse(line->number, *std::move(failure));
        }
    }
    const std::size_t end = lines.empty() ? 1 : lines.back().number;
    if (rows.size() < 2) {
        return refuse(
            end, rows.size() == 0 ? "no rows after the header" : "a chart needs at least two rows");
    }
    return CalibrationChart(rows.takeLevels(), rows.takeVolumes());
}

namespace {

// Linear interpolation in the sorted `from` column, read off the `to` column.
double interpolate(std::span<const double> from, std::span<const double> to, double x) {
    const auto above = std::upper_bound(from.begin(), from.end(), x);
    if (above == from.end()) {
        return to.back();
    }
    const auto i = static_cast<std::size_t>(above - from.begin());
    const double share = (x - from[i - 1]) / (from[i] - from[i - 1]);
    return to[i - 1] + share * (to[i] - to[i - 1]);
}

}  // namespace

Expected<double, ChartLookupError> CalibrationChart::volumeAt(double level) const {
    if (!(level >= 0 && level <= top())) {
        return Unexpected(ChartLookupError::OutOfRange);
    }
    return interpolate(levels_, volumes_, level);
}

void CalibrationChart::volumesAt(std::span<const double> levels, std::span<double> volumes) const {
    std::transform(levels.begin(), levels.end(), volumes.begin(),
                   [this](double level) { return interpolate(levels_, volumes_, level); });
}

Expected<double, ChartLookupError> CalibrationChart::levelFor(double volume) const {
    if (!(volume >= bottomVolume() && volume <= capacity())) {
        return Unexpected(ChartLookupError::OutOfRange);
    }
    return interpolate(volumes_, levels_, volume);
}

std::optional<std::vector<std::string>> csvFields(std::string_view line, CsvQuotes quotes) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"' && (quoted || quotes == CsvQuotes::Anywhere || fields.back().empty())) {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r' || quoted) {
            fields.back() += c;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    return fields;
}

}  // namespace brimwell
