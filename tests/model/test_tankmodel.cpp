#include <QtTest>

#include <cfloat>
#include <cmath>
#include <vector>

#include "model/text/numbertext.h"
#include "model/window/tankmodel.h"

using namespace brimwell;

namespace {
QString shown(double value) { return QString::fromStdString(formatPattern(value, "##########.##")); }
TankShape shapeNamed(const QString& name) { return *parseTankShape(name.toStdString()); }
}  // namespace

class TankModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void capacity_of_each_shape_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("capacity");
        QTest::newRow("flat") << "Flat-Ended (Steel)" << "10152.32";
        QTest::newRow("cylindrical") << "Cylindrical (Fiberglass)" << "12157.72";
        QTest::newRow("vertical") << "Vertical (Aboveground)" << "10152.32";
    }
    void capacity_of_each_shape() {
        QFETCH(QString, shape);
        QFETCH(QString, capacity);
        const auto c = TankCapacity(shapeNamed(shape), 48, 324);
        QVERIFY(c);
        QCOMPARE(shown(*c), capacity);
    }

    void capacity_beyond_single_precision_is_no_value() {
        QVERIFY(!TankCapacity(TankShape::FlatEnded, 1e20, 1e20));
        QVERIFY(!TankCapacity(TankShape::Vertical, HUGE_VAL, 1));
    }

    void volume_at_level_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<float>("h");
        QTest::addColumn<float>("r");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<int>("failures");
        const QString flat = "Flat-Ended (Steel)", cyl = "Cylindrical (Fiberglass)", vert = "Vertical (Aboveground)";
        QTest::newRow("flat quarter") << flat << 24.f << 48.f << "gallons" << "1984.79" << 0;
        QTest::newRow("flat half") << flat << 48.f << 48.f << "gallons" << "5076.16" << 0;
        QTest::newRow("flat full") << flat << 96.f << 48.f << "gallons" << "10152.32" << 0;
        QTest::newRow("flat litres") << flat << 48.f << 48.f << "litres" << "19215.36" << 0;
        // The length per gallon, 324 / 231, is rounded to single precision: 22770.59 without.
        QTest::newRow("flat litres, single length") << flat << 55.f << 48.f << "litres" << "22770.6" << 0;
        QTest::newRow("cylindrical half") << cyl << 48.f << 48.f << "gallons" << "6078.86" << 0;
        QTest::newRow("cylindrical full") << cyl << 96.f << 48.f << "gallons" << "12157.72" << 0;
        QTest::newRow("vertical") << vert << 48.f << 48.f << "gallons" << "1504.05" << 0;
        QTest::newRow("vertical above its height") << vert << 400.f << 48.f << "gallons" << "12533.73" << 0;
        QTest::newRow("vertical negative") << vert << -48.f << 48.f << "gallons" << "-1504.05" << 0;
        for (const QString& s : {flat, cyl, vert}) {
            QTest::newRow(qPrintable("empty " + s)) << s << 0.f << 48.f << "gallons" << "." << 0;
        }
        QTest::newRow("flat above diameter") << flat << 100.f << 48.f << "gallons" << "." << 1;
        QTest::newRow("cylindrical below zero") << cyl << -1.f << 48.f << "gallons" << "." << 1;
        QTest::newRow("flat zero radius") << flat << 10.f << 0.f << "gallons" << "." << 2;
        QTest::newRow("cylindrical zero radius") << cyl << 10.f << 0.f << "gallons" << "." << 2;
        QTest::newRow("vertical zero radius") << vert << 10.f << 0.f << "gallons" << "." << 1;
        QTest::newRow("zero radius empty") << flat << 0.f << 0.f << "gallons" << "." << 1;
        QTest::newRow("overflow") << vert << 3e38f << 3e38f << "gallons" << "." << 1;
        QTest::newRow("unit overflow") << vert << 3e10f << 3e13f << "millilitres" << "." << 1;
    }
    void volume_at_level() {
        QFETCH(QString, shape);
        QFETCH(float, h);
        QFETCH(float, r);
        QFETCH(QString, unit);
        QFETCH(QString, volume);
        QFETCH(int, failures);
        CountingReporter reporter;
        const float v = VolumeAtLevel(h, r, 324.f, shapeNamed(shape), *parseVolumeUnit(unit.toStdString()), reporter);
        QVERIFY(std::isfinite(v));
        QCOMPARE(shown(v), volume);
        QCOMPARE(reporter.count, failures);
        if (failures > 0) {
            QCOMPARE(reporter.last, std::string(kCheckSelectionsMessage));
        }
    }

    // Levels taken together (as a chart takes a line's) give each level's own volume, and as many
    // failures, including levels outside the tank and tanks that cannot be.
    void levels_together_as_each_alone_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<float>("r");
        for (const auto shape : kTankShapes) {
            const QString name = QString::fromLatin1(shape.data(), static_cast<qsizetype>(shape.size()));
            QTest::newRow(qPrintable(name)) << name << 48.f;
            QTest::newRow(qPrintable(name + ", no radius")) << name << 0.f;
            QTest::newRow(qPrintable(name + ", overflowing")) << name << 3e38f;
        }
    }
    void levels_together_as_each_alone() {
        QFETCH(QString, shape);
        QFETCH(float, r);
        const std::vector<float> levels{0, 0.01f, 24, 47.99f, 48, 95.5f, 96, 100, -1, 3e38f, 7};
        const LevelVolume volumeAt(shapeNamed(shape), VolumeUnit::Litres);
        CountingReporter alone;
        std::vector<float> expected;
        for (const float h : levels) {
            expected.push_back(volumeAt(h, r, 324, alone));
        }
        CountingReporter together;
        std::vector<float> volumes(levels.size());
        volumeAt(levels, r, 324, together, volumes);
        QCOMPARE(volumes, expected);
        QCOMPARE(together.count, alone.count);
    }

    void litres_are_the_single_precision_gallons_times_the_factor() {
        CountingReporter reporter;
        const float gallons = VolumeAtLevel(48, 48, 324, TankShape::FlatEnded, VolumeUnit::Gallons, reporter);
        const float litres = VolumeAtLevel(48, 48, 324, TankShape::FlatEnded, VolumeUnit::Litres, reporter);
        QCOMPARE(litres, static_cast<float>(gallons * 3.785411784));
    }

    void half_level_is_half_the_capacity() {
        CountingReporter reporter;
        const float half = VolumeAtLevel(48, 48, 324, TankShape::FlatEnded, VolumeUnit::Gallons, reporter);
        QCOMPARE(shown(2.0 * half), shown(*TankCapacity(TankShape::FlatEnded, 48, 324)));
    }
};

QTEST_APPLESS_MAIN(TankModelTest)
#include "test_tankmodel.moc"
