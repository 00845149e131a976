#include <QtTest>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tank/chartstream.h"
#include "tests/support/countingreporter.h"
#include "model/tankmodel.h"

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

class ChartStreamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Short charts are built on the calling thread, long ones on two; either way the text is the
    // line-by-line chart's, and each block is handed on with exactly the failures of its own and
    // earlier lines reported.
    void same_text_and_failures_as_line_by_line_data() {
        QTest::addColumn<TankChartParams>("params");
        QTest::newRow("one step") << tank(TankShape::FlatEnded, 24, 100, 1);
        QTest::newRow("worked example") << tank(TankShape::FlatEnded, 24, 100, 4);
        QTest::newRow("last short chart") << tank(TankShape::Cylindrical, 48, 240, 12287);
        QTest::newRow("first long chart") << tank(TankShape::Cylindrical, 48, 240, 12288);
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
        QTest::newRow("one thread") << 12000;
        QTest::newRow("two threads") << 32767;
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
};

QTEST_GUILESS_MAIN(ChartStreamTest)
#include "test_chartstream.moc"
