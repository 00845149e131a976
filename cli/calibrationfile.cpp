#include "cli/calibrationfile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace brimwell {

Expected<CalibrationChart, std::string> loadCalibrationChart(const std::string& path) {
    const std::string named = "--calibration " + path;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Unexpected(named + ": cannot be read: " + std::strerror(errno));
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        return Unexpected(named + ": cannot be read: " + std::strerror(errno));
    }
    auto chart = CalibrationChart::parse(text);
    if (!chart) {
        return Unexpected(named + ", line " + std::to_string(chart.error().line) + ": " +
                          chart.error().message);
    }
    return *std::move(chart);
}

}  // namespace brimwell
