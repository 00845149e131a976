#pragma once

// Saving a tank chart file, shared by the tank window and the chart benchmark.

#include <QString>
#include <functional>

#include "tankchart.h"

class QIODevice;

namespace brimwell {

// Runs `write` on a temporary file beside the path and puts the file in place only when `write`
// succeeded, so a failed save never leaves a half-written file where a good one was. A path that
// names a device or a pipe is written directly: renaming over it would replace it. Returns the
// system's reason when the file could not be saved, empty when it was.
QString SaveFile(const QString& path, const std::function<bool(QIODevice&)>& write);

// Saves the chart with CR LF line ends, written block by block as it is built.
QString SaveTankChart(const TankChartParams& params, const QString& path,
                      FailureReporter& reporter);

}  // namespace brimwell
