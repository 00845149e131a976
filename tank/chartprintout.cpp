#include "chartprintout.h"

#include "host.h"
#include "tankchart.h"
#include "windowprinting.h"

namespace brimwell {

bool printTankChart(const TankChartParams&, Host& host, QWidget* parent) {
    host.showMessage(parent, kPrintProblemMessage);
    return false;
}

}  // namespace brimwell
