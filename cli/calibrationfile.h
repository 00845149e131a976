#pragma once

// Reads the calibration chart that --calibration names.

#include <string>

#include "model/geometry/calibrationchart.h"
#include "model/expected.h"

namespace brimwell {

// The chart, or one line naming the file and, for a chart that does not read, its line.
Expected<CalibrationChart, std::string> loadCalibrationChart(const std::string& path);

}  // namespace brimwell
