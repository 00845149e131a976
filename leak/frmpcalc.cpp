#include "leak/frmpcalc.h"

#include <QCloseEvent>

#include "host/host.h"
#include "leak/leakrate.h"
#include "ui_frmPCalc.h"
#include "host/usernumberformat.h"
#include "host/windowprinting.h"

namespace brimwell {
namespace {

const QString kHint =
    QStringLiteral("Please input a leak rate and reference pressure into the text box");
const QString kCheckSelections = QStringLiteral("Please check your selections for errors");

leak::BoxText toBoxText(const QString& text, int caret) {
    return {text.toStdString(), static_cast<std::size_t>(text.left(caret).toUtf8().size())};
}

int toCaret(const leak::BoxText& box) {
    return static_cast<int>(
        QString::fromUtf8(box.text.data(), static_cast<qsizetype>(box.caret)).size());
}

}  // namespace

frmPCalc::frmPCalc(Host& host, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmPCalc>()), host_(host) {
    ui_->setupUi(this);
    // Designer gives a separator no name of its own.
    ui_->mnuPrint->actions().constFirst()->setObjectName(QStringLiteral("mnublank0"));
    desiredPressure_.text = ui_->txtActual->text();

    // A choice, by mouse, Space or arrow key, is a click; choosing the option already selected
    // sets its values again, after the user has typed others into txtLR or txtRef.
    connect(ui_->Option1, &QRadioButton::clicked, this,
            [this](bool on) { chooseStandard(on, QStringLiteral("3"), QStringLiteral("10")); });
    connect(ui_->Option2, &QRadioButton::clicked, this, [this](bool on) {
        chooseStandard(on, generalText(0.2), QStringLiteral("30"));
    });
    connect(ui_->Option3, &QRadioButton::clicked, this, [this](bool on) {
        chooseStandard(on, generalText(0.1), QStringLiteral("45"));
    });
    connect(ui_->Option4, &QRadioButton::clicked, this, &frmPCalc::chooseUserDefined);
    connect(ui_->txtLR, &QLineEdit::textChanged, this, &frmPCalc::leakRateChanged);
    connect(ui_->txtLR, &QLineEdit::cursorPositionChanged, this, &frmPCalc::leakRateCaretMoved);
    connect(ui_->txtRef, &QLineEdit::textChanged, this, [this](const QString& text) {
        referencePressure_ = {text, true};
    });
    connect(ui_->txtActual, &QLineEdit::textChanged, this,
            [this](const QString& text) { desiredPressure_.text = text; });
    connect(ui_->cmdCalculate, &QPushButton::clicked, this, &frmPCalc::calculate);
    connect(ui_->mnuExit, &QAction::triggered, this, &frmPCalc::close);
    // Opening the Print menu prints; queued, so that the menu is shut before any message shows.
    connect(ui_->mnuPrint, &QMenu::aboutToShow, this, &frmPCalc::print, Qt::QueuedConnection);
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
    ui_->txtLR->setEnabled(true);
    ui_->txtRef->setEnabled(true);
    host_.showMessage(this, kHint);
    ui_->txtLR->setFocus();
    leakRate_ = {ui_->txtLR->text(), true};
    referencePressure_ = {ui_->txtRef->text(), true};
}

void frmPCalc::leakRateChanged(const QString& text) {
    leakRate_ = {text, true};
    if (text.toStdString() == leakRateShown_.text) {
        return;  // the box's own rewrite
    }
    const auto settled = leak::settleLeakRateBox(
        leakRateShown_, toBoxText(text, ui_->txtLR->cursorPosition()), userNumberFormat());
    leakRateShown_ = settled;
    const QString shown = QString::fromStdString(settled.text);
    if (shown != text) {
        ui_->txtLR->setText(shown);
    }
    ui_->txtLR->setCursorPosition(toCaret(settled));
}

void frmPCalc::leakRateCaretMoved(int, int newCaret) {
    // While the box is being rewritten its caret passes through places of no interest.
    if (ui_->txtLR->text().toStdString() == leakRateShown_.text) {
        leakRateShown_.caret = toBoxText(ui_->txtLR->text(), newCaret).caret;
    }
}

void frmPCalc::calculate() {
    const auto desired = readStrictText(desiredPressure_.text);
    const auto reference = readStrictText(referencePressure_.text);
    const auto rate = readStrictText(leakRate_.text);
    const auto equivalent = desired && reference && rate
                                ? leak::equivalentRate(*rate, *reference, *desired)
                                : std::nullopt;
    if (!equivalent) {
        showInvalid();
        return;
    }
    ui_->txtELRgal->setText(patternText(equivalent->gallonsPerHour, "##0.0##"));
    ui_->txtELRml->setText(patternText(equivalent->millilitresPerMinute, "###0.0###"));
}

void frmPCalc::showInvalid() {
    ui_->txtELRgal->clear();
    ui_->txtELRml->clear();
    const bool typedValueMissing =
        (leakRate_.typed && !readStrictText(leakRate_.text)) ||
        (referencePressure_.typed && !readStrictText(referencePressure_.text));
    host_.showMessage(this, typedValueMissing ? kHint : kCheckSelections);
}

void frmPCalc::print() {
    ui_->mnuPrint->hide();
    if (!printWindow(*this, host_)) {
        host_.showMessage(this, QString::fromUtf8(kPrintProblemMessage));
    }
}

}  // namespace brimwell
