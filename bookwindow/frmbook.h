#pragma once

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "bookwindow/booksession.h"

namespace Ui {
class frmBook;
}

class QLineEdit;

namespace brimwell {

class Host;
class MonthModel;
class SiteModel;
class dlgTank;

// The tank book's window: the site's tanks with their last readings, the day's entry for the
// chosen tank with its figures as it is typed, and the month with its plot and verdicts.
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseBook();
    void addTank();
    void editTank();
    bool openTankEditor();
    void tankEntered();
    bool changeAgreed(const book::TankSettings& before, const book::TankSettings& after);
    void fillSite(const std::optional<std::string>& select = {});
    void dayChosen();
    void showDay();
    void putBackDay();
    bool unsaved() const;
    bool leaveDay();
    bool saveDay();
    QStringList formTexts() const;
    void entryEdited();
    void save();
    void showMonth();
    void exportMonth();
    DayEntry readEntry() const;
    void markProblems(const DayEntry& entry, bool withMissing);
    void showFigures(const DayEntry& entry);
    void fillDay(const std::optional<book::Day>& day);
    void deliveryChosen();
    void withdrawDelivery();
    QLineEdit* field(DayField field) const;
    const std::string& tankName() const { return tank_; }

    std::unique_ptr<Ui::frmBook> ui_;
    Host& host_;
    std::unique_ptr<BookSession> session_;
    SiteModel* site_;
    MonthModel* month_;
    // Empties itself when the editor closes and deletes itself, also while this window goes.
    QPointer<dlgTank> tankEditor_;
    // The day the form shows: its tank and date, as recorded when it was filled, and the form's
    // texts then. The site's choice and the date box move first, the form once it may.
    std::string tank_;
    QDate date_;
    std::optional<book::Day> recorded_;
    QStringList filled_;
    bool choosing_ = false;  // while the window itself chooses the tank or the date
    std::optional<std::pair<std::string, QDate>> refused_;
    std::optional<MonthView> shownMonth_;
    std::vector<book::Delivery> recordedDeliveries_;  // the shown day's
    bool filling_ = false;
    std::optional<QString> pendingBook_;
};

}  // namespace brimwell
