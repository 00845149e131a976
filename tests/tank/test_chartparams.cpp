#include <QtTest>

#include "tank/chartparams.h"
#include "model/window/tankmodel.h"

using namespace brimwell;

Q_DECLARE_METATYPE(ChartRefusal)

namespace {
ChartRequest request(QString diameter, QString increment, QString unit = "inches",
                     QString length = "324") {
    return {diameter.toStdString(), length.toStdString(), parseLengthUnit(unit.toStdString()),
            TankShape::FlatEnded, VolumeUnit::Gallons, increment.toStdString()};
}
}  // namespace

class ChartParamsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void step_count_from_diameter_and_increment_data() {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("radius");
        QTest::newRow("tenths") << "96" << "inches" << "0.10" << 960 << 48.0;
        QTest::newRow("feet, increment in inches") << "8" << "feet" << "0.10" << 960 << 48.0;
        QTest::newRow("half rounds to even below") << "10" << "inches" << "4" << 2 << 5.0;
        QTest::newRow("half rounds to even above") << "7" << "inches" << "2" << 4 << 3.5;
        QTest::newRow("largest") << "96" << "inches" << "0.0029298" << 32767 << 48.0;
        QTest::newRow("worked example") << "48" << "inches" << "12" << 4 << 24.0;
    }
    void step_count_from_diameter_and_increment() {
        QFETCH(QString, diameter);
        QFETCH(QString, unit);
        QFETCH(QString, increment);
        QFETCH(int, steps);
        QFETCH(double, radius);
        const auto params = deriveChartParams(request(diameter, increment, unit));
        QVERIFY(params);
        QCOMPARE(int(params->stepCount), steps);
        QCOMPARE(params->radius, radius);
    }

    void refusals_data() {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<ChartRefusal>("refusal");
        QTest::newRow("diameter letters") << "abc" << "1" << "324" << "inches" << ChartRefusal::DiameterNotANumber;
        QTest::newRow("increment letters") << "96" << "abc" << "324" << "inches" << ChartRefusal::IncrementNotANumber;
        QTest::newRow("increment empty") << "96" << "" << "324" << "inches" << ChartRefusal::IncrementNotANumber;
        QTest::newRow("zero increment") << "96" << "0" << "324" << "inches" << ChartRefusal::InappropriateIncrement;
        QTest::newRow("zero increment zero diameter") << "0" << "0" << "324" << "inches" << ChartRefusal::NoDiameter;
        QTest::newRow("zero diameter") << "0" << "1" << "324" << "inches" << ChartRefusal::NoDiameter;
        QTest::newRow("negative diameter") << "-96" << "-1" << "324" << "inches" << ChartRefusal::NoDiameter;
        QTest::newRow("radius 0 in single precision") << "1e-46" << "1e-48" << "324" << "inches" << ChartRefusal::DiameterTooSmall;
        QTest::newRow("negative increment") << "96" << "-1" << "324" << "inches" << ChartRefusal::InappropriateIncrement;
        QTest::newRow("no step fits") << "96" << "200" << "324" << "inches" << ChartRefusal::InappropriateIncrement;
        QTest::newRow("too many steps") << "96" << "0.001" << "324" << "inches" << ChartRefusal::TooManySteps;
        QTest::newRow("infinitely many steps") << "96" << "1e-320" << "324" << "inches" << ChartRefusal::TooManySteps;
        QTest::newRow("length letters") << "96" << "1" << "abc" << "inches" << ChartRefusal::LengthNotANumber;
        QTest::newRow("length letters in feet") << "8" << "1" << "x" << "feet" << ChartRefusal::LengthNotANumber;
        QTest::newRow("absurd tank") << "96" << "1" << "1e300" << "inches" << ChartRefusal::CapacityOverflow;
        QTest::newRow("diameter beyond single precision, no length")
            << "1e39" << "1e38" << "0" << "inches" << ChartRefusal::CapacityOverflow;
        QTest::newRow("length beyond single precision, thin tank")
            << "1e-20" << "1e-21" << "1e39" << "inches" << ChartRefusal::CapacityOverflow;
        QTest::newRow("typed unit") << "96" << "1" << "324" << "yards" << ChartRefusal::UnknownUnit;
    }
    void refusals() {
        QFETCH(QString, diameter);
        QFETCH(QString, increment);
        QFETCH(QString, length);
        QFETCH(QString, unit);
        QFETCH(ChartRefusal, refusal);
        const auto result = deriveChartParams(request(diameter, increment, unit, length));
        QVERIFY(!result);
        QCOMPARE(int(result.error()), int(refusal));
    }

    void decimal_comma_notation() {
        const auto params = deriveChartParams(request("2438,4", "0,1", "millimeters", "8229,6"),
                                              NumberFormat{",", "."});
        QVERIFY(params);
        QCOMPARE(int(params->stepCount), 960);
    }
};

QTEST_APPLESS_MAIN(ChartParamsTest)
#include "test_chartparams.moc"
