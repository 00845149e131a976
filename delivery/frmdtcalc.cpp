#include "frmdtcalc.h"

#include <QCloseEvent>

#include "deliverycalc.h"
#include "ui_frmDTCalc.h"
#include "usernumberformat.h"
#include "host.h"
#include "windowprinting.h"

namespace {

// The form holds the starting values in "." notation; the box shows them in the user's.
void showInUserNotation(QLineEdit& box) {
    if (const auto value = brimwell::readStrict(box.text().toStdString())) {
        box.setText(brimwell::generalText(*value));
    }
}

}  // namespace

frmDTCalc::frmDTCalc(brimwell::Host& host, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmDTCalc>()), host_(host) {
    ui->setupUi(this);
    for (QLineEdit* input : {ui->txtBVol, ui->txtBTemp, ui->txtAVol, ui->txtATemp}) {
        showInUserNotation(*input);
        connect(input, &QLineEdit::textChanged, this, &frmDTCalc::Calculations);
    }
    connect(ui->mnuexit, &QAction::triggered, this, &frmDTCalc::close);
    connect(ui->mnuPrint, &QAction::triggered, this, &frmDTCalc::print);
    Calculations();
}

frmDTCalc::~frmDTCalc() = default;

void frmDTCalc::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

void frmDTCalc::Calculations() {
    using brimwell::delivery::calculateDelivery;
    const auto outputs = calculateDelivery(
        {ui->txtBVol->text().toStdString(), ui->txtBTemp->text().toStdString(),
         ui->txtAVol->text().toStdString(), ui->txtATemp->text().toStdString()},
        {ui->txtCVol->text().toStdString(), ui->txtCTempDelivery->text().toStdString(),
         ui->txtCTempDiff->text().toStdString()},
        brimwell::userNumberFormat());
    ui->txtCVol->setText(QString::fromStdString(outputs.deliveredVolume));
    ui->txtCTempDelivery->setText(QString::fromStdString(outputs.deliveryTemperature));
    ui->txtCTempDiff->setText(QString::fromStdString(outputs.temperatureDifferential));
}

void frmDTCalc::print() {
    if (!brimwell::printWindow(*this, host_)) {
        host_.showMessage(this, QString::fromUtf8(brimwell::kPrintProblemMessage));
    }
}
