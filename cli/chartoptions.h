#pragma once

// The command line of brimwell-chart, read into a chart request.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "chartparams.h"

namespace brimwell {

struct ChartCommand {
    ChartRequest request;
    std::optional<std::string> output;  // standard output when empty
    bool help = false;
};

// The command or a one-line description of what is wrong with the arguments.
std::variant<ChartCommand, std::string> ParseChartArguments(const std::vector<std::string>& args);

// A one-line description of why the request makes no chart.
std::string DescribeRefusal(ChartRefusal refusal, const ChartRequest& request);

extern const char* const kChartUsage;

}  // namespace brimwell
