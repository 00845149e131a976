// Chart parameters derived from any texts, and charts built from them or from any measures and
// step counts: every data line is well formed and shows the levels and volumes it should, and a
// chart handed on in blocks is the same chart.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "tank/chartparams.h"
#include "tank/chartstream.h"
#include "fuzz/fuzzinput.h"
#include "tank/tankchart.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"
#include "model/window/singleprecision.h"

using namespace brimwell;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number in the two-decimal form, padded on the left with blanks to `width`; returns the
// number without its blanks and takes it off the front of `line`.
std::string_view field(std::string_view& line, std::size_t width) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    const std::size_t start = i;
    if (i < line.size() && line[i] == '-') {
        ++i;
    }
    const std::size_t digits = i;
    while (i < line.size() && isDigit(line[i])) {
        ++i;
    }
    FUZZ_CHECK(i > digits);
    FUZZ_CHECK(i + 3 <= line.size() && line[i] == '.' && isDigit(line[i + 1]) && isDigit(line[i + 2]));
    i += 3;
    const std::string_view number = line.substr(start, i - start);
    FUZZ_CHECK(start == (number.size() < width ? width - number.size() : 0));
    line.remove_prefix(i);
    return number;
}

void literal(std::string_view& line, std::string_view text) {
    FUZZ_CHECK(line.substr(0, text.size()) == text);
    line.remove_prefix(text.size());
}

// One data line: range start, " - ", range end, "   ", then one to three pairs
// "level,volume  ", the pairs holding the levels from `level` on.
void checkDataLine(std::string_view line, const TankChartParams& p, int& level, int pairsInLine) {
    const int n = p.stepCount;
    const std::string_view rangeStart = field(line, 6);
    literal(line, " - ");
    const std::string_view rangeEnd = field(line, 6);
    literal(line, "   ");
    int pairs = 0;
    std::string_view first, last;
    while (!line.empty()) {
        const double levelValue = 2 * p.radius * level / n;
        CountingReporter reports;
        const float volume = VolumeAtLevel(static_cast<float>(levelValue), static_cast<float>(p.radius),
                                           static_cast<float>(p.length), p.shape, p.volumeUnit, reports);
        const std::string_view levelText = field(line, 6);
        FUZZ_CHECK(levelText == formatPattern(levelValue, "##0.00"));
        literal(line, ",");
        FUZZ_CHECK(field(line, 9) == formatPattern(volume, "#####0.00"));
        literal(line, "  ");
        first = pairs == 0 ? levelText : first;
        last = levelText;
        ++pairs;
        ++level;
    }
    FUZZ_CHECK(pairs >= 1 && pairs <= 3 && pairs == pairsInLine);
    FUZZ_CHECK(rangeStart == first && rangeEnd == last);
    FUZZ_CHECK(pairs == 3 || level == n + 1);  // only the last line holds fewer than three
}

// Checks the header and up to `maxLines` data lines; all of them when the chart is that short.
void checkChart(const TankChartParams& p, int maxLines) {
    CountingReporter reports;
    TankChart chart(p, reports);
    const auto header = chart.nextLine();
    FUZZ_CHECK(header && *header == kTankChartHeader && chart.pairsInLine() == 0);
    const int n = p.stepCount;
    int level = 0;
    int lines = 0;
    while (const auto line = chart.nextLine()) {
        FUZZ_CHECK(n > 0);
        checkDataLine(*line, p, level, chart.pairsInLine());
        if (++lines == maxLines) {
            return;
        }
    }
    FUZZ_CHECK(chart.failed() == (n == 0));
    FUZZ_CHECK(level == std::max(n + 1, 0) || n == 0);
    FUZZ_CHECK(!chart.nextLine());
}

// The whole chart as handed on in blocks, on one thread or two, is the chart built line by line,
// with as many failures reported.
void checkStreamed(const TankChartParams& p) {
    CountingReporter lineReports;
    TankChart chart(p, lineReports);
    std::string expected;
    while (const auto line = chart.nextLine()) {
        expected += *line;
        expected += "\r\n";
    }
    CountingReporter streamReports;
    std::string streamed;
    FUZZ_CHECK(streamTankChart(p, streamReports, [&streamed](std::string_view block) {
        streamed += block;
        return true;
    }));
    FUZZ_CHECK(streamed == expected);
    FUZZ_CHECK(streamReports.count == lineReports.count);
    FUZZ_CHECK(lineReports.count == 0 || lineReports.last == kCheckSelectionsMessage);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const std::uint8_t how = in.byte();
    const auto shape = in.pick<TankShape>(kTankShapes);
    const auto volumeUnit = in.pick<VolumeUnit>(kVolumeUnits);

    if (how % 2 == 0) {
        // Measures and a step count as the chart builder may be given them directly: a diameter
        // and a length in single precision, at most a few hundred steps.
        TankChartParams p{in.raw<double>(), in.raw<double>(), in.raw<std::int16_t>(), shape, volumeUnit};
        if (!fitsSingle(2 * p.radius) || !fitsSingle(p.length)) {
            return 0;
        }
        if (how % 8 == 6) {
            checkStreamed(p);  // any step count
            return 0;
        }
        p.stepCount = static_cast<std::int16_t>(p.stepCount > 300 ? p.stepCount % 301 : p.stepCount);
        checkChart(p, 200);
        return 0;
    }

    const NumberFormat format = in.format();
    ChartRequest request;
    request.lengthUnit = parseLengthUnit(in.choice(kLengthUnits));
    request.shape = shape;
    request.volumeUnit = parseVolumeUnit(in.choice(kVolumeUnits));
    request.diameter = in.text();
    request.length = in.text();
    request.increment = in.text();
    const auto derived = deriveChartParams(request, format);
    if (derived) {
        const TankChartParams& p = *derived;
        FUZZ_CHECK(p.radius > 0 && std::isfinite(p.radius) && std::isfinite(p.length));
        FUZZ_CHECK(static_cast<float>(p.radius) > 0);
        FUZZ_CHECK(p.stepCount >= 1);
        FUZZ_CHECK(request.lengthUnit && request.volumeUnit == p.volumeUnit);
        // Only the first lines of a long chart: each line is built on its own.
        checkChart(p, 40);
    }
    return 0;
}
