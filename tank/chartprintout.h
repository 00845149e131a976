#pragma once

#include "host/windowprinting.h"

namespace brimwell {

class Host;
struct TankChartParams;

// Prints the chart's lines on the default printer: the header and an empty line on the first
// page only, every line indented by six widths of the digit "1".
PrintResult printTankChart(const TankChartParams& params, Host& host);

}  // namespace brimwell
