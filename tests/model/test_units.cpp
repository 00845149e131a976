#include <QtTest>

#include "model/text/numbertext.h"
#include "model/units/units.h"

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
        const auto fromUnit = parseLengthUnit(from.toStdString());
        const auto toUnit = parseLengthUnit(to.toStdString());
        QVERIFY(fromUnit && toUnit);
        const double factor = LengthFactor(*fromUnit, *toUnit);
        QCOMPARE(QString::fromStdString(formatPattern(value * factor, "#######.#####")), shown);
    }

    void factors_are_the_written_expressions() {
        using L = LengthUnit;
        using V = VolumeUnit;
        QCOMPARE(LengthFactor(L::Feet, L::Millimeters), 12 * 25.4);
        QVERIFY(LengthFactor(L::Feet, L::Millimeters) < 304.8);  // one unit in the last place below
        QCOMPARE(LengthFactor(L::Meters, L::Feet), 1.0 / 12 / 0.0254);
        QCOMPARE(VolumeFactor(V::CubicMeters, V::Millilitres), 1000000.0);
        QCOMPARE(VolumeFactor(V::Gallons, V::CubicMeters), 3.785411784 / 1000);
        for (auto name : kLengthUnits) {
            const auto unit = *parseLengthUnit(name);
            QCOMPARE(LengthFactor(unit, unit), 1.0);
            QCOMPARE(unitName(unit), name);
        }
        for (auto name : kVolumeUnits) {
            const auto unit = *parseVolumeUnit(name);
            QCOMPARE(VolumeFactor(unit, unit), 1.0);
            QCOMPARE(unitName(unit), name);
        }
    }

    void volume_factors_convert_shown_values() {
        using V = VolumeUnit;
        const double g2l = VolumeFactor(V::Gallons, V::Litres);
        QCOMPARE(formatPattern(10152.32 * g2l, "##########.##"), std::string("38430.71"));
        QCOMPARE(formatPattern(1 * g2l, "##########.##"), std::string("3.79"));
        const double ml = 10152.32 * VolumeFactor(V::Gallons, V::Millilitres);
        QCOMPARE(formatPattern(ml, "##########.##"), std::string("38430711.76"));
        QCOMPARE(formatPattern(38430711.76 * VolumeFactor(V::Millilitres, V::Gallons), "##########.##"),
                 std::string("10152.32"));
    }

    void unknown_unit_texts_name_no_unit() {
        QVERIFY(!parseLengthUnit("yards"));
        QVERIFY(!parseLengthUnit("Feet"));
        QVERIFY(!parseVolumeUnit("barrels"));
        QVERIFY(!parseTempUnit("kelvin"));
        QVERIFY(!parseTempUnit("degrees F "));
    }

    void lengths_go_to_inches_by_the_units_factor() {
        QCOMPARE(lengthToInches(8, LengthUnit::Feet), 96.0);
        QCOMPARE(lengthToInches(2438.4, LengthUnit::Millimeters), 2438.4 / 25.4);
        QCOMPARE(lengthToInches(243.84, LengthUnit::Centimeters), 243.84 / 2.54);
        QCOMPARE(lengthToInches(2.4384, LengthUnit::Meters), 2.4384 / 0.0254);
        QCOMPARE(gallonFactor(VolumeUnit::CubicMeters), 0.003785411784);
    }

    void temperatures_convert_and_the_reference_is_looked_up() {
        const auto F = TempUnit::DegreesF;
        const auto C = TempUnit::DegreesC;
        QCOMPARE(formatPattern(ConvertTemperature(70, F, C), "##########.##"), std::string("21.11"));
        QCOMPARE(formatPattern(ConvertTemperature(21.11, C, F), "##########.##"), std::string("70."));
        QCOMPARE(ConvertTemperature(70, F, F), 70.0);
        QCOMPARE(formatGeneral(ConvertCoefficient(0.0007, F, C)), std::string("0.00126"));
        QCOMPARE(formatGeneral(ConvertCoefficient(0.00126, C, F)), std::string("0.0007"));
        QCOMPARE(ReferenceTemperature(F), 60.0);
        QCOMPARE(ReferenceTemperature(C), 15.0);
    }
};

QTEST_APPLESS_MAIN(UnitsTest)
#include "test_units.moc"
