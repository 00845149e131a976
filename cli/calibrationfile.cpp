#include "cli/calibrationfile.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace brimwell {

Expected<CalibrationChart, std::string> loadCalibrationChart(const std::string& path) {
    const std::string named = "--calibration " + path;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Unexpected(named + ": cannot be read: " + std::strerror(errno));
    }
    std::string text;
    std::array<char, 64 * 1024> block{};
    while (file.read(block.data(), block.size()) || file.gcount() > 0) {
        text.append(block.data(), static_cast<std::size_t>(file.gcount()));
    }
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
