#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "tests/support/commandrun.h"

namespace {
using brimwell::testing::readFile;
using brimwell::testing::Run;
using brimwell::testing::runCommand;
using brimwell::testing::writeFile;

Run tank(const QStringList& args, const QString& standardOutput = {}) {
    return runCommand(BRIMWELL_TANK, args, standardOutput);
}

const QStringList kEllipsoidal{"--diameter", "108", "--length", "156", "--heads", "ellipsoidal",
                               "--head-depth", "42"};
const QStringList kFlat{"--diameter", "96", "--length", "324"};

// The published example's rows, 33 in = 337 gal and 34 in = 345 gal, below a row of our own.
const QByteArray kPublishedChart = "level,volume\r\n0,0\r\n10,80\r\n33,337\r\n34,345\r\n";
}  // namespace

class BrimwellTankTest : public QObject {
    Q_OBJECT

    QTemporaryDir files_;
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = files_.filePath(name);
        return writeFile(path, bytes) ? path : QString();
    }

private Q_SLOTS:
    void published_values() {
        const Run reading = tank(QStringList{"reading", "--level", "36", "--format", "json"} + kEllipsoidal);
        QCOMPARE(reading.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(reading.out).object();
        QCOMPARE(std::round(json["volume"].toDouble() * 1e4) / 1e4, 2380.9565);
        QCOMPARE(std::round(json["capacity"].toDouble() * 1e4) / 1e4, 8407.3915);
        QCOMPARE(json["ullage"].toDouble(), json["capacity"].toDouble() - json["volume"].toDouble());
        QCOMPARE(json["tank"].toObject()["head_depth"].toDouble(), 42.0);
        const Run level = tank(QStringList{"level", "--fill-volume", "2380.9565"} + kEllipsoidal);
        QCOMPARE(level.out, QByteArray("volume:         2380.96 gallons\nlevel:          36.000 inches\n"));
    }

    void writes_each_format_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("reading, the window's worked example") << QStringList{"reading", "--level", "48"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         5076.16 gallons\n"
                          "ullage:         5076.16 gallons\nsafe-fill room: 4060.93 gallons\n");
        QTest::newRow("reading, above the safe fill") << QStringList{"reading", "--level", "96", "--safe-fill", "50"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         10152.32 gallons\n"
                          "ullage:         0.00 gallons\nsafe-fill room: -5076.16 gallons\n");
        // The tank window's worked example: 70 °F, Ce 0.0007 per °F, reference 60 °F.
        QTest::newRow("reading, the window's linear correction") << QStringList{"reading", "--level", "48", "--temperature", "70", "--correction", "linear", "--coefficient", "0.0007"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         5076.16 gallons\n"
                          "ullage:         5076.16 gallons\nsafe-fill room: 4060.93 gallons\n"
                          "gross volume:   5076.16 gallons\nvcf:            0.993\nnet volume:     5040.63 gallons\n");
        QTest::newRow("reading, linear per °C from 15 °C") << QStringList{"reading", "--level", "48", "--temperature", "21.11", "--temperature-unit", "C", "--correction", "linear", "--coefficient", "0.00126"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         5076.16 gallons\n"
                          "ullage:         5076.16 gallons\nsafe-fill room: 4060.93 gallons\n"
                          "gross volume:   5076.16 gallons\nvcf:            0.9923014\nnet volume:     5037.08 gallons\n");
        // The army course's JP-4, 56.5 °API at 67.5 °F: Table 6B's 0.9950 times the gross.
        QTest::newRow("reading, 6B") << QStringList{"reading", "--level", "48", "--temperature", "67.5", "--correction", "6B", "--api-gravity", "56.5"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         5076.16 gallons\n"
                          "ullage:         5076.16 gallons\nsafe-fill room: 4060.93 gallons\n"
                          "gross volume:   5076.16 gallons\nvcf:            0.9950\nnet volume:     5050.78 gallons\n");
        // The gauging manual's 40.5 °API read at 83 °F on a glass hydrometer: 38.7 at 60 °F.
        QTest::newRow("reading, observed gravity in json") << QStringList{"reading", "--level", "48", "--temperature", "83", "--correction", "6B", "--api-gravity", "40.5", "--observed", "--format", "json"} + kFlat
            << QByteArray("{\"tank\": {\"orientation\": \"horizontal\", \"heads\": \"flat\", \"diameter\": 96, \"length\": 324, \"units\": \"inches\", \"volume\": \"gallons\"}, "
                          "\"length_unit\": \"inches\", \"volume_unit\": \"gallons\", \"capacity\": 10152.32186, \"level\": 48, \"volume\": 5076.16093, \"ullage\": 5076.16093, "
                          "\"safe_fill\": 90, \"safe_fill_room\": 4060.928744, \"correction\": \"6B\", \"temperature\": 83, \"temperature_unit\": \"F\", "
                          "\"api_gravity_60\": 38.7, \"vcf\": 0.989, \"net\": 5020.32316}\n");
        // Once refused as not settling; the base and factor of an independent computation.
        QTest::newRow("reading, observed hot jet fuel") << QStringList{"reading", "--level", "48", "--temperature", "210", "--correction", "6B", "--api-gravity", "64", "--observed"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         5076.16 gallons\n"
                          "ullage:         5076.16 gallons\nsafe-fill room: 4060.93 gallons\n"
                          "gross volume:   5076.16 gallons\nAPI gravity 60: 48.2 °API\nvcf:            0.9177\nnet volume:     4658.39 gallons\n");
        // The gauging manual's reading as a density meter gives it, the liquid's 40.55.
        QTest::newRow("reading, a density meter's gravity") << QStringList{"reading", "--level", "48", "--temperature", "83", "--correction", "6B", "--api-gravity", "40.6", "--observed", "--no-glass-correction"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         5076.16 gallons\n"
                          "ullage:         5076.16 gallons\nsafe-fill room: 4060.93 gallons\n"
                          "gross volume:   5076.16 gallons\nAPI gravity 60: 38.7 °API\nvcf:            0.9890\nnet volume:     5020.32 gallons\n");
        // Gasoline of 710 kg/m³ at −14.6 °C in a 96 by 100 inch tank: 54B's α taken to seven
        // decimals gives 1.0381, where unrounded it gives 1.0382.
        QTest::newRow("reading, 54B") << QStringList{"reading", "--diameter", "96", "--length", "100", "--level", "48", "--temperature", "-14.6", "--temperature-unit", "C", "--correction", "54B", "--density", "710"}
            << QByteArray("capacity:       3133.43 gallons\nvolume:         1566.72 gallons\n"
                          "ullage:         1566.72 gallons\nsafe-fill room: 1253.37 gallons\n"
                          "gross volume:   1566.72 gallons\nvcf:            1.0381\nnet volume:     1626.41 gallons\n");
        // Text shows 5834059.96 (0.993 of the quadrant's 5875186.26): JSON must not show less.
        QTest::newRow("reading, json keeps the text's decimals") << QStringList{"reading", "--diameter", "1200", "--length", "2400", "--level", "600", "--temperature", "70", "--correction", "linear", "--coefficient", "0.0007", "--format", "json"}
            << QByteArray("{\"tank\": {\"orientation\": \"horizontal\", \"heads\": \"flat\", \"diameter\": 1200, \"length\": 2400, \"units\": \"inches\", \"volume\": \"gallons\"}, "
                          "\"length_unit\": \"inches\", \"volume_unit\": \"gallons\", \"capacity\": 11750372.52, \"level\": 600, \"volume\": 5875186.261, \"ullage\": 5875186.261, "
                          "\"safe_fill\": 90, \"safe_fill_room\": 4700149.009, \"correction\": \"linear\", \"temperature\": 70, \"temperature_unit\": \"F\", \"reference\": 60, \"vcf\": 0.993, \"net\": 5834059.957}\n");
        QTest::newRow("reading, -0 written 0") << QStringList{"reading", "--level", "-0", "--format", "json"} + kFlat
            << QByteArray("{\"tank\": {\"orientation\": \"horizontal\", \"heads\": \"flat\", \"diameter\": 96, \"length\": 324, \"units\": \"inches\", \"volume\": \"gallons\"}, "
                          "\"length_unit\": \"inches\", \"volume_unit\": \"gallons\", \"capacity\": 10152.32186, \"level\": 0, \"volume\": 0, \"ullage\": 10152.32186, "
                          "\"safe_fill\": 90, \"safe_fill_room\": 9137.089674}\n");
        QTest::newRow("reading, a water cut under an inch") << QStringList{"reading", "--level", "70", "--water", "5/8\"", "--level-format", "feet-inches"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         7931.19 gallons\n"
                          "ullage:         2221.13 gallons\nsafe-fill room: 1205.90 gallons\n"
                          "water level:    0'0-5/8\"\nwater volume:   9.04 gallons\nproduct volume: 7922.15 gallons\n");
        QTest::newRow("reading, a thousandth of an inch up") << QStringList{"reading", "--level", "0.001"} + kFlat
            << QByteArray("capacity:       10152.32 gallons\nvolume:         0.00 gallons\n"
                          "ullage:         10152.32 gallons\nsafe-fill room: 9137.09 gallons\n");
        QTest::newRow("reading, full to the top, no ullage") << QStringList{"reading", "--units", "meters", "--volume", "litres", "--diameter", "3.2", "--length", "12", "--level", "3.2"}
            << QByteArray("capacity:       96509.73 litres\nvolume:         96509.73 litres\n"
                          "ullage:         0.00 litres\nsafe-fill room: -9650.97 litres\n");
        // 1.8288 m prints as 1.829 m, and 3000 mm as 9'10-1/8": each is the top.
        QTest::newRow("reading, the top as level prints it") << QStringList{"reading", "--diameter", "1.8288", "--length", "6", "--units", "meters", "--level", "1.829"}
            << QByteArray("capacity:       4163.52 gallons\nvolume:         4163.52 gallons\n"
                          "ullage:         0.00 gallons\nsafe-fill room: -416.35 gallons\n");
        QTest::newRow("reading, the top in feet and inches") << QStringList{"reading", "--diameter", "3000", "--length", "6000", "--units", "millimeters", "--level", "9'10-1/8\"", "--format", "json"}
            << QByteArray("{\"tank\": {\"orientation\": \"horizontal\", \"heads\": \"flat\", \"diameter\": 3000, \"length\": 6000, \"units\": \"millimeters\", \"volume\": \"gallons\"}, "
                          "\"length_unit\": \"millimeters\", \"volume_unit\": \"gallons\", \"capacity\": 11203.93322, \"level\": 3000.375, \"volume\": 11203.93322, \"ullage\": 0, "
                          "\"safe_fill\": 90, \"safe_fill_room\": -1120.393322}\n");
        QTest::newRow("level, the printed capacity is full") << QStringList{"level", "--diameter", "96", "--length", "324", "--heads", "torispherical", "--fill-volume", "10772.78"}
            << QByteArray("volume:         10772.78 gallons\nlevel:          96.000 inches\n");
        // The capacity 540582103003.325076 m³ of an independent computation, as text prints it.
        QTest::newRow("level, a huge tank's printed capacity is full") << QStringList{"level", "--diameter", "485063.07", "--length", "2900000", "--units", "centimeters", "--volume", "cubic-meters",
                                                                             "--heads", "ellipsoidal", "--head-depth", "19000", "--fill-volume", "540582103003.33"}
            << QByteArray("volume:         540582103003.33 cubic meters\nlevel:          485063.070 centimeters\n");
        QTest::newRow("level, full by percent") << QStringList{"level", "--fill-percent", "100"} + kFlat
            << QByteArray("volume:         10152.32 gallons\nlevel:          96.000 inches\n");
        QTest::newRow("level, near empty") << QStringList{"level", "--fill-volume", "0.02"} + kFlat
            << QByteArray("volume:         0.02 gallons\nlevel:          0.011 inches\n");
        // True levels 3.13116051955e-6 and 364816829.53032 of an independent computation: the
        // level is written to the digits that the search holds.
        QTest::newRow("level, near empty in json") << QStringList{"level", "--diameter", "96", "--length", "1", "--fill-percent", "0.000000001", "--format", "json"}
            << QByteArray("{\"tank\": {\"orientation\": \"horizontal\", \"heads\": \"flat\", \"diameter\": 96, \"length\": 1, \"units\": \"inches\", \"volume\": \"gallons\"}, "
                          "\"length_unit\": \"inches\", \"volume_unit\": \"gallons\", \"capacity\": 31.33432673, \"volume\": 0.0000000003133432673, \"level\": 0.00000313116052}\n");
        QTest::newRow("level, a billion inches across") << QStringList{"level", "--diameter", "1e9", "--length", "0.000001", "--fill-percent", "33"}
            << QByteArray("volume:         1121997376.28 gallons\nlevel:          364816829.5 inches\n");
        QTest::newRow("level, a vertical tank in metric") << QStringList{"level", "--orientation", "vertical", "--diameter", "3", "--length", "5", "--units", "meters", "--volume", "cubic-meters", "--fill-percent", "25", "--format", "json"}
            << QByteArray("{\"tank\": {\"orientation\": \"vertical\", \"diameter\": 3, \"length\": 5, \"units\": \"meters\", \"volume\": \"cubic-meters\"}, "
                          "\"length_unit\": \"meters\", \"volume_unit\": \"cubic-meters\", \"capacity\": 35.34291735, \"volume\": 8.835729338, \"level\": 1.25}\n");
        QTest::newRow("csv, flat heads in double precision") << QStringList{"chart", "--increment", "48", "--format", "csv"} + kFlat
            << QByteArray("level,volume\r\n0.00,0\r\n48.00,5076.16093\r\n96.00,10152.32186\r\n");
        QTest::newRow("csv, whole increments, then the top") << QStringList{"chart", "--diameter", "1", "--length", "10", "--increment", "0.375", "--format", "csv", "--volume", "millilitres"}
            << QByteArray("level,volume\r\n0.000,0\r\n0.375,44.08343951\r\n0.750,103.5419836\r\n1.000,128.7036997\r\n");
        // A 6 ft tank in meters: the top's row shows every digit of the level it is computed at.
        QTest::newRow("text, the top's row") << QStringList{"chart", "--diameter", "1.8288", "--length", "6", "--units", "meters", "--increment", "0.5"}
            << QByteArray("LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME\r\n"
                          "  0.00 -   1.00     0.00,     0.00    0.50,   923.02    1.00,  2329.53  \r\n"
                          "  1.50 - 1.8288     1.50,  3654.75  1.8288,  4163.52  \r\n");
        QTest::newRow("json, torispherical defaults filled in") << QStringList{"chart", "--diameter", "108", "--length", "156", "--heads", "torispherical", "--increment", "108", "--format", "json"}
            << QByteArray("{\"tank\": {\"orientation\": \"horizontal\", \"heads\": \"torispherical\", \"diameter\": 108, \"length\": 156, \"crown\": 1, \"knuckle\": 0.06, \"units\": \"inches\", \"volume\": \"gallons\"}, "
                          "\"length_unit\": \"inches\", \"volume_unit\": \"gallons\", \"capacity\": 7069.994663, \"rows\": [\n[0.00, 0],\n[108.00, 7069.994663]\n]}\n");
        QTest::newRow("text, a vertical tank to its height") << QStringList{"chart", "--orientation", "vertical", "--diameter", "8", "--length", "10", "--units", "feet", "--increment", "5"}
            << QByteArray("LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME\r\n"
                          "  0.00 -  10.00     0.00,     0.00    5.00,  1880.06   10.00,  3760.12  \r\n");
    }
    void writes_each_format() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        const Run result = tank(args);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, expected);
        QVERIFY(result.err.isEmpty());
    }

    // The window's shapes in the window's chart layout have brimwell-chart's lines and levels; their
    // volumes are double rather than the window's single precision, a cent apart at most, and
    // right where they differ.
    void text_charts_are_brimwell_charts_data() {
        QTest::addColumn<QStringList>("tankArgs");
        QTest::addColumn<QStringList>("chartArgs");
        QTest::addColumn<QByteArray>("exact");
        QTest::newRow("worked example") << QStringList{"--diameter", "48", "--length", "100", "--increment", "12"}
                                        << QStringList{"--shape", "flat", "--diameter", "48", "--length", "100", "--increment", "12"}
                                        << QByteArray("48.00,   783.36");
        // 94.3645 litres at 1.2 in, where the window's single precision shows 94.37.
        QTest::newRow("hemispherical in litres") << QStringList{"--heads", "hemispherical", "--increment", "0.1", "--volume", "litres"} + kFlat
                                                 << QStringList{"--shape", "cylindrical", "--increment", "0.1", "--volume", "litres"} + kFlat
                                                 << QByteArray("1.20,    94.36");
    }
    void text_charts_are_brimwell_charts() {
        QFETCH(QStringList, tankArgs);
        QFETCH(QStringList, chartArgs);
        QFETCH(QByteArray, exact);
        const Run tankChart = tank(QStringList{"chart"} + tankArgs);
        QCOMPARE(tankChart.exitCode, 0);
        QVERIFY(tankChart.out.contains(exact));
        const QList<QByteArray> ours = tankChart.out.split('\n');
        const QList<QByteArray> window = runCommand(BRIMWELL_CHART, chartArgs).out.split('\n');
        QCOMPARE(ours.size(), window.size());
        const QRegularExpression number("[0-9]+\\.[0-9]+");
        for (qsizetype i = 0; i < ours.size(); ++i) {
            QCOMPARE(ours[i].size(), window[i].size());
            auto a = number.globalMatch(QString::fromLatin1(ours[i]));
            auto b = number.globalMatch(QString::fromLatin1(window[i]));
            while (a.hasNext() && b.hasNext()) {
                QVERIFY(std::fabs(a.next().captured().toDouble() - b.next().captured().toDouble()) <= 0.0101);
            }
            QVERIFY(!a.hasNext() && !b.hasNext());
        }
    }

    void reads_a_calibration_chart_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("expected");
        const QString chart = file("published.csv", kPublishedChart);
        QTest::newRow("the published example at 33 1/4 in") << QStringList{"reading", "--calibration", chart, "--level", "33 1/4"}
            << QByteArray("capacity:       345.00 gallons\nvolume:         339.00 gallons\n"
                          "ullage:         6.00 gallons\nsafe-fill room: -28.50 gallons\n");
        // 56.5 °API at 67.5 °F: Table 6B's 0.9950 (the army course), times the product alone.
        QTest::newRow("a water cut and 6B") << QStringList{"reading", "--calibration", chart, "--level", "2'9-1/4\"", "--water", "1 ft",
                                                           "--level-format", "feet-inches", "--temperature", "67.5", "--correction", "6B", "--api-gravity", "56.5"}
            << QByteArray("capacity:       345.00 gallons\nvolume:         339.00 gallons\n"
                          "ullage:         6.00 gallons\nsafe-fill room: -28.50 gallons\n"
                          "water level:    1'0\"\nwater volume:   102.35 gallons\nproduct volume: 236.65 gallons\n"
                          "gross volume:   236.65 gallons\nvcf:            0.9950\nnet volume:     235.47 gallons\n");
        QTest::newRow("level in feet and inches") << QStringList{"level", "--calibration", chart, "--fill-volume", "339", "--level-format", "feet-inches"}
            << QByteArray("volume:         339.00 gallons\nlevel:          2'9-1/4\"\n");
        QTest::newRow("a chart re-sampled") << QStringList{"chart", "--calibration", chart, "--increment", "8.5", "--format", "csv"}
            << QByteArray("level,volume\r\n0.00,0\r\n8.50,68\r\n17.00,158.2173913\r\n25.50,253.1956522\r\n34.00,345\r\n");
    }
    void reads_a_calibration_chart() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        const Run result = tank(args);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QCOMPARE(result.out, expected);
    }

    void water_cut_in_json() {
        const Run result = tank({"reading", "--calibration", file("published.csv", kPublishedChart), "--level", "33.25",
                                 "--water", "12", "--format", "json"});
        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(json["water_level"].toDouble(), 12.0);
        QCOMPARE(json["water_volume"].toDouble(), 102.3478261);
        QCOMPARE(json["product_volume"].toDouble(), 236.6521739);
        QCOMPARE(json["volume"].toDouble(), 339.0);
    }

    // A chart written by brimwell-tank or brimwell-chart reads back, at its rows, as the tank did.
    void written_charts_read_back_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("chartArgs");
        QTest::addColumn<QStringList>("tankArgs");
        QTest::addColumn<QStringList>("units");
        const QStringList litres{"--volume", "litres"};
        QTest::newRow("brimwell-tank csv") << BRIMWELL_TANK << QStringList{"chart", "--increment", "12", "--format", "csv"} + kFlat << kFlat << QStringList();
        QTest::newRow("brimwell-tank csv, litres") << BRIMWELL_TANK << QStringList{"chart", "--increment", "12", "--format", "csv"} + litres + kEllipsoidal
                                                   << litres + kEllipsoidal << litres;
        QTest::newRow("brimwell-chart text") << BRIMWELL_CHART << QStringList{"--shape", "flat", "--diameter", "48", "--length", "100", "--increment", "12"}
                                             << QStringList{"--diameter", "48", "--length", "100"} << QStringList();
    }
    void written_charts_read_back() {
        QFETCH(QString, program);
        QFETCH(QStringList, chartArgs);
        QFETCH(QStringList, tankArgs);
        QFETCH(QStringList, units);
        const QString chart = file("written", runCommand(program, chartArgs).out);
        for (const char* level : {"0", "12", "36", "48"}) {
            const Run geometry = tank(QStringList{"reading", "--level", level} + tankArgs);
            const Run calibrated = tank(QStringList{"reading", "--calibration", chart, "--level", level} + units);
            QCOMPARE(calibrated.out, geometry.out);
        }
    }

    void writes_a_file_and_appends_to_standard_output() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tank.csv");
        const QStringList args = QStringList{"chart", "--increment", "48", "--format", "csv"} + kFlat;
        QCOMPARE(tank(args + QStringList{"--output", path}).exitCode, 0);
        const QByteArray chart = readFile(path);
        QVERIFY(chart.startsWith("level,volume\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"tank.csv"});
        const QString log = dir.filePath("log");
        QVERIFY(writeFile(log, "earlier\n"));
        QCOMPARE(tank(args, log).exitCode, 0);
        QCOMPARE(readFile(log), "earlier\n" + chart);
    }

    void bad_input_is_one_line_with_status_2_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mentions");
        const QStringList reading = QStringList{"reading", "--level", "10"} + kFlat;
        QTest::newRow("no subcommand") << kFlat << "subcommand";
        QTest::newRow("unknown subcommand") << QStringList{"volume"} + kFlat << "'volume'";
        QTest::newRow("unknown option") << reading + QStringList{"--colour", "red"} << "--colour";
        QTest::newRow("missing diameter") << QStringList{"reading", "--length", "5", "--level", "1"} << "--diameter";
        QTest::newRow("not a number") << QStringList{"reading", "--level", "ten"} + kFlat << "--level";
        QTest::newRow("comma as the point") << QStringList{"reading", "--level", "1,5"} + kFlat << "--level";
        QTest::newRow("grouped thousands") << QStringList{"level", "--fill-volume", "2,500"} + kFlat << "--fill-volume: '2,500' is not a number; write it with \".\" as the decimal point and no group separators, as in 2500, 0.125 or 1e-4";
        QTest::newRow("grouped after a lone 0") << QStringList{"chart", "--increment", "0,125"} + kFlat << "--increment: '0,125'";
        QTest::newRow("lone point") << QStringList{"reading", "--level", "."} + kFlat << "--level: '.'";
        QTest::newRow("lone point with a sign") << QStringList{"reading", "--level", "-."} + kFlat << "--level: '-.'";
        QTest::newRow("zero length") << QStringList{"reading", "--diameter", "9", "--length", "0", "--level", "1"} << "--length";
        QTest::newRow("unknown heads") << reading + QStringList{"--heads", "domed"} << "--heads";
        QTest::newRow("heads on a vertical tank") << reading + QStringList{"--orientation", "vertical", "--heads", "flat"} << "--heads";
        QTest::newRow("crown on ellipsoidal heads") << reading + QStringList{"--heads", "ellipsoidal", "--crown", "1"} << "--crown";
        QTest::newRow("depth on flat heads") << reading + QStringList{"--head-depth", "10"} << "--head-depth";
        QTest::newRow("cone without depth") << reading + QStringList{"--heads", "conical"} << "--head-depth";
        QTest::newRow("flat ellipsoid") << reading + QStringList{"--heads", "ellipsoidal", "--head-depth", "0"} << "--head-depth";
        QTest::newRow("crown below 0.5") << reading + QStringList{"--heads", "torispherical", "--crown", "0.49"} << "--crown";
        QTest::newRow("knuckle of 0.5") << reading + QStringList{"--heads", "torispherical", "--knuckle", "0.5"} << "--knuckle";
        QTest::newRow("level above the top") << QStringList{"reading", "--level", "96.001"} + kFlat << "--level";
        QTest::newRow("level a rounding too far above the top") << QStringList{"reading", "--diameter", "1.8288", "--length", "6", "--units", "meters", "--level", "2"} << "--level must be from 0 to the diameter, 1.8288 meters";
        QTest::newRow("level below 0") << QStringList{"reading", "--level", "-1"} + kFlat << "--level";
        QTest::newRow("vertical level above its height") << QStringList{"reading", "--orientation", "vertical", "--level", "325"} + kFlat << "height";
        QTest::newRow("safe fill above 100") << reading + QStringList{"--safe-fill", "101"} << "--safe-fill";
        QTest::newRow("level with chart") << QStringList{"chart", "--increment", "1", "--level", "3"} + kFlat << "--level";
        QTest::newRow("volume above the capacity") << QStringList{"level", "--fill-volume", "10152.33"} + kFlat << "--fill-volume";
        QTest::newRow("percent above 100") << QStringList{"level", "--fill-percent", "100.5"} + kFlat << "--fill-percent";
        QTest::newRow("volume and percent") << QStringList{"level", "--fill-percent", "5", "--fill-volume", "5"} + kFlat << "--fill-";
        QTest::newRow("csv reading") << reading + QStringList{"--format", "csv"} << "--format";
        QTest::newRow("no step fits") << QStringList{"chart", "--increment", "192"} + kFlat << "--increment";
        QTest::newRow("zero increment") << QStringList{"chart", "--increment", "0"} + kFlat << "--increment";
        QTest::newRow("over ten million steps") << QStringList{"chart", "--increment", "0.0000095"} + kFlat << "--increment";
        const QStringList gravity = reading + QStringList{"--temperature", "60", "--correction", "6B", "--api-gravity", "50"};
        QTest::newRow("temperature alone") << reading + QStringList{"--temperature", "60"} << "--temperature";
        QTest::newRow("correction without temperature") << reading + QStringList{"--correction", "6C", "--alpha", "0.0005"} << "--temperature";
        QTest::newRow("unknown table") << reading + QStringList{"--temperature", "60", "--correction", "6A"} << "--correction";
        QTest::newRow("6B in °C") << gravity + QStringList{"--temperature-unit", "C"} << "--temperature-unit";
        QTest::newRow("54B in the default °F") << reading + QStringList{"--temperature", "15", "--correction", "54B", "--density", "800"} << "--temperature-unit";
        QTest::newRow("6B without gravity") << reading + QStringList{"--temperature", "60", "--correction", "6B"} << "--api-gravity";
        QTest::newRow("density with 6B") << gravity + QStringList{"--density", "800"} << "--density";
        QTest::newRow("reference with 6B") << gravity + QStringList{"--reference", "59"} << "--reference";
        QTest::newRow("observed with linear") << reading + QStringList{"--temperature", "60", "--correction", "linear", "--coefficient", "0.0007", "--observed"} << "--observed";
        QTest::newRow("observed given a value") << gravity + QStringList{"--observed=yes"} << "--observed";
        QTest::newRow("observed twice") << gravity + QStringList{"--observed", "--observed"} << "--observed";
        QTest::newRow("glass correction off, nothing observed") << gravity + QStringList{"--no-glass-correction"} << "--no-glass-correction applies only with --observed";
        QTest::newRow("observed base too light for the heat") << reading + QStringList{"--temperature", "210", "--correction", "6B", "--api-gravity", "70.5", "--observed"} << "--api-gravity: at 210 °F, a base of 51.5 °API is outside table 6B, which goes only to 200 °F above 50 °API";
        QTest::newRow("correction with level") << QStringList{"level", "--fill-percent", "5", "--temperature", "60"} + kFlat << "--temperature";
        QTest::newRow("gravity past 85") << reading + QStringList{"--temperature", "60", "--correction", "6B", "--api-gravity", "85.1"} << "--api-gravity: the API gravity 85.1 is outside table 6B's range 0 to 85";
        QTest::newRow("hot gasoline") << reading + QStringList{"--temperature", "201", "--correction", "6B", "--api-gravity", "60"} << "--temperature: the temperature 201 °F is outside table 6B's range 0 to 200 °F";
        QTest::newRow("observed density too light") << reading + QStringList{"--temperature", "20", "--temperature-unit", "C", "--correction", "54B", "--density", "650", "--observed"} << "--density: the observed density 650 kg/m³ is outside table 53B's range 653 to 1075 kg/m³";
        const QString chart = file("rows.csv", kPublishedChart);
        const QStringList calibrated{"reading", "--calibration", chart, "--level", "30"};
        QTest::newRow("calibration and a shape") << calibrated + QStringList{"--diameter", "96"} << "--diameter does not apply with --calibration";
        QTest::newRow("no calibration file") << QStringList{"reading", "--calibration", "/nonexistent/tank.csv", "--level", "1"} << "--calibration /nonexistent/tank.csv: cannot be read";
        QTest::newRow("calibration file's bad line") << QStringList{"reading", "--calibration", file("bad.csv", "level,volume\n0,0\n1,x\n"), "--level", "1"} << "bad.csv, line 3: the volume 'x' is not a number";
        QTest::newRow("semicolon calibration file") << QStringList{"chart", "--calibration", file("semi.csv", "level;volume\n0;0\n"), "--increment", "1"} << "semi.csv, line 1: fields are separated by ';'";
        QTest::newRow("level above the chart") << QStringList{"reading", "--calibration", chart, "--level", "34.01"} << "--level must be from 0 to the calibration chart's top level, 34 inches";
        QTest::newRow("volume above the chart") << QStringList{"level", "--calibration", chart, "--fill-volume", "346"} << "--fill-volume must be from 0 to the capacity, 345";
        QTest::newRow("water above the level") << calibrated + QStringList{"--water", "30.5"} << "--water";
        QTest::newRow("unmarked fraction in feet") << QStringList{"reading", "--level", "3 1/2", "--units", "feet"} + kFlat << "--level: '3 1/2' has no mark";
        QTest::newRow("unknown level format") << calibrated + QStringList{"--level-format", "metric"} << "--level-format";
        QTest::newRow("level format with chart") << QStringList{"chart", "--increment", "1", "--level-format", "decimal"} + kFlat << "--level-format";
        QTest::newRow("linear overflow") << reading + QStringList{"--temperature", "0", "--correction", "linear", "--coefficient", "1e308"} << "--coefficient";
        QTest::newRow("millilitres beyond single precision") << QStringList{"reading", "--diameter", "1e30", "--length", "1e7", "--volume", "millilitres", "--level", "0"} << "--diameter";
        QTest::newRow("a 1e-21 inch tank") << QStringList{"reading", "--diameter", "1e-21", "--length", "1e-21", "--level", "0"} << "--diameter";
        QTest::newRow("crown too flat to turn") << reading + QStringList{"--heads", "torispherical", "--crown", "1e21"} << "--crown";
        QTest::newRow("levels past 9 decimals") << QStringList{"chart", "--diameter", "0.0001", "--length", "1", "--increment", "0.0000000001"} << "--increment";
    }
    void bad_input_is_one_line_with_status_2() {
        QFETCH(QStringList, args);
        QFETCH(QString, mentions);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        QVERIFY(writeFile(path, "precious"));

        const Run result = tank(args + QStringList{"--output", path});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QCOMPARE(result.err.count('\n'), 1);
        QVERIFY2(result.err.startsWith("brimwell-tank: ") && result.err.contains(mentions.toUtf8()),
                 result.err.constData());
        QCOMPARE(readFile(path), QByteArray("precious"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void unwritable_target_is_status_1_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "/nonexistent-folder/tank.csv" << "cannot write /nonexistent-folder/tank.csv: ";
        QTest::newRow("full disk") << "/dev/full" << "cannot write /dev/full: No space left on device";
    }
    void unwritable_target_is_status_1() {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        const Run result = tank(QStringList{"chart", "--increment", "0.01", "--format", "csv", "--output", target} + kFlat);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(reason.toUtf8()), result.err.constData());
    }

    void help_and_version() {
        const Run version = tank({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("brimwell-tank " BRIMWELL_VERSION "\n"));
        const Run help = tank({"chart", "--help"});
        QCOMPARE(help.exitCode, 0);
        for (const char* word : {"reading", "level", "chart", "--heads", "--head-depth", "--crown", "--knuckle",
                                 "--safe-fill", "--fill-volume", "--fill-percent", "--increment", "--format",
                                 "--output", "--temperature", "--temperature-unit", "--correction", "--coefficient",
                                 "--reference", "--api-gravity", "--density", "--alpha", "--observed", "--no-glass-correction",
                                 "Exit status", "--calibration", "--water", "--level-format", "6'3-5/8\""}) {
            QVERIFY2(help.out.contains(word), word);
        }
    }
};

QTEST_GUILESS_MAIN(BrimwellTankTest)
#include "test_brimwell_tank.moc"
