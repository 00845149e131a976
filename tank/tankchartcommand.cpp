// The tank chart generator of the tank window.

#include <variant>

#include "chartfile.h"
#include "chartparams.h"
#include "chartprintout.h"
#include "frmullex.h"
#include "host.h"
#include "messagereporter.h"
#include "appinfo.h"
#include "ui_frmUllex.h"
#include "usernumberformat.h"

namespace brimwell {
namespace {

const char* const kIncrementPrompt =
    "Tank chart will be generated in inches.  Input the increments in which you would like the "
    "tank chart generated. (Must be a number - eg. 0.10)";
const char* const kInappropriateUnit = "That is not an appropriate unit";
const char* const kSavedQuestion = "Tank Chart Saved OK. Do you want to print it out now ?";
const char* const kChartFilter = "text files|*.txt";

}  // namespace

void frmUllex::generatetankchart() {
    TankChartParams params;
    for (;;) {
        const QString increment =
            host.promptText(this, QString::fromUtf8(appinfo::kTitle), QString::fromUtf8(kIncrementPrompt));
        const ChartRequest request{ui->txtTankDiameter->text().toStdString(),
                                   ui->txtTankLength->text().toStdString(),
                                   ui->cboLengthUnits->currentText().toStdString(),
                                   ui->cboTankShape->currentText().toStdString(),
                                   ui->cboVolumeUnits->currentText().toStdString(),
                                   increment.toStdString()};
        const auto derived = DeriveChartParams(request, userNumberFormat());
        if (const auto* ready = std::get_if<TankChartParams>(&derived)) {
            params = *ready;
            break;
        }
        const ChartRefusal refusal = std::get<ChartRefusal>(derived);
        if (refusal == ChartRefusal::InappropriateIncrement) {
            host.showMessage(this, QString::fromUtf8(kInappropriateUnit));
            continue;
        }
        if (refusal == ChartRefusal::UnknownUnit) {
            host.showMessage(this, QString::fromUtf8(kInappropriateUnit));
        }
        return;
    }

    const QString path = host.chooseFile(this, QString::fromUtf8(kChartFilter));
    if (path.isEmpty()) {
        return;
    }
    MessageReporter reporter(host, this);
    if (const auto saved = saveFile(path, tankChartWriter(params, reporter)); !saved) {
        host.showMessage(this, tr("The tank chart could not be saved to %1: %2").arg(path, saved.error()));
        return;
    }
    if (!host.askYesNo(this, QString::fromUtf8(kSavedQuestion))) {
        return;
    }
    printTankChart(params, host, this);
}

}  // namespace brimwell
