#pragma once

class QWidget;

namespace brimwell {

class Host;
struct TankChartParams;

// Prints the chart's lines on the default printer: the header and an empty line on the first
// page only, every line indented by six widths of the digit "1". Returns false, after telling
// the user, when the printer cannot take the job.
bool printTankChart(const TankChartParams& params, Host& host, QWidget* parent);

}  // namespace brimwell
