#include "bookwindow/frmbook.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QSettings>
#include <QTimer>

#include "book/changes.h"
#include "book/defaultbook.h"
#include "book/month.h"
#include "book/reportformat.h"
#include "bookwindow/bookmodels.h"
#include "bookwindow/dlgtank.h"
#include "bookwindow/exportpath.h"
#include "bookwindow/fieldmarks.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/tankentry.h"
#include "bookwindow/tankpicture.h"
#include "host/host.h"
#include "host/usernumberformat.h"
#include "ui_frmBook.h"

namespace brimwell {
namespace {

const QString kLastBookKey = QStringLiteral("last");

// The window's own settings: ~/.config/Brimwell/book.conf.
const QString kSettingsFolder = QStringLiteral("Brimwell");
const QString kSettingsFile = QStringLiteral("book");

}  // namespace

frmBook::frmBook(Host& host, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::frmBook>()),
      host_(host),
      site_(new SiteModel(this)),
      month_(new MonthModel(this)) {
    ui_->setupUi(this);
    ui_->tblSite->setModel(site_);
    ui_->tblSite->setItemDelegateForColumn(SiteModel::Picture, new TankPictureDelegate(this));
    ui_->tblSite->verticalHeader()->setDefaultSectionSize(44);
    ui_->tblSite->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->tblMonth->setModel(month_);
    ui_->tblMonth->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->dateDay->setDate(QDate::currentDate());
    // Queued, so that a tank clicked is asked about once the click is over: the table then
    // takes the shown tank chosen again whole, selection and all.
    connect(ui_->tblSite->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmBook::dayChosen, Qt::QueuedConnection);
    connect(ui_->dateDay, &QDateEdit::dateChanged, this, &frmBook::dayChosen);
    for (int i = 0; i <= static_cast<int>(DayField::PumpedDuring); ++i) {
        QLineEdit* box = field(static_cast<DayField>(i));
        connect(box, &QLineEdit::textChanged, this, &frmBook::entryEdited);
        connect(box, &QLineEdit::returnPressed, this, &frmBook::save);
    }
    connect(ui_->chkBillNet, &QCheckBox::toggled, this, &frmBook::entryEdited);
    connect(ui_->cboDelivery, &QComboBox::currentIndexChanged, this, &frmBook::deliveryChosen);
    connect(ui_->btnWithdraw, &QPushButton::clicked, this, &frmBook::withdrawDelivery);
    connect(ui_->btnSave, &QPushButton::clicked, this, &frmBook::save);
    connect(ui_->btnExport, &QPushButton::clicked, this, &frmBook::exportMonth);
    connect(ui_->actExport, &QAction::triggered, this, &frmBook::exportMonth);
    connect(ui_->actAddTank, &QAction::triggered, this, &frmBook::addTank);
    connect(ui_->actEditTank, &QAction::triggered, this, &frmBook::editTank);
    connect(ui_->tblSite, &QAbstractItemView::doubleClicked, this, &frmBook::editTank);
    connect(ui_->actOpen, &QAction::triggered, this, &frmBook::chooseBook);
    connect(ui_->actExit, &QAction::triggered, this, &frmBook::close);
    ui_->tabsTank->setEnabled(false);
}

frmBook::~frmBook() = default;

dlgTank* frmBook::tankEditor() const {
    return tankEditor_;
}

void frmBook::openBookWhenShown(const QString& path) {
    pendingBook_ = path;
}

// The first paint follows the window's mapping; the book opens once that has been drawn.
void frmBook::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (pendingBook_) {
        QTimer::singleShot(0, this, [this, path = *pendingBook_] { openBook(path); });
        pendingBook_.reset();
    }
}

QString frmBook::lastBook() {
    const QString last = QSettings(kSettingsFolder, kSettingsFile).value(kLastBookKey).toString();
    if (!last.isEmpty()) {
        return last;
    }
    return book::defaultBookPath();
}

bool frmBook::openBook(const QString& path) {
    if (!leaveDay()) {
        return false;
    }
    auto session = BookSession::open(path);
    if (!session) {
        host_.showMessage(this, fromStd(session.error()));
        return false;
    }
    // An editor left open belongs to the book being left.
    if (tankEditor_) {
        tankEditor_->reject();
    }
    tank_.clear();
    date_ = QDate();
    fillDay(std::nullopt);
    shownMonth_.reset();
    month_->clear();
    session_ = *std::move(session);
    QSettings(kSettingsFolder, kSettingsFile).setValue(kLastBookKey, path);
    setWindowTitle(tr("Brimwell Tank Book - %1").arg(path));
    fillSite();
    dayChosen();
    if (site_->rowCount() == 0) {
        addTank();
    } else {
        ui_->txtStick->setFocus();
    }
    return true;
}

void frmBook::chooseBook() {
    const QString path = host_.chooseFile(this, tr("Tank books|*.sqlite"));
    if (path.isEmpty()) {
        return;
    }
    // Only a look at the name: the store alone opens a book's files.
    if (!QFileInfo::exists(path) &&
        !host_.askYesNo(this, tr("There is no book at %1. Make a new book there?").arg(path))) {
        return;
    }
    openBook(path);
}

void frmBook::addTank() {
    if (session_ && openTankEditor()) {
        tankEditor_->show();
    }
}

void frmBook::editTank() {
    if (!session_ || tank_.empty()) {
        return;
    }
    const auto view = session_->tank(tank_);
    if (!view) {
        host_.showMessage(this, fromStd(view.error()));
        return;
    }
    if (openTankEditor()) {
        tankEditor_->edit((*view)->settings);
        tankEditor_->show();
    }
}

// A new editor; false, with the open one brought to the front, while a tank is being entered,
// so that what was typed there is not replaced.
bool frmBook::openTankEditor() {
    // A closed editor is on its way out.
    if (tankEditor_ && tankEditor_->isVisible()) {
        tankEditor_->raise();
        tankEditor_->activateWindow();
        statusBar()->showMessage(tr("Finish or cancel the tank being entered first"));
        return false;
    }
    tankEditor_ = new dlgTank(host_, this);
    connect(tankEditor_, &dlgTank::entered, this, &frmBook::tankEntered);
    connect(tankEditor_, &QDialog::finished, tankEditor_, &QObject::deleteLater);
    return true;
}

void frmBook::tankEntered() {
    const book::TankSettings tank = tankEditor_->tank();
    const std::string edited = tankEditor_->editedName();
    Expected<void, std::string> done;
    if (edited.empty()) {
        done = session_->addTank(tank);
    } else if (const auto before = session_->tank(edited); !before) {
        done = Unexpected(before.error());
    } else if (!changeAgreed((*before)->settings, tank)) {
        return;
    } else {
        done = session_->updateTank(edited, tank);
    }
    if (!done) {
        host_.showMessage(tankEditor_, fromStd(done.error()));
        return;
    }
    tankEditor_->accept();
    // The shown tank renamed keeps the day typed for it; a tank added is chosen, as a user would.
    if (!edited.empty() && edited == tank_) {
        tank_ = tank.name;
    }
    fillSite(tank.name);
    dayChosen();
    // What the shown day's figures are worked out from may have changed.
    entryEdited();
    showMonth();
    ui_->txtStick->setFocus();
}

// A change to what the recorded days' figures are worked out from is asked for first.
bool frmBook::changeAgreed(const book::TankSettings& before, const book::TankSettings& after) {
    const std::size_t days = session_->dayCount(before.name);
    if (!book::reworksDays(before, after) || days == 0) {
        return true;
    }
    const QString recorded = days == 1 ? tr("1 recorded day") : tr("%1 recorded days").arg(days);
    return host_.askYesNo(tankEditor_,
                          tr("%1 has %2. Their volumes and over/short will be worked out "
                             "again from the changed tank; the sticks stay as recorded. "
                             "Change the tank?")
                              .arg(fromStd(before.name), recorded));
}

// The site's rows anew, with `select` chosen, else the tank chosen now; the form stays as it is.
void frmBook::fillSite(const std::optional<std::string>& select) {
    const auto names = session_->tankNames();
    if (!names) {
        host_.showMessage(this, fromStd(names.error()));
        return;
    }
    const QModelIndex current = ui_->tblSite->currentIndex();
    const std::string keep =
        select.value_or(current.isValid() ? site_->rowAt(current.row()).name : tank_);
    std::vector<TankSummary> tanks;
    int chosen = 0;
    for (const std::string& name : *names) {
        if (name == keep) {
            chosen = static_cast<int>(tanks.size());
        }
        tanks.push_back(session_->summary(name));
    }
    choosing_ = true;
    site_->setRows(std::move(tanks));
    if (site_->rowCount() > 0) {
        ui_->tblSite->setCurrentIndex(site_->index(chosen, SiteModel::Tank));
    }
    choosing_ = false;
}

// The tank or the date chosen: the form moves to that day once the values typed for the day it
// shows are saved or given up; kept, they keep their tank and date chosen.
void frmBook::dayChosen() {
    if (choosing_ || !session_) {
        return;
    }
    const QModelIndex current = ui_->tblSite->currentIndex();
    ui_->tabsTank->setEnabled(current.isValid());
    ui_->actEditTank->setEnabled(current.isValid());
    if (!current.isValid()) {
        return;
    }
    const std::string tank = site_->rowAt(current.row()).name;
    const QDate date = ui_->dateDay->date();
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
    showDay();
}

void frmBook::showDay() {
    fillDay(session_->recordedDay(tank_, date_.toString(Qt::ISODate).toStdString()));
    showMonth();
}

// Chooses the shown day's tank and date again.
void frmBook::putBackDay() {
    choosing_ = true;
    ui_->dateDay->setDate(date_);
    for (int row = 0; row < site_->rowCount(); ++row) {
        if (site_->rowAt(row).name == tank_) {
            ui_->tblSite->setCurrentIndex(site_->index(row, SiteModel::Tank));
        }
    }
    choosing_ = false;
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

void frmBook::closeEvent(QCloseEvent* event) {
    if (leaveDay()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void frmBook::showMonth() {
    if (tank_.empty()) {
        return;
    }
    const std::string month = date_.toString(QStringLiteral("yyyy-MM")).toStdString();
    const auto view = session_->tank(tank_);
    auto shown = session_->month(tank_, month);
    ui_->lblMonth->setText(tr("%1, %2").arg(fromStd(tank_), fromStd(month)));
    if (!view || !shown) {
        shownMonth_.reset();
        month_->clear();
        ui_->plotOverShort->setMonth({}, {});
        ui_->lblVerdicts->setText(fromStd(view ? shown.error() : view.error()));
        ui_->lblShortDeliveries->clear();
        return;
    }
    shownMonth_ = *std::move(shown);
    const book::MonthReport& report = shownMonth_->report;
    const book::BookTank& tank = (*view)->tank;
    month_->setMonth(*shownMonth_, fromStd(std::string(unitWord(tank.lengthUnit))));
    ui_->plotOverShort->setMonth(report, (*view)->settings.rules);
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

void frmBook::exportMonth() {
    if (!shownMonth_ || tank_.empty()) {
        return;
    }
    const QString month = date_.toString(QStringLiteral("yyyy-MM"));
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
    if (isBookFile(path, session_->path())) {
        host_.showMessage(
            this, tr("%1 is the book itself. Export the month to a file of its own.").arg(path));
        return;
    }
    // The dialog asked about the name it gave; the window asks about the name it made of it.
    if (path != chosen && QFileInfo::exists(path) &&
        !host_.askYesNo(this, tr("%1 already exists. Replace it?").arg(path))) {
        return;
    }
    const auto view = session_->tank(tank_);
    if (!view) {
        host_.showMessage(this, fromStd(view.error()));
        return;
    }
    const book::BookTank& tank = (*view)->tank;
    const book::ReportHeading heading{tank_,
                                (*view)->settings.product.name,
                                month.toStdString(),
                                std::string(unitWord(tank.volumeUnit)),
                                std::string(unitWord(tank.lengthUnit)),
                                (*view)->settings.product.celsius ? "C" : "F"};
    QSaveFile file(path);
    const std::string csv = monthReport(shownMonth_->report, heading, book::ReportFormat::Csv);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(csv.data(), static_cast<qint64>(csv.size())) !=
            static_cast<qint64>(csv.size()) ||
        !file.commit()) {
        host_.showMessage(
            this, tr("The month could not be written to %1: %2").arg(path, file.errorString()));
        return;
    }
    statusBar()->showMessage(tr("Exported to %1").arg(path));
}

}  // namespace brimwell
