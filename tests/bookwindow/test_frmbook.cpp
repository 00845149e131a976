#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "bookwindow/bookmodels.h"
#include "bookwindow/booksession.h"
#include "bookwindow/dlghelp.h"
#include "bookwindow/dlgsite.h"
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
    // The book ("book" or "other"), the tank selected, the date, the stick, a meter's opening
    // total carried and the problems as the window shows them.
    QString shownDay() {
        auto* site = find<QTableView>(window.get(), "tblSite");
        QStringList parts{window->isVisible() ? "" : "closed",
                          window->windowTitle().endsWith(bookPath) ? "book" : "other"};
        for (const QModelIndex& tank : site->selectionModel()->selectedRows(SiteModel::Tank)) {
            parts << tank.data().toString();
        }
        parts << find<QDateEdit>(window.get(), "dateDay")->date().toString(Qt::ISODate)
              << find(window.get(), "txtStick")->text() << shown("lblMeterCarried")
              << shown("lblProblems");
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

    // What a user does: another date, a click on the site's first or second tank, a key, Enter
    // on the month's first day, or a menu's action.
    void act(const QString& step) {
        auto* site = find<QTableView>(window.get(), "tblSite");
        if (step == "date") {
            // Twice, as the calendar pop-up sets its date again as it closes.
            chooseDate("2026-03-05");
            chooseDate("2026-03-05");
        } else if (step.startsWith("tank")) {
            const int row = step == "tank2" ? 1 : 0;
            QTest::mouseClick(site->viewport(), Qt::LeftButton, {},
                              site->visualRect(site->model()->index(row, SiteModel::Tank)).center());
            QCoreApplication::processEvents();  // the window takes up a tank once the click is over
        } else if (step.startsWith("Ctrl+")) {
            QTest::keyClick(QApplication::focusWidget(), step.back().toLatin1(), Qt::ControlModifier);
        } else if (step == "monthRow") {
            auto* month = find<QTableView>(window.get(), "tblMonth");
            find<QTabWidget>(window.get(), "tabsTank")->setCurrentIndex(1);
            month->setFocus();
            month->setCurrentIndex(month->model()->index(0, 0));
            QTest::keyClick(month, Qt::Key_Return);
        } else {
            window->findChild<QAction*>(step)->trigger();
        }
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
        for (int column = 0; column < 12; ++column) {
            headers << window->findChild<QTableView*>("tblMonth")
                           ->model()
                           ->headerData(column, Qt::Horizontal)
                           .toString();
        }
        QCOMPARE(headers.join(", "),
                 QString("Date, Opening\n(gallons), Delivered\n(gallons), Pumped\n(gallons), "
                         "Book inventory\n(gallons), Stick\n(inches), Product volume\n(gallons), "
                         "Over/short\n(gallons), Cumulative\n(gallons), Water cut\n(inches), "
                         "Initials, Notes"));
        QCOMPARE(cell("tblMonth", 3, 5) + " gives " + cell("tblMonth", 3, 6),
                 "75.625 gives 7241.08");
        QCOMPARE(cell("tblMonth", 0, MonthModel::Notes), QString());
        QCOMPARE(cell("tblMonth", 1, MonthModel::Notes), QString("corrected"));
        QVERIFY(
            shown("lblShortDeliveries")
                .contains(
                    "2026-03-04: measured 757.44 against a bill of 900.00 gross: short 142.56"));
        QVERIFY(!shown("lblShortDeliveries").contains("2026-03-03"));
        QVERIFY(shown("lblVerdicts")
                    .startsWith(
                        "1% of flow-through + 130 gallons: FAILED; variance 308.50; limit 143.1"));
        QCOMPARE(shown("lblMonthVerdict"),
                 QString("Month: FAILED (1% of flow-through + 130 gallons)"));
        // Four days of 31 leave the leak test no verdict; two deliveries are too few for a
        // chart's scale.
        QVERIFY2(shown("lblLeakTest").startsWith("Leak test: no analysis; leak rate ") &&
                     shown("lblLeakTest").endsWith("; 4 of 31 days usable"),
                 qPrintable(shown("lblLeakTest")));
        QCOMPARE(shown("lblChartCheck"),
                 QString("Chart check: too few deliveries, 2 deliveries gross (it takes 5)"));
        QCOMPARE(cell("tblSite", 0, 10), QString("month failing"));
        QCOMPARE(find<QTableView>(window.get(), "tblSite")
                     ->model()
                     ->headerData(SiteModel::Volume, Qt::Horizontal)
                     .toString(),
                 QString("Volume\n(gallons)"));
        // The last reading: its volume, the ullage, and the room below 90 % of the capacity.
        QCOMPARE(cell("tblSite", 0, 5), QString("7241.08"));
        QCOMPARE(cell("tblSite", 0, 8), QString("1281.86"));
        QCOMPARE(cell("tblSite", 0, 9), QString("429.56"));

        const auto* plot = find<OverShortPlot>(window.get(), "plotOverShort");
        // The band is 1 % of 350, 610.5, 1010.5 and 1310.5 gallons pumped so far, plus 130.
        QCOMPARE(plot->outsideDays(), (std::vector<double>{2, 3, 4}));
        QCOMPARE(plot->ticks(), (std::vector<double>{-400, -200, 0, 200, 400}));
        const auto& points = plot->points();
        QCOMPARE(points.size(), std::size_t(4));
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(points[row].x(), double(cell("tblMonth", row, 0).right(2).toInt()));
            QCOMPARE(QString::number(points[row].y(), 'f', 2), cell("tblMonth", row, 8));
        }
        // The leak test's line: an offset for days 1 and 2, and one after each delivery, their
        // common slope the test's rate.
        const auto& line = plot->fittedLine();
        QCOMPARE(line.size(), std::size_t(3));
        QCOMPARE(line[0].size(), std::size_t(2));
        QCOMPARE(line[2].front().x(), 4.0);
        const double rate = shown("lblLeakTest").section(' ', 6, 6).toDouble();
        QVERIFY(std::abs((line[0][0].y() - line[0][1].y()) / 24 - rate) < 1e-4);

        const QString csv = folder.filePath("march.csv");
        host->fileAnswers << csv;
        find<QTabWidget>(window.get(), "tabsTank")->setCurrentIndex(1);
        QTest::mouseClick(find<QPushButton>(window.get(), "btnExport"), Qt::LeftButton);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[4].startsWith("2026-03-04,6696.85,900.00,300.00,7296.85,7241.08,-55.77,"));

        // Printed (Ctrl+P) and saved as PDF for the whole site: the same figures on paper.
        host->printerPdfPath = folder.filePath("printed.pdf");
        host->fileAnswers << folder.filePath("site.pdf");
        act("actPrint");
        act("actSaveSitePdf");
        QVERIFY(host->messages.isEmpty());
        for (const QString& pdf : {host->printerPdfPath, folder.filePath("site.pdf")}) {
            QProcess text;
            text.start("pdftotext", {"-layout", pdf, "-"});
            QVERIFY(text.waitForFinished());
            const QString words = QString::fromUtf8(text.readAllStandardOutput()).simplified();
            QVERIFY2(words.contains("6696.85 900.00 757.44 300.00 7296.85 75.625 7241.08 -55.77 308.50"),
                     qPrintable(words));
        }
    }

    // The values typed, each field=text, in the notation named, and the field marked with its
    // reason.
    void a_value_that_does_not_read_is_marked_at_its_field_and_nothing_is_saved_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("reason");
        QTest::newRow("letters") << "txtStick=3x" << false << "txtStick"
                                 << "'3x' is not a level: write a decimal such as 75.625, or feet "
                                    "and inches such as 6'3-5/8\"";
        QTest::newRow("water above the stick")
            << "txtWater=31 txtStick=30" << false << "txtWater" << "the water cut is above the stick";
        QTest::newRow("below the bottom") << "txtStick=-1" << false << "txtStick"
                                          << "must be 0 or above";
        QTest::newRow("above the tank") << "txtStick=97" << false << "txtStick"
                                        << "above the tank's top of 96";
        QTest::newRow("no pumped volume") << "txtStick=38" << false << "txtPumped"
                                          << "type 0 if nothing was pumped";
        // A group separator is refused as consistently as the decimal of the other notation.
        QTest::newRow("a thousand with a group separator")
            << "txtStick=38 txtPumped=1,234" << false << "txtPumped"
            << "'1,234' has a ',': write the decimal with '.' and no group separator";
        QTest::newRow("a point in a comma notation")
            << "txtStick=38 txtPumped=1.234" << true << "txtPumped"
            << "'1.234' has a '.': write the decimal with ',' and no group separator";
        QTest::newRow("a point in a comma notation, not a thousand")
            << "txtStick=38 txtMeterOpen=612.5 txtMeterClose=700" << true << "txtMeterOpen"
            << "'612.5' has a '.': write the decimal with ',' and no group separator";
    }
    void a_value_that_does_not_read_is_marked_at_its_field_and_nothing_is_saved() {
        QFETCH(QString, typed);
        QFETCH(bool, comma);
        QFETCH(QString, field);
        QFETCH(QString, reason);
        if (comma) {
            QLocale::setDefault(testing::decimalCommaLocale());
        }
        chooseDate("2026-03-01");
        // Where each field stands in a window wider than the form: a reason shown moves none.
        window->resize(1300, 760);
        const auto places = [this] {
            // A layout's change reaches the scrolled form one event after another.
            for (int round = 0; round < 3; ++round) {
                QCoreApplication::processEvents();
            }
            QStringList at;
            QList<QWidget*> fields = find<QWidget>(window.get(), "tabDay")->findChildren<QWidget*>(
                QRegularExpression("^(txt|date)"));
            for (const QWidget* box : fields) {
                const QRect place(box->mapTo(window.get(), QPoint()), box->size());
                at << QString("%1 %2,%3 %4x%5")
                          .arg(box->objectName())
                          .arg(place.x())
                          .arg(place.y())
                          .arg(place.width())
                          .arg(place.height());
            }
            return at;
        };
        const QStringList before = places();
        QString last;
        for (const QString& entry : typed.split(' ')) {
            last = entry.section('=', 0, 0);
            retype(find(window.get(), qPrintable(last)), entry.section('=', 1));
        }
        QTest::keyClick(find(window.get(), qPrintable(last)), Qt::Key_Return);
        QCOMPARE(find(window.get(), qPrintable(field))->property("problem").toString(), reason);
        QCOMPARE(places(), before);
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
        // The correction's value is named after its table; the sticks are shown in feet.
        auto* correction = find<QComboBox>(editor, "cboCorrection");
        testing::chooseEntry(correction, "54B");
        QCOMPARE(find<QLabel>(editor, "lblCorrectionValue")->text(),
                 QString("Density &at 15 °C, kg/m³:"));
        testing::chooseEntry(correction, "none");
        testing::chooseEntry(find<QComboBox>(editor, "cboSticks"), "feet and inches");
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
        QCOMPARE(cell("tblSite", 0, 4) + " " + cell("tblMonth", 0, 5), QString("3'2\" 3'2\""));
    }

    // A factor the book would refuse is named and not listed; one it takes is kept with the
    // tank, shown when the editor opens again, and its date takes no second one. OK with a factor
    // typed but not added adds it, or keeps the editor open with the refusal.
    void the_tank_editor_adds_a_meter_factor_data() {
        QTest::addColumn<QString>("factor");
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("byOk");
        QTest::addColumn<QString>("problem");  // empty when taken
        QTest::newRow("taken") << "+6" << "2026-03-02" << false << "";
        QTest::newRow("taken by OK") << "+6" << "2026-03-02" << true << "";
        QTest::newRow("beyond any meter") << "101" << "2026-03-02" << false << "at most 100 in3/5gal";
        QTest::newRow("beyond any meter by OK") << "101" << "2026-03-02" << true << "at most 100 in3/5gal";
        QTest::newRow("no date") << "5" << "March" << false << "'March' is not a date";
        QTest::newRow("no number") << "five" << "2026-03-02" << false << "not a number";
    }
    void the_tank_editor_adds_a_meter_factor() {
        QFETCH(QString, factor);
        QFETCH(QString, from);
        QFETCH(bool, byOk);
        QFETCH(QString, problem);
        const auto button = [&](dlgTank* editor, QDialogButtonBox::StandardButton which) {
            return find<QDialogButtonBox>(editor, "buttonBox")->button(which);
        };
        const auto add = [&](dlgTank* editor, bool ok) {
            retype(find(editor, "txtMeterFactor"), factor);
            retype(find(editor, "txtMeterFrom"), from);
            QTest::mouseClick(ok ? static_cast<QPushButton*>(button(editor, QDialogButtonBox::Ok))
                                 : find<QPushButton>(editor, "btnAddMeterFactor"),
                              Qt::LeftButton);
            return find<QListWidget>(editor, "lstMeterFactors")->count();
        };
        window->findChild<QAction*>("actEditTank")->trigger();
        dlgTank* editor = window->tankEditor();
        QCOMPARE(add(editor, byOk), problem.isEmpty() ? 1 : 0);
        QVERIFY(find<QLabel>(editor, "lblMeterProblem")->text().contains(problem));
        if (byOk) {
            QCOMPARE(editor->isVisible(), !problem.isEmpty());
            QTest::mouseClick(button(editor, QDialogButtonBox::Cancel), Qt::LeftButton);
        } else {
            QTest::mouseClick(button(editor, QDialogButtonBox::Ok), Qt::LeftButton);
        }
        window->findChild<QAction*>("actEditTank")->trigger();
        editor = window->tankEditor();
        auto* list = find<QListWidget>(editor, "lstMeterFactors");
        QCOMPARE(list->count(), problem.isEmpty() ? 1 : 0);
        if (problem.isEmpty()) {
            QCOMPARE(list->item(0)->text(), QString("from 2026-03-02: +6 in3/5gal"));
            QCOMPARE(add(editor, false), 1);
            QVERIFY(find<QLabel>(editor, "lblMeterProblem")->text().contains("already"));
        }
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
        // The history, the latest first: the withdrawal, then the correction, each with the
        // values it replaced.
        find<QTabWidget>(window.get(), "tabsTank")->setCurrentIndex(2);
        QStringList history;
        for (int row = 0; row < 2; ++row) {
            history << cell("tblHistory", row, 1) + " " + cell("tblHistory", row, 2) + ": " +
                           cell("tblHistory", row, 3);
        }
        QCOMPARE(history.join('\n'), QString("2026-03-01 delivery, withdrawn: bill 3100.00 gross; "
                                             "stick 40 to 70\n2026-03-01 delivery: bill 3000.00 "
                                             "gross; stick 40 to 70"));
    }

    // The initials saved start the next day; other initials correct a recorded day, the earlier
    // ones kept in its history. The export writes the month's deliveries and totals beside it.
    void the_readers_initials_are_kept_with_each_day() {
        enterDay("2026-03-01", {{"txtStick", "38"}, {"txtInitials", "J.K."}, {"txtPumped", "350"}});
        QCOMPARE(find(window.get(), "txtInitials")->text(), QString("J.K."));
        enterDay("2026-03-02", {{"txtStick", "36.5"}, {"txtPumped", "260.5"}});
        enterDay("2026-03-01", {{"txtInitials", "M L"}});
        QCOMPARE(window->statusBar()->currentMessage(), QString("Corrected 2026-03-01"));
        QCOMPARE(cell("tblMonth", 0, MonthModel::Initials) + ", " + cell("tblMonth", 1, MonthModel::Initials),
                 QString("M L, J.K."));
        find<QTabWidget>(window.get(), "tabsTank")->setCurrentIndex(2);
        QVERIFY2(cell("tblHistory", 0, 3).endsWith("; read by J.K."), qPrintable(cell("tblHistory", 0, 3)));
        host->fileAnswers << folder.filePath("initials.csv");
        window->findChild<QAction*>("actExport")->trigger();
        QFile totals(folder.filePath("initials totals.csv"));
        QVERIFY(totals.open(QIODevice::ReadOnly));
        QVERIFY(totals.readAll().split('\n').value(1).startsWith("Regular 1,2026-03,gallons,"));
        QVERIFY(QFile::exists(folder.filePath("initials deliveries.csv")));
        enterDay("2026-03-03", {{"txtStick", "36"}, {"txtInitials", "J!K"}, {"txtPumped", "10"}});
        QVERIFY2(shown("lblProblems").startsWith("Initials: 'J!K' are not initials"), qPrintable(shown("lblProblems")));
    }

    // Refused, the dialog stays open with what was typed; kept, it closes.
    void the_site_is_kept_from_its_dialog() {
        window->findChild<QAction*>("actSite")->trigger();
        QPointer<dlgSite> editor = window->siteEditor();
        QVERIFY(editor && editor->isVisible());
        auto* ok = find<QDialogButtonBox>(editor, "buttonBox")->button(QDialogButtonBox::Ok);
        find(editor, "txtSiteName")->setText("Quay\tRoad");
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(editor->isVisible() && host->messages.join("").contains("control character"));
        retype(find(editor, "txtSiteName"), "Quay Road Depot");
        find<QPlainTextEdit>(editor, "txtSiteAddress")->setPlainText("4 Quay Road  \nBrimwell\n");
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!editor || !editor->isVisible());
        auto session = BookSession::open(bookPath);
        QVERIFY(session && (*(*session)->site() == book::Site{"Quay Road Depot", "4 Quay Road\nBrimwell"}));
    }

    // A day and its delivery are one change: a delivery that cannot be kept takes the day with it.
    void a_day_and_its_delivery_are_kept_together() {
        auto session = BookSession::open(window->windowTitle().section(" - ", 1));
        QVERIFY(session);
        DayEntry entry;
        entry.day = {"2026-03-01", 38, {}, {}, 350.0, {}, {}, {}, false, {}};
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
        const QString carried = " carried from 2026-03-02";
        row("another date, saved with the meters' totals", "2026-03-02",
            "txtStick=40 txtMeterOpen=1000 txtMeterClose=1100", "date", "save",
            "book Regular 2 2026-03-05" + carried, "40", asked);
        row("saved with Ctrl+S, the next day carrying the meter", "2026-03-02",
            "txtStick=40 txtMeterOpen=1000 txtMeterClose=1100", "Ctrl+S", "",
            "book Regular 2 2026-03-03" + carried, "40", {});
        row("another date, cancelled", "2026-03-02", day, "date", "cancel", kept, "", asked);
        row("another tank, cancelled", "2026-03-02", day, "tank", "cancel", kept, "", asked);
        row("the window closed with Ctrl+Q, saved", "2026-03-02", day, "Ctrl+Q", "save",
            "closed book Regular 2 2026-03-02 40", "40", asked);
        row("the window closed with Ctrl+Q, cancelled", "2026-03-02", day, "Ctrl+Q", "cancel",
            kept, "", asked);
        row("the window closed, cancelled", "2026-03-02", day, "actExit", "cancel", kept, "",
            asked);
        row("a save refused stays", "2026-03-02", "txtStick=40", "date", "save",
            kept + " Pumped volume: type 0 if nothing was pumped", "", asked);
        row("a recorded day retyped as it is, another tank on its next day", march,
            "txtStick=38.0 txtPumped=350", "tank", "", "book Regular 1 TODAY", "38", {});
        row("a tank chosen again opens on its next day", march, "", "tank tank2", "",
            "book Regular 2 2026-03-02", "38", {});
        row("a month's day opened, cancelled", "2026-03-02", day, "monthRow", "cancel", kept, "",
            asked);
        row("a month's day opened, typed values discarded", "2026-03-02", day, "monthRow",
            "discard", "book Regular 2 2026-03-01 38", "", asked);
        row("a tank with a record is kept", march, "", "actRemoveTank", "",
            "book Regular 2 2026-03-01 38", "38",
            {"message: Regular 2 has 1 recorded day (its last on 2026-03-01). A tank with "
             "recorded days is kept in the book, with its records."});
        row("a tank with nothing on record removed at the user's word", march, "",
            "tank actRemoveTank", "yes", "book Regular 2 2026-03-02", "38",
            {"question: Regular 1 has no recorded days. Remove it from the book?"});
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
        // The month's deliveries and totals are written beside it.
        const QString exported = "book Regular 2 2026-03-01 38 48.5 deliveries.csv 48.5 totals.csv "
                                 "48.5.csv";
        row("exported over a file, asked once", march, "", "actExport", "FOLDER/48.5.csv yes",
            exported, "38", replace);
        row("exported to a number for a name, asked once of the name made for it", march, "",
            "actExport", "FOLDER/48.5 yes", exported, "38", replace);
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
            return text.replace("FOLDER", out)
                .replace("BOOK", bookPath)
                .replace("OTHER", other)
                .replace("TODAY", QDate::currentDate().toString(Qt::ISODate));
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
        for (const QString& step : action.split(' ')) {
            act(step);
        }
        QCOMPARE(host->dialogs.join('\n'), placed(dialogs.join('\n')));
        QStringList state{shownDay()};
        for (const QFileInfo& file : QDir(out).entryInfoList(QDir::Files)) {
            state << (file.size() == 4 ? QString() : file.fileName());  // 4 bytes: "kept"
        }
        state.removeAll(QString());
        QCOMPARE(state.join(' '), placed(after));
        auto session = BookSession::open(bookPath);
        QVERIFY(session);
        const auto day = (*session)->recordedDay("Regular 2", date.toStdString());
        QCOMPARE(day ? QString::number(day->closingLevel) : QString(), recorded);
    }

    // Regular 1 has 2026-03-01 recorded and the form shows 2026-03-05 when each key is pressed
    // in its widget, or a button clicked, one after another; then the date, the month shown,
    // and the calendar when it is open, with the days it marks recorded.
    void keys_move_the_day_and_the_month_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Page Down in a field") << "txtStick:PgDown txtPumped:PgDown"
                                              << "2026-03-07, Regular 1, 2026-03";
        QTest::newRow("Page Up into the month before")
            << "txtStick:PgUp txtStick:PgUp txtStick:PgUp txtStick:PgUp txtStick:PgUp"
            << "2026-02-28, Regular 1, 2026-02";
        QTest::newRow("Down in the date's year steps a day") << "dateDay:Down"
                                                             << "2026-03-04, Regular 1, 2026-03";
        QTest::newRow("Page Down in the date") << "dateDay:PgDown"
                                               << "2026-03-06, Regular 1, 2026-03";
        QTest::newRow("F4 opens the calendar")
            << "dateDay:F4" << "2026-03-05, Regular 1, 2026-03, calendar 2026-03-01";
        QTest::newRow("Alt+Down opens the calendar")
            << "dateDay:Alt+Down" << "2026-03-05, Regular 1, 2026-03, calendar 2026-03-01";
        QTest::newRow("months away and back, the day staying")
            << "btnNextMonth btnNextMonth btnPreviousMonth" << "2026-03-05, Regular 1, 2026-04";
        QTest::newRow("Enter on a month's day opens it")
            << "btnPreviousMonth btnNextMonth tblMonth:Return" << "2026-03-01, Regular 1, 2026-03";
    }
    void keys_move_the_day_and_the_month() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        enterDay("2026-03-01", {{"txtStick", "38"}, {"txtPumped", "350"}});
        chooseDate("2026-03-05");
        auto* tabs = find<QTabWidget>(window.get(), "tabsTank");
        for (const QString& step : keys.split(' ')) {
            QWidget* widget = find<QWidget>(window.get(), qPrintable(step.section(':', 0, 0)));
            for (int page = 0; page < tabs->count(); ++page) {
                if (tabs->widget(page)->isAncestorOf(widget)) {
                    tabs->setCurrentIndex(page);
                }
            }
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                QTest::mouseClick(button, Qt::LeftButton);
                continue;
            }
            if (auto* table = qobject_cast<QTableView*>(widget)) {
                table->setCurrentIndex(table->model()->index(0, 0));
            }
            widget->setFocus(Qt::TabFocusReason);
            const QKeySequence key(step.section(':', 1));
            QTest::keyClick(widget, key[0].key(), key[0].keyboardModifiers());
        }
        auto* date = find<QDateEdit>(window.get(), "dateDay");
        QStringList state{date->date().toString(Qt::ISODate), this->shown("lblMonth")};
        QCalendarWidget* calendar = date->calendarWidget();
        if (calendar->isVisible()) {
            QStringList marked;
            const auto formats = calendar->dateTextFormat();
            for (auto day = formats.begin(); day != formats.end(); ++day) {
                if (day.value().fontWeight() == QFont::Bold) {
                    marked << day.key().toString(Qt::ISODate);
                }
            }
            state << "calendar " + marked.join(' ');
            calendar->window()->hide();
        }
        QCOMPARE(state.join(", "), shown);
    }

    // Regular 1 has 2026-03-03 recorded with a delivery from a stick of 40 in when days.csv,
    // holding `csv`, is imported (and cancelled as it is read); then what the window said and
    // the days the book holds.
    void an_import_is_written_whole_or_not_at_all_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("days");
        const QString header = "tank,date,stick,water,pumped\n";
        const QString kept = "2026-03-03";
        QTest::newRow("two days") << header + "Regular 1,2026-03-01,38,,350\n\n"
                                              "Regular 1,2026-03-02,36.5,,260.5\n"
                                  << false << "status: Imported 2 days from days.csv"
                                  << "2026-03-01 2026-03-02 2026-03-03";
        QTest::newRow("cancelled") << header + "Regular 1,2026-03-01,38,,350\n" << true
                                   << "status: Import of days.csv cancelled: nothing imported"
                                   << kept;
        QTest::newRow("faults on two lines")
            << header + "Regular 1,2026-03-01,38,,350\nRegular 1,2026-03-02,3x,,0\n"
                        "Regular 9,2026-03-04,38,,0\n"
            << false
            << "message: days.csv: nothing was imported; the book refuses 2 lines:\nline 3: "
               "stick: '3x' is not a level: write a decimal such as 75.625, or feet and inches "
               "such as 6'3-5/8\"\nline 4: no tank named 'Regular 9' in the book"
            << kept;
        QTest::newRow("a day given twice")
            << header + "Regular 1,2026-03-01,38,,350\nRegular 1,2026-03-01,37,,350\n" << false
            << "message: days.csv: nothing was imported; the book refuses 1 line:\nlines 2 and 3 "
               "both give Regular 1's 2026-03-01; give each day once"
            << kept;
        QTest::newRow("water above a recorded delivery's stick")
            << header + "Regular 1,2026-03-01,38,,350\nRegular 1,2026-03-03,70,45,0\n" << false
            << "message: days.csv: nothing was imported: line 3: water: 45 is above the stick "
               "before delivery 1 (40)"
            << kept;
        QTest::newRow("no stick in the header")
            << "tank,date,level\nRegular 1,2026-03-01,38\n" << false
            << "message: days.csv: the header has no column 'stick'. Nothing was imported."
            << kept;
    }
    void an_import_is_written_whole_or_not_at_all() {
        QFETCH(QString, csv);
        QFETCH(bool, cancel);
        QFETCH(QString, said);
        QFETCH(QString, days);
        enterDay("2026-03-03", {{"txtStick", "70"},
                                {"txtPumped", "0"},
                                {"txtBill", "3000"},
                                {"txtBefore", "40"},
                                {"txtAfter", "70"}});
        QFile file(folder.filePath("days.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv.toUtf8()) == csv.toUtf8().size());
        file.close();
        host->fileAnswers << file.fileName();
        host->dialogs.clear();
        window->statusBar()->clearMessage();
        if (cancel) {
            // Heard as the window reads the file.
            QTimer::singleShot(0, window.get(), [this] {
                QTest::mouseClick(find<QPushButton>(window.get(), "btnCancelImport"),
                                  Qt::LeftButton);
            });
        }
        window->findChild<QAction*>("actImport")->trigger();
        QStringList shown = host->dialogs;
        QCOMPARE(shown.takeFirst(), QString("file: Days as CSV|*.csv"));
        if (!window->statusBar()->currentMessage().isEmpty()) {
            shown << "status: " + window->statusBar()->currentMessage();
        }
        QCOMPARE(shown.join('\n'), said);
        QVERIFY(!find<QWidget>(window.get(), "importRow")->isVisible());
        auto session = BookSession::open(bookPath);
        QVERIFY(session);
        QCOMPARE(QString::fromStdString(
                     [&] {
                         std::string dates;
                         for (const std::string& date :
                              (*session)->recordedDates("Regular 1", "2026-01-01", "2026-12-31")) {
                             dates += (dates.empty() ? "" : " ") + date;
                         }
                         return dates;
                     }()),
                 days);
    }

    // The window and its dialogs at their own size fit a screen of 1366 x 768, and are used at
    // 1280 x 720 with scrolling, their problems and buttons in sight; a long fault wraps.
    void every_window_fits_a_small_screen_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QSize>("screen");
        for (const char* name : {"frmBook", "dlgTank", "dlgHelp"}) {
            QTest::newRow(qPrintable(QString("%1 on 1366 x 768").arg(name)))
                << name << QSize(1366, 768);
            QTest::newRow(qPrintable(QString("%1 on 1280 x 720").arg(name)))
                << name << QSize(1280, 720);
        }
    }
    void every_window_fits_a_small_screen() {
        QFETCH(QString, which);
        QFETCH(QSize, screen);
        // A panel and the window's frame take this much of the screen.
        const QSize room = screen - QSize(24, 64);
        const bool small = screen.height() < 768;
        QWidget* shown = window.get();
        if (which == "dlgTank") {
            QFile chart(folder.filePath("chart.csv"));
            QVERIFY(chart.open(QIODevice::WriteOnly));
            chart.write("level,volume\n0,0\n10,250\n" + QByteArray(300, '9') + ",300\n");
            chart.close();
            window->findChild<QAction*>("actAddTank")->trigger();
            dlgTank* editor = window->tankEditor();
            host->fileAnswers << chart.fileName();
            QTest::mouseClick(find<QPushButton>(editor, "btnChart"), Qt::LeftButton);
            editor->fitToScreen(QRect(QPoint(), screen - QSize(0, 40)));
            shown = editor;
        } else if (which == "dlgHelp") {
            QTest::keyClick(window.get(), Qt::Key_F1);
            shown = window->helpWindow();
            QVERIFY(shown && shown->isVisible());
        }
        // The window at the size it takes on that screen: the book's fills it, a dialog its own.
        const QSize least = shown->minimumSizeHint();
        QVERIFY2(least.width() <= room.width() && least.height() <= room.height(),
                 qPrintable(QString("%1 x %2").arg(least.width()).arg(least.height())));
        shown->resize(which == "frmBook" ? room : shown->sizeHint().boundedTo(room));
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::processEvents();
        }
        if (auto* buttons = shown->findChild<QDialogButtonBox*>("buttonBox", Qt::FindDirectChildrenOnly)) {
            QVERIFY(shown->rect().contains(QRect(buttons->mapTo(shown, QPoint()), buttons->size())));
        }
        for (const QScrollArea* scroll : shown->findChildren<QScrollArea*>()) {
            if (!small && scroll->isVisible()) {
                QCOMPARE(scroll->verticalScrollBar()->maximum(), 0);
                QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
            }
        }
        if (which == "dlgHelp") {
            const QString text = find<QTextBrowser>(shown, "txtHelp")->toPlainText();
            QVERIFY2(text.contains("The tank book's window"), qPrintable(text.left(200)));
        }
    }

    void tab_follows_the_daily_worksheet() {
        find(window.get(), "txtStick")->setFocus();
        const QStringList order{"txtWater",     "txtTemperature",     "txtPumped",
                                "txtMeterOpen", "txtMeterClose",      "txtInitials",
                                "txtBill",
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
