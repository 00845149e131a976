#include <QtTest>

#include <random>

#include "model/geometry/calibrationchart.h"
#include "model/geometry/stickreading.h"

using namespace brimwell;

namespace {

// The published example: 33 in holds 337 gal and 34 in 345 gal.
const QByteArray kPublished = "\xEF\xBB\xBF\"Level (in)\",\"Volume (gal)\"\r\n0,0\r\n33,337\r\n\"34\",345\r\n";
// brimwell-chart --shape flat --diameter 48 --length 100 --increment 12, as its README shows it.
const QByteArray kTextLayout =
    "LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME\r\n"
    "  0.00 -  24.00     0.00,     0.00   12.00,   153.15   24.00,   391.68  \r\n"
    " 36.00 -  48.00    36.00,   630.21   48.00,   783.36  \r\n";

CalibrationChart chartOf(const QByteArray& text) {
    auto chart = CalibrationChart::parse(text.toStdString());
    if (!chart) {
        qFatal("line %zu: %s", chart.error().line, chart.error().message.c_str());
    }
    return *std::move(chart);
}

}  // namespace

class CalibrationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reads_volumes_between_rows_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("volume");
        QTest::newRow("published example") << kPublished << 33.25 << 339.0;
        QTest::newRow("on a row") << kPublished << 33.0 << 337.0;
        QTest::newRow("the bottom") << kPublished << 0.0 << 0.0;
        QTest::newRow("the top") << kPublished << 34.0 << 345.0;
        QTest::newRow("lone CR line ends") << QByteArray("level,volume\r0,0\r33,337\r34,345") << 33.5 << 341.0;
        QTest::newRow("text layout, half way") << kTextLayout << 30.0 << 510.945;
        QTest::newRow("text layout, second line") << kTextLayout << 48.0 << 783.36;
    }
    void reads_volumes_between_rows() {
        QFETCH(QByteArray, text);
        QFETCH(double, level);
        QFETCH(double, volume);
        const auto chart = chartOf(text);
        QCOMPARE(*chart.volumeAt(level), volume);
        QCOMPARE(*chart.levelFor(volume), level);
    }

    void level_and_volume_round_trip() {
        std::string text = "level,volume\n";
        double volume = 3;
        std::mt19937 random(22);
        for (int level = 0; level <= 500; ++level) {
            text += std::to_string(level) + "," + std::to_string(volume) + "\n";
            volume += std::uniform_real_distribution<double>(0.001, 50)(random);
        }
        const auto chart = chartOf(QByteArray::fromStdString(text));
        for (int i = 0; i < 1000; ++i) {
            const double level = std::uniform_real_distribution<double>(0, chart.top())(random);
            QVERIFY(std::abs(*chart.levelFor(*chart.volumeAt(level)) - level) < 1e-9);
        }
        QVERIFY(!chart.volumeAt(500.0001) && !chart.volumeAt(-0.0001));
        QVERIFY(!chart.levelFor(2.999) && !chart.levelFor(chart.capacity() * 1.0001));
    }

    void malformed_charts_are_named_by_their_line_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF\r\n") << 1 << "empty";
        QTest::newRow("no header") << QByteArray("0,0\n1,5\n") << 1 << "header";
        QTest::newRow("semicolons") << QByteArray("level;volume\n0;0\n") << 1 << "';'";
        QTest::newRow("semicolons in a row") << QByteArray("level,volume\n0,0\n1;5\n") << 3 << "';'";
        QTest::newRow("decimal comma, quoted") << QByteArray("level,volume\n0,0\n\"0,5\",\"4,5\"\n") << 3 << "decimal comma";
        QTest::newRow("decimal commas") << QByteArray("level,volume\n0,0\n0,5,4,5\n") << 3 << "decimal comma";
        QTest::newRow("missing column") << QByteArray("level,volume\n0,0\n\n1\n") << 4 << "volume is missing";
        QTest::newRow("not a number") << QByteArray("level,volume\n0,0\n1,five\n") << 3 << "'five'";
        QTest::newRow("first row above 0") << QByteArray("level,volume\n1,0\n2,5\n") << 2 << "level 0";
        QTest::newRow("levels fall") << QByteArray("level,volume\n0,0\n2,5\n2,6\n") << 4 << "level 2";
        QTest::newRow("a flat stretch") << QByteArray("level,volume\n0,0\n1,5\n2,5\n") << 4 << "volume 5";
        QTest::newRow("open quote") << QByteArray("level,volume\n0,0\n\"1,5\n") << 3 << "quoted";
        QTest::newRow("header alone") << QByteArray("level,volume\n") << 1 << "no rows";
        QTest::newRow("one row") << QByteArray("level,volume\n0,0\n") << 2 << "two rows";
        QTest::newRow("text layout, pair cut short") << kTextLayout + " 60.00 -  60.00    60.00\r\n" << 4 << "without its volume";
        QTest::newRow("text layout, volume does not read") << kTextLayout + " 60.00 -  60.00    60.00,    ***\r\n" << 4 << "'***'";
    }
    void malformed_charts_are_named_by_their_line() {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, mentions);
        const auto chart = CalibrationChart::parse(text.toStdString());
        QVERIFY(!chart);
        QCOMPARE(chart.error().line, static_cast<std::size_t>(line));
        QVERIFY2(QString::fromStdString(chart.error().message).contains(mentions),
                 chart.error().message.c_str());
    }

    // The chart opens a quoted part anywhere; the book's import only at a field's start, so that
    // a stick such as 4"5 stays as written. Fields joined by '|'; "!" when a quote is left open.
    void splits_csv_lines_by_their_quote_rule_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("atFieldStart");
        QTest::addColumn<QString>("fields");
        QTest::newRow("plain") << "0,1.5,,x" << false << "0|1.5||x";
        QTest::newRow("quoted comma") << "\"1,5\",2" << true << "1,5|2";
        QTest::newRow("doubled quote") << "\"a\"\"b\",c" << false << "a\"b|c";
        QTest::newRow("mid-field quote, chart") << "1\"0\",80" << false << "10|80";
        QTest::newRow("mid-field quote, book") << "4\"5,6" << true << "4\"5|6";
        QTest::newRow("carriage return dropped") << "a,b\r" << true << "a|b";
        QTest::newRow("carriage return kept in quotes") << "\"a\r\",b" << false << "a\r|b";
        QTest::newRow("open quote") << "\"5,6" << true << "!";
        QTest::newRow("open mid-field quote, chart") << "4\"5,6" << false << "!";
    }
    void splits_csv_lines_by_their_quote_rule() {
        QFETCH(QString, line);
        QFETCH(bool, atFieldStart);
        QFETCH(QString, fields);
        const auto split = csvFields(line.toStdString(),
                                     atFieldStart ? CsvQuotes::AtFieldStart : CsvQuotes::Anywhere);
        QStringList got;
        for (const auto& field : split.value_or(std::vector<std::string>{"!"})) {
            got << QString::fromStdString(field);
        }
        QCOMPARE(got.join('|'), fields);
    }

    void reads_stick_readings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("level");  // NaN: refused
        const int inches = static_cast<int>(LengthUnit::Inches);
        const int feet = static_cast<int>(LengthUnit::Feet);
        const int mm = static_cast<int>(LengthUnit::Millimeters);
        QTest::newRow("decimal") << "75.625" << inches << 75.625;
        QTest::newRow("decimal in mm") << "75.625" << mm << 75.625;
        QTest::newRow("feet marks") << "6'3-5/8\"" << inches << 75.625;
        QTest::newRow("feet words") << "6 ft 3 5/8 in" << inches << 75.625;
        QTest::newRow("inches marked, in feet") << "75 5/8 in" << feet << 75.625 / 12;
        QTest::newRow("feet marks, in mm") << "6'3-5/8\"" << mm << 75.625 * 25.4;
        QTest::newRow("bare fraction in inches") << "75 5/8" << inches << 75.625;
        QTest::newRow("feet alone") << "6'" << inches << 72.0;
        QTest::newRow("bare fraction in feet") << "75 5/8" << feet << qQNaN();
        QTest::newRow("decimal comma") << "75,625" << inches << qQNaN();
        QTest::newRow("inches past 12 after feet") << "6'13\"" << inches << qQNaN();
        QTest::newRow("12 inches after feet") << "6'12\"" << inches << qQNaN();
        QTest::newRow("inches after feet without a mark") << "4'7-1/4" << inches << 55.25;
        QTest::newRow("inches after feet without a mark, in mm") << "6'3" << mm << 75 * 25.4;
        QTest::newRow("improper fraction") << "75 9/8 in" << inches << qQNaN();
        QTest::newRow("a whole inch as a fraction") << "75 8/8 in" << inches << qQNaN();
        QTest::newRow("fraction of a decimal") << "75.5 1/8 in" << inches << qQNaN();
        QTest::newRow("words behind") << "6 ft 3 in deep" << inches << qQNaN();
    }
    void reads_stick_readings() {
        QFETCH(QString, text);
        QFETCH(int, unit);
        QFETCH(double, level);
        const auto read = readStickLevel(text.toStdString(), static_cast<LengthUnit>(unit));
        if (std::isnan(level)) {
            QVERIFY(!read);
            const bool showsAForm = read.error().find("5/8") != std::string::npos ||
                                    read.error().find("75.625") != std::string::npos;
            QVERIFY2(showsAForm, read.error().c_str());
        } else {
            QVERIFY2(read, read ? "" : read.error().c_str());
            QCOMPARE(*read, level);
        }
    }

    void writes_feet_inches_to_the_nearest_eighth_data() {
        QTest::addColumn<double>("inches");
        QTest::addColumn<QString>("text");
        QTest::newRow("eighths") << 75.625 << "6'3-5/8\"";
        QTest::newRow("a sixteenth rounds up") << 75.6875 << "6'3-3/4\"";
        QTest::newRow("to the next foot") << 11.99 << "1'0\"";
        QTest::newRow("a quarter") << 0.25 << "0'0-1/4\"";
    }
    void writes_feet_inches_to_the_nearest_eighth() {
        QFETCH(double, inches);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(feetInchesText(inches)), text);
        QCOMPARE(*readStickLevel(text.toStdString(), LengthUnit::Inches), std::round(inches * 8) / 8);
    }
};

QTEST_GUILESS_MAIN(CalibrationTest)
#include "test_calibration.moc"
