#pragma once

// What brimwell-tank writes for a request: the tank the options describe, the text of a reading
// or of a level, and the chart's description. Each refusal is one line naming the option at fault.

#include <string>

#include "cli/levelchart.h"
#include "cli/tankoptions.h"
#include "model/expected.h"
#include "model/geometry/tankvolumes.h"

namespace brimwell {

// The geometry the options describe, or the calibration chart they name, read from its file.
Expected<TankVolumes, std::string> buildTank(const TankDescription& options);

// The whole text of a reading or of a level, in the command's format.
Expected<std::string, std::string> answerText(const TankVolumes& tank, const TankCommand& command);

Expected<LevelChartLayout, std::string> chartLayout(const TankVolumes& tank,
                                                    const TankCommand& command);

}  // namespace brimwell
