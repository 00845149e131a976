// The book window's day: the tank's next day chosen, the entry form filled from the record, read
// as it is typed, its figures shown, and saved.

#include <QCalendarWidget>
#include <QStyle>
#include <QTimer>
#include <QLineEdit>
#include <QTextCharFormat>

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

std::string isoDate(const QDate& date) {
    return date.toString(Qt::ISODate).toStdString();
}

// The day after the tank's last recorded day; today for a tank with none.
QDate nextDay(const TankSummary& tank) {
    const QDate last =
        tank.lastDate ? QDate::fromString(fromStd(*tank.lastDate), Qt::ISODate) : QDate();
    return last.isValid() ? last.addDays(1) : QDate::currentDate();
}

}  // namespace

// Each field as wide as the longest value it takes in the worksheet (a stick in feet, inches and
// sixteenths, a temperature, a volume, a meter's total) and of one height, framed in red or not.
void frmBook::setUpDayFields() {
    const std::pair<DayField, int> widths[] = {
        {DayField::Stick, 12},       {DayField::Water, 12},           {DayField::Temperature, 7},
        {DayField::Pumped, 11},      {DayField::MeterOpen, 15},       {DayField::MeterClose, 15},
        {DayField::Initials, 8},
        {DayField::Bill, 11},        {DayField::BillTemperature, 7},  {DayField::Before, 12},
        {DayField::After, 12},       {DayField::PumpedDuring, 11}};
    for (const auto& [which, characters] : widths) {
        QLineEdit* box = field(which);
        const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
        box->setFixedSize(
            box->fontMetrics().horizontalAdvance(QString(characters, '8')) + 2 * frame + 8,
            box->sizeHint().height());
    }
    ui_->lblMeterCarried->setMinimumHeight(ui_->lblMeterCarried->fontMetrics().height());
}

// The tank or the date chosen: the form moves to that day once the values typed for the day it
// shows are saved or given up; kept, they keep their tank and date chosen. A tank chosen opens on
// its next unrecorded day.
void frmBook::dayChosen() {
    if (choosing_ || !session_) {
        return;
    }
    const TankSummary* chosen = chosenTank();
    ui_->tabsTank->setEnabled(chosen != nullptr);
    ui_->actEditTank->setEnabled(chosen != nullptr);
    ui_->actRemoveTank->setEnabled(chosen != nullptr);
    if (!chosen) {
        return;
    }
    const std::string tank = chosen->name;
    const QDate date = tank == tank_ ? ui_->dateDay->date() : nextDay(*chosen);
    if (tank == tank_ && date == date_) {
        return;
    }
    // The calendar pop-up sets its date once more as it closes: a choice just refused is put back
    // without asking again.
    if (refused_ == std::pair(tank, date)) {
        putBackDay();
        return;
    }
    if (!leaveDay()) {
        refused_ = {tank, date};
        QTimer::singleShot(0, this, [this] { refused_.reset(); });
        putBackDay();
        return;
    }
    tank_ = tank;
    date_ = date;
    choosing_ = true;
    ui_->dateDay->setDate(date_);
    choosing_ = false;
    showDay();
}

void frmBook::showDay() {
    showUnits();
    const auto records = session_->dayRecords(tank_, isoDate(date_));
    fillDay(records ? *records : book::MonthRecords{});
    if (!records) {
        ui_->lblProblems->setText(fromStd(records.error()));
    }
    monthShown_ = QDate(date_.year(), date_.month(), 1);
    showMonth();
    showHistory();
    markRecordedDays();
}

// Chooses the shown day's tank and date again.
void frmBook::putBackDay() {
    choosing_ = true;
    ui_->dateDay->setDate(date_);
    chooseTank(tank_);
    choosing_ = false;
}

void frmBook::stepDay(int days) {
    ui_->dateDay->setDate(ui_->dateDay->date().addDays(days));
}

// The calendar's recorded days of the month it shows, and of the days around it that it shows,
// once it has been opened.
void frmBook::markRecordedDays() {
    QCalendarWidget* calendar = ui_->dateDay->openedCalendar();
    if (!calendar) {
        return;
    }
    calendar->setDateTextFormat(QDate(), QTextCharFormat());
    if (!session_ || tank_.empty()) {
        return;
    }
    QTextCharFormat recorded;
    recorded.setFontWeight(QFont::Bold);
    recorded.setBackground(QColor(200, 230, 200));
    recorded.setToolTip(tr("recorded"));
    const QDate first(calendar->yearShown(), calendar->monthShown(), 1);
    for (const std::string& date : session_->recordedDates(
             tank_, isoDate(first.addDays(-7)), isoDate(first.addMonths(1).addDays(13)))) {
        calendar->setDateTextFormat(QDate::fromString(fromStd(date), Qt::ISODate), recorded);
    }
}

// How the shown tank writes its figures.
TankUnits frmBook::units() const {
    const auto view = tank_.empty() || !session_
                          ? Expected<const BookTankView*, std::string>(Unexpected(std::string()))
                          : session_->tank(tank_);
    if (!view) {
        return {};
    }
    return {(*view)->tank.lengthUnit, (*view)->tank.volumeUnit, stickForm(tank_)};
}

// The shown tank's units beside its fields and in the results' captions.
void frmBook::showUnits() {
    const auto view = tank_.empty() ? Expected<const BookTankView*, std::string>(
                                          Unexpected(std::string()))
                                    : session_->tank(tank_);
    const TankUnits units = this->units();
    const QString length = view ? unitText(units.length) : QString();
    const QString volume = view ? unitText(units.volume) : QString();
    const QString degrees =
        view ? ((*view)->settings.product.celsius ? tr("°C") : tr("°F")) : QString();
    for (QLabel* label :
         {ui_->lblStickUnit, ui_->lblWaterUnit, ui_->lblBeforeUnit, ui_->lblAfterUnit}) {
        label->setText(length);
    }
    for (QLabel* label : {ui_->lblTemperatureUnit, ui_->lblBillTemperatureUnit}) {
        label->setText(degrees);
    }
    for (QLabel* label : {ui_->lblPumpedUnit, ui_->lblMeterOpenUnit, ui_->lblMeterCloseUnit,
                          ui_->lblBillUnit, ui_->lblPumpedDuringUnit}) {
        label->setText(volume);
    }
    const QString unit = view ? " (" + volume + "):" : QStringLiteral(":");
    ui_->lblVolumeCaption->setText(tr("Product volume") + unit);
    ui_->lblBookCaption->setText(tr("Book inventory") + unit);
    ui_->lblOverShortCaption->setText(tr("Over/short") + unit);
    ui_->lblCumulativeCaption->setText(tr("Cumulative over/short") + unit);
    ui_->lblDeliveryCaption->setText(tr("Delivery") + unit);
}

QStringList frmBook::formTexts() const {
    QStringList texts;
    for (int i = 0; i <= static_cast<int>(DayField::PumpedDuring); ++i) {
        texts << field(static_cast<DayField>(i))->text().trimmed();
    }
    texts << (ui_->chkBillNet->isChecked() ? QStringLiteral("net") : QString());
    return texts;
}

// Whether the form holds values that differ from what is recorded for the day it shows.
bool frmBook::unsaved() const {
    if (!session_ || tank_.empty() || formTexts() == filled_) {
        return false;
    }
    const DayEntry entry = readEntry();
    return !recorded_ || !entry.complete() || !book::sameAsRecorded(entry, *recorded_);
}

// True once the shown day may be left: nothing typed is unsaved, or the user had it saved or
// given up.
bool frmBook::leaveDay() {
    if (!unsaved()) {
        return true;
    }
    const QString question = tr("The values typed for %1 on %2 are not saved. Save them?")
                                 .arg(fromStd(tank_), date_.toString(Qt::ISODate));
    switch (host_.askSaveDiscardCancel(this, question)) {
        case SaveChoice::Save:
            return saveDay();
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

// A recorded day opens for correction; another starts empty, but for the meter's opening total,
// carried from the last day before.
void frmBook::fillDay(const book::MonthRecords& records) {
    const std::optional<book::Day> day =
        records.days.empty() ? std::nullopt : std::optional(records.days.front());
    const TankUnits units = this->units();
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
        ui_->txtStick->setText(stickText(day->closingLevel, units));
        ui_->txtWater->setText(day->waterLevel ? stickText(*day->waterLevel, units) : QString());
        ui_->txtTemperature->setText(optionalText(day->temperature));
        ui_->txtPumped->setText(optionalText(day->pumped));
        ui_->txtMeterOpen->setText(optionalText(day->meterOpen));
        ui_->txtMeterClose->setText(optionalText(day->meterClose));
        ui_->txtInitials->setText(fromStd(day->initials));
        for (const book::Delivery& delivery : day->deliveries) {
            recorded << tr("bill %1, stick %2 to %3")
                            .arg(volumeText(delivery.billVolume),
                                 stickText(delivery.levelBefore, units),
                                 stickText(delivery.levelAfter, units));
            ui_->cboDelivery->addItem(tr("%1: %2").arg(recorded.size()).arg(recorded.back()));
        }
    }
    const std::optional<book::Day>& before = records.before;
    carried_ = !day && before && before->meterClose ? exactText(*before->meterClose) : QString();
    carriedFrom_ = carried_.isEmpty() ? QString() : fromStd(before->date);
    ui_->txtMeterOpen->setText(day ? ui_->txtMeterOpen->text() : carried_);
    // A day not yet recorded is most likely read by whoever recorded the last one.
    ui_->txtInitials->setText(day ? ui_->txtInitials->text() : lastInitials_);
    ui_->cboDelivery->setEnabled(!recorded.isEmpty());
    ui_->btnWithdraw->setEnabled(false);
    ui_->lblRecordedDeliveries->setText(recorded.join('\n'));
    ui_->lblStatus->setText(day ? tr("Recorded: saving corrects it") : QString());
    filled_ = formTexts();
    filling_ = false;
    entryEdited();
}

// The carried opening total is shown as such for as long as it stands as carried.
void frmBook::showCarried() {
    const bool carried = !carried_.isEmpty() && ui_->txtMeterOpen->text() == carried_;
    const QString note =
        carried ? tr("carried from %1").arg(carriedFrom_) : QString();
    ui_->lblMeterCarried->setText(note);
    ui_->txtMeterOpen->setAccessibleDescription(note);
}

// A recorded delivery chosen opens for correction; "new" starts an empty one.
void frmBook::deliveryChosen() {
    if (filling_) {
        return;
    }
    const int chosen = ui_->cboDelivery->currentIndex();
    const book::Delivery* delivery = chosen > 0 ? &recordedDeliveries_.at(chosen - 1) : nullptr;
    const TankUnits units = this->units();
    ui_->btnWithdraw->setEnabled(delivery != nullptr);
    filling_ = true;
    ui_->txtBill->setText(delivery ? exactText(delivery->billVolume) : QString());
    ui_->chkBillNet->setChecked(delivery && delivery->billNet);
    ui_->txtBillTemperature->setText(delivery ? optionalText(delivery->billTemperature)
                                              : QString());
    ui_->txtBefore->setText(delivery ? stickText(delivery->levelBefore, units) : QString());
    ui_->txtAfter->setText(delivery ? stickText(delivery->levelAfter, units) : QString());
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
    for (int i = 0; i <= static_cast<int>(DayField::Initials); ++i) {
        typed << field(static_cast<DayField>(i))->text();
    }
    fillSite();
    showDay();
    for (int i = 0; i <= static_cast<int>(DayField::Initials); ++i) {
        field(static_cast<DayField>(i))->setText(typed.at(i));
    }
}

QLineEdit* frmBook::field(DayField which) const {
    QLineEdit* const fields[] = {ui_->txtStick,  ui_->txtWater,           ui_->txtTemperature,
                                 ui_->txtPumped, ui_->txtMeterOpen,       ui_->txtMeterClose,
                                 ui_->txtInitials,
                                 ui_->txtBill,   ui_->txtBillTemperature, ui_->txtBefore,
                                 ui_->txtAfter,  ui_->txtPumpedDuring};
    return fields[static_cast<int>(which)];
}

DayEntry frmBook::readEntry() const {
    DayTexts texts;
    texts.date = isoDate(date_);
    texts.stick = text(ui_->txtStick);
    texts.water = text(ui_->txtWater);
    texts.temperature = text(ui_->txtTemperature);
    texts.pumped = text(ui_->txtPumped);
    texts.meterOpen = text(ui_->txtMeterOpen);
    texts.meterClose = text(ui_->txtMeterClose);
    texts.meterOpenCarried = !carried_.isEmpty() && ui_->txtMeterOpen->text() == carried_;
    texts.initials = text(ui_->txtInitials);
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
    showCarried();
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
    if (importing_ || !saveDay()) {
        return;
    }
    ui_->dateDay->setDate(date_.addDays(1));
    ui_->tabsTank->setCurrentWidget(ui_->tabDay);
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
    if (!entry.day.initials.empty()) {
        lastInitials_ = fromStd(entry.day.initials);
    }
    statusBar()->showMessage(*corrected ? tr("Corrected %1").arg(date)
                                        : tr("Recorded %1").arg(date));
    recorded_ = session_->recordedDay(tank_, entry.day.date);
    if (recorded_ && entry.day.initials.empty()) {
        ui_->txtInitials->setText(fromStd(recorded_->initials));  // none given keep those recorded
    }
    filled_ = formTexts();
    fillSite();
    showMonth();
    showHistory();
    markRecordedDays();
    return true;
}

}  // namespace brimwell
