#pragma once

// The command line of brimwell-chart, read into a chart request.

#include <optional>
#include <string>
#include <vector>

#include "model/expected.h"
#include "tank/chartparams.h"

namespace brimwell {

struct ChartCommand {
    ChartRequest request;
    std::optional<std::string> output;  // standard output when empty or "-"
    bool help = false;
    bool version = false;
};

// The command, or a one-line description of what is wrong with the arguments.
Expected<ChartCommand, std::string> parseChartArguments(const std::vector<std::string>& args);

// A one-line description of why the request makes no chart.
std::string describeRefusal(ChartRefusal refusal, const ChartRequest& request);

extern const char* const kChartUsage;

}  // namespace brimwell
