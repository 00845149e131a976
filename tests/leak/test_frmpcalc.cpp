#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QtTest>

#include "leak/frmpcalc.h"
#include "tests/support/scriptedhost.h"
#include "host/windowprinting.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

using brimwell::testing::ScriptedHost;

namespace {
const QString kHint = "Please input a leak rate and reference pressure into the text box";
const QString kCheckSelections = "Please check your selections for errors";

// Puts the locale back however the test ends.
struct LocaleRestorer {
    QLocale saved;
    ~LocaleRestorer() { QLocale::setDefault(saved); }
};
}  // namespace

class LeakWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedHost> host;
    std::unique_ptr<frmPCalc> window;

    template <typename Widget>
    Widget* child(const char* name) {
        auto* widget = window->findChild<Widget*>(name);
        if (!widget) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }

    void choose(const char* option) {
        auto* button = child<QRadioButton>(option);
        QStyleOptionButton style;
        style.initFrom(button);
        const QRect indicator =
            button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, button);
        QTest::mouseClick(button, Qt::LeftButton, {}, indicator.center());
        QVERIFY2(button->isChecked(), option);
    }
    void calculate() { QTest::mouseClick(child<QPushButton>("cmdCalculate"), Qt::LeftButton); }
    void chooseUserDefined(const QString& rate, const QString& reference) {
        choose("Option4");
        QTest::keyClicks(box("txtLR"), rate);
        box("txtRef")->setFocus();
        QTest::keyClicks(box("txtRef"), reference);
    }
    QStringList results() { return {box("txtELRgal")->text(), box("txtELRml")->text()}; }

private Q_SLOTS:
    void init() {
        host = std::make_unique<ScriptedHost>();
        window = std::make_unique<frmPCalc>(*host);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() {
        window.reset();
        host.reset();
    }

    void opens_with_the_first_standard_and_nothing_computed() {
        QCOMPARE(window->windowTitle(), QString("Orvane Seepmark"));
        QVERIFY(child<QRadioButton>("Option1")->isChecked());
        QVERIFY(child<QRadioButton>("Option4")->text().isEmpty());
        QCOMPARE(box("txtActual")->text(), QString("30"));
        for (const char* name : {"txtLR", "txtRef", "txtELRgal", "txtELRml"}) {
            QVERIFY2(!box(name)->isEnabled() && box(name)->text().isEmpty(), name);
        }
        QVERIFY(host->dialogs.isEmpty());
    }

    void menu_bar_offers_only_exit_and_print() {
        QStringList captions;
        QStringList available;
        for (QAction* action : child<QMenuBar>("menubar")->actions()) {
            captions << action->text();
            if (action->isEnabled()) {
                available << action->text();
            }
        }
        QCOMPARE(captions, QStringList({"&File", "E&xit", "&Print", "&Weblinks", "&Help"}));
        QCOMPARE(available, QStringList({"E&xit", "&Print"}));
        const auto printEntries = child<QMenu>("mnuPrint")->actions();
        QCOMPARE(printEntries.size(), 1);
        QCOMPARE(printEntries[0]->objectName(), QString("mnublank0"));
        QVERIFY(printEntries[0]->isSeparator());
    }

    void standard_options_give_their_equivalent_rates_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("gallons");
        QTest::addColumn<QString>("millilitres");
        QTest::newRow("3.0 at 10") << "Option1" << "5.196" << "327.7906";
        QTest::newRow("0.2 at 30") << "Option2" << "0.2" << "12.6167";
        QTest::newRow("0.1 at 45") << "Option3" << "0.082" << "5.1507";
    }
    void standard_options_give_their_equivalent_rates() {
        QFETCH(QString, option);
        QFETCH(QString, gallons);
        QFETCH(QString, millilitres);
        choose("Option3");  // so that every row really changes the choice
        for (int up = 3 - option.back().digitValue(); up > 0; --up) {  // arrow keys choose too
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        }
        calculate();
        QCOMPARE(results(), QStringList({gallons, millilitres}));
        QVERIFY(host->dialogs.isEmpty());
    }

    void a_new_pressure_counts_only_once_calculated() {
        calculate();
        brimwell::testing::retype(box("txtActual"), "10");
        QCOMPARE(results(), QStringList({"5.196", "327.7906"}));
        calculate();
        QCOMPARE(results(), QStringList({"3.0", "189.25"}));
    }

    void the_user_defined_choice_asks_for_values_and_waits_for_them() {
        calculate();
        choose("Option4");
        QCOMPARE(host->messages, QStringList({kHint}));
        QVERIFY(box("txtLR")->isEnabled());
        QVERIFY(box("txtRef")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), box("txtLR"));
        calculate();
        QCOMPARE(host->messages, QStringList({kHint, kHint}));
        QCOMPARE(results(), QStringList({"", ""}));
    }

    void user_defined_values_are_calculated() {
        chooseUserDefined("0.5", "20");
        calculate();
        QCOMPARE(results(), QStringList({"0.612", "38.6305"}));
    }

    void standard_options_after_the_user_defined_one_use_their_own_values_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("gallons");
        QTest::addColumn<QString>("millilitres");
        QTest::addColumn<QString>("typedAtOptionsPressure");  // 0.3 gal/h at its reference
        QTest::newRow("3.0 at 10") << "Option1" << "5.196" << "327.7906" << "0.52";
        QTest::newRow("0.2 at 30") << "Option2" << "0.2" << "12.6167" << "0.3";
        QTest::newRow("0.1 at 45") << "Option3" << "0.082" << "5.1507" << "0.245";
    }
    void standard_options_after_the_user_defined_one_use_their_own_values() {
        QFETCH(QString, option);
        QFETCH(QString, gallons);
        QFETCH(QString, millilitres);
        QFETCH(QString, typedAtOptionsPressure);
        chooseUserDefined("0.5", "20");
        choose(qPrintable(option));
        calculate();
        QCOMPARE(results(), QStringList({gallons, millilitres}));
        QCOMPARE(box("txtLR")->text(), QString("0.5"));
        QCOMPARE(box("txtRef")->text(), QString("20"));
        QVERIFY(box("txtLR")->isEnabled() && box("txtRef")->isEnabled());
        // Typing again makes the typed rate current whichever option shows.
        brimwell::testing::retype(box("txtLR"), "0.3");
        calculate();
        QCOMPARE(results()[0], typedAtOptionsPressure);
        // Choosing the option shown again, here with Space, brings its own values back.
        QTest::keyClick(child<QRadioButton>(qPrintable(option)), Qt::Key_Space);
        calculate();
        QCOMPARE(results(), QStringList({gallons, millilitres}));
    }

    void typing_a_leak_rate_keeps_the_caret_with_the_digits_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("caret");
        QTest::newRow("2") << "2" << "2.0" << 1;
        QTest::newRow("2.5") << "2.5" << "2.5" << 3;
        QTest::newRow("0.25") << "0.25" << "0.25" << 4;
        QTest::newRow("1.23456") << "1.23456" << "1.2346" << 6;
        QTest::newRow("100") << "100" << "100.0" << 3;
        QTest::newRow("-2") << "-2" << "-2.0" << 2;
        QTest::newRow("letters") << "a2" << "a2" << 2;
        QTest::newRow("0.005") << "0.005" << "0.005" << 5;
        QTest::newRow("1.005") << "1.005" << "1.005" << 5;
        QTest::newRow("2.205") << "2.205" << "2.205" << 5;
        QTest::newRow("-0.5") << "-0.5" << "-0.5" << 4;
        QTest::newRow("-.5") << "-.5" << "-0.5" << 4;
    }
    void typing_a_leak_rate_keeps_the_caret_with_the_digits() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, caret);
        choose("Option4");
        QTest::keyClicks(box("txtLR"), keys);
        QCOMPARE(box("txtLR")->text(), shown);
        QCOMPARE(box("txtLR")->cursorPosition(), caret);
    }

    void backspacing_steps_over_what_the_box_added() {
        choose("Option4");
        QTest::keyClicks(box("txtLR"), "2.5");
        QStringList seen;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(box("txtLR"), Qt::Key_Backspace);
            seen << QString("%1@%2").arg(box("txtLR")->text()).arg(box("txtLR")->cursorPosition());
        }
        QCOMPARE(seen, QStringList({"2.0@2", "2.0@1", "@0"}));
    }

    void deleting_never_traps_the_caret_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("forward");
        for (const char* typed : {"2", "2.5", "0.25", "1.23456", "100", "-2"}) {
            QTest::addRow("backspace %s", typed) << QString(typed) << false;
            QTest::addRow("delete %s", typed) << QString(typed) << true;
        }
    }
    void deleting_never_traps_the_caret() {
        QFETCH(QString, keys);
        QFETCH(bool, forward);
        choose("Option4");
        QLineEdit* lr = box("txtLR");
        QTest::keyClicks(lr, keys);
        QTest::keyClick(lr, forward ? Qt::Key_Home : Qt::Key_End);
        for (int presses = 0; !lr->text().isEmpty(); ++presses) {
            QVERIFY2(presses < 12, qPrintable("stuck at " + lr->text()));
            const QString text = lr->text();
            const int caret = lr->cursorPosition();
            QTest::keyClick(lr, forward ? Qt::Key_Delete : Qt::Key_Backspace);
            QVERIFY2(lr->text() != text || lr->cursorPosition() != caret,
                     qPrintable(QString("trapped at %1@%2").arg(text).arg(caret)));
        }
    }

    void impossible_calculations_clear_the_results_and_say_why_data() {
        QTest::addColumn<bool>("userDefined");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("desired");
        QTest::addColumn<QString>("message");
        QTest::newRow("reference pressure 0") << true << "1" << "0" << "30" << kCheckSelections;
        QTest::newRow("negative pressure ratio") << false << "" << "" << "-30" << kCheckSelections;
        QTest::newRow("desired pressure no number")
            << false << "" << "" << "abc" << kCheckSelections;
        QTest::newRow("desired pressure empty") << false << "" << "" << "" << kCheckSelections;
        QTest::newRow("no user leak rate") << true << "" << "10" << "30" << kHint;
        QTest::newRow("user reference no number") << true << "1" << "x" << "30" << kHint;
        QTest::newRow("user values fine, pressure not")
            << true << "1" << "10" << "x" << kCheckSelections;
    }
    void impossible_calculations_clear_the_results_and_say_why() {
        QFETCH(bool, userDefined);
        QFETCH(QString, rate);
        QFETCH(QString, reference);
        QFETCH(QString, desired);
        QFETCH(QString, message);
        calculate();
        if (userDefined) {
            chooseUserDefined(rate, reference);
        }
        brimwell::testing::retype(box("txtActual"), desired);
        host->messages.clear();
        calculate();
        QCOMPARE(host->messages, QStringList({message}));
        QCOMPARE(results(), QStringList({"", ""}));
        QCOMPARE(box("txtActual")->text(), desired);

        // Still usable: put things right and calculate again.
        choose("Option1");
        brimwell::testing::retype(box("txtActual"), "30");
        calculate();
        QCOMPARE(results(), QStringList({"5.196", "327.7906"}));
    }

    void a_decimal_comma_locale_reads_and_writes_commas() {
        LocaleRestorer restorer{QLocale()};
        QLocale::setDefault(brimwell::testing::decimalCommaLocale());
        window = std::make_unique<frmPCalc>(*host);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));

        calculate();
        QCOMPARE(results(), QStringList({"5,196", "327,7906"}));
        choose("Option2");
        calculate();
        QCOMPARE(results(), QStringList({"0,2", "12,6167"}));
        chooseUserDefined("2,5", "10");
        QCOMPARE(box("txtLR")->text(), QString("2,5"));
        calculate();
        QCOMPARE(results(), QStringList({"4,33", "273,1588"}));
    }

};

BRIMWELL_WINDOW_TEST_MAIN(LeakWindowTest)
#include "test_frmpcalc.moc"
