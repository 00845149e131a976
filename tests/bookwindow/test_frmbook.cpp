#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "bookwindow/bookmodels.h"
#include "bookwindow/booksession.h"
#include "bookwindow/dlgtank.h"
#include "bookwindow/frmbook.h"
#include "bookwindow/overshortplot.h"
#include "tests/support/scriptedhost.h"
#include "tests/support/windowtest.h"

using namespace brimwell;
using brimwell::testing::retype;

// The tank of every test: 96 in across, a 240 in shell, 2:1 ellipsoidal heads 24 in deep, in
// inches and gallons, its book opening at a stick of 40. The expected figures were worked
// independently from the closed forms of a horizontal cylinder's segment and an ellipsoid's
// cap (capacity 8522.94 gallons).
class BookWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString bookPath;
    std::unique_ptr<testing::ScriptedHost> host;
    std::unique_ptr<frmBook> window;

    template <typename T = QLineEdit>
    T* find(QWidget* in, const char* name) {
        auto* widget = in->findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            qFatal("no widget %s", name);
        }
        return widget;
    }
    QString shown(const char* name) { return find<QLabel>(window.get(), name)->text(); }
    QString cell(const char* table, int row, int column) {
        auto* view = find<QTableView>(window.get(), table);
        return view->model()->index(row, column).data().toString();
    }
    // The book ("book" or "other"), the tank selected, the date, the stick and the problems as
    // the window shows them.
    QString shownDay() {
        auto* site = find<QTableView>(window.get(), "tblSite");
        QStringList parts{window->isVisible() ? "" : "closed",
                          window->windowTitle().endsWith(bookPath) ? "book" : "other"};
        for (const QModelIndex& tank : site->selectionModel()->selectedRows(SiteModel::Tank)) {
            parts << tank.data().toString();
        }
        parts << find<QDateEdit>(window.get(), "dateDay")->date().toString(Qt::ISODate)
              << find(window.get(), "txtStick")->text() << shown("lblProblems");
        parts.removeAll(QString());
        return parts.join(' ');
    }
    void chooseDate(const QString& date) {
        find<QDateEdit>(window.get(), "dateDay")->setDate(QDate::fromString(date, Qt::ISODate));
    }
    // Types each value into its field, digit by digit, and presses Enter in the last.
    void enterDay(const QString& date, const QList<std::pair<const char*, QString>>& fields) {
        chooseDate(date);
        for (const auto& [name, text] : fields) {
            retype(find(window.get(), name), text);
        }
        QTest::keyClick(find(window.get(), fields.back().first), Qt::Key_Return);
    }
    void addFirstTank() { enterTank("Regular 1"); }
    void enterTank(const QString& name) {
        dlgTank* editor = window->tankEditor();
        QVERIFY(editor && editor->isVisible());
        retype(find(editor, "txtName"), name);
        testing::chooseEntry(find<QComboBox>(editor, "cboHeads"), "ellipsoidal");
        retype(find(editor, "txtHeadDepth"), "24");
        retype(find(editor, "txtDiameter"), "96");
        retype(find(editor, "txtLength"), "240");
        QCOMPARE(find<QLabel>(editor, "lblCapacity")->text(), QString("8522.94 gallons"));
        retype(find(editor, "txtOpening"), "40");
        retype(find(editor, "txtProduct"), "Regular");
        QTest::mouseClick(find<QDialogButtonBox>(editor, "buttonBox")->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }

    static void row(const char* name, const QString& date, const QString& typed,
                    const QString& action, const QString& answers, const QString& after,
                    const QString& recorded, const QStringList& dialogs) {
        QTest::newRow(name) << date << typed << action << answers << after << recorded << dialogs;
    }

private Q_SLOTS:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        host = std::make_unique<testing::ScriptedHost>();
        window = std::make_unique<frmBook>(*host);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        bookPath = folder.filePath(
            QString("%1-%2.sqlite").arg(QTest::currentTestFunction(), QTest::currentDataTag()));
        QVERIFY(window->openBook(bookPath));
        addFirstTank();
        QCOMPARE(cell("tblSite", 0, 1), QString("Regular 1"));
        QCOMPARE(frmBook::lastBook(), window->windowTitle().section(" - ", 1));
    }
    void cleanup() {
        window.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void a_month_entered_by_keyboard_is_reconciled_day_by_day() {
        enterDay("2026-03-01", {{"txtStick", "38"}, {"txtPumped", "350"}});
        QCOMPARE(window->statusBar()->currentMessage(), QString("Recorded 2026-03-01"));
        QLocale::setDefault(testing::decimalCommaLocale());
        enterDay("2026-03-02", {{"txtStick", "36,5"}, {"txtPumped", "260,5"}});
        QCOMPARE(cell("tblMonth", 1, 7), QString("92,38"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        enterDay("2026-03-03", {{"txtStick", "70"},
                                {"txtPumped", "400"},
                                {"txtBill", "4000"},
                                {"txtBefore", "36"},
                                {"txtAfter", "6'0-1/2\""}});
        chooseDate("2026-03-04");
        for (const auto& [name, text] : {std::pair{"txtStick", "75 5/8"},
                                         {"txtPumped", "300"},
                                         {"txtBill", "900"},
                                         {"txtBefore", "70"},
                                         {"txtAfter", "78"}}) {
            retype(find(window.get(), name), text);
        }
        QCOMPARE(shown("lblDeliveryCheck"),
                 QString("measured 757.44 against a bill of 900.00 gross: short 142.56"));
        QTest::mouseClick(find<QPushButton>(window.get(), "btnSave"), Qt::LeftButton);
        // The first day saved again unchanged, which corrects nothing.
        enterDay("2026-03-01", {{"txtPumped", "350"}});
        // The correction of the second day.
        enterDay("2026-03-02", {{"txtStick", "36.75"}});
        QCOMPARE(window->statusBar()->currentMessage(), QString("Corrected 2026-03-02"));
        chooseDate("2026-03-04");

        const QStringList overShort{"123.84", "120.30", "120.13", "-55.77"};
        const QStringList cumulative{"123.84", "244.14", "364.27", "308.50"};
        const QStringList book{"2993.08", "2856.42", "6576.72", "7296.85"};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(cell("tblMonth", row, 4), book[row]);
            QCOMPARE(cell("tblMonth", row, 7), overShort[row]);
            QCOMPARE(cell("tblMonth", row, 8), cumulative[row]);
        }
        QStringList headers;
        for (int column = 0; column < 11; ++column) {
            headers << window->findChild<QTableView*>("tblMonth")
                           ->model()
                           ->headerData(column, Qt::Horizontal)
                           .toString();
        }
        QCOMPARE(headers.join(", "), QString("Date, Opening, Delivered, Pumped, Book inventory, "
                                             "Stick (inches), Product volume, Over/short, "
                                             "Cumulative, Water cut (inches), Notes"));
        QCOMPARE(cell("tblMonth", 3, 5) + " gives " + cell("tblMonth", 3, 6),
                 "75.625 gives 7241.08");
        QCOMPARE(cell("tblMonth", 0, 10), QString());
        QCOMPARE(cell("tblMonth", 1, 10), QString("corrected"));
        QVERIFY(
            shown("lblShortDeliveries")
                .contains(
                    "2026-03-04: measured 757.44 against a bill of 900.00 gross: short 142.56"));
        QVERIFY(!shown("lblShortDeliveries").contains("2026-03-03"));
        QVERIFY(shown("lblVerdicts")
                    .startsWith(
                        "1% of flow-through + 130 gallons: FAILED; variance 308.50; limit 143.1"));
        QCOMPARE(cell("tblSite", 0, 10), QString("month failing"));
        // The last reading: its volume, the ullage, and the room below 90 % of the capacity.
        QCOMPARE(cell("tblSite", 0, 5), QString("7241.08"));
        QCOMPARE(cell("tblSite", 0, 8), QString("1281.86"));
        QCOMPARE(cell("tblSite", 0, 9), QString("429.56"));

        const auto& points = find<OverShortPlot>(window.get(), "plotOverShort")->points();
        QCOMPARE(points.size(), std::size_t(4));
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(points[row].x(), double(cell("tblMonth", row, 0).right(2).toInt()));
            QCOMPARE(QString::number(points[row].y(), 'f', 2), cell("tblMonth", row, 8));
        }

        const QString csv = folder.filePath("march.csv");
        host->fileAnswers << csv;
        find<QTabWidget>(window.get(), "tabsTank")->setCurrentIndex(1);
        QTest::mouseClick(find<QPushButton>(window.get(), "btnExport"), Qt::LeftButton);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[4].startsWith("2026-03-04,6696.85,900.00,300.00,7296.85,7241.08,-55.77,"));
    }

    void a_value_that_does_not_read_is_marked_at_its_field_and_nothing_is_saved_data() {
        QTest::addColumn<QString>("stick");
        QTest::addColumn<QString>("water");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("reason");
        QTest::newRow("letters") << "3x"
                                 << ""
                                 << "txtStick"
                                 << "'3x' is not a level: write a decimal such as 75.625, or feet "
                                    "and inches such as 6'3-5/8\"";
        QTest::newRow("water above the stick") << "30"
                                               << "31"
                                               << "txtWater"
                                               << "the water cut is above the stick";
        QTest::newRow("below the bottom") << "-1"
                                          << ""
                                          << "txtStick"
                                          << "must be 0 or above";
        QTest::newRow("above the tank") << "97"
                                        << ""
                                        << "txtStick"
                                        << "above the tank's top of 96";
        QTest::newRow("no pumped volume") << "38"
                                          << ""
                                          << "txtPumped"
                                          << "type 0 if nothing was pumped";
    }
    void a_value_that_does_not_read_is_marked_at_its_field_and_nothing_is_saved() {
        QFETCH(QString, stick);
        QFETCH(QString, water);
        QFETCH(QString, field);
        QFETCH(QString, reason);
        enterDay("2026-03-01", {{"txtWater", water}, {"txtStick", stick}});
        QCOMPARE(find(window.get(), qPrintable(field))->property("problem").toString(), reason);
        QCOMPARE(cell("tblSite", 0, 3), QString("no day yet"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // The book refuses what the command line refuses, with the field named.
    void a_value_the_book_refuses_is_not_saved() {
        enterDay("2026-03-01", {{"txtStick", "38"}, {"txtPumped", "2000000000"}});
        QVERIFY2(shown("lblProblems").contains("Pumped volume: 2000000000 is outside"),
                 qPrintable(shown("lblProblems")));
        QCOMPARE(cell("tblSite", 0, 3), QString("no day yet"));
    }

    void a_tank_takes_its_calibration_chart_from_a_file_data() {
        QTest::addColumn<QByteArray>("chart");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("capacity");
        QTest::newRow("three rows")
            << QByteArray("level,volume\n0,0\n10,250.5\n20,612.25\n") << "chart.csv: 3 rows"
            << "612.25 litres";
        QTest::newRow("a level that falls")
            << QByteArray("level,volume\n0,0\n10,250\n9,300\n") << "chart.csv, line 4: "
            << "";
    }
    void a_tank_takes_its_calibration_chart_from_a_file() {
        QFETCH(QByteArray, chart);
        QFETCH(QString, shown);
        QFETCH(QString, capacity);
        QFile file(folder.filePath("chart.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(chart) == chart.size());
        file.close();
        window->findChild<QAction*>("actAddTank")->trigger();
        dlgTank* editor = window->tankEditor();
        retype(find(editor, "txtName"), "Charted");
        testing::chooseEntry(find<QComboBox>(editor, "cboUnits"), "centimeters");
        testing::chooseEntry(find<QComboBox>(editor, "cboVolume"), "litres");
        host->fileAnswers << file.fileName();
        QTest::mouseClick(find<QPushButton>(editor, "btnChart"), Qt::LeftButton);
        QVERIFY2(find<QLabel>(editor, "lblChart")->text().startsWith(shown),
                 qPrintable(find<QLabel>(editor, "lblChart")->text()));
        QCOMPARE(find<QLabel>(editor, "lblCapacity")->text(), capacity);
        auto* ok = find<QDialogButtonBox>(editor, "buttonBox")->button(QDialogButtonBox::Ok);
        QCOMPARE(ok->isEnabled(), !capacity.isEmpty());
    }

    // The edited tank's figures: 96 in by a 200 in shell, worked from the same closed forms.
    void an_edited_tank_keeps_its_days_and_works_them_out_anew() {
        enterDay("2026-03-01", {{"txtStick", "38"}, {"txtPumped", "350"}});
        window->findChild<QAction*>("actEditTank")->trigger();
        dlgTank* editor = window->tankEditor();
        for (const auto& [name, text] : {std::pair{"txtName", "Regular 1"},
                                         {"txtDiameter", "96"},
                                         {"txtLength", "240"},
                                         {"txtHeadDepth", "24"},
                                         {"txtOpening", "40"},
                                         {"txtAllowance", "130"}}) {
            QCOMPARE(find(editor, name)->text(), QString(text));
        }
        QCOMPARE(find<QComboBox>(editor, "cboHeads")->currentText(), QString("ellipsoidal"));
        // Add tank while the edit is open keeps what is being entered.
        window->findChild<QAction*>("actAddTank")->trigger();
        QCOMPARE(window->tankEditor()->editedName(), std::string("Regular 1"));
        retype(find(editor, "txtName"), "Regular 2");
        retype(find(editor, "txtLength"), "200");
        QCOMPARE(find<QLabel>(editor, "lblCapacity")->text(), QString("7269.56 gallons"));
        host->yesNoAnswers << false << true;
        auto* ok = find<QDialogButtonBox>(editor, "buttonBox")->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(editor->isVisible());
        QCOMPARE(cell("tblSite", 0, 5), QString("3116.92"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(host->questions.value(1).startsWith("Regular 1 has 1 recorded day."));
        QCOMPARE(cell("tblSite", 0, 1), QString("Regular 2"));
        QCOMPARE(cell("tblSite", 0, 5), QString("2655.26"));
        QCOMPARE(cell("tblMonth", 0, 7), QString("156.50"));
    }

    // At 40 and 70 in the tank holds 3343.08 and 6696.85 gallons.
    void a_recorded_delivery_is_corrected_and_withdrawn() {
        enterDay("2026-03-01", {{"txtStick", "70"},
                                {"txtPumped", "0"},
                                {"txtBill", "3000"},
                                {"txtBefore", "40"},
                                {"txtAfter", "70"}});
        chooseDate("2026-03-01");
        auto* delivery = find<QComboBox>(window.get(), "cboDelivery");
        QCOMPARE(delivery->count(), 2);
        delivery->setCurrentIndex(1);
        QCOMPARE(find(window.get(), "txtBill")->text(), QString("3000"));
        retype(find(window.get(), "txtBill"), "3100");
        QTest::keyClick(find(window.get(), "txtBill"), Qt::Key_Return);
        QCOMPARE(window->statusBar()->currentMessage(), QString("Corrected 2026-03-01"));
        QCOMPARE(cell("tblMonth", 0, 7), QString("253.77"));
        chooseDate("2026-03-01");
        delivery->setCurrentIndex(1);
        host->yesNoAnswers << true;
        QTest::mouseClick(find<QPushButton>(window.get(), "btnWithdraw"), Qt::LeftButton);
        QCOMPARE(cell("tblMonth", 0, 2), QString("0.00"));
        QCOMPARE(cell("tblMonth", 0, 7), QString("3353.77"));
        QCOMPARE(delivery->count(), 1);
    }

    // A day and its delivery are one change: a delivery that cannot be kept takes the day with it.
    void a_day_and_its_delivery_are_kept_together() {
        auto session = BookSession::open(window->windowTitle().section(" - ", 1));
        QVERIFY(session);
        DayEntry entry;
        entry.day = {"2026-03-01", 38, {}, {}, 350.0, {}, {}, {}, false};
        entry.delivery = book::Delivery{900, false, {}, 30, 38, {}, {}, 0};
        entry.replacing = 1;  // the day has no delivery 1
        QVERIFY(!(*session)->save("Regular 1", entry));
        QVERIFY(!(*session)->recordedDay("Regular 1", "2026-03-01"));
    }

    // Regular 2 has 2026-03-01 recorded, Regular 1 no day, and FOLDER a 48.5.csv that holds
    // "kept". The values are typed for Regular 2 on `date`, then another date or tank is chosen,
    // or a Book menu action taken: another book, Exit, or Export.
    void nothing_typed_or_kept_is_lost_without_the_users_word_data() {
        for (const char* column : {"date", "typed", "action", "answers", "after", "recorded"}) {
            QTest::addColumn<QString>(column);
        }
        QTest::addColumn<QStringList>("dialogs");
        const QString day = "txtStick=40 txtPumped=100", kept = "book Regular 2 2026-03-02 40";
        const QStringList asked{
            "save question: The values typed for Regular 2 on 2026-03-02 are not saved. Save "
            "them?"};
        const QStringList open{"file: Tank books|*.sqlite",
                               "question: There is no book at OTHER. Make a new book there?"};
        const QString file = "save file: CSV files|*.csv", march = "2026-03-01";
        const QStringList replace{file, "question: FOLDER/48.5.csv already exists. Replace it?"};
        row("another date, saved with the meters' totals", "2026-03-02",
            "txtStick=40 txtMeterOpen=1000 txtMeterClose=1100", "date", "save",
            "book Regular 2 2026-03-05", "40", asked);
        row("another date, cancelled", "2026-03-02", day, "date", "cancel", kept, "", asked);
        row("another tank, cancelled", "2026-03-02", day, "tank", "cancel", kept, "", asked);
        row("the window closed, saved", "2026-03-02", day, "actExit", "save",
            "closed book Regular 2 2026-03-02 40", "40", asked);
        row("the window closed, cancelled", "2026-03-02", day, "actExit", "cancel", kept, "",
            asked);
        row("a save refused stays", "2026-03-02", "txtStick=40", "date", "save",
            kept + " Pumped volume: type 0 if nothing was pumped", "", asked);
        row("a recorded day retyped as it is", march, "txtStick=38.0 txtPumped=350", "tank", "",
            "book Regular 1 2026-03-01", "38", {});
        row("a correction discarded", march, "txtStick=39", "date", "discard",
            "book Regular 2 2026-03-05", "38",
            {"save question: The values typed for Regular 2 on 2026-03-01 are not saved. Save "
             "them?"});
        row("another book not made", "2026-03-02", "", "actOpen", "OTHER no",
            "book Regular 2 2026-03-02", "", open);
        row("another book, typed values discarded", "2026-03-02", day, "actOpen",
            "OTHER yes discard", "other 2026-03-02 other.sqlite", "", open + asked);
        row("another book, typed values cancelled", "2026-03-02", day, "actOpen",
            "OTHER yes cancel", kept, "", open + asked);
        row("exported over a file, asked once", march, "", "actExport", "FOLDER/48.5.csv yes",
            "book Regular 2 2026-03-01 38 48.5.csv", "38", replace);
        row("exported to a number for a name, asked once of the name made for it", march, "",
            "actExport", "FOLDER/48.5 yes", "book Regular 2 2026-03-01 38 48.5.csv", "38", replace);
        row("a file kept", march, "", "actExport", "FOLDER/48.5 no", "book Regular 2 2026-03-01 38",
            "38", replace);
        row("never over the book", march, "", "actExport", "BOOK yes",
            "book Regular 2 2026-03-01 38", "38",
            {file, "question: BOOK already exists. Replace it?",
             "message: BOOK is the book itself. Export the month to a file of its own."});
        row("a month without a day", "2026-04-01", "", "actExport", "", "book Regular 2 2026-04-01",
            "",
            {"message: Regular 2 has no days recorded in 2026-04: there is nothing to export."});
    }
    void nothing_typed_or_kept_is_lost_without_the_users_word() {
        QFETCH(QString, date);
        QFETCH(QString, typed);
        QFETCH(QString, action);
        QFETCH(QString, answers);
        QFETCH(QString, after);
        QFETCH(QString, recorded);
        QFETCH(QStringList, dialogs);
        const QTemporaryDir rowFolder;
        const QString out = rowFolder.path(), other = out + "/other.sqlite";
        const auto placed = [&](QString text) {
            return text.replace("FOLDER", out).replace("BOOK", bookPath).replace("OTHER", other);
        };
        QFile before(out + "/48.5.csv");
        QVERIFY(before.open(QIODevice::WriteOnly) && before.write("kept") == 4);
        before.close();
        window->findChild<QAction*>("actAddTank")->trigger();
        enterTank("Regular 2");
        enterDay("2026-03-01", {{"txtStick", "38"}, {"txtPumped", "350"}});
        chooseDate(date);
        for (const QString& entry : typed.split(' ', Qt::SkipEmptyParts)) {
            retype(find(window.get(), qPrintable(entry.section('=', 0, 0))), entry.section('=', 1));
        }
        for (const QString& answer : answers.split(' ', Qt::SkipEmptyParts)) {
            if (const auto choice = QStringList{"save", "discard", "cancel"}.indexOf(answer);
                choice >= 0) {
                host->saveAnswers << static_cast<SaveChoice>(choice);
            } else if (answer == "yes" || answer == "no") {
                host->yesNoAnswers << (answer == "yes");
            } else {
                host->fileAnswers << placed(answer);
            }
        }
        QCOMPARE(shown("lblVerdicts").endsWith("no days recorded"), date.startsWith("2026-04"));
        host->dialogs.clear();
        if (action == "date") {
            // Twice, as the calendar pop-up sets its date again as it closes.
            chooseDate("2026-03-05");
            chooseDate("2026-03-05");
        } else if (action == "tank") {
            auto* site = find<QTableView>(window.get(), "tblSite");
            QTest::mouseClick(site->viewport(), Qt::LeftButton, {},
                              site->visualRect(site->model()->index(0, SiteModel::Tank)).center());
            QCoreApplication::processEvents();  // the window takes up a tank once the click is over
        } else {
            window->findChild<QAction*>(action)->trigger();
        }
        QCOMPARE(host->dialogs.join('\n'), placed(dialogs.join('\n')));
        QStringList state{shownDay()};
        for (const QFileInfo& file : QDir(out).entryInfoList(QDir::Files)) {
            state << (file.size() == 4 ? QString() : file.fileName());  // 4 bytes: "kept"
        }
        state.removeAll(QString());
        QCOMPARE(state.join(' '), after);
        auto session = BookSession::open(bookPath);
        QVERIFY(session);
        const auto day = (*session)->recordedDay("Regular 2", date.toStdString());
        QCOMPARE(day ? QString::number(day->closingLevel) : QString(), recorded);
    }

    void tab_follows_the_daily_worksheet() {
        find(window.get(), "txtStick")->setFocus();
        const QStringList order{"txtWater",     "txtTemperature",     "txtPumped",
                                "txtMeterOpen", "txtMeterClose",      "txtBill",
                                "chkBillNet",   "txtBillTemperature", "txtBefore",
                                "txtAfter",     "txtPumpedDuring",    "btnSave"};
        for (const QString& next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }
};

BRIMWELL_WINDOW_TEST_MAIN(BookWindowTest)
#include "test_frmbook.moc"
