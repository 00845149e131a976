#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include "host/picturestore.h"
#include "tests/support/scriptedhost.h"
#include "tank/frmullex.h"
#include "tank/tankchartcommand.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

namespace {
const QString kPrompt =
    "Tank chart will be generated in inches.  Input the increments in which you would like the "
    "tank chart generated. (Must be a number - eg. 0.10)";
const QString kInappropriate = "That is not an appropriate unit";
const QString kSaved = "Tank Chart Saved OK. Do you want to print it out now ?";

QByteArray pdfText(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
}  // namespace

class TankChartCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedHost> host;
    std::unique_ptr<QTemporaryDir> dir;
    ChartRequest tank;  // the tank window's default tank

    QString chartPath(const QString& name = "chart.txt") { return dir->filePath(name); }
    void generate() { TankChartCommand(*host, tank).run(); }

private Q_SLOTS:
    void init() {
        host = std::make_unique<testing::ScriptedHost>();
        dir = std::make_unique<QTemporaryDir>();
        tank = {"96", "324", LengthUnit::Inches, TankShape::FlatEnded, VolumeUnit::Gallons, {}};
    }
    void cleanup() { dir.reset(); }

    // The window hands the generator its tank as shown, in the units its lists show.
    void the_menu_charts_the_tank_the_window_shows() {
        PictureStore store;
        frmUllex window(*host, store);
        testing::chooseEntry(window.findChild<QComboBox*>("cboLengthUnits"), "feet");
        host->promptAnswers = {"0.10"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        window.findChild<QAction*>("mnuTGen")->trigger();
        const QByteArray bytes = readFile(chartPath());
        QCOMPARE(bytes.count("\r\n"), 322);
        QVERIFY(bytes.contains("    96.00, 10152.32  \r\n"));
        QCOMPARE(window.findChild<QLineEdit*>("txtTankCapacity")->text(), QString("10,000"));
    }

    void default_tank_in_tenths_is_saved_and_not_printed() {
        host->promptAnswers = {"0.10"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        generate();
        QCOMPARE(host->prompts, QStringList{kPrompt});
        QCOMPARE(host->promptCaptions, QStringList{"Brimwell"});
        QCOMPARE(host->fileFilters, QStringList{"text files|*.txt"});
        QCOMPARE(host->questions, QStringList{kSaved});
        QVERIFY(host->messages.isEmpty());
        QVERIFY(host->printedDocuments.isEmpty());
        const QByteArray bytes = readFile(chartPath());
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 322 + 1);  // the last line end leaves an empty tail
        QVERIFY(lines.last().isEmpty());
        QCOMPARE(lines[321], QByteArray(" 96.00 -  96.00    96.00, 10152.32  \r"));
        QCOMPARE(bytes.count("\r\n"), 322);
    }

    void worked_example_byte_for_byte() {
        tank.diameter = "48";
        tank.length = "100";
        host->promptAnswers = {"12"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        generate();
        QCOMPARE(readFile(chartPath()),
                 QByteArray("LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME\r\n"
                            "  0.00 -  24.00     0.00,     0.00   12.00,   153.15   24.00,   391.68  \r\n"
                            " 36.00 -  48.00    36.00,   630.21   48.00,   783.36  \r\n"));
    }

    void nothing_happens_without_a_usable_increment_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("cancel") << QStringList{""} << "96" << "324" << "inches" << QStringList{};
        QTest::newRow("letters") << QStringList{"abc"} << "96" << "324" << "inches" << QStringList{};
        QTest::newRow("zero then cancel") << QStringList{"0", ""} << "96" << "324" << "inches" << QStringList{kInappropriate};
        QTest::newRow("zero written as the point, then cancel") << QStringList{".", ""} << "96" << "324" << "inches" << QStringList{kInappropriate};
        QTest::newRow("zero twice then cancel") << QStringList{"0", "0", ""} << "96" << "324" << "inches" << QStringList{kInappropriate, kInappropriate};
        QTest::newRow("too many steps") << QStringList{"0.001"} << "96" << "324" << "inches" << QStringList{};
        QTest::newRow("no step fits, then cancel") << QStringList{"200", ""} << "96" << "324" << "inches" << QStringList{kInappropriate};
        QTest::newRow("negative, then cancel") << QStringList{"-1", ""} << "96" << "324" << "inches" << QStringList{kInappropriate};
        QTest::newRow("diameter letters") << QStringList{"1"} << "wide" << "324" << "inches" << QStringList{};
        QTest::newRow("zero diameter and increment") << QStringList{"0"} << "0" << "324" << "inches" << QStringList{};
        QTest::newRow("radius 0 in single precision") << QStringList{"1e-48"} << "1e-46" << "324" << "inches" << QStringList{};
        QTest::newRow("... in meters") << QStringList{"1e-48"} << "1e-48" << "324" << "meters" << QStringList{};
        for (const char* unit : {"inches", "feet", "millimeters", "centimeters", "meters"}) {
            QTest::newRow(qPrintable(QString("length letters in %1").arg(unit)))
                << QStringList{"1"} << "96" << "long" << unit << QStringList{};
        }
    }
    void nothing_happens_without_a_usable_increment() {
        QFETCH(QStringList, answers);
        QFETCH(QString, diameter);
        QFETCH(QString, length);
        QFETCH(QString, unit);
        QFETCH(QStringList, messages);
        tank.diameter = diameter.toStdString();
        tank.length = length.toStdString();
        tank.lengthUnit = parseLengthUnit(unit.toStdString());
        host->promptAnswers = answers;
        generate();
        QCOMPARE(host->prompts.size(), answers.size());
        QCOMPARE(host->messages, messages);
        QVERIFY(host->fileFilters.isEmpty());
        QVERIFY(QDir(dir->path()).isEmpty());
    }

    void feet_with_tenths_gives_inch_steps() {
        tank = {"8", "27", LengthUnit::Feet, TankShape::FlatEnded, VolumeUnit::Gallons, {}};
        host->promptAnswers = {"0.10"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        generate();
        const QByteArray bytes = readFile(chartPath());
        QCOMPARE(bytes.count("\r\n"), 322);
        QVERIFY(bytes.contains("    96.00, 10152.32  \r\n"));
    }

    void half_steps_round_to_even() {
        tank.diameter = "10";
        host->promptAnswers = {"4"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        generate();
        const QList<QByteArray> lines = readFile(chartPath()).split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].startsWith("  0.00 -  10.00     0.00,"));
        QVERIFY(lines[1].contains("   5.00,"));
    }

    void cancelled_file_dialog_writes_nothing() {
        host->promptAnswers = {"1"};
        host->fileAnswers = {""};
        generate();
        QVERIFY(host->questions.isEmpty());
        QVERIFY(QDir(dir->path()).isEmpty());
    }

    void a_name_without_extension_is_used_as_typed() {
        host->promptAnswers = {"1"};
        host->fileAnswers = {chartPath("chart")};
        host->yesNoAnswers = {false};
        generate();
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"chart"});
    }

    void an_existing_file_is_replaced_without_a_warning() {
        QFile old(chartPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        tank.diameter = "48";
        tank.length = "100";
        host->promptAnswers = {"12"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        generate();
        QVERIFY(readFile(chartPath()).startsWith("LEVEL RANGE"));
        QCOMPARE(readFile(chartPath()).size(), 71 + 74 + 56);
    }

    void an_unwritable_path_says_so_and_keeps_the_old_file_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing folder") << "missing/chart.txt";
        QTest::newRow("full disk") << "/dev/full";
    }
    void an_unwritable_path_says_so_and_keeps_the_old_file() {
        QFETCH(QString, path);
        const QString target = path.startsWith('/') ? path : chartPath(path);
        host->promptAnswers = {"1"};
        host->fileAnswers = {target};
        generate();
        QCOMPARE(host->messages.size(), 1);
        QVERIFY(host->messages[0].startsWith("The tank chart could not be saved to " + target));
        QVERIFY(host->questions.isEmpty());
    }

    void answering_yes_prints_the_chart_with_the_header_on_the_first_page_only() {
        const QString pdf = dir->filePath("printout.pdf");
        host->printerPdfPath = pdf;
        host->promptAnswers = {"0.10"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {true};
        generate();
        QVERIFY(host->messages.isEmpty());
        QCOMPARE(host->printedDocuments.size(), 1);
        const QByteArray text = pdfText(pdf);
        const QByteArray words = text.simplified();  // the printer's font is not monospaced
        QCOMPARE(text.count("LEVEL RANGE"), 1);
        const auto pages = text.count('\f');
        QVERIFY2(pages >= 3, QByteArray::number(pages).constData());
        QVERIFY(words.startsWith("LEVEL RANGE LEVEL/VOLUME, LEVEL/VOLUME, LEVEL/VOLUME 0.00 - 0.20 0.00, 0.00 0.10, 0.58"));
        QVERIFY(words.endsWith("96.00 - 96.00 96.00, 10152.32"));
        // Every data line made it onto paper.
        QCOMPARE(text.count(" - "), 321);
    }

    void printing_without_a_printer_says_so_and_keeps_the_file() {
        host->promptAnswers = {"12"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {true};
        generate();
        QCOMPARE(host->messages, QStringList{"There was a problem printing.  Please check your printer."});
        QVERIFY(readFile(chartPath()).startsWith("LEVEL RANGE"));
    }

    void answering_no_to_the_question_leaves_the_file() {
        host->promptAnswers = {"24"};
        host->fileAnswers = {chartPath()};
        host->yesNoAnswers = {false};
        generate();
        QVERIFY(QFile::exists(chartPath()));
        QVERIFY(host->printedDocuments.isEmpty());
    }
};

BRIMWELL_WINDOW_TEST_MAIN(TankChartCommandTest)
#include "test_tankchartcommand.moc"
