#include <QtTest>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tank/chartstream.h"
#include "cli/levelchart.h"
#include "model/window/tankmodel.h"

using namespace brimwell;

namespace {

// The chart built line by line: its text with CR LF ends, and after each line how many failures
// had been reported by then.
struct LineByLine {
    std::string text;
    std::vector<int> failuresAfterLine;
};

LineByLine lineByLine(const TankChartParams& params) {
    CountingReporter reporter;
    TankChart chart(params, reporter);
    LineByLine result;
    while (const auto line = chart.nextLine()) {
        result.text += *line;
        result.text += "\r\n";
        result.failuresAfterLine.push_back(reporter.count);
    }
    return result;
}

TankChartParams tank(TankShape shape, double radius, double length, int steps) {
    return {radius, length, static_cast<std::int16_t>(steps), shape, VolumeUnit::Gallons};
}

}  // namespace

Q_DECLARE_METATYPE(TankChartParams)
Q_DECLARE_METATYPE(TorisphericalHeads)
Q_DECLARE_METATYPE(ChartFormat)
Q_DECLARE_METATYPE(VolumeUnit)

class ChartStreamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The streamed text is the line-by-line chart's, and each block is handed on with exactly the
    // failures of its own and earlier lines reported.
    void same_text_and_failures_as_line_by_line_data() {
        QTest::addColumn<TankChartParams>("params");
        QTest::newRow("one step") << tank(TankShape::FlatEnded, 24, 100, 1);
        QTest::newRow("worked example") << tank(TankShape::FlatEnded, 24, 100, 4);
        QTest::newRow("a short last block") << tank(TankShape::Vertical, 48, 240, 3 * 1024 * 7 + 2);
        QTest::newRow("largest chart") << tank(TankShape::FlatEnded, 48, 240, 32767);
        QTest::newRow("every level overflows") << tank(TankShape::FlatEnded, 1e19, 1e19, 32767);
        QTest::newRow("short, overflowing") << tank(TankShape::Cylindrical, 1e19, 1e19, 30);
    }
    void same_text_and_failures_as_line_by_line() {
        QFETCH(TankChartParams, params);
        const LineByLine expected = lineByLine(params);
        CountingReporter reporter;
        std::string text;
        int linesHandedOn = 0;
        bool failuresInStep = true;
        const bool complete = streamTankChart(params, reporter, [&](std::string_view block) {
            text += block;
            linesHandedOn += static_cast<int>(std::count(block.begin(), block.end(), '\n'));
            failuresInStep = failuresInStep && block.ends_with("\r\n") &&
                             reporter.count == expected.failuresAfterLine.at(linesHandedOn - 1);
            return true;
        });
        QVERIFY(complete);
        QCOMPARE(text.size(), expected.text.size());
        QVERIFY(text == expected.text);
        QVERIFY(failuresInStep);
        QCOMPARE(reporter.count, expected.failuresAfterLine.back());
    }

    void a_refusing_sink_stops_the_chart_data() {
        QTest::addColumn<int>("steps");
        QTest::newRow("a few blocks") << 12000;
        QTest::newRow("largest chart") << 32767;
    }
    void a_refusing_sink_stops_the_chart() {
        QFETCH(int, steps);
        CountingReporter reporter;
        int blocks = 0;
        const bool complete = streamTankChart(tank(TankShape::FlatEnded, 48, 240, steps), reporter,
                                              [&](std::string_view) { return ++blocks < 2; });
        QVERIFY(!complete);
        QCOMPARE(blocks, 2);
    }

    void what_the_sink_throws_reaches_the_caller() {
        CountingReporter reporter;
        int blocks = 0;
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            streamTankChart(tank(TankShape::FlatEnded, 48, 240, 32767), reporter, [&](std::string_view) {
                if (++blocks == 3) {
                    throw std::runtime_error("disk gone");
                }
                return true;
            }));
        QCOMPARE(blocks, 3);
    }

    // brimwell-tank's chart interpolates a torispherical head between integrated levels, yet
    // writes each row's volume as the reading at its printed level writes it.
    void level_chart_rows_are_readings_data() {
        QTest::addColumn<TorisphericalHeads>("heads");
        QTest::addColumn<VolumeUnit>("unit");
        QTest::addColumn<ChartFormat>("format");
        QTest::newRow("F&D, csv") << TorisphericalHeads{1, 0.06} << VolumeUnit::Gallons << ChartFormat::Csv;
        QTest::newRow("flat crown, thin knuckle") << TorisphericalHeads{20, 0.02} << VolumeUnit::Litres << ChartFormat::Csv;
        QTest::newRow("hemispherical crown, json") << TorisphericalHeads{0.5, 0.3} << VolumeUnit::Millilitres << ChartFormat::Json;
    }
    void level_chart_rows_are_readings() {
        QFETCH(TorisphericalHeads, heads);
        QFETCH(VolumeUnit, unit);
        QFETCH(ChartFormat, format);
        const auto tank =
            TankVolumes::make(*Tank::horizontal(96, 324, heads), 96, LengthUnit::Inches, unit);
        std::string text;
        QVERIFY(streamLevelChart(*tank, LevelChartLayout{0.00096, format, ""}, [&](std::string_view block) {
            text += block;
            return true;
        }));
        const QList<QByteArray> rows = QByteArray::fromStdString(text).split('\n').mid(1, 100001);
        QVERIFY(rows.last().startsWith(format == ChartFormat::Csv ? "96.00000," : "[96.00000, "));
        for (QByteArray row : rows) {
            row = row.trimmed();
            while (row.endsWith(',') || row.endsWith(']')) {
                row.chop(1);
            }
            const QList<QByteArray> pair = row.mid(row.startsWith('[') ? 1 : 0).split(',');
            std::string reading;
            appendVolume(reading, *tank->volumeAt(pair[0].toDouble()));
            QCOMPARE(pair[1].trimmed(), QByteArray::fromStdString(reading));
        }
    }
};

QTEST_GUILESS_MAIN(ChartStreamTest)
#include "test_chartstream.moc"
