#include "bookwindow/frmbook.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

#include "book/changes.h"
#include "book/defaultbook.h"
#include "bookwindow/bookmodels.h"
#include "bookwindow/dayedit.h"
#include "bookwindow/dlghelp.h"
#include "bookwindow/dlgtank.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/tankpicture.h"
#include "host/host.h"
#include "ui_frmBook.h"

namespace brimwell {
namespace {

const QString kLastBookKey = QStringLiteral("last");

// The window's own settings: ~/.config/Brimwell/book.conf.
const QString kSettingsFolder = QStringLiteral("Brimwell");
const QString kSettingsFile = QStringLiteral("book");

// A tank's stick form is the window's way of showing its sticks, kept by book and tank.
QString stickFormKey(const QString& book, const std::string& tank) {
    return QStringLiteral("sticks/") + QString::fromLatin1(QUrl::toPercentEncoding(book)) + '/' +
           QString::fromLatin1(QUrl::toPercentEncoding(fromStd(tank)));
}

}  // namespace

frmBook::frmBook(Host& host, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::frmBook>()),
      host_(host),
      site_(new SiteModel(this)),
      siteOrder_(new SiteOrder(this)),
      month_(new MonthModel(this)),
      history_(new HistoryModel(this)) {
    ui_->setupUi(this);
    setUpSite();
    setUpMonthAndHistory();
    setUpDay();
    connectActions();
    ui_->tabsTank->setEnabled(false);
}

frmBook::~frmBook() = default;

void frmBook::setUpSite() {
    siteOrder_->setSourceModel(site_);
    ui_->tblSite->setModel(siteOrder_);
    ui_->tblSite->sortByColumn(SiteModel::Tank, Qt::AscendingOrder);
    ui_->tblSite->setItemDelegateForColumn(SiteModel::Picture, new TankPictureDelegate(this));
    ui_->tblSite->verticalHeader()->setDefaultSectionSize(TankPictureDelegate::kRowHeight);
    ui_->tblSite->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->tblSite->horizontalHeader()->setStretchLastSection(true);
    // As large as the screen allows, up to what the site and the month can use; the site takes
    // the room the day's form leaves.
    constexpr QSize kMost(1400, 950);
    constexpr QSize kFrame(24, 64);
    resize(kMost.boundedTo(screen()->availableGeometry().size() - kFrame));
    ui_->splitSite->setStretchFactor(0, 1);
    ui_->splitSite->setStretchFactor(1, 0);
    ui_->splitSite->setSizes({height(), ui_->dayPane->sizeHint().height() +
                                            ui_->tabsTank->tabBar()->sizeHint().height() + 8});
}

void frmBook::setUpMonthAndHistory() {
    ui_->tblMonth->setModel(month_);
    ui_->tblMonth->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->tblMonth->horizontalHeader()->setStretchLastSection(true);
    ui_->tblMonth->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The month's columns before the plot, which takes what they leave.
    ui_->splitMonth->setStretchFactor(0, 5);
    ui_->splitMonth->setStretchFactor(1, 2);
    ui_->splitMonth->setSizes({5 * width(), 2 * width()});
    ui_->tblHistory->setModel(history_);
    ui_->tblHistory->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->tblHistory->horizontalHeader()->setStretchLastSection(true);
    ui_->tblHistory->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void frmBook::setUpDay() {
    ui_->dateDay->setDate(QDate::currentDate());
    setUpDayFields();
    // Queued, so that a tank clicked is asked about once the click is over: the table then
    // takes the shown tank chosen again whole, selection and all.
    connect(ui_->tblSite->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmBook::dayChosen, Qt::QueuedConnection);
    connect(ui_->dateDay, &QDateEdit::dateChanged, this, &frmBook::dayChosen);
    // The calendar is made as it first opens, which start-up need not wait for.
    connect(ui_->dateDay, &DayEdit::calendarOpened, this, [this] {
        connect(ui_->dateDay->openedCalendar(), &QCalendarWidget::currentPageChanged, this,
                &frmBook::markRecordedDays, Qt::UniqueConnection);
        markRecordedDays();
    });
    // Page Down steps to the next day anywhere in the day's form, as a page of the worksheet.
    // (Not a structured binding: clang's front end does not let a lambda capture one.)
    for (const auto& page : {std::pair{Qt::Key_PageDown, 1}, {Qt::Key_PageUp, -1}}) {
        auto* step = new QShortcut(QKeySequence(page.first), ui_->tabDay);
        step->setContext(Qt::WidgetWithChildrenShortcut);
        const int days = page.second;
        connect(step, &QShortcut::activated, this, [this, days] { stepDay(days); });
    }
    for (int i = 0; i <= static_cast<int>(DayField::PumpedDuring); ++i) {
        QLineEdit* box = field(static_cast<DayField>(i));
        connect(box, &QLineEdit::textChanged, this, &frmBook::entryEdited);
        connect(box, &QLineEdit::returnPressed, this, &frmBook::save);
    }
    connect(ui_->chkBillNet, &QCheckBox::toggled, this, &frmBook::entryEdited);
    connect(ui_->cboDelivery, &QComboBox::currentIndexChanged, this, &frmBook::deliveryChosen);
    connect(ui_->btnWithdraw, &QPushButton::clicked, this, &frmBook::withdrawDelivery);
    connect(ui_->btnSave, &QPushButton::clicked, this, &frmBook::save);
    connect(ui_->actSave, &QAction::triggered, this, &frmBook::save);
}

void frmBook::connectActions() {
    connect(ui_->btnPreviousMonth, &QPushButton::clicked, this, [this] { stepMonth(-1); });
    connect(ui_->btnNextMonth, &QPushButton::clicked, this, [this] { stepMonth(1); });
    connect(ui_->tblMonth, &QAbstractItemView::activated, this, &frmBook::openMonthDay);
    connect(ui_->tabsTank, &QTabWidget::currentChanged, this, &frmBook::showHistory);
    connect(ui_->btnExport, &QPushButton::clicked, this, &frmBook::exportMonth);
    connect(ui_->actExport, &QAction::triggered, this, &frmBook::exportMonth);
    connect(ui_->actImport, &QAction::triggered, this, &frmBook::importDays);
    connect(ui_->btnCancelImport, &QPushButton::clicked, this,
            [this] { importCancelled_ = true; });
    connect(ui_->actAddTank, &QAction::triggered, this, &frmBook::addTank);
    connect(ui_->actEditTank, &QAction::triggered, this, &frmBook::editTank);
    connect(ui_->actRemoveTank, &QAction::triggered, this, &frmBook::removeTank);
    connect(ui_->actSite, &QAction::triggered, this, &frmBook::editSite);
    connect(ui_->tblSite, &QAbstractItemView::doubleClicked, this, &frmBook::editTank);
    connect(ui_->actOpen, &QAction::triggered, this, &frmBook::chooseBook);
    connect(ui_->actHelp, &QAction::triggered, this, &frmBook::showHelp);
    connect(ui_->actExit, &QAction::triggered, this, &frmBook::close);
    connect(ui_->actPrint, &QAction::triggered, this, [this] { printMonth(false); });
    connect(ui_->actPrintSite, &QAction::triggered, this, [this] { printMonth(true); });
    connect(ui_->actSavePdf, &QAction::triggered, this, [this] { saveMonthPdf(false); });
    connect(ui_->actSaveSitePdf, &QAction::triggered, this, [this] { saveMonthPdf(true); });
    connect(ui_->actPreview, &QAction::triggered, this, [this] { previewMonth(false); });
    connect(ui_->actPreviewSite, &QAction::triggered, this, [this] { previewMonth(true); });
}

dlgTank* frmBook::tankEditor() const {
    return tankEditor_;
}

dlgHelp* frmBook::helpWindow() const {
    return help_;
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
    if (importing_ || !leaveDay()) {
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
    fillDay({});
    shownMonth_.reset();
    month_->clear();
    history_->setRows({});
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
    if (session_ && !importing_ && openTankEditor()) {
        tankEditor_->show();
    }
}

void frmBook::editTank() {
    if (!session_ || tank_.empty() || importing_) {
        return;
    }
    const auto view = session_->tank(tank_);
    if (!view) {
        host_.showMessage(this, fromStd(view.error()));
        return;
    }
    if (openTankEditor()) {
        tankEditor_->edit((*view)->settings, stickForm(tank_));
        tankEditor_->show();
    }
}

// A tank with nothing on record goes at the user's word; the book keeps one with a record, and
// the window says so without asking.
void frmBook::removeTank() {
    const TankSummary* chosen = chosenTank();
    if (!session_ || !chosen || importing_) {
        return;
    }
    const std::string name = chosen->name;
    const std::size_t days = session_->dayCount(name);
    if (days > 0) {
        QString recorded = days == 1 ? tr("1 recorded day") : tr("%1 recorded days").arg(days);
        if (chosen->lastDate) {
            recorded += tr(" (its last on %1)").arg(fromStd(*chosen->lastDate));
        }
        host_.showMessage(this, tr("%1 has %2. A tank with recorded days is kept in the book, "
                                   "with its records.")
                                    .arg(fromStd(name), recorded));
        return;
    }
    if (!host_.askYesNo(this, tr("%1 has no recorded days. Remove it from the book?")
                                  .arg(fromStd(name)))) {
        return;
    }
    // What was typed for the tank goes with it.
    if (auto done = session_->removeTank(name); !done) {
        host_.showMessage(this, fromStd(done.error()));
        return;
    }
    QSettings(kSettingsFolder, kSettingsFile).remove(stickFormKey(session_->path(), name));
    statusBar()->showMessage(tr("Removed %1").arg(fromStd(name)));
    if (name == tank_) {
        tank_.clear();
        fillDay({});
    }
    fillSite();
    dayChosen();
    if (site_->rowCount() == 0) {
        ui_->tabsTank->setEnabled(false);
        ui_->actEditTank->setEnabled(false);
        ui_->actRemoveTank->setEnabled(false);
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
    if (!edited.empty() && edited != tank.name) {
        setStickForm(edited, StickForm::Decimal);
    }
    setStickForm(tank.name, tankEditor_->stickForm());
    tankEditor_->accept();
    // The shown tank renamed keeps the day typed for it; a tank added is chosen, as a user would.
    if (!edited.empty() && edited == tank_) {
        tank_ = tank.name;
    }
    fillSite(tank.name);
    dayChosen();
    // What the shown day's figures are worked out from may have changed.
    showUnits();
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

StickForm frmBook::stickForm(const std::string& tank) const {
    if (!session_) {
        return StickForm::Decimal;
    }
    const QString form = QSettings(kSettingsFolder, kSettingsFile)
                             .value(stickFormKey(session_->path(), tank))
                             .toString();
    return form == QLatin1String("feet-inches") ? StickForm::FeetInches : StickForm::Decimal;
}

void frmBook::setStickForm(const std::string& tank, StickForm form) {
    QSettings settings(kSettingsFolder, kSettingsFile);
    const QString key = stickFormKey(session_->path(), tank);
    if (form == StickForm::FeetInches) {
        settings.setValue(key, QStringLiteral("feet-inches"));
    } else {
        settings.remove(key);
    }
}

// The site's rows anew, with `select` chosen, else the tank chosen now; the form stays as it is.
void frmBook::fillSite(const std::optional<std::string>& select) {
    const auto names = session_->tankNames();
    if (!names) {
        host_.showMessage(this, fromStd(names.error()));
        return;
    }
    const TankSummary* current = chosenTank();
    const std::string keep = select.value_or(current ? current->name : tank_);
    std::vector<TankSummary> tanks;
    for (const std::string& name : *names) {
        tanks.push_back(session_->summary(name));
        tanks.back().stickForm = stickForm(name);
    }
    choosing_ = true;
    site_->setTanks(std::move(tanks));
    chooseTank(keep);
    choosing_ = false;
}

const TankSummary* frmBook::chosenTank() const {
    const QModelIndex current = siteOrder_->mapToSource(ui_->tblSite->currentIndex());
    return current.isValid() ? &site_->rowAt(current.row()) : nullptr;
}

// Makes the tank of that name the site's current row, else its first row in the order shown.
void frmBook::chooseTank(const std::string& name) {
    if (site_->rowCount() == 0) {
        return;
    }
    QModelIndex chosen = siteOrder_->index(0, SiteModel::Tank);
    for (int row = 0; row < site_->rowCount(); ++row) {
        if (site_->rowAt(row).name == name) {
            chosen = siteOrder_->mapFromSource(site_->index(row, SiteModel::Tank));
        }
    }
    ui_->tblSite->setCurrentIndex(chosen);
}

void frmBook::closeEvent(QCloseEvent* event) {
    if (!importing_ && leaveDay()) {
        if (help_) {
            help_->close();
        }
        event->accept();
    } else {
        event->ignore();
    }
}

void frmBook::showHelp() {
    if (!help_) {
        help_ = new dlgHelp(this);
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

}  // namespace brimwell
