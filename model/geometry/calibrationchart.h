#pragma once

// A tank's own calibration chart: levels and the volumes measured at them, read from a file that
// someone else wrote. Between rows the volume is interpolated linearly from the rows just below
// and just above, and the level for a volume the same way; both look the row up by binary search.
//
// Two layouts are read: CSV with a header line and a "level,volume" row per level ("," between
// fields, "." as the decimal point, quoted fields, any line ends, a byte-order mark), and the text
// layout of the tank window's saved charts (a header, then lines of level/volume pairs behind the
// range of levels they cover). Levels are in the chart's length unit and volumes in its volume
// unit, whichever they are: the chart carries no units.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/expected.h"

namespace brimwell {

// Why a chart's text is refused, and the line (from 1) at fault.
struct ChartFileError {
    std::size_t line = 0;
    std::string message;
};

enum class ChartLookupError { OutOfRange };

class CalibrationChart {
public:
    // The first row is level 0; levels and volumes rise strictly, and there are at least two
    // rows. The text is the whole file.
    static Expected<CalibrationChart, ChartFileError> parse(std::string_view text);

    double top() const { return levels_.back(); }
    double bottomVolume() const { return volumes_.front(); }
    double capacity() const { return volumes_.back(); }
    std::size_t rows() const { return levels_.size(); }

    // OutOfRange for a level outside [0, top()].
    Expected<double, ChartLookupError> volumeAt(double level) const;
    // `volumes` is as long as `levels`; each level is in [0, top()].
    void volumesAt(std::span<const double> levels, std::span<double> volumes) const;
    // OutOfRange for a volume outside [bottomVolume(), capacity()].
    Expected<double, ChartLookupError> levelFor(double volume) const;

private:
    CalibrationChart(std::vector<double> levels, std::vector<double> volumes)
        : levels_(std::move(levels)), volumes_(std::move(volumes)) {}

    std::vector<double> levels_;
    std::vector<double> volumes_;
};

// Where a quote opens a quoted part of a CSV field, which may hold "," and doubled quotes.
enum class CsvQuotes {
    Anywhere,      // at any place in a field
    AtFieldStart,  // only as a field's first character; elsewhere it is a plain character
};

// The fields of one CSV line, a carriage return outside quotes dropped; empty when a quoted part
// is not closed.
std::optional<std::vector<std::string>> csvFields(std::string_view line, CsvQuotes quotes);

}  // namespace brimwell
