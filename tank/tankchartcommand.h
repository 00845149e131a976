#pragma once

// The tank chart generator of the tank window.

#include "tank/chartparams.h"

class QWidget;

namespace brimwell {

class Host;

class TankChartCommand {
public:
    // `tank` is the tank as the window shows it; the increment comes from the prompt.
    TankChartCommand(Host& host, ChartRequest tank, QWidget* parent = nullptr);

    // Asks for the increment until it is usable or the user gives up, saves the chart where the
    // user chooses, and offers to print it.
    void run();

private:
    std::optional<TankChartParams> askForChart();

    Host& host_;
    ChartRequest request_;
    QWidget* parent_;
};

}  // namespace brimwell
