// A seeded monkey over the tank book's window: a fresh book with two tanks added by brimwell-book,
// then thousands of random user actions on the offscreen platform (days typed and saved, tanks
// and dates chosen, the Book menu, deliveries chosen and withdrawn), every dialog answered at
// random by a scripted host, while brimwell-book now and then records days of its own in the same
// book. The book is a legal record, so the monkey keeps what the window said it saved (as the
// book then reports it) and what the command line recorded, and checks with brimwell-book's
// export that the book holds exactly those days. After each action it also checks that no text
// shows NaN or infinity, that no modal dialog is left open and that the window still has the book.
//
// Usage: brimwell_bookmonkey SEED COUNT [comma] [verbose]
// "comma" types in a notation with a decimal comma. The same seed replays the same actions; a
// fault prints the tail of the action log.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>
#include <set>

#include "bookwindow/booksession.h"
#include "bookwindow/dlgtank.h"
#include "bookwindow/frmbook.h"
#include "host/usernumberformat.h"
#include "tests/monkey/monkeykit.h"
#include "tests/support/scriptedhost.h"
#include "tests/support/windowtest.h"

using namespace brimwell;
using namespace brimwell::monkey;

namespace {

// The window's days are the odd days of this month (and whatever days it moves to itself);
// brimwell-book's are even days of it that the window has never shown.
const QDate kBaseMonth(2026, 3, 1);
const QStringList kTanks{"T1", "T2"};
const char* const kDayFields[] = {"txtStick", "txtWater",     "txtTemperature", "txtPumped",
                                  "txtMeterOpen", "txtMeterClose"};
const char* const kDeliveryFields[] = {"txtBill", "txtBillTemperature", "txtBefore", "txtAfter",
                                       "txtPumpedDuring"};
const QRegularExpression kNotANumberText("(?<![a-z])(nan|inf)", QRegularExpression::CaseInsensitiveOption);

struct Command {
    int status = -1;
    QString out;
};

Command runBook(const QString& book, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(BRIMWELL_BOOK), QStringList{"--book", book} + args);
    if (!process.waitForFinished(60000)) {
        return {-1, "did not finish"};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

// A reading as the book's export writes it: the empty text for none.
QString csvValue(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 17) : QString();
}

QString readings(const book::Day& day) {
    return QString("stick %1, water %2, temperature %3, pumped %4, meters %5 to %6")
        .arg(csvValue(day.closingLevel), csvValue(day.waterLevel), csvValue(day.temperature), csvValue(day.pumped),
             csvValue(day.meterOpen), csvValue(day.meterClose));
}

bool sameValue(const QString& exported, const QString& expected) {
    if (exported.isEmpty() || expected.isEmpty()) {
        return exported.isEmpty() == expected.isEmpty();
    }
    const double a = exported.toDouble();
    const double b = expected.toDouble();
    return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(b));
}

// Answers every dialog at random; the book's own file or nothing for Open, a file in the folder
// for an export.
class BookHost : public testing::ScriptedHost {
public:
    BookHost(Random& rng_, QString folder_, QString book_)
        : rng(rng_), folder(std::move(folder_)), book(std::move(book_)) {}

    void showMessage(QWidget* parent, const QString& text) override {
        note("  message: " + text);
        ScriptedHost::showMessage(parent, text);
    }
    bool askYesNo(QWidget* parent, const QString& text) override {
        if (yesNoAnswers.isEmpty()) {
            // A new book elsewhere would leave the book under test: that question is declined.
            yesNoAnswers << (!text.startsWith("There is no book") && rng.chance(60));
        }
        note(QString("  question answered %1: %2").arg(yesNoAnswers.first() ? "Yes" : "No", text));
        return ScriptedHost::askYesNo(parent, text);
    }
    SaveChoice askSaveDiscardCancel(QWidget* parent, const QString& text) override {
        if (saveAnswers.isEmpty()) {
            saveAnswers << static_cast<SaveChoice>(rng.weighted({45, 35, 20}));
        }
        const char* names[] = {"Save", "Discard", "Cancel"};
        note(QString("  answered %1: %2").arg(names[static_cast<int>(saveAnswers.first())], text));
        return ScriptedHost::askSaveDiscardCancel(parent, text);
    }
    QString promptText(QWidget* parent, const QString& caption, const QString& label) override {
        promptAnswers << QString();
        note("  prompt cancelled: " + label);
        return ScriptedHost::promptText(parent, caption, label);
    }
    QString chooseFile(QWidget* parent, const QString& filter) override {
        const QString paths[] = {book, {}, folder + "/notes.txt", folder + "/other.sqlite"};
        fileAnswers = {paths[rng.weighted({55, 25, 10, 10})]};
        note("  file dialog answered " + quoted(fileAnswers.first()));
        return ScriptedHost::chooseFile(parent, filter);
    }
    QString chooseSaveFile(QWidget* parent, const QString& filter, const QString& suggested) override {
        const QString paths[] = {{}, folder + "/month.csv", folder + "/month", book,
                                 folder + "/missing/month.csv", folder + "/notes.txt"};
        fileAnswers = {paths[rng.weighted({25, 35, 15, 10, 10, 5})], {}};
        note("  save-file dialog answered " + quoted(fileAnswers.first()));
        return ScriptedHost::chooseSaveFile(parent, filter, suggested);
    }
    std::unique_ptr<QPrinter> defaultPrinter(const QString&) override { return nullptr; }

    void startAction() {
        messages.clear();
        questions.clear();
        prompts.clear();
        promptCaptions.clear();
        fileFilters.clear();
        suggestedFiles.clear();
        dialogs.clear();
        yesNoAnswers.clear();
        saveAnswers.clear();
        fileAnswers.clear();
        promptAnswers.clear();
    }

private:
    Random& rng;
    QString folder;
    QString book;
};

class BookMonkey : public QObject {
public:
    BookMonkey(quint64 seed, quint64 count_, QString folder_)
        : rng(seed), count(count_), folder(std::move(folder_)), book(folder + "/book.sqlite"),
          host(rng, folder, book) {
        QFile notes(folder + "/notes.txt");
        if (notes.open(QIODevice::WriteOnly)) {
            notes.write("not a book\n");
        }
        for (const QString& tank : kTanks) {
            const Command added = runBook(book, {"tank", "add", tank, "--diameter", "96", "--length", "324",
                                                 "--opening", "48"});
            if (added.status != 0) {
                fail("brimwell-book could not add " + tank + ": " + added.out);
            }
        }
        window = std::make_unique<frmBook>(host);
        window->show();
        connect(find<QDateEdit>("dateDay"), &QDateEdit::dateChanged, this,
                [this](QDate date) { windowDates.insert(date); });
        // The form still holds the day it saved when the window says so.
        connect(window->statusBar(), &QStatusBar::messageChanged, this, &BookMonkey::formAtSave);
        find<QDateEdit>("dateDay")->setDate(kBaseMonth);
        windowDates.insert(kBaseMonth);
        if (!window->openBook(book)) {
            fail("the window could not open the book");
        }
        auto reading = BookSession::open(book);
        if (!reading) {
            fail("the book could not be read: " + QString::fromStdString(reading.error()));
        }
        reader = *std::move(reading);
        clock.start();
    }

    void step() {
        if (actionsDone >= count) {
            finish();
        }
        host.startAction();
        window->statusBar()->clearMessage();
        const QString label = window->findChild<QLabel*>("lblMonth")->text();
        const QString tank = label.left(label.lastIndexOf(", "));
        try {
            act();
        } catch (const std::exception& e) {
            fail(QString("an exception escaped: ") + e.what());
        }
        ++actionsDone;
        QMetaObject::invokeMethod(this, [this, tank] { check(tank); }, Qt::QueuedConnection);
    }

private:
    template <typename T = QLineEdit>
    T* find(const char* name, QWidget* in = nullptr) {
        auto* widget = (in ? in : window.get())->findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            fail(QString("no %1 in the window").arg(name));
        }
        return widget;
    }

    [[noreturn]] void fail(const QString& problem) {
        std::fprintf(stderr, "\nMONKEY FAULT: %s\n", qPrintable(problem));
        printTail();
        std::_Exit(1);
    }

    QString where() const { return QString("#%1 ").arg(actionsDone.load()); }

    // A value a person might type, in the user's notation: sticks, fractions, feet and inches,
    // and the slips and nonsense that reach a form.
    QString value() {
        const QString point = QLocale().decimalPoint();
        static const QStringList kTexts{"38", "40.5", "4'7-1/4\"", "5/8", "75 5/8", "36.75", "6'0-1/2\"",
                                        "", " ", "abc", "x1", "1e308", "99999999999", "-3", "-0.5", "0",
                                        "350", "260.5", "0.125", "96", "97", "1/0", "..", "nan", "inf",
                                        "12.5.5", "3'", "48\"", "20", "400"};
        QString text = rng.chance(60) ? rng.pick(kTexts)
                                      : QString::number(rng.below(rng.chance(80) ? 100 : 5000)) +
                                            (rng.chance(40) ? "." + QString::number(rng.below(1000)) : QString());
        text.replace(".", point);
        return text;
    }

    void typeInto(QLineEdit* box) {
        const QString text = value();
        const bool replace = rng.chance(80);
        note(where() + QString("type %1 %2 %3").arg(quoted(text), replace ? "over" : "after", box->objectName()));
        box->setFocus();
        if (replace) {
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
        } else {
            box->end(false);
        }
        for (const QChar c : text) {
            QTest::keyClick(box, c.toLatin1());
        }
        box->setProperty("monkeyTyped", box->text());
        if (box->window() != window.get()) {
            typedNames.insert(box->text().trimmed());
        }
    }

    void retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        for (const QChar c : text) {
            QTest::keyClick(box, c.toLatin1());
        }
        box->setProperty("monkeyTyped", box->text());
    }

    // A day as an operator reads it: a stick well inside the tank, what was pumped, now and then
    // the water and the temperature, and the delivery left empty; often saved with Enter.
    void typePlausibleDay() {
        const QString point = QLocale().decimalPoint();
        const int inches = 20 + rng.below(50);
        const int eighths = rng.below(8);
        const QString stick =
            rng.chance(30) ? QString("%1'%2-%3/8\"").arg(inches / 12).arg(inches % 12).arg(eighths | 1)
            : rng.chance(50) ? QString::number(inches) + point + QString::number(rng.below(100))
                             : QString::number(inches);
        const QString pumped = QString::number(rng.below(500)) + (rng.chance(30) ? point + "5" : QString());
        note(where() + QString("type a day: stick %1, pumped %2").arg(quoted(stick), quoted(pumped)));
        retype(find("txtStick"), stick);
        retype(find("txtPumped"), pumped);
        retype(find("txtWater"), rng.chance(20) ? "0" + point + QString::number(rng.below(10)) : QString());
        retype(find("txtTemperature"), rng.chance(20) ? QString::number(40 + rng.below(40)) : QString());
        retype(find("txtMeterOpen"), QString());
        retype(find("txtMeterClose"), QString());
        if (rng.chance(80)) {
            for (const char* name : kDeliveryFields) {
                retype(find(name), QString());
            }
        }
        if (rng.chance(60)) {
            note(where() + "Enter in txtStick");
            QTest::keyClick(find("txtStick"), Qt::Key_Return);
        }
    }

    void click(QAbstractButton* button) {
        note(where() + "click " + (button->objectName().isEmpty() ? button->text() : button->objectName()));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void act() {
        if (tankEditor && tankEditor->isVisible() && rng.chance(60)) {
            actInEditor();
            return;
        }
        auto* dateBox = find<QDateEdit>("dateDay");
        auto* deliveries = find<QComboBox>("cboDelivery");
        auto* withdraw = find<QPushButton>("btnWithdraw");
        switch (rng.weighted({35, 7, 7, 6, 9, 4, 2, 3, 2, 2, 4, 3, 3, 2, 5, 15})) {
        case 0:
            typeInto(find(rng.chance(80) ? rng.pick(std::vector<const char*>(std::begin(kDayFields), std::end(kDayFields)))
                                         : rng.pick(std::vector<const char*>(std::begin(kDeliveryFields),
                                                                             std::end(kDeliveryFields)))));
            break;
        case 1: {
            QLineEdit* box = find(rng.pick(std::vector<const char*>(std::begin(kDayFields), std::end(kDayFields))));
            note(where() + "Enter in " + box->objectName());
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            break;
        }
        case 2:
            click(find<QPushButton>("btnSave"));
            break;
        case 3: {
            auto* site = find<QTableView>("tblSite");
            const int rows = site->model()->rowCount();
            if (rows > 0) {
                const int row = rng.below(rows);
                note(where() + QString("click row %1 of tblSite").arg(row));
                const QRect place = site->visualRect(site->model()->index(row, 1));
                QTest::mouseClick(site->viewport(), Qt::LeftButton, {}, place.center());
            }
            break;
        }
        case 4: {
            // An odd day of the base month, now and then one a few days around it.
            const QDate date = rng.chance(85) ? kBaseMonth.addDays(2 * rng.below(16))
                                              : kBaseMonth.addDays(rng.below(20) - 10);
            note(where() + "date " + date.toString(Qt::ISODate));
            dateBox->setDate(date);
            break;
        }
        case 5: {
            const Qt::Key keys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_Down};
            const Qt::Key key = keys[rng.below(4)];
            note(where() + QString("key %1 in dateDay").arg(int(key), 0, 16));
            dateBox->setFocus();
            QTest::keyClick(dateBox, key);
            break;
        }
        case 6: {
            auto* tabs = find<QTabWidget>("tabsTank");
            const int index = rng.below(tabs->count());
            note(where() + QString("tab %1").arg(index));
            tabs->setCurrentIndex(index);
            break;
        }
        case 7:
            trigger("actOpen");
            break;
        case 8:
            trigger("actAddTank");
            break;
        case 9:
            trigger("actEditTank");
            break;
        case 10:
            if (rng.chance(50)) {
                trigger("actExport");
            } else {
                click(find<QPushButton>("btnExport"));
            }
            break;
        case 11:
            if (withdraw->isEnabled()) {
                click(withdraw);
            }
            break;
        case 12:
            if (deliveries->isEnabled() && deliveries->count() > 0) {
                const int index = rng.below(deliveries->count());
                note(where() + QString("choose %1 in cboDelivery").arg(quoted(deliveries->itemText(index))));
                deliveries->setCurrentIndex(index);
                Q_EMIT deliveries->activated(index);
            }
            break;
        case 13:
            click(find<QCheckBox>("chkBillNet"));
            break;
        case 14:
            recordFromCommandLine();
            break;
        case 15:
            typePlausibleDay();
            break;
        }
        if (rng.chance(5)) {
            recordFromCommandLine();
        }
    }

    void trigger(const char* name) {
        auto* action = window->findChild<QAction*>(name);
        note(where() + QString("menu %1%2").arg(name, action->isEnabled() ? "" : " (disabled)"));
        if (action->isEnabled()) {
            action->trigger();
        }
        if (window->tankEditor()) {
            tankEditor = window->tankEditor();
        }
    }

    // The tank editor open beside the window: a field typed into, accepted or cancelled. The
    // name stays as it is, so the tanks keep the names the book's days are kept under.
    void actInEditor() {
        QList<QLineEdit*> boxes;
        for (QLineEdit* box : tankEditor->findChildren<QLineEdit*>()) {
            if (box->isVisible() && box->isEnabled() && !box->isReadOnly() && box->objectName() != "txtName") {
                boxes << box;
            }
        }
        auto* buttons = find<QDialogButtonBox>("buttonBox", tankEditor);
        const int chosen = rng.weighted({boxes.isEmpty() ? 0 : 60, 20, 20});
        if (chosen == 0) {
            note(where() + "in dlgTank:");
            typeInto(rng.pick(boxes));
        } else if (chosen == 1) {
            if (find<QLineEdit>("txtName", tankEditor)->text().isEmpty()) {
                note(where() + "in dlgTank: name it");
                for (const QChar c : QString("W%1").arg(rng.below(4))) {
                    QTest::keyClick(find<QLineEdit>("txtName", tankEditor), c.toLatin1());
                }
            }
            click(buttons->button(QDialogButtonBox::Ok));
        } else {
            click(buttons->button(QDialogButtonBox::Cancel));
        }
    }

    // brimwell-book records a day the window has never shown, as another program at the site would.
    void recordFromCommandLine() {
        QList<QDate> free;
        for (QDate date = kBaseMonth.addDays(1); date.month() == kBaseMonth.month(); date = date.addDays(2)) {
            if (!windowDates.contains(date)) {
                free << date;
            }
        }
        if (free.isEmpty()) {
            return;
        }
        const QString tank = rng.pick(kTanks);
        const QString date = rng.pick(free).toString(Qt::ISODate);
        const QString stick = QString::number(30 + rng.below(40)) + (rng.chance(50) ? ".5" : "");
        const QString pumped = QString::number(rng.below(600));
        const Command run = runBook(book, {"day", tank, date, "--stick", stick, "--pumped", pumped});
        note(where() + QString("brimwell-book day %1 %2 --stick %3 --pumped %4: %5 %6")
                           .arg(tank, date, stick, pumped)
                           .arg(run.status)
                           .arg(run.out.trimmed().left(200)));
        if (run.status == 0) {
            expected[{tank, date}] = {stick, {}, {}, pumped, {}, {}};
            ++commandDays;
        }
    }

    void check(const QString& tankBefore) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (QWidget* modal = QApplication::activeModalWidget()) {
            fail("a modal dialog was left open: " + modal->objectName());
        }
        if (!window->isVisible() || !window->windowTitle().contains(book)) {
            fail("the window lost the book: " + quoted(window->windowTitle()));
        }
        checkTexts(window.get());
        checkBookClosed();
        if (tankEditor) {
            checkTexts(tankEditor);
        }
        const QString message = window->statusBar()->currentMessage();
        if (message.startsWith("Recorded ") || message.startsWith("Corrected ")) {
            const QString date = message.section(' ', 1);
            const auto day = reader->recordedDay(tankBefore.toStdString(), date.toStdString());
            note(QString("  %1 (%2)").arg(message, tankBefore));
            if (!day) {
                fail(QString("the window said %1 of %2, but the book has no such day").arg(message, tankBefore));
            }
            if (!savedForm || !day->sameReadings(*savedForm)) {
                fail(QString("the window said %1 of %2, but the book holds %3 where the form read %4")
                         .arg(message, tankBefore, readings(*day), savedForm ? readings(*savedForm) : "nothing"));
            }
            savedForm.reset();
            expected[{tankBefore, date}] = {csvValue(day->closingLevel), csvValue(day->waterLevel),
                                            csvValue(day->temperature),  csvValue(day->pumped),
                                            csvValue(day->meterOpen),    csvValue(day->meterClose)};
            ++windowSaves;
        }
        if (actionsDone % 50 == 0) {
            checkBook();
        }
        if (actionsDone % 5000 == 0) {
            std::printf("%llu actions, %.1f actions/s, %d saves by the window\n",
                        static_cast<unsigned long long>(actionsDone.load()),
                        static_cast<double>(actionsDone.load()) * 1000.0 / static_cast<double>(std::max<qint64>(1, clock.elapsed())),
                        windowSaves);
            std::fflush(stdout);
        }
        QMetaObject::invokeMethod(this, &BookMonkey::step, Qt::QueuedConnection);
    }

    // Between actions the book is SQLite's file alone, to be opened for each change or report:
    // nothing in the process holds it open.
    void checkBookClosed() {
        const QDir descriptors("/proc/self/fd");
        for (const QString& entry : descriptors.entryList(QDir::Files | QDir::System)) {
            const QString target = QFile::symLinkTarget(descriptors.filePath(entry));
            if (target.startsWith(book)) {
                fail("the book's file is held open between actions: " + target);
            }
        }
    }

    void formAtSave(const QString& message) {
        if (!message.startsWith("Recorded ") && !message.startsWith("Corrected ")) {
            return;
        }
        const QString label = window->findChild<QLabel*>("lblMonth")->text();
        const std::string tank = label.left(label.lastIndexOf(", ")).toStdString();
        // The tank as the book has it now: the window may have changed it since it was last read.
        auto fresh = BookSession::open(book);
        if (!fresh) {
            fail("the book could not be read: " + QString::fromStdString(fresh.error()));
        }
        const auto view = (*fresh)->tank(tank);
        if (!view) {
            fail("the tank saved could not be read: " + QString::fromStdString(view.error()));
        }
        DayTexts texts;
        texts.date = message.section(' ', 1).toStdString();
        texts.stick = find("txtStick")->text().toStdString();
        texts.water = find("txtWater")->text().toStdString();
        texts.temperature = find("txtTemperature")->text().toStdString();
        texts.pumped = find("txtPumped")->text().toStdString();
        texts.meterOpen = find("txtMeterOpen")->text().toStdString();
        texts.meterClose = find("txtMeterClose")->text().toStdString();
        savedForm = readDayEntry(texts, (*view)->tank.lengthUnit, (*view)->tank.top, userNumberFormat()).day;
    }

    void checkTexts(QWidget* in) {
        // A problem may quote what the user typed ("'nan' is not a number"); the rest may not.
        QStringList typed;
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            typed << box->property("monkeyTyped").toString();
        }
        if (tankEditor) {
            for (QLineEdit* box : tankEditor->findChildren<QLineEdit*>()) {
                typed << box->property("monkeyTyped").toString();
            }
        }
        static const QRegularExpression quotedEntry("'[^\n]*' is not");
        auto bad = [&typed](QString text) {
            for (const QString& quote : typed) {
                if (!quote.isEmpty()) {
                    text.replace("'" + quote + "'", "");
                }
            }
            return kNotANumberText.match(text.remove(quotedEntry)).hasMatch();
        };
        for (QLabel* label : in->findChildren<QLabel*>()) {
            if (bad(label->text())) {
                fail(QString("%1 shows %2").arg(label->objectName(), quoted(label->text())));
            }
        }
        for (QLineEdit* box : in->findChildren<QLineEdit*>()) {
            if (bad(box->text()) && box->text() != box->property("monkeyTyped").toString() &&
                !typedNames.contains(box->text().trimmed())) {
                fail(QString("%1 shows %2, which the user did not type").arg(box->objectName(), quoted(box->text())));
            }
        }
        for (QTableView* table : in->findChildren<QTableView*>()) {
            const QAbstractItemModel* model = table->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                for (int column = 0; column < model->columnCount(); ++column) {
                    const QString text = model->index(row, column).data().toString();
                    if (bad(text) && !typedNames.contains(text)) {  // a product named as typed
                        fail(QString("%1 row %2 column %3 shows %4").arg(table->objectName()).arg(row).arg(column).arg(quoted(text)));
                    }
                }
            }
        }
    }

    // The book holds exactly the days saved: the window's as the book reported them on saving,
    // brimwell-book's as it was told them, and no other.
    void checkBook() {
        const auto names = reader->tankNames();
        if (!names) {
            fail("the book's tanks could not be read: " + QString::fromStdString(names.error()));
        }
        std::set<std::pair<QString, QString>> seen;
        for (const std::string& name : *names) {
            const QString tank = QString::fromStdString(name);
            const Command exported = runBook(book, {"export", tank});
            if (exported.status != 0) {
                fail("brimwell-book could not export " + tank + ": " + exported.out);
            }
            for (const QString& line : exported.out.split('\n', Qt::SkipEmptyParts)) {
                const QStringList cells = line.split(',');
                if (cells.size() != 8 || cells[0] == "tank") {
                    continue;
                }
                const QString date = cells[1];
                seen.insert({tank, date});
                const auto wanted = expected.find({tank, date});
                if (wanted == expected.end()) {
                    fail("the book holds a day nobody saved: " + line);
                }
                for (int i = 0; i < 6; ++i) {
                    if (!sameValue(cells[2 + i], wanted->second[i])) {
                        fail(QString("the book holds %1, but %2 was saved as %3")
                                 .arg(line, QStringList{"stick", "water", "temperature", "pumped", "meter_open",
                                                        "meter_close"}[i],
                                      quoted(wanted->second[i])));
                    }
                }
            }
        }
        for (const auto& [day, values] : expected) {
            if (!seen.count(day)) {
                fail(QString("the book lost %1 of %2, saved with stick %3").arg(day.second, day.first, values[0]));
            }
        }
        note(QString("  the book holds the %1 days saved").arg(expected.size()));
    }

    [[noreturn]] void finish() {
        if (tankEditor) {
            tankEditor->reject();
        }
        checkBook();
        const double seconds = std::max(0.001, static_cast<double>(clock.elapsed()) / 1000.0);
        std::printf("book monkey done: %llu actions in %.0f s (%.1f actions/s); %d saves by the window, %d days "
                    "by brimwell-book, %zu days in the book\n",
                    static_cast<unsigned long long>(actionsDone.load()), seconds, static_cast<double>(actionsDone.load()) / seconds, windowSaves,
                    commandDays, expected.size());
        std::fflush(stdout);
        std::_Exit(0);
    }

    Random rng;
    quint64 count;
    QString folder;
    QString book;
    BookHost host;
    std::unique_ptr<frmBook> window;
    std::unique_ptr<BookSession> reader;  // the monkey's own reading of the book, through SQLite
    QPointer<dlgTank> tankEditor;
    std::optional<book::Day> savedForm;  // the readings the form held when it was saved
    QSet<QString> typedNames;  // texts typed into the tank editor, which may name a product
    QSet<QDate> windowDates;  // every date the window has shown
    // (tank, date) -> stick, water, temperature, pumped, meter_open, meter_close as saved.
    std::map<std::pair<QString, QString>, QStringList> expected;
    int windowSaves = 0;
    int commandDays = 0;
    QElapsedTimer clock;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SEED COUNT [comma] [verbose]\n", argv[0]);
        return 2;
    }
    runSeed = std::strtoull(argv[1], nullptr, 10);
    const quint64 count = std::strtoull(argv[2], nullptr, 10);
    bool comma = false;
    for (int i = 3; i < argc; ++i) {
        comma = comma || std::string(argv[i]) == "comma";
        verbose = verbose || std::string(argv[i]) == "verbose";
    }
    reproduceProgram = "brimwell_bookmonkey";
    reproduceOptions = comma ? " comma" : "";

    QTemporaryDir folder;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const testing::TemporaryHome home;
    const QLocale locale = comma ? testing::decimalCommaLocale() : QLocale(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(locale);
    std::printf("book monkey seed %llu, %llu actions, locale %s\n", static_cast<unsigned long long>(runSeed),
                static_cast<unsigned long long>(count), qPrintable(locale.name()));
    std::fflush(stdout);
    for (std::size_t i = 0; i < std::size(kCrashSignals); ++i) {
        previousHandlers[i] = std::signal(kCrashSignals[i], onCrash);
    }
    qInstallMessageHandler(onQtMessage);

    QApplication app(argc, argv);
    BookMonkey monkey(runSeed, count, folder.path());
    startHangWatch();
    QMetaObject::invokeMethod(&monkey, &BookMonkey::step, Qt::QueuedConnection);
    return QApplication::exec();
}
