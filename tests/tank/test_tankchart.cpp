#include <QtTest>

#include "tank/tankchart.h"
#include "model/window/tankmodel.h"

using namespace brimwell;

namespace {
QStringList chartLines(const TankChartParams& params, bool* failed = nullptr) {
    CountingReporter reporter;
    TankChart chart(params, reporter);
    QStringList lines;
    while (const auto line = chart.nextLine()) {
        lines << QString::fromLatin1(line->data(), static_cast<qsizetype>(line->size()));
    }
    if (failed) {
        *failed = chart.failed();
    }
    return lines;
}

TankChartParams flat(double diameter, int steps, std::string unit = "gallons") {
    return {diameter / 2, 100, static_cast<std::int16_t>(steps), TankShape::FlatEnded,
            *parseVolumeUnit(unit)};
}
}  // namespace

class TankChartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void worked_example_byte_for_byte() {
        const QStringList lines = chartLines(flat(48, 4));
        const QStringList expected{
            "LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME",
            "  0.00 -  24.00     0.00,     0.00   12.00,   153.15   24.00,   391.68  ",
            " 36.00 -  48.00    36.00,   630.21   48.00,   783.36  ",
        };
        QCOMPARE(lines, expected);
        QCOMPARE(lines[0].size(), 69);
        QCOMPARE(lines[1].size(), 72);
        QCOMPARE(lines[2].size(), 54);
    }

    void line_grouping_by_step_count_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QStringList>("dataLines");
        QTest::newRow("one step") << 1 << QStringList{
            "  0.00 -  48.00     0.00,     0.00   48.00,   783.36  "};
        QTest::newRow("two steps") << 2 << QStringList{
            "  0.00 -  48.00     0.00,     0.00   24.00,   391.68   48.00,   783.36  "};
        QTest::newRow("three steps") << 3 << QStringList{
            "  0.00 -  32.00     0.00,     0.00   16.00,   228.58   32.00,   554.78  ",
            " 48.00 -  48.00    48.00,   783.36  "};
        QTest::newRow("negative steps") << -5 << QStringList{};
    }
    void line_grouping_by_step_count() {
        QFETCH(int, steps);
        QFETCH(QStringList, dataLines);
        bool failed = true;
        QStringList lines = chartLines(flat(48, steps), &failed);
        QVERIFY(!failed);
        QCOMPARE(lines.takeFirst().size(), 69);
        QCOMPARE(lines, dataLines);
    }

    void zero_steps_fail_after_the_header() {
        bool failed = false;
        const QStringList lines = chartLines(flat(48, 0), &failed);
        QVERIFY(failed);
        QCOMPARE(lines.size(), 1);
    }

    void eighths_of_an_inch_round_halves_away_from_zero() {
        const QStringList lines = chartLines(flat(1, 8));
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[1].contains("  0.13,"));
        QVERIFY(lines[2].contains("  0.38,"));
        QVERIFY(lines[2].contains("  0.63,"));
        QVERIFY(lines[3].contains("  0.88,"));
    }

    void over_wide_numbers_are_written_whole() {
        TankChartParams params{600, 1000, 1, TankShape::FlatEnded, VolumeUnit::Millilitres};
        const QStringList lines = chartLines(params);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1], QString("  0.00 - 1200.00     0.00,     0.00  1200.00,18533332992.00  "));
    }

    void default_tank_in_tenths_of_an_inch() {
        TankChartParams params{48, 324, 960, TankShape::FlatEnded, VolumeUnit::Gallons};
        const QStringList lines = chartLines(params);
        QCOMPARE(lines.size(), 1 + 321);
        QCOMPARE(lines.last(), QString(" 96.00 -  96.00    96.00, 10152.32  "));
        for (const QString& line : lines.mid(1, 320)) {
            QCOMPARE(line.size(), 72);
        }
    }

    void levels_run_to_the_diameter_for_every_shape() {
        for (auto shape : {TankShape::FlatEnded, TankShape::Cylindrical, TankShape::Vertical}) {
            TankChartParams params{48, 324, 2, shape, VolumeUnit::Litres};
            const QStringList lines = chartLines(params);
            QVERIFY(lines[1].contains(" 96.00,"));
        }
    }
};

QTEST_APPLESS_MAIN(TankChartTest)
#include "test_tankchart.moc"
