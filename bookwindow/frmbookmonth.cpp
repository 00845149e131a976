// The book window's month, with its plot and verdicts, its export, and the tank's corrections.

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "book/monthcsv.h"
#include "book/reportformat.h"
#include "bookwindow/bookmodels.h"
#include "bookwindow/exportpath.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/frmbook.h"
#include "host/host.h"
#include "ui_frmBook.h"

namespace brimwell {

void frmBook::showMonth() {
    if (tank_.empty() || !monthShown_.isValid()) {
        return;
    }
    const std::string month = monthShown_.toString(QStringLiteral("yyyy-MM")).toStdString();
    const auto view = session_->tank(tank_);
    auto shown = session_->month(tank_, month);
    ui_->lblMonth->setText(tr("%1, %2").arg(fromStd(tank_), fromStd(month)));
    if (!view || !shown) {
        shownMonth_.reset();
        month_->clear();
        ui_->plotOverShort->setMonth({}, {});
        ui_->lblMonthVerdict->clear();
        ui_->lblLeakTest->clear();
        ui_->lblChartCheck->clear();
        ui_->lblVerdicts->setText(fromStd(view ? shown.error() : view.error()));
        ui_->lblShortDeliveries->clear();
        return;
    }
    shownMonth_ = *std::move(shown);
    const book::MonthReport& report = shownMonth_->report;
    const book::BookTank& tank = (*view)->tank;
    month_->setMonth(*shownMonth_, units());
    const auto& leak = shownMonth_->leak;
    ui_->plotOverShort->setMonth(report, (*view)->settings.rules,
                                 leak && leak->rate ? leak->points
                                                    : std::vector<book::LeakPoint>{});
    ui_->plotOverShort->setUnits(unitText(tank.volumeUnit));
    ui_->lblMonthVerdict->setText(monthVerdictText(report, tank));
    ui_->lblLeakTest->setText(leak ? leakTestText(*leak, tank.volumeUnit) : QString());
    ui_->lblChartCheck->setText(report.days.empty() ? QString()
                                                    : chartCheckText(shownMonth_->chart));
    // A month without a day has met no rule.
    const QString noDays = tr("no days recorded");
    QStringList verdicts;
    for (const book::RuleVerdict& verdict : report.verdicts) {
        verdicts << (report.days.empty() ? ruleText(verdict.rule, tank) + ": " + noDays
                                         : verdictText(verdict, tank));
    }
    ui_->lblVerdicts->setText(verdicts.isEmpty() && report.days.empty() ? noDays
                                                                        : verdicts.join('\n'));
    QStringList shorts;
    for (const book::DayFigures& day : report.days) {
        for (const book::DeliveryCheck& check : day.deliveries) {
            if (check.grossDifference < 0) {
                shorts << fromStd(day.date) + ": " + deliveryText(check);
            }
        }
    }
    ui_->lblShortDeliveries->setText(shorts.isEmpty()
                                         ? tr("No short deliveries.")
                                         : tr("Short deliveries:\n") + shorts.join('\n'));
}

// Another month in the month's tab; the day's form stays on its day.
void frmBook::stepMonth(int months) {
    if (!monthShown_.isValid()) {
        return;
    }
    monthShown_ = monthShown_.addMonths(months);
    showMonth();
}

// A month's day opened from its row, as the date chosen.
void frmBook::openMonthDay(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const QDate date = QDate::fromString(
        fromStd(month_->rowAt(index.row()).figures.date), Qt::ISODate);
    ui_->tabsTank->setCurrentWidget(ui_->tabDay);
    ui_->dateDay->setDate(date);
    ui_->txtStick->setFocus();
}

// The shown tank's corrections, read while the tab is shown.
void frmBook::showHistory() {
    if (ui_->tabsTank->currentWidget() != ui_->tabHistory || !session_ || tank_.empty()) {
        return;
    }
    const auto history = session_->history(tank_);
    if (!history) {
        history_->setRows({});
        ui_->lblHistory->setText(fromStd(history.error()));
        return;
    }
    history_->setHistory(*history, units());
    ui_->lblHistory->setText(
        history_->rowCount() == 0
            ? tr("%1 has no corrected day or delivery.").arg(fromStd(tank_))
            : tr("%1's corrected days and deliveries, the latest first, each with the values "
                 "the correction replaced.")
                  .arg(fromStd(tank_)));
}

void frmBook::exportMonth() {
    if (!shownMonth_ || tank_.empty()) {
        return;
    }
    const QString month = monthShown_.toString(QStringLiteral("yyyy-MM"));
    if (shownMonth_->report.days.empty()) {
        host_.showMessage(this, tr("%1 has no days recorded in %2: there is nothing to export.")
                                    .arg(fromStd(tank_), month));
        return;
    }
    QString name = QStringLiteral("%1 %2.csv").arg(fromStd(tank_), month);
    name.replace('/', '-');
    const QString suggested = QFileInfo(session_->path()).dir().filePath(name);
    const QString chosen = host_.chooseSaveFile(this, tr("CSV files|*.csv"), suggested);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = csvPath(chosen);
    const QStringList paths{path, besidePath(path, tr("deliveries")),
                            besidePath(path, tr("totals"))};
    QStringList existing;
    for (const QString& file : paths) {
        if (isBookFile(file, session_->path())) {
            host_.showMessage(
                this,
                tr("%1 is the book itself. Export the month to a file of its own.").arg(file));
            return;
        }
        // The dialog asked about the name it gave; the window asks about the names it made.
        if (file != chosen && QFileInfo::exists(file)) {
            existing << file;
        }
    }
    const QString question = existing.size() == 1 ? tr("%1 already exists. Replace it?")
                                                  : tr("%1 already exist. Replace them?");
    if (!existing.isEmpty() && !host_.askYesNo(this, question.arg(existing.join(tr(" and "))))) {
        return;
    }
    writeExport(paths, month.toStdString());
}

// The month's days, its deliveries and its totals, each to its file.
void frmBook::writeExport(const QStringList& paths, const std::string& month) {
    const auto view = session_->tank(tank_);
    if (!view) {
        host_.showMessage(this, fromStd(view.error()));
        return;
    }
    const book::BookTank& tank = (*view)->tank;
    const std::string volume(unitWord(tank.volumeUnit));
    const std::string length(unitWord(tank.lengthUnit));
    const book::ReportHeading heading{tank_,  (*view)->settings.product.name,
                                      month,  volume,
                                      length, (*view)->settings.product.celsius ? "C" : "F"};
    const book::MonthCsvHeading csvHeading{tank_, month, volume, length};
    const book::MonthReport& report = shownMonth_->report;
    const std::string texts[] = {
        monthReport(report, heading, book::ReportFormat::Csv, shownMonth_->chart),
        std::string(book::kDeliveriesCsvHeader) + "\n" +
            book::deliveriesCsvRows(shownMonth_->days, report, csvHeading),
        std::string(book::kTotalsCsvHeader) + "\n" + book::totalsCsvRow(report, csvHeading)};
    for (int i = 0; i < paths.size(); ++i) {
        const std::string& csv = texts[i];
        QSaveFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(csv.data(), static_cast<qint64>(csv.size())) !=
                static_cast<qint64>(csv.size()) ||
            !file.commit()) {
            host_.showMessage(
                this,
                tr("The month could not be written to %1: %2").arg(paths[i], file.errorString()));
            return;
        }
    }
    statusBar()->showMessage(tr("Exported to %1").arg(paths.join(tr(", "))));
}

}  // namespace brimwell
