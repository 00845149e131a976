#include "frmpcalc.h"

#include <QCloseEvent>

#include "host.h"
#include "leakrate.h"
#include "ui_frmPCalc.h"
#include "usernumberformat.h"
#include "windowprinting.h"

namespace {

const QString kHint =
    QStringLiteral("Please input a leak rate and reference pressure into the text box");
const QString kCheckSelections = QStringLiteral("Please check your selections for errors");

brimwell::leak::BoxText toBoxText(const QString& text, int caret) {
    return {text.toStdString(), static_cast<std::size_t>(text.left(caret).toUtf8().size())};
}

int toCaret(const brimwell::leak::BoxText& box) {
    return static_cast<int>(
        QString::fromUtf8(box.text.data(), static_cast<qsizetype>(box.caret)).size());
}

}  // namespace

frmPCalc::frmPCalc(brimwell::Host& host, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmPCalc>()), host_(host) {
    ui->setupUi(this);
    // Designer gives a separator no name of its own.
    ui->mnuPrint->actions().constFirst()->setObjectName(QStringLiteral("mnublank0"));
    desiredPressure_.text = ui->txtActual->text();

    // A choice, by mouse, Space or arrow key, is a click; choosing the option already selected
    // sets its values again, after the user has typed others into txtLR or txtRef.
    connect(ui->Option1, &QRadioButton::clicked, this,
            [this](bool on) { chooseStandard(on, QStringLiteral("3"), QStringLiteral("10")); });
    connect(ui->Option2, &QRadioButton::clicked, this, [this](bool on) {
        chooseStandard(on, brimwell::generalText(0.2), QStringLiteral("30"));
    });
    connect(ui->Option3, &QRadioButton::clicked, this, [this](bool on) {
        chooseStandard(on, brimwell::generalText(0.1), QStringLiteral("45"));
    });
    connect(ui->Option4, &QRadioButton::clicked, this, &frmPCalc::chooseUserDefined);
    connect(ui->txtLR, &QLineEdit::textChanged, this, &frmPCalc::leakRateChanged);
    connect(ui->txtLR, &QLineEdit::cursorPositionChanged, this, &frmPCalc::leakRateCaretMoved);
    connect(ui->txtRef, &QLineEdit::textChanged, this, [this](const QString& text) {
        referencePressure_ = {text, true};
    });
    connect(ui->txtActual, &QLineEdit::textChanged, this,
            [this](const QString& text) { desiredPressure_.text = text; });
    connect(ui->cmdCalculate, &QPushButton::clicked, this, &frmPCalc::calculate);
    connect(ui->mnuExit, &QAction::triggered, this, &frmPCalc::close);
    // Opening the Print menu prints; queued, so that the menu is shut before any message shows.
    connect(ui->mnuPrint, &QMenu::aboutToShow, this, &frmPCalc::print, Qt::QueuedConnection);
}

frmPCalc::~frmPCalc() = default;

void frmPCalc::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

void frmPCalc::chooseStandard(bool chosen, const QString& rate, const QString& reference) {
    if (chosen) {
        leakRate_ = {rate};
        referencePressure_ = {reference};
    }
}

void frmPCalc::chooseUserDefined(bool chosen) {
    if (!chosen) {
        return;
    }
    ui->txtLR->setEnabled(true);
    ui->txtRef->setEnabled(true);
    host_.showMessage(this, kHint);
    ui->txtLR->setFocus();
    leakRate_ = {ui->txtLR->text(), true};
    referencePressure_ = {ui->txtRef->text(), true};
}

void frmPCalc::leakRateChanged(const QString& text) {
    leakRate_ = {text, true};
    if (text.toStdString() == leakRateShown_.text) {
        return;  // the box's own rewrite
    }
    const auto settled = brimwell::leak::settleLeakRateBox(
        leakRateShown_, toBoxText(text, ui->txtLR->cursorPosition()), brimwell::userNumberFormat());
    leakRateShown_ = settled;
    const QString shown = QString::fromStdString(settled.text);
    if (shown != text) {
        ui->txtLR->setText(shown);
    }
    ui->txtLR->setCursorPosition(toCaret(settled));
}

void frmPCalc::leakRateCaretMoved(int, int newCaret) {
    // While the box is being rewritten its caret passes through places of no interest.
    if (ui->txtLR->text().toStdString() == leakRateShown_.text) {
        leakRateShown_.caret = toBoxText(ui->txtLR->text(), newCaret).caret;
    }
}

void frmPCalc::calculate() {
    const auto desired = brimwell::readStrictText(desiredPressure_.text);
    const auto reference = brimwell::readStrictText(referencePressure_.text);
    const auto rate = brimwell::readStrictText(leakRate_.text);
    const auto equivalent = desired && reference && rate
                                ? brimwell::leak::equivalentRate(*rate, *reference, *desired)
                                : std::nullopt;
    if (!equivalent) {
        showInvalid();
        return;
    }
    ui->txtELRgal->setText(brimwell::patternText(equivalent->gallonsPerHour, "##0.0##"));
    ui->txtELRml->setText(brimwell::patternText(equivalent->millilitresPerMinute, "###0.0###"));
}

void frmPCalc::showInvalid() {
    ui->txtELRgal->clear();
    ui->txtELRml->clear();
    const bool typedValueMissing =
        (leakRate_.typed && !brimwell::readStrictText(leakRate_.text)) ||
        (referencePressure_.typed && !brimwell::readStrictText(referencePressure_.text));
    host_.showMessage(this, typedValueMissing ? kHint : kCheckSelections);
}

void frmPCalc::print() {
    ui->mnuPrint->hide();
    if (!brimwell::printWindow(*this, host_)) {
        host_.showMessage(this, QString::fromUtf8(brimwell::kPrintProblemMessage));
    }
}
