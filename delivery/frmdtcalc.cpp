#include "delivery/frmdtcalc.h"

#include <QCloseEvent>

#include "delivery/deliverycalc.h"
#include "ui_frmDTCalc.h"
#include "host/usernumberformat.h"
#include "host/host.h"
#include "host/windowprinting.h"

namespace brimwell {
namespace {

// The form holds the starting values in "." notation; the box shows them in the user's.
void showInUserNotation(QLineEdit& box) {
    if (const auto value = readStrict(box.text().toStdString())) {
        box.setText(generalText(*value));
    }
}

}  // namespace

frmDTCalc::frmDTCalc(Host& host, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmDTCalc>()), host_(host) {
    ui_->setupUi(this);
    for (QLineEdit* input : {ui_->txtBVol, ui_->txtBTemp, ui_->txtAVol, ui_->txtATemp}) {
        showInUserNotation(*input);
        connect(input, &QLineEdit::textChanged, this, &frmDTCalc::Calculations);
    }
    connect(ui_->mnuexit, &QAction::triggered, this, &frmDTCalc::close);
    connect(ui_->mnuPrint, &QAction::triggered, this, &frmDTCalc::print);
    Calculations();
}

frmDTCalc::~frmDTCalc() = default;

void frmDTCalc::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

void frmDTCalc::Calculations() {
    using delivery::calculateDelivery;
    const auto outputs = calculateDelivery(
        {ui_->txtBVol->text().toStdString(), ui_->txtBTemp->text().toStdString(),
         ui_->txtAVol->text().toStdString(), ui_->txtATemp->text().toStdString()},
        {ui_->txtCVol->text().toStdString(), ui_->txtCTempDelivery->text().toStdString(),
         ui_->txtCTempDiff->text().toStdString()},
        userNumberFormat());
    ui_->txtCVol->setText(QString::fromStdString(outputs.deliveredVolume));
    ui_->txtCTempDelivery->setText(QString::fromStdString(outputs.deliveryTemperature));
    ui_->txtCTempDiff->setText(QString::fromStdString(outputs.temperatureDifferential));
}

void frmDTCalc::print() {
    if (!printWindow(*this, host_)) {
        host_.showMessage(this, QString::fromUtf8(kPrintProblemMessage));
    }
}

}  // namespace brimwell
