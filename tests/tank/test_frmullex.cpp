#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "tank/frmullex.h"
#include "host/picturestore.h"
#include "tests/support/scriptedhost.h"
#include "tests/support/windowtest.h"

using namespace brimwell;
using brimwell::testing::chooseEntry;
using brimwell::testing::retype;

namespace {
const QString kCheck = "Please check your selections for errors";
}

class TankWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedHost> host;
    std::unique_ptr<PictureStore> store;
    std::unique_ptr<frmUllex> window;

    std::vector<std::unique_ptr<QWidget>> standIns;

    // The control of that name. A missing one fails the test, which goes on with a stand-in, so
    // that the suite's other tests still run.
    template <typename T = QLineEdit>
    T* w(const char* name) {
        if (auto* found = window->findChild<T*>(name)) {
            return found;
        }
        QTest::qFail(qPrintable(QString("no control %1").arg(name)), __FILE__, __LINE__);
        standIns.push_back(std::make_unique<T>());
        return static_cast<T*>(standIns.back().get());
    }
    QString text(const char* name) { return w(name)->text(); }
    QString label(const char* name) { return w<QLabel>(name)->text(); }
    QString picture() { return w<QLabel>("imgTank")->property("picture").toString(); }
    QStringList results() { return {text("txtTankCapacity"), text("txtGrossVolume"), text("txtNetVolume")}; }
    QStringList lengths() { return {text("txtTankDiameter"), text("txtTankLength"), text("txtProductLevel")}; }
    void calculate() { QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton); }
    void choose(const char* list, const QString& entry) { chooseEntry(w<QComboBox>(list), entry); }

private Q_SLOTS:
    void init() {
        host = std::make_unique<testing::ScriptedHost>();
        store = std::make_unique<PictureStore>();
        window = std::make_unique<frmUllex>(*host, *store);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
    }

    void opens_with_its_defaults() {
        QCOMPARE(window->windowTitle(), QString("Orvane Brimwell"));
        QCOMPARE(window->objectName(), QString("frmUllex"));
        QCOMPARE(w<QComboBox>("cboTankShape")->currentText(), QString("Flat-Ended (Steel)"));
        QCOMPARE(lengths(), (QStringList{"96", "324", "48"}));
        QCOMPARE(text("txtProductTemp"), QString("70"));
        QCOMPARE(text("txtCe"), QString("0.0007"));
        QCOMPARE(results(), (QStringList{"10,000", "10,000", "10,000"}));
        QCOMPARE(picture(), QString("ftank0"));
        QVERIFY(!w<QLabel>("lblCylinderInfo")->isVisible());
        QVERIFY(!w("txtTankCapacity")->isEnabled());
        QVERIFY(!w("txtGrossVolume")->isEnabled());
        QVERIFY(w("txtNetVolume")->isEnabled());
        QCOMPARE(window->coefficient(), QString("0.0007"));
        QCOMPARE(w<QComboBox>("cboTempUnits")->count(), 2);
        QCOMPARE(w<QComboBox>("cboProductType")->currentText(), QString("Regular Unleaded"));
        QVERIFY(!w<QComboBox>("cboTankShape")->isEditable());
        QVERIFY(w<QComboBox>("cboLengthUnits")->isEditable());
        QCOMPARE(QApplication::focusWidget(), w<QComboBox>("cboTankShape"));
        const QStringList starting{"Regular Unleaded", "inches", "gallons", "degrees F"};
        for (const char* list : {"cboProductType", "cboLengthUnits", "cboVolumeUnits", "cboTempUnits"}) {
            QCOMPARE(w<QComboBox>(list)->currentIndex(), -1);
            QVERIFY(starting.contains(w<QComboBox>(list)->currentText()));
        }
        QTest::keyClick(w<QComboBox>("cboLengthUnits"), Qt::Key_Down);
        QCOMPARE(w<QComboBox>("cboLengthUnits")->currentText(), QString("inches"));
    }

    void hidden_controls_are_never_shown() {
        for (const char* name : {"Label14", "Label15", "lblTemp_2"}) {
            QVERIFY(!w<QLabel>(name)->isVisible());
        }
        QVERIFY(!w("txtCeTempRef")->isVisible());
        QVERIFY(!w("txtincrement")->isVisible());
        QCOMPARE(text("txtCeTempRef"), QString("60"));
        QCOMPARE(text("txtincrement"), QString("1"));
    }

    void menu_bar_in_order_with_four_entries_that_cannot_be_chosen() {
        const auto actions = window->menuBar()->actions();
        QStringList captions;
        QStringList enabled;
        for (auto* a : actions) {
            captions << a->text();
            enabled << (a->isEnabled() ? "on" : "off");
        }
        QCOMPARE(captions, (QStringList{"&File", "E&xit", "Print", "&Utilites", "&Tank Chart Generator", "&Weblinks", "&Help"}));
        QCOMPARE(enabled, (QStringList{"off", "on", "on", "off", "on", "off", "off"}));
        QStringList web;
        for (auto* a : actions[5]->menu()->actions()) {
            web << (a->isSeparator() ? "-" : a->text());
        }
        QCOMPARE(web, (QStringList{"Orvane &Website", "Orvane &Certified Leak Detectors",
                                   "Dezud Avevavizer Avidivov Adodiz &Real Time",
                                   "&Dezud Avevavizer Avidivov Adodiz", "-", "&Latest Version of Brimwell"}));
    }

    void tab_order_follows_the_inputs() {
        QStringList order;
        QWidget* at = w<QComboBox>("cboTankShape");
        at->setFocus();
        for (int i = 0; i < 12; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // An editable list's focus lands on its line edit, which belongs to the list.
        for (QString& name : order) {
            if (name.isEmpty()) name = "?";
        }
        QCOMPARE(order.mid(0, 3), (QStringList{"cboTankShape", "txtTankDiameter", "txtTankLength"}));
        QVERIFY(order.indexOf("Command1") > order.indexOf("txtProductTemp"));
        QVERIFY(order.indexOf("txtCe") > order.indexOf("txtNetVolume"));
    }

    void status_bar_shows_status_date_and_time() {
        auto* status = window->findChild<QLabel*>("sbStatusBarText");
        QCOMPARE(status->text(), QString("Status"));
        window->resize(6 * window->logicalDpiX() + window->width(), window->height());
        QTRY_COMPARE(status->width(), 3 * window->logicalDpiX());
        QVERIFY(!window->findChild<QLabel*>("sbStatusBarDate")->text().isEmpty());
        QVERIFY(!window->findChild<QLabel*>("sbStatusBarTime")->text().isEmpty());
    }

    void perform_calculations_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("lengthUnit");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("volumeUnit");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("picture");
        const QStringList def{"96", "324", "48"};
        QTest::newRow("defaults") << "Flat-Ended (Steel)" << "inches" << def << "gallons"
                                  << QStringList{"10152.32", "5076.16", "5040.63"} << "ftank50";
        QTest::newRow("feet") << "Flat-Ended (Steel)" << "feet" << QStringList{"8", "27", "4"} << "gallons"
                              << QStringList{"10152.32", "5076.16", "5040.63"} << "ftank50";
        QTest::newRow("millimeters and litres") << "Flat-Ended (Steel)" << "millimeters"
                                                << QStringList{"2438.4", "8229.6", "1219.2"} << "litres"
                                                << QStringList{"38430.72", "19215.36", "19080.85"} << "ftank50";
        QTest::newRow("cylindrical") << "Cylindrical (Fiberglass)" << "inches" << def << "gallons"
                                     << QStringList{"12157.72", "6078.86", "6036.31"} << "ctank50";
        QTest::newRow("vertical") << "Vertical (Aboveground)" << "inches" << def << "gallons"
                                  << QStringList{"10152.32", "1504.05", "1493.52"} << "vtank10";
        QTest::newRow("level 0") << "Flat-Ended (Steel)" << "inches" << QStringList{"96", "324", "0"} << "gallons"
                                 << QStringList{"10152.32", ".", "."} << "ftank0";
        QTest::newRow("level 0 as feet writes it")
            << "Flat-Ended (Steel)" << "feet" << QStringList{"8", "27", "."} << "gallons"
            << QStringList{"10152.32", ".", "."} << "ftank0";
        QTest::newRow("level 96") << "Flat-Ended (Steel)" << "inches" << QStringList{"96", "324", "96"} << "gallons"
                                  << QStringList{"10152.32", "10152.32", "10081.26"} << "ftank100";
        for (auto [level, pic] : {std::pair{"10", "ftank10"}, {"30", "ftank25"}, {"40", "ftank25"},
                                  {"60", "ftank75"}, {"80", "ftank90"}, {"90", "ftank100"}}) {
            QTest::newRow(qPrintable(QString("level %1").arg(level)))
                << "Flat-Ended (Steel)" << "inches" << QStringList{"96", "324", level} << "gallons"
                << QStringList{} << pic;
        }
    }
    void perform_calculations() {
        QFETCH(QString, shape);
        QFETCH(QString, lengthUnit);
        QFETCH(QStringList, inputs);
        QFETCH(QString, volumeUnit);
        QFETCH(QStringList, expected);
        QFETCH(QString, picture);
        choose("cboTankShape", shape);
        w<QComboBox>("cboLengthUnits")->setCurrentText(lengthUnit);   // typed: converts nothing
        w<QComboBox>("cboVolumeUnits")->setCurrentText(volumeUnit);
        retype(w("txtTankDiameter"), inputs[0]);
        retype(w("txtTankLength"), inputs[1]);
        retype(w("txtProductLevel"), inputs[2]);
        calculate();
        if (!expected.isEmpty()) {
            QCOMPARE(results(), expected);
        }
        QCOMPARE(this->picture(), picture);
        QCOMPARE(host->messages, QStringList{});
    }

    void level_above_the_diameter_reports_once_and_shows_the_empty_tank() {
        retype(w("txtProductLevel"), "100");
        calculate();
        QCOMPARE(host->messages, QStringList{kCheck});
        QCOMPARE(results(), (QStringList{"10152.32", ".", "."}));
        QCOMPARE(picture(), QString("ftank0"));
    }

    void bad_text_reports_once_and_keeps_what_is_displayed_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("capacity");
        QTest::newRow("diameter letters") << "txtTankDiameter" << "abc" << "inches" << "10,000";
        QTest::newRow("length empty") << "txtTankLength" << "" << "feet" << "10,000";
        QTest::newRow("level letters in feet") << "txtProductLevel" << "x" << "feet" << "10,000";
        QTest::newRow("level letters in inches, after the capacity") << "txtProductLevel" << "x" << "inches" << "10152.32";
        QTest::newRow("huge diameter") << "txtTankDiameter" << "1e30" << "inches" << "10,000";
        QTest::newRow("a decimal comma after a lone 0") << "txtTankDiameter" << "0,125" << "inches" << "10,000";
        QTest::newRow("level beyond single precision, after the capacity")
            << "txtProductLevel" << "1e39" << "inches" << "10152.32";
        QTest::newRow("typed unknown unit") << "txtTankDiameter" << "96" << "yards" << "10,000";
    }
    void bad_text_reports_once_and_keeps_what_is_displayed() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, unit);
        QFETCH(QString, capacity);
        if (unit == "feet") {
            choose("cboLengthUnits", "feet");
        } else {
            w<QComboBox>("cboLengthUnits")->setCurrentText(unit);
        }
        retype(w(field.toLatin1().constData()), value);
        calculate();
        QCOMPARE(host->messages, QStringList{kCheck});
        QCOMPARE(results(), (QStringList{capacity, "10,000", "10,000"}));
        QCOMPARE(picture(), QString("ftank0"));
    }

    void zero_diameter_reports_twice_and_shows_the_empty_tank() {
        retype(w("txtTankDiameter"), "0");
        calculate();
        QCOMPARE(host->messages, (QStringList{kCheck, kCheck}));
        QCOMPARE(results(), (QStringList{".", ".", "."}));
        QCOMPARE(picture(), QString("ftank0"));
    }

    void shapes_show_their_empty_tank_and_the_cylinder_note() {
        calculate();
        choose("cboTankShape", "Cylindrical (Fiberglass)");
        QCOMPARE(picture(), QString("ctank0"));
        QVERIFY(w<QLabel>("lblCylinderInfo")->isVisible());
        QCOMPARE(results(), (QStringList{"10152.32", "5076.16", "5040.63"}));
        choose("cboTankShape", "Vertical (Aboveground)");
        QCOMPARE(picture(), QString("vtank0"));
        QVERIFY(!w<QLabel>("lblCylinderInfo")->isVisible());
    }

    void typed_coefficient_and_product_temperature_at_reference() {
        retype(w("txtCe"), "0.001");
        calculate();
        QCOMPARE(text("txtNetVolume"), QString("5040.63"));
        retype(w("txtProductTemp"), "60");
        calculate();
        QCOMPARE(text("txtNetVolume"), QString("5076.16"));
    }

    void length_units_convert_the_three_lengths() {
        choose("cboLengthUnits", "feet");
        QCOMPARE(lengths(), (QStringList{"8.", "27.", "4."}));
        QCOMPARE((QStringList{label("lbllengths_0"), label("lbllengths_1"), label("lbllengths_2")}),
                 (QStringList{"feet", "feet", "feet"}));
        choose("cboLengthUnits", "meters");
        QCOMPARE(lengths(), (QStringList{"2.4384", "8.2296", "1.2192"}));
        choose("cboLengthUnits", "feet");
        QCOMPARE(lengths(), (QStringList{"8.", "27.", "4."}));
        choose("cboLengthUnits", "feet");
        QCOMPARE(lengths(), (QStringList{"8.", "27.", "4."}));
    }

    void choosing_the_unit_in_force_redisplays() {
        choose("cboLengthUnits", "inches");
        QCOMPARE(lengths(), (QStringList{"96.", "324.", "48."}));
    }

    void typed_list_text_is_no_choice_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("then");  // the key that ends the typing, if any
        QTest::newRow("length unit") << "cboLengthUnits" << "feet" << "";
        QTest::newRow("length unit, then Enter") << "cboLengthUnits" << "feet" << "Enter";
        QTest::newRow("length unit, then Tab") << "cboLengthUnits" << "feet" << "Tab";
        QTest::newRow("temperature unit, then Enter") << "cboTempUnits" << "degrees C" << "Enter";
        QTest::newRow("product, then Tab") << "cboProductType" << "Diesel Fuel" << "Tab";
    }
    void typed_list_text_is_no_choice() {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        QFETCH(QString, then);
        auto* edit = w<QComboBox>(qPrintable(list))->lineEdit();
        retype(edit, typed);
        if (!then.isEmpty()) {
            QTest::keyClick(edit, then == "Tab" ? Qt::Key_Tab : Qt::Key_Return);
        }
        QCOMPARE(edit->text(), typed);
        QCOMPARE(lengths(), (QStringList{"96", "324", "48"}));
        QCOMPARE(label("lbllengths_0"), QString("inches"));
        QCOMPARE(text("txtProductTemp"), QString("70"));
        QCOMPARE(label("lblTemp_0"), QString("degrees F"));
        QCOMPARE(window->coefficient(), QString("0.0007"));
        // The next choice converts from the unit the values are really in.
        choose("cboLengthUnits", "millimeters");
        QCOMPARE(text("txtTankDiameter"), QString("2438.4"));
    }

    void volume_units_before_a_calculation_convert_the_placeholder() {
        choose("cboVolumeUnits", "litres");
        QCOMPARE(results(), (QStringList{"37.85", "37.85", "37.85"}));
        QCOMPARE(text("txtCe"), QString(".00265"));
        QCOMPARE(window->coefficient(), QString("0.0007"));
        QCOMPARE(label("lblVolumes_3"), QString("litres"));
        choose("cboVolumeUnits", "gallons");
        QCOMPARE(results(), (QStringList{"10.", "10.", "10."}));
    }

    void volume_units_after_a_calculation() {
        calculate();
        choose("cboVolumeUnits", "litres");
        QCOMPARE(results(), (QStringList{"38430.71", "19215.36", "19080.86"}));
        choose("cboVolumeUnits", "millilitres");
        choose("cboVolumeUnits", "gallons");
        QCOMPARE(results(), (QStringList{"10152.32", "5076.16", "5040.63"}));
        choose("cboVolumeUnits", "millilitres");
        QCOMPARE(text("txtTankCapacity"), QString("38430711.76"));
    }

    void temperature_units_convert_and_come_back() {
        choose("cboTempUnits", "degrees C");
        QCOMPARE(text("txtProductTemp"), QString("21.11"));
        QCOMPARE(text("txtCeTempRef"), QString("15"));
        QCOMPARE(text("txtCe"), QString(".00126"));
        QCOMPARE(window->coefficient(), QString("0.00126"));
        QCOMPARE(label("lblTemp_0"), QString("degrees C"));
        QCOMPARE(label("lblTemp_1"), QString("degrees C"));
        QCOMPARE(label("lblTemp_2"), QString("degrees F"));
        choose("cboTempUnits", "degrees F");
        QCOMPARE(text("txtProductTemp"), QString("70."));
        QCOMPARE(text("txtCeTempRef"), QString("60"));
        QCOMPARE(text("txtCe"), QString(".0007"));
        QCOMPARE(window->coefficient(), QString("0.0007"));
    }

    void the_same_temperature_unit_redisplays() {
        choose("cboTempUnits", "degrees F");
        QCOMPARE(text("txtProductTemp"), QString("70."));
        QCOMPARE(text("txtCe"), QString(".0007"));
        QCOMPARE(text("txtCeTempRef"), QString("60."));
        retype(w("txtProductTemp"), "warm");
        choose("cboTempUnits", "degrees F");
        QCOMPARE(text("txtProductTemp"), QString("warm"));
        QVERIFY(host->messages.isEmpty());
    }

    void a_temperature_change_that_cannot_convert_keeps_the_window_true() {
        retype(w("txtProductTemp"), "warm");
        choose("cboTempUnits", "degrees C");
        QCOMPARE(host->messages, QStringList{kCheck});
        QCOMPARE(text("txtProductTemp"), QString("warm"));
        QCOMPARE(text("txtCeTempRef"), QString("60"));
        QCOMPARE(label("lblTemp_0"), QString("degrees F"));
        QCOMPARE(w<QComboBox>("cboTempUnits")->currentText(), QString("degrees F"));
        QCOMPARE(w<QComboBox>("cboTempUnits")->currentIndex(), 0);
        QCOMPARE(window->coefficient(), QString("0.0007"));
        retype(w("txtProductTemp"), "70");
        choose("cboTempUnits", "degrees C");
        QCOMPARE(text("txtProductTemp"), QString("21.11"));
    }

    void a_volume_change_that_overflows_keeps_the_window_true() {
        retype(w("txtNetVolume"), "1e306");
        choose("cboVolumeUnits", "millilitres");
        QCOMPARE(host->messages, QStringList{kCheck});
        QCOMPARE(label("lblVolumes_0"), QString("gallons"));
        QCOMPARE(w<QComboBox>("cboVolumeUnits")->currentText(), QString("gallons"));
        QCOMPARE(w<QComboBox>("cboVolumeUnits")->currentIndex(), 0);
        QCOMPARE(text("txtTankCapacity"), QString("10,000"));
        choose("cboVolumeUnits", "litres");
        QCOMPARE(text("txtTankCapacity"), QString("37.85"));
    }

    void products_set_the_coefficient_by_temperature_unit() {
        choose("cboProductType", "Diesel Fuel");
        QCOMPARE(window->coefficient(), QString("0.00047"));
        QCOMPARE(text("txtCe"), QString("0.00047"));
        calculate();
        QCOMPARE(text("txtNetVolume"), QString("5052.3"));
        choose("cboTempUnits", "degrees C");
        choose("cboProductType", "Kerosene");
        QCOMPARE(window->coefficient(), QString("0.000846"));
        QCOMPARE(text("txtCe"), QString(".00085"));
        choose("cboProductType", "Regular Unleaded");
        QCOMPARE(window->coefficient(), QString("0.00126"));
        QCOMPARE(text("txtCe"), QString(".00085"));
    }

    void typed_temperature_text_leaves_the_product_coefficient() {
        retype(w<QComboBox>("cboTempUnits"), "kelvin");
        choose("cboProductType", "Diesel Fuel");
        QCOMPARE(window->coefficient(), QString("0.0007"));
        QCOMPARE(text("txtCe"), QString("0.0007"));
    }

    void decimal_comma_locale_reads_and_writes_commas() {
        window.reset();
        QLocale::setDefault(testing::decimalCommaLocale());
        window = std::make_unique<frmUllex>(*host, *store);
        window->show();
        QCOMPARE(text("txtCe"), QString("0,0007"));
        choose("cboLengthUnits", "millimeters");
        QCOMPARE(lengths(), (QStringList{"2438,4", "8229,6", "1219,2"}));
        calculate();
        QCOMPARE(results(), (QStringList{"10152,32", "5076,16", "5040,63"}));
        choose("cboLengthUnits", "feet");
        QCOMPARE(lengths(), (QStringList{"8,", "27,", "4,"}));
        choose("cboTempUnits", "degrees C");
        QCOMPARE(text("txtProductTemp"), QString("21,11"));
        QCOMPARE(window->coefficient(), QString("0,00126"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(host->messages, QStringList{});
    }

};

BRIMWELL_WINDOW_TEST_MAIN(TankWindowTest)
#include "test_frmullex.moc"
