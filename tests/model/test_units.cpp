#include <QtTest>

#include "numbertext.h"
#include "units.h"

using namespace brimwell;

class UnitsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void length_factors_convert_shown_values_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("inches to feet") << "inches" << "feet" << 96.0 << "8.";
        QTest::newRow("feet to meters") << "feet" << "meters" << 8.0 << "2.4384";
        QTest::newRow("meters to feet") << "meters" << "feet" << 2.4384 << "8.";
        QTest::newRow("feet to millimeters") << "feet" << "millimeters" << 8.0 << "2438.4";
        QTest::newRow("inches to millimeters") << "inches" << "millimeters" << 96.0 << "2438.4";
        QTest::newRow("millimeters to feet") << "millimeters" << "feet" << 2438.4 << "8.";
        QTest::newRow("centimeters to meters") << "centimeters" << "meters" << 324.0 << "3.24";
    }
    void length_factors_convert_shown_values() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, value);
        QFETCH(QString, shown);
        const auto factor = LengthFactor(from.toStdString(), to.toStdString());
        QVERIFY(factor);
        QCOMPARE(QString::fromStdString(formatPattern(value * *factor, "#######.#####")), shown);
    }

    void factors_are_the_written_expressions() {
        QCOMPARE(*LengthFactor("feet", "millimeters"), 12 * 25.4);
        QVERIFY(*LengthFactor("feet", "millimeters") < 304.8);  // one unit in the last place below
        QCOMPARE(*LengthFactor("meters", "feet"), 1.0 / 12 / 0.0254);
        QCOMPARE(*VolumeFactor("cubic meters", "millilitres"), 1000000.0);
        QCOMPARE(*VolumeFactor("gallons", "cubic meters"), 3.785411784 / 1000);
        for (auto unit : kLengthUnits) {
            QCOMPARE(*LengthFactor(unit, unit), 1.0);
        }
        for (auto unit : kVolumeUnits) {
            QCOMPARE(*VolumeFactor(unit, unit), 1.0);
        }
    }

    void volume_factors_convert_shown_values() {
        const double g2l = *VolumeFactor("gallons", "litres");
        QCOMPARE(formatPattern(10152.32 * g2l, "##########.##"), std::string("38430.71"));
        QCOMPARE(formatPattern(1 * g2l, "##########.##"), std::string("3.79"));
        const double ml = 10152.32 * *VolumeFactor("gallons", "millilitres");
        QCOMPARE(formatPattern(ml, "##########.##"), std::string("38430711.76"));
        QCOMPARE(formatPattern(38430711.76 * *VolumeFactor("millilitres", "gallons"), "##########.##"),
                 std::string("10152.32"));
    }

    void unknown_unit_texts_have_no_factor() {
        QVERIFY(!LengthFactor("yards", "feet"));
        QVERIFY(!LengthFactor("feet", "Feet"));
        QVERIFY(!VolumeFactor("gallons", "barrels"));
        QVERIFY(!LengthToInches(1, "furlongs"));
        QVERIFY(!GallonFactor("pints"));
        QVERIFY(!ConvertTemperature(1, "kelvin", "degrees C"));
        QVERIFY(!ReferenceTemperature("kelvin"));
    }

    void lengths_go_to_inches_by_the_units_factor() {
        QCOMPARE(*LengthToInches(8, "feet"), 96.0);
        QCOMPARE(*LengthToInches(2438.4, "millimeters"), 2438.4 / 25.4);
        QCOMPARE(*LengthToInches(243.84, "centimeters"), 243.84 / 2.54);
        QCOMPARE(*LengthToInches(2.4384, "meters"), 2.4384 / 0.0254);
        QCOMPARE(*GallonFactor("cubic meters"), 0.003785411784);
    }

    void temperatures_convert_and_the_reference_is_looked_up() {
        const double c = *ConvertTemperature(70, "degrees F", "degrees C");
        QCOMPARE(formatPattern(c, "##########.##"), std::string("21.11"));
        const double f = *ConvertTemperature(21.11, "degrees C", "degrees F");
        QCOMPARE(formatPattern(f, "##########.##"), std::string("70."));
        QCOMPARE(*ConvertTemperature(70, "degrees F", "degrees F"), 70.0);
        QCOMPARE(formatGeneral(*ConvertCoefficient(0.0007, "degrees F", "degrees C")), std::string("0.00126"));
        QCOMPARE(formatGeneral(*ConvertCoefficient(0.00126, "degrees C", "degrees F")), std::string("0.0007"));
        QCOMPARE(*ReferenceTemperature("degrees F"), 60.0);
        QCOMPARE(*ReferenceTemperature("degrees C"), 15.0);
    }
};

QTEST_APPLESS_MAIN(UnitsTest)
#include "test_units.moc"
