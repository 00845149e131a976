// The book window's day: the entry form filled from the record, read as it is typed, its figures
// shown, and saved.

#include <QLineEdit>

#include "book/changes.h"
#include "bookwindow/bookmodels.h"
#include "bookwindow/fieldmarks.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/frmbook.h"
#include "host/host.h"
#include "host/usernumberformat.h"
#include "ui_frmBook.h"

namespace brimwell {
namespace {

std::string text(const QLineEdit* box) {
    return box->text().toStdString();
}

}  // namespace

// A recorded day opens for correction; another starts empty.
void frmBook::fillDay(const std::optional<book::Day>& day) {
    filling_ = true;
    recorded_ = day;
    for (int i = 0; i <= static_cast<int>(DayField::PumpedDuring); ++i) {
        field(static_cast<DayField>(i))->clear();
    }
    ui_->chkBillNet->setChecked(false);
    recordedDeliveries_ = day ? day->deliveries : std::vector<book::Delivery>();
    ui_->cboDelivery->clear();
    ui_->cboDelivery->addItem(tr("new"));
    QStringList recorded;
    if (day) {
        ui_->txtStick->setText(exactText(day->closingLevel));
        ui_->txtWater->setText(optionalText(day->waterLevel));
        ui_->txtTemperature->setText(optionalText(day->temperature));
        ui_->txtPumped->setText(optionalText(day->pumped));
        ui_->txtMeterOpen->setText(optionalText(day->meterOpen));
        ui_->txtMeterClose->setText(optionalText(day->meterClose));
        for (const book::Delivery& delivery : day->deliveries) {
            recorded << tr("bill %1, stick %2 to %3")
                            .arg(volumeText(delivery.billVolume), generalText(delivery.levelBefore),
                                 generalText(delivery.levelAfter));
            ui_->cboDelivery->addItem(tr("%1: %2").arg(recorded.size()).arg(recorded.back()));
        }
    }
    ui_->cboDelivery->setEnabled(!recorded.isEmpty());
    ui_->btnWithdraw->setEnabled(false);
    ui_->lblRecordedDeliveries->setText(recorded.join('\n'));
    ui_->lblStatus->setText(day ? tr("Recorded: saving corrects it") : QString());
    filled_ = formTexts();
    filling_ = false;
    entryEdited();
}

// A recorded delivery chosen opens for correction; "new" starts an empty one.
void frmBook::deliveryChosen() {
    if (filling_) {
        return;
    }
    const int chosen = ui_->cboDelivery->currentIndex();
    const book::Delivery* delivery = chosen > 0 ? &recordedDeliveries_.at(chosen - 1) : nullptr;
    ui_->btnWithdraw->setEnabled(delivery != nullptr);
    filling_ = true;
    ui_->txtBill->setText(delivery ? exactText(delivery->billVolume) : QString());
    ui_->chkBillNet->setChecked(delivery && delivery->billNet);
    ui_->txtBillTemperature->setText(delivery ? optionalText(delivery->billTemperature)
                                              : QString());
    ui_->txtBefore->setText(delivery ? exactText(delivery->levelBefore) : QString());
    ui_->txtAfter->setText(delivery ? exactText(delivery->levelAfter) : QString());
    ui_->txtPumpedDuring->setText(delivery ? exactText(delivery->pumpedDuring) : QString());
    filling_ = false;
    entryEdited();
}

void frmBook::withdrawDelivery() {
    const int chosen = ui_->cboDelivery->currentIndex();
    if (!session_ || chosen < 1) {
        return;
    }
    const QString date = date_.toString(Qt::ISODate);
    const QString question = tr("Withdraw delivery %1 of %2, %3? Its values are kept in the "
                                "day's history.")
                                 .arg(chosen)
                                 .arg(date, ui_->cboDelivery->currentText().section(": ", 1));
    if (!host_.askYesNo(this, question)) {
        return;
    }
    if (auto done = session_->withdrawDelivery(tank_, date.toStdString(), chosen); !done) {
        ui_->lblProblems->setText(fromStd(done.error()));
        return;
    }
    statusBar()->showMessage(tr("Withdrew delivery %1 of %2").arg(chosen).arg(date));
    // The day's values as typed, saved or not, stay in the form.
    QStringList typed;
    for (int i = 0; i <= static_cast<int>(DayField::MeterClose); ++i) {
        typed << field(static_cast<DayField>(i))->text();
    }
    fillSite();
    showDay();
    for (int i = 0; i <= static_cast<int>(DayField::MeterClose); ++i) {
        field(static_cast<DayField>(i))->setText(typed.at(i));
    }
}

QLineEdit* frmBook::field(DayField which) const {
    QLineEdit* const fields[] = {ui_->txtStick,  ui_->txtWater,           ui_->txtTemperature,
                                 ui_->txtPumped, ui_->txtMeterOpen,       ui_->txtMeterClose,
                                 ui_->txtBill,   ui_->txtBillTemperature, ui_->txtBefore,
                                 ui_->txtAfter,  ui_->txtPumpedDuring};
    return fields[static_cast<int>(which)];
}

DayEntry frmBook::readEntry() const {
    DayTexts texts;
    texts.date = date_.toString(Qt::ISODate).toStdString();
    texts.stick = text(ui_->txtStick);
    texts.water = text(ui_->txtWater);
    texts.temperature = text(ui_->txtTemperature);
    texts.pumped = text(ui_->txtPumped);
    texts.meterOpen = text(ui_->txtMeterOpen);
    texts.meterClose = text(ui_->txtMeterClose);
    texts.bill = text(ui_->txtBill);
    texts.billNet = ui_->chkBillNet->isChecked();
    texts.billTemperature = text(ui_->txtBillTemperature);
    texts.before = text(ui_->txtBefore);
    texts.after = text(ui_->txtAfter);
    texts.pumpedDuring = text(ui_->txtPumpedDuring);
    const auto view = session_->tank(tank_);
    const LengthUnit unit = view ? (*view)->tank.lengthUnit : LengthUnit::Inches;
    const double top = view ? (*view)->tank.top : 0;
    DayEntry entry = readDayEntry(texts, unit, top, userNumberFormat());
    entry.replacing = static_cast<std::size_t>(std::max(0, ui_->cboDelivery->currentIndex()));
    if (entry.delivery && entry.replacing > 0) {
        // The window has no fields for the temperatures before and after; they stay as recorded.
        entry.delivery = book::correctedDelivery(
            *entry.delivery, recordedDeliveries_.at(entry.replacing - 1), false, false);
    }
    return entry;
}

void frmBook::markProblems(const DayEntry& entry, bool withMissing) {
    for (int i = 0; i <= static_cast<int>(DayField::PumpedDuring); ++i) {
        clearMark(*field(static_cast<DayField>(i)));
    }
    QStringList problems;
    for (const FieldProblem& problem : entry.problems) {
        QLineEdit* box = field(problem.field);
        markField(*box, fromStd(problem.reason));
        problems << box->accessibleName() + ": " + fromStd(problem.reason);
    }
    for (const FieldProblem& missing : withMissing ? entry.missing : std::vector<FieldProblem>{}) {
        QLineEdit* box = field(missing.field);
        markField(*box, fromStd(missing.reason));
        problems << box->accessibleName() + ": " + fromStd(missing.reason);
    }
    ui_->lblProblems->setText(problems.join('\n'));
}

void frmBook::entryEdited() {
    if (filling_ || !session_ || tank_.empty()) {
        return;
    }
    const DayEntry entry = readEntry();
    markProblems(entry, false);
    showFigures(entry);
}

void frmBook::showFigures(const DayEntry& entry) {
    for (QLabel* result : {ui_->lblVolume, ui_->lblBook, ui_->lblOverShort, ui_->lblCumulative,
                           ui_->lblDeliveryCheck}) {
        result->clear();
    }
    if (!entry.complete()) {
        return;
    }
    const auto figures = session_->preview(tank_, entry);
    if (!figures) {
        ui_->lblProblems->setText(fromStd(figures.error()));
        return;
    }
    ui_->lblVolume->setText(volumeText(figures->closing));
    ui_->lblBook->setText(volumeText(figures->book));
    ui_->lblOverShort->setText(volumeText(figures->overShort));
    ui_->lblCumulative->setText(volumeText(figures->cumulative));
    const std::size_t shown = entry.replacing > 0 ? entry.replacing : figures->deliveries.size();
    if (entry.delivery && shown > 0 && shown <= figures->deliveries.size()) {
        ui_->lblDeliveryCheck->setText(deliveryText(figures->deliveries[shown - 1]));
    }
}

void frmBook::save() {
    if (!saveDay()) {
        return;
    }
    ui_->dateDay->setDate(date_.addDays(1));
    ui_->txtStick->setFocus();
}

// Records the shown day as typed; false, with the reasons at the form, when it is refused.
bool frmBook::saveDay() {
    if (!session_ || tank_.empty()) {
        return false;
    }
    const DayEntry entry = readEntry();
    markProblems(entry, true);
    if (!entry.complete()) {
        ui_->tabsTank->setCurrentWidget(ui_->tabDay);
        return false;
    }
    const auto corrected = session_->save(tank_, entry);
    if (!corrected) {
        ui_->lblProblems->setText(fromStd(corrected.error()));
        ui_->tabsTank->setCurrentWidget(ui_->tabDay);
        return false;
    }
    const QString date = fromStd(entry.day.date);
    statusBar()->showMessage(*corrected ? tr("Corrected %1").arg(date)
                                        : tr("Recorded %1").arg(date));
    recorded_ = session_->recordedDay(tank_, entry.day.date);
    filled_ = formTexts();
    fillSite();
    showMonth();
    return true;
}

}  // namespace brimwell
