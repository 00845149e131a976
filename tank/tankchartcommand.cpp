#include "tank/tankchartcommand.h"

#include <QCoreApplication>

#include "host/appinfo.h"
#include "host/host.h"
#include "host/messagereporter.h"
#include "host/usernumberformat.h"
#include "host/windowprinting.h"
#include "tank/chartfile.h"
#include "tank/chartprintout.h"

namespace brimwell {
namespace {

const char* const kIncrementPrompt =
    "Tank chart will be generated in inches.  Input the increments in which you would like the "
    "tank chart generated. (Must be a number - eg. 0.10)";
const char* const kInappropriateUnit = "That is not an appropriate unit";
const char* const kSavedQuestion = "Tank Chart Saved OK. Do you want to print it out now ?";
const char* const kChartFilter = "text files|*.txt";

}  // namespace

TankChartCommand::TankChartCommand(Host& host, ChartRequest tank, QWidget* parent)
    : host_(host), request_(std::move(tank)), parent_(parent) {}

std::optional<TankChartParams> TankChartCommand::askForChart() {
    for (;;) {
        request_.increment = host_.promptText(parent_, QString::fromUtf8(appinfo::kTitle),
                                              QString::fromUtf8(kIncrementPrompt))
                                 .toStdString();
        const auto params = deriveChartParams(request_, userNumberFormat());
        if (params) {
            return *params;
        }
        switch (params.error()) {
        case ChartRefusal::InappropriateIncrement:
            host_.showMessage(parent_, QString::fromUtf8(kInappropriateUnit));
            continue;
        case ChartRefusal::UnknownUnit:
            host_.showMessage(parent_, QString::fromUtf8(kInappropriateUnit));
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }
}

void TankChartCommand::run() {
    const auto params = askForChart();
    if (!params) {
        return;
    }
    const QString path = host_.chooseFile(parent_, QString::fromUtf8(kChartFilter));
    if (path.isEmpty()) {
        return;
    }
    MessageReporter reporter(host_, parent_);
    if (const auto saved = saveFile(path, tankChartWriter(*params, reporter)); !saved) {
        host_.showMessage(parent_, QCoreApplication::translate("TankChartCommand",
                                                               "The tank chart could not be saved to %1: %2")
                                       .arg(path, saved.error()));
        return;
    }
    if (!host_.askYesNo(parent_, QString::fromUtf8(kSavedQuestion))) {
        return;
    }
    if (!printTankChart(*params, host_)) {
        host_.showMessage(parent_, QString::fromUtf8(kPrintProblemMessage));
    }
}

}  // namespace brimwell
