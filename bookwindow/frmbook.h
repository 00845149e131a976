#pragma once

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "book/dayimport.h"
#include "bookwindow/booksession.h"

namespace Ui {
class frmBook;
}

class QFile;
class QLineEdit;

namespace brimwell {

class Host;
class HistoryModel;
class MonthModel;
class SiteModel;
class SiteOrder;
class dlgHelp;
class dlgSite;
class dlgTank;
struct TankUnits;

// The tank book's window: the site's tanks with their last readings, the day's entry for the
// chosen tank with its figures as it is typed, the month with its plot and verdicts, and the
// tank's corrections.
class frmBook : public QMainWindow {
    Q_OBJECT

public:
    explicit frmBook(Host& host, QWidget* parent = nullptr);
    ~frmBook() override;

    // Opens the book (created when there is no file) and fills the site; an empty book asks
    // for its first tank. False when values typed for the open book were kept at the user's
    // word, or, with the reason told, when it cannot be opened.
    bool openBook(const QString& path);
    // Opens the book once the window is on screen, so that the window appears first.
    void openBookWhenShown(const QString& path);
    // The book the user had open last, or the command line's default book.
    static QString lastBook();

    dlgTank* tankEditor() const;
    dlgHelp* helpWindow() const;
    dlgSite* siteEditor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpSite();
    void setUpMonthAndHistory();
    void setUpDay();
    void connectActions();
    void beginImport(const QString& name, qint64 size);
    void endImport();
    bool readImport(QFile& file, book::DayImport& import, const book::ImportTankOf& tankOf,
                    const QString& name);
    void writeImport(const book::DayImport& import, const book::ImportTankOf& tankOf,
                     const QString& name);
    void setUpDayFields();
    void chooseBook();
    void addTank();
    void editTank();
    void removeTank();
    void editSite();
    void siteEntered();
    bool openTankEditor();
    void tankEntered();
    bool changeAgreed(const book::TankSettings& before, const book::TankSettings& after);
    void fillSite(const std::optional<std::string>& select = {});
    const TankSummary* chosenTank() const;
    void chooseTank(const std::string& name);
    void dayChosen();
    void showDay();
    void putBackDay();
    void stepDay(int days);
    void markRecordedDays();
    bool unsaved() const;
    bool leaveDay();
    bool saveDay();
    QStringList formTexts() const;
    void entryEdited();
    void save();
    void showUnits();
    void showMonth();
    void stepMonth(int months);
    void openMonthDay(const QModelIndex& index);
    void showHistory();
    void exportMonth();
    void writeExport(const QStringList& paths, const std::string& month);
    // The month shown as printed pages, of the tank or of the whole site (frmbookprint.cpp).
    std::optional<bookreport::Document> monthPages(bool site);
    void printMonth(bool site);
    void saveMonthPdf(bool site);
    void previewMonth(bool site);
    void importDays();
    void showHelp();
    DayEntry readEntry() const;
    void markProblems(const DayEntry& entry, bool withMissing);
    void showFigures(const DayEntry& entry);
    void fillDay(const book::MonthRecords& records);
    void showCarried();
    void deliveryChosen();
    void withdrawDelivery();
    QLineEdit* field(DayField field) const;
    const std::string& tankName() const { return tank_; }
    TankUnits units() const;
    StickForm stickForm(const std::string& tank) const;
    void setStickForm(const std::string& tank, StickForm form);

    std::unique_ptr<Ui::frmBook> ui_;
    Host& host_;
    std::unique_ptr<BookSession> session_;
    SiteModel* site_;
    SiteOrder* siteOrder_;
    MonthModel* month_;
    HistoryModel* history_;
    // Empty themselves when they close and delete themselves, also while this window goes.
    QPointer<dlgTank> tankEditor_;
    QPointer<dlgHelp> help_;
    QPointer<dlgSite> siteEditor_;
    // The day the form shows: its tank and date, as recorded when it was filled, and the form's
    // texts then. The site's choice and the date box move first, the form once it may.
    std::string tank_;
    QDate date_;
    std::optional<book::Day> recorded_;
    QStringList filled_;
    // The meter's opening total carried from the last day before, as the form shows it.
    QString carried_;
    QString carriedFrom_;  // the date of the day it was carried from
    // The initials saved last in this window, which a day not yet recorded starts with.
    QString lastInitials_;
    bool choosing_ = false;  // while the window itself chooses the tank or the date
    std::optional<std::pair<std::string, QDate>> refused_;
    QDate monthShown_;  // the month tab's month, its first day
    std::optional<MonthView> shownMonth_;
    std::vector<book::Delivery> recordedDeliveries_;  // the shown day's
    bool filling_ = false;
    bool importing_ = false;
    bool importCancelled_ = false;
    std::optional<QString> pendingBook_;
};

}  // namespace brimwell
