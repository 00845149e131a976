#include <QtTest>

#include "tank/tankcalculation.h"
#include "tank/unitconversion.h"

using namespace brimwell;

namespace {
const NumberFormat kPoint{".", ","};

TankInputs defaults() {
    return {TankShape::FlatEnded, LengthUnit::Inches, VolumeUnit::Gallons, "96", "324", "48", "70", "60", "0.0007"};
}
}  // namespace

class TankCalculationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void measures_in_inches_by_length_unit_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("level");
        QTest::newRow("feet") << "feet" << "8" << "27" << "4";
        QTest::newRow("millimeters") << "millimeters" << "2438.4" << "8229.6" << "1219.2";
        QTest::newRow("centimeters") << "centimeters" << "243.84" << "822.96" << "121.92";
        QTest::newRow("meters") << "meters" << "2.4384" << "8.2296" << "1.2192";
    }
    void measures_in_inches_by_length_unit() {
        QFETCH(QString, unit);
        QFETCH(QString, diameter);
        QFETCH(QString, length);
        QFETCH(QString, level);
        TankInputs in = defaults();
        in.lengthUnit = parseLengthUnit(unit.toStdString());
        in.diameter = diameter.toStdString();
        in.length = length.toStdString();
        in.level = level.toStdString();
        const auto m = readMeasures(in, kPoint);
        QVERIFY(m);
        QCOMPARE(qRound(m->r * 1e6), qRound(48e6));
        QCOMPARE(qRound(m->L * 1e6), qRound(324e6));
        QCOMPARE(qRound(m->h * 1e6), qRound(48e6));
    }

    void inches_leave_the_level_for_later() {
        TankInputs in = defaults();
        in.level = "abc";
        QVERIFY(readMeasures(in, kPoint));
        QVERIFY(!readLevelInInches(in, kPoint));
        in.lengthUnit = LengthUnit::Feet;
        QVERIFY(!readMeasures(in, kPoint));
    }

    void unreadable_or_unknown_inputs_are_refused_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("empty diameter") << "diameter" << "";
        QTest::newRow("letters in length") << "length" << "long";
        QTest::newRow("typed length unit") << "unit" << "yards";
        QTest::newRow("overflowing meters") << "diameter" << "1e307";
    }
    void unreadable_or_unknown_inputs_are_refused() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        TankInputs in = defaults();
        in.lengthUnit = LengthUnit::Meters;
        if (field == "unit") {
            in.lengthUnit = parseLengthUnit(value.toStdString());
        } else {
            (field == "diameter" ? in.diameter : in.length) = value.toStdString();
        }
        QVERIFY(!readMeasures(in, kPoint));
    }

    void capacity_in_the_volume_unit() {
        const auto flat = TankShape::FlatEnded;
        QCOMPARE(*capacityInUnit(flat, 48, 324, VolumeUnit::Litres), static_cast<float>(10152.3223f * 3.785411784));
        QVERIFY(!capacityInUnit(flat, 48, 324, parseVolumeUnit("barrels")));
        QVERIFY(!capacityInUnit(flat, 1e18, 1e18, VolumeUnit::Millilitres));
    }

    void net_volume_reads_the_stored_coefficient_strictly() {
        TankInputs in = defaults();
        QCOMPARE(formatPattern(*netVolumeOf(5076.16f, in, kPoint), kVolumePattern), std::string("5040.63"));
        in.productTemp = "60 degrees";  // read leniently: 60
        QCOMPARE(*netVolumeOf(5076.16f, in, kPoint), 5076.16f);
        in.cevalue = "";
        QVERIFY(!netVolumeOf(5076.16f, in, kPoint));
        in = defaults();
        in.productTemp = "1e300";
        QVERIFY(!netVolumeOf(5076.16f, in, kPoint));
    }

    void fill_picture_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QString>("capacity");
        QTest::addColumn<QString>("picture");  // empty: unchanged
        const QString flat = "Flat-Ended (Steel)";
        QTest::newRow("half") << flat << "48" << "5076.16" << "10152.32" << "ftank50";
        QTest::newRow("full") << flat << "96" << "10152.32" << "10152.32" << "ftank100";
        QTest::newRow("97 percent") << flat << "90" << "9888" << "10152.32" << "ftank100";
        QTest::newRow("just below 95") << flat << "1" << "94.99" << "100" << "ftank90";
        QTest::newRow("85") << flat << "1" << "85" << "100" << "ftank90";
        QTest::newRow("60") << flat << "1" << "60" << "100" << "ftank75";
        QTest::newRow("39.4") << flat << "40" << "39.4" << "100" << "ftank25";
        QTest::newRow("20") << flat << "1" << "20" << "100" << "ftank25";
        QTest::newRow("tiny") << flat << "1" << ".01" << "100" << "ftank10";
        QTest::newRow("zero gross") << flat << "100" << "." << "10152.32" << "ftank0";
        QTest::newRow("zero capacity") << flat << "1" << "." << "." << "ftank0";
        QTest::newRow("level zero") << flat << "0" << "." << "10152.32" << "";
        QTest::newRow("negative ratio") << "Vertical (Aboveground)" << "5" << "-3" << "100" << "";
        QTest::newRow("vertical") << "Vertical (Aboveground)" << "48" << "1504.05" << "10152.32" << "vtank10";
        QTest::newRow("cylindrical") << "Cylindrical (Fiberglass)" << "48" << "6078.86" << "12157.72" << "ctank50";
        QTest::newRow("above capacity") << "Vertical (Aboveground)" << "400" << "12533.73" << "10152.32" << "vtank100";
    }
    void fill_picture() {
        QFETCH(QString, shape);
        QFETCH(QString, level);
        QFETCH(QString, gross);
        QFETCH(QString, capacity);
        QFETCH(QString, picture);
        const auto got = fillPicture(*parseTankShape(shape.toStdString()), level.toStdString(), gross.toStdString(),
                                     capacity.toStdString(), ".");
        QCOMPARE(QString::fromStdString(got.value_or("")), picture);
    }

    void temperature_fields_change_scale_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("after");  // empty: refused
        QTest::newRow("F to C") << QStringList{"70", "60", "0.0007", "0.0007"} << "degrees F" << "degrees C"
                                << QStringList{"21.11", "15", ".00126", "0.00126"};
        QTest::newRow("C to F") << QStringList{"21.11", "15", ".00126", "0.00126"} << "degrees C" << "degrees F"
                                << QStringList{"70.", "60", ".0007", "0.0007"};
        QTest::newRow("C to F, lenient temperature") << QStringList{"", "15", ".00126", "0.00126"} << "degrees C" << "degrees F"
                                << QStringList{"32.", "60", ".0007", "0.0007"};
        QTest::newRow("F to C, temperature not a number") << QStringList{"warm", "60", "0.0007", "0.0007"} << "degrees F" << "degrees C"
                                << QStringList{};
        QTest::newRow("shown coefficient not a number") << QStringList{"70", "60", "x", "0.0007"} << "degrees F" << "degrees C"
                                << QStringList{};
        QTest::newRow("overflow") << QStringList{"1e308", "60", "0.0007", "0.0007"} << "degrees F" << "degrees C"
                                << QStringList{};
    }
    void temperature_fields_change_scale() {
        QFETCH(QStringList, before);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, after);
        const TemperatureFields in{before[0].toStdString(), before[1].toStdString(),
                                   before[2].toStdString(), before[3].toStdString()};
        const auto out = convertTemperatureFields(in, *parseTempUnit(from.toStdString()),
                                                  *parseTempUnit(to.toStdString()), kPoint);
        QCOMPARE(out.has_value(), !after.isEmpty());
        if (out) {
            QCOMPARE((QStringList{QString::fromStdString(out->productTemp), QString::fromStdString(out->referenceTemp),
                                  QString::fromStdString(out->shownCoefficient), QString::fromStdString(out->cevalue)}),
                     after);
        }
    }

    void same_scale_redisplays_and_keeps_text_that_is_no_number() {
        const auto out = redisplayTemperatureFields({"70", "warm", "0.0007", "keep"}, kPoint);
        QCOMPARE(out.productTemp, std::string("70."));
        QCOMPARE(out.referenceTemp, std::string("warm"));
        QCOMPARE(out.shownCoefficient, std::string(".0007"));
        QCOMPARE(out.cevalue, std::string("keep"));
    }

    void scaling_texts_is_all_or_nothing() {
        const auto ok = scaleTexts({"10,000", "", "5076.16"}, 3.785411784, kResultPattern, ".");
        QCOMPARE(*ok, (std::vector<std::string>{"37.85", ".", "19215.36"}));
        QVERIFY(!scaleTexts({"1", "1e308"}, 1000, kResultPattern, "."));
    }
};

QTEST_APPLESS_MAIN(TankCalculationTest)
#include "test_tankcalculation.moc"
