// Books as versions 1 and 2 left them, which kept a tank's shape as brimwell-tank's options: each
// is upgraded as it is opened for writing and reads back as it was described, or, when a stored
// shape cannot be read, is left byte for byte as it was.

#include <QtTest>

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "book/store.h"
#include "tests/support/commandrun.h"

using namespace brimwell;
using book::Store;

namespace {

// The tables as version 2 created them; version 1 had all but the deliveries' history.
const QStringList kVersion2Tables{
    "CREATE TABLE book_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE tanks (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, product TEXT NOT NULL, "
    "correction TEXT NOT NULL, correction_value DOUBLE PRECISION NOT NULL, reference DOUBLE "
    "PRECISION NOT NULL, celsius INTEGER NOT NULL, shape TEXT NOT NULL, calibration TEXT, "
    "safe_fill DOUBLE PRECISION NOT NULL, opening_level DOUBLE PRECISION, created_at TEXT NOT "
    "NULL)",
    "CREATE TABLE rules (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL REFERENCES tanks (id), "
    "ordinal INTEGER NOT NULL, kind TEXT NOT NULL, value1 DOUBLE PRECISION NOT NULL, value2 DOUBLE "
    "PRECISION NOT NULL)",
    "CREATE TABLE days (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL REFERENCES tanks (id), "
    "day "
    "TEXT NOT NULL, closing_level DOUBLE PRECISION NOT NULL, water_level DOUBLE PRECISION, "
    "temperature DOUBLE PRECISION, pumped DOUBLE PRECISION, meter_open DOUBLE PRECISION, "
    "meter_close DOUBLE PRECISION, recorded_at TEXT NOT NULL, UNIQUE (tank_id, day))",
    "CREATE TABLE day_history (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL REFERENCES tanks "
    "(id), day TEXT NOT NULL, closing_level DOUBLE PRECISION NOT NULL, water_level DOUBLE "
    "PRECISION, temperature DOUBLE PRECISION, pumped DOUBLE PRECISION, meter_open DOUBLE "
    "PRECISION, meter_close DOUBLE PRECISION, recorded_at TEXT NOT NULL, changed_at TEXT NOT NULL)",
    "CREATE INDEX day_history_by_day ON day_history (tank_id, day)",
    "CREATE TABLE deliveries (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL REFERENCES tanks "
    "(id), day TEXT NOT NULL, bill_volume DOUBLE PRECISION NOT NULL, bill_net INTEGER NOT NULL, "
    "bill_temperature DOUBLE PRECISION, level_before DOUBLE PRECISION NOT NULL, level_after DOUBLE "
    "PRECISION NOT NULL, temperature_before DOUBLE PRECISION, temperature_after DOUBLE PRECISION, "
    "pumped_during DOUBLE PRECISION NOT NULL, recorded_at TEXT NOT NULL)",
    "CREATE INDEX deliveries_by_day ON deliveries (tank_id, day)",
    "CREATE TABLE delivery_history (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL REFERENCES "
    "tanks (id), day TEXT NOT NULL, bill_volume DOUBLE PRECISION NOT NULL, bill_net INTEGER NOT "
    "NULL, bill_temperature DOUBLE PRECISION, level_before DOUBLE PRECISION NOT NULL, level_after "
    "DOUBLE PRECISION NOT NULL, temperature_before DOUBLE PRECISION, temperature_after DOUBLE "
    "PRECISION, pumped_during DOUBLE PRECISION NOT NULL, recorded_at TEXT NOT NULL, changed_at "
    "TEXT NOT NULL, withdrawn INTEGER NOT NULL)",
    "CREATE INDEX delivery_history_by_day ON delivery_history (tank_id, day)"};

struct OldTank {
    QString name;
    QString shape;  // as the book stored it, numbers as they were typed
    QString chart;
    TankDescription expected;
};

const QString kChart = "level,volume\n0,0\n10,300\n20,800\n";

TankDescription described(bool vertical, Heads heads, double diameter, double length,
                          LengthUnit lengthUnit = LengthUnit::Inches,
                          VolumeUnit volumeUnit = VolumeUnit::Gallons,
                          std::optional<std::string> chart = std::nullopt) {
    return {vertical, heads, diameter, length, lengthUnit, volumeUnit, std::move(chart)};
}

const std::vector<OldTank> kTanks{
    {"flat", "--diameter 96 --length 240", {}, described(false, FlatHeads{}, 96, 240)},
    {"hemi",
     "--heads hemispherical --diameter 96.0 --length 240",
     {},
     described(false, HemisphericalHeads{}, 96, 240)},
    {"ellipsoidal",
     "--heads ellipsoidal --diameter 96 --length 240",
     {},
     described(false, EllipsoidalHeads{}, 96, 240)},
    {"ellipsoidal 20",
     "--length 240 --head-depth 20 --heads ellipsoidal --diameter 96",
     {},
     described(false, EllipsoidalHeads{20}, 96, 240)},
    {"dished",
     "--heads torispherical --crown 0.8 --knuckle 0.1 --diameter 2.4 --length 6.05 --units meters "
     "--volume litres",
     {},
     described(false, TorisphericalHeads{0.8, 0.1}, 2.4, 6.05, LengthUnit::Meters,
               VolumeUnit::Litres)},
    {"dished as made",
     "--heads torispherical --diameter 8 --length 20 --units feet --volume litres",
     {},
     described(false, TorisphericalHeads{}, 8, 20, LengthUnit::Feet, VolumeUnit::Litres)},
    {"cone",
     "--heads conical --head-depth 12.5 --diameter 1e2 --length 2.4e2",
     {},
     described(false, ConicalHeads{12.5}, 100, 240)},
    {"upright",
     "--orientation vertical --diameter 2.5 --length 4 --units meters --volume litres",
     {},
     described(true, FlatHeads{}, 2.5, 4, LengthUnit::Meters, VolumeUnit::Litres)},
    {"metric",
     "--diameter 2400 --length 6000 --units millimeters --volume cubic-meters",
     {},
     described(false, FlatHeads{}, 2400, 6000, LengthUnit::Millimeters, VolumeUnit::CubicMeters)},
    {"charted", "--units centimeters --volume litres", kChart,
     described(false, FlatHeads{}, 0, 0, LengthUnit::Centimeters, VolumeUnit::Litres,
               kChart.toStdString())},
};

// Runs the statements on the file as an older Brimwell would have; the first failure, if any.
QString run(const QString& path, const QStringList& statements) {
    QString failed;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "old");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        for (const QString& statement : QStringList{"PRAGMA journal_mode = WAL"} + statements) {
            if (failed.isEmpty() && ((!db.isOpen() && !db.open()) || !query.exec(statement))) {
                failed = statement + ": " + query.lastError().text() + db.lastError().text();
            }
        }
    }
    QSqlDatabase::removeDatabase("old");
    return failed;
}

// A book of the version with the tanks, the first of them with a month of days, a delivery and
// a day corrected (and in version 2 a delivery corrected).
QStringList oldBook(int version, const std::vector<OldTank>& tanks) {
    QStringList statements = kVersion2Tables.mid(0, version == 1 ? 8 : 10);
    statements << QString(
                      "INSERT INTO book_meta VALUES ('mark', 'brimwell book'), "
                      "('schema_version', '%1')")
                      .arg(version);
    for (std::size_t i = 0; i < tanks.size(); ++i) {
        const OldTank& tank = tanks[i];
        statements
            << QString(
                   "INSERT INTO tanks VALUES (%1, '%2', 'diesel', '54B', 845, 15, 1, '%3', %4, "
                   "90, 1.5, 'then')")
                   .arg(i + 1)
                   .arg(tank.name, tank.shape,
                        tank.chart.isEmpty() ? "NULL" : "'" + tank.chart + "'");
    }
    statements
        << "INSERT INTO rules VALUES (1, 1, 0, 'percent', 1, 130), (2, 1, 1, 'water', 2, 0)"
        << "INSERT INTO days VALUES (1, 1, '2026-01-05', 40, NULL, 61, 200, NULL, NULL, 'then'), "
           "(2, 1, '2026-01-06', 70, 0.5, NULL, NULL, 1000, 1420, 'then')"
        << "INSERT INTO day_history VALUES (1, 1, '2026-01-05', 41, NULL, 61, 200, NULL, NULL, "
           "'then', 'later')"
        << "INSERT INTO deliveries VALUES (1, 1, '2026-01-06', 1500, 0, 62, 38, 72, 60, 61, 10, "
           "'then')";
    if (version == 2) {
        statements
            << "INSERT INTO delivery_history VALUES (1, 1, '2026-01-06', 1550, 0, NULL, 38, 72, "
               "60, 61, 10, 'then', 'later', 0)";
    }
    return statements;
}

// The statements of an SQL dump, split at each semicolon outside a quoted text.
QStringList statementsOf(const QString& dump) {
    QStringList statements;
    QString statement;
    bool quoted = false;
    for (const QChar c : dump) {
        quoted = c == '\'' ? !quoted : quoted;
        if (c == ';' && !quoted) {
            statements << statement.trimmed();
            statement.clear();
        } else {
            statement += c;
        }
    }
    return statements;
}

// What brimwell-book prints for the arguments, as the recorded outputs of an earlier version
// write it: standard output, each line of standard error after "! ", the exit status; times
// read TIME. The month's chart check, which the earlier versions did not print, is set aside.
QString printed(const QString& book, const QStringList& args) {
    const brimwell::testing::Run run =
        brimwell::testing::runCommand(BRIMWELL_BOOK, QStringList{"--book", book} + args);
    QString text = QString::fromUtf8(run.out);
    for (const QString& line : QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts)) {
        text += "! " + line + "\n";
    }
    text += QString("-- exit %1\n").arg(run.exitCode);
    static const QRegularExpression kTime(
        "[0-9]{4}-[0-9]{2}-[0-9]{2}[T ][0-9]{2}:[0-9]{2}(:[0-9]{2}([.,][0-9]+)?)?"
        "(Z|[+-][0-9]{2}(:?[0-9]{2})?)?");
    static const QRegularExpression kChartCheck(
        "chart check: [^\n]*\n|\"chart_check\":\"[^\"]*\",|\"chart_deliveries\":[0-9]+,|"
        "\"chart_left_out\":\\[[^\\]]*\\],|\"scale_error(_low|_high)?\":[^,]*,");
    return text.replace(kTime, "TIME").remove(kChartCheck);
}

QByteArray digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

}  // namespace

class BookUpgradeTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    // Books written by the earlier versions themselves (tests/book/data: their dump, and what
    // they printed for each month, history and export) print the same once upgraded.
    void a_book_of_an_earlier_version_prints_what_that_version_printed_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("version 1") << "book-v1";
        QTest::newRow("version 2") << "book-v2";
    }
    void a_book_of_an_earlier_version_prints_what_that_version_printed() {
        QFETCH(QString, name);
        const QString book = dir_.filePath(name + ".sqlite");
        QCOMPARE(run(book, statementsOf(QString::fromUtf8(
                               brimwell::testing::readFile(BOOK_DATA "/" + name + ".sql")))),
                 QString());
        QVERIFY(brimwell::testing::writeFile(dir_.filePath("none.csv"), "tank,date,stick\n"));
        QCOMPARE(printed(book, {"import", dir_.filePath("none.csv")}),
                 QString("imported 0 days\n-- exit 0\n"));
        const QString expected =
            QString::fromUtf8(brimwell::testing::readFile(BOOK_DATA "/" + name + ".expected"));
        int compared = 0;
        for (const QString& section : expected.split("== ", Qt::SkipEmptyParts)) {
            const qsizetype end = section.indexOf('\n');
            const QString command = section.left(end);
            QCOMPARE(command + "\n" + printed(book, command.split(' ')),
                     command + "\n" + section.mid(end + 1));
            ++compared;
        }
        QVERIFY(compared > 60);
    }

    // A book of version 3, before days kept their reader's initials and tanks their meter factors:
    // made by this version and taken back, it prints every record as it did once upgraded.
    void a_version_3_book_keeps_every_record() {
        const QString book = dir_.filePath("book-v3.sqlite");
        const QList<QStringList> made{
            {"tank", "add", "T1", "--diameter", "96", "--length", "240", "--opening", "40"},
            {"day", "T1", "2026-01-05", "--stick", "41", "--pumped", "200"},
            {"day", "T1", "2026-01-05", "--stick", "40.5", "--pumped", "200"},
            {"delivery", "T1", "2026-01-06", "--bill", "1500", "--before", "38", "--after", "72"},
            {"delivery", "T1", "2026-01-06", "--correct", "1", "--bill", "1550", "--before", "38", "--after", "72"},
            {"day", "T1", "2026-01-06", "--stick", "70", "--meter-open", "1000", "--meter-close", "1420"}};
        for (const QStringList& args : made) {
            QVERIFY(printed(book, args).endsWith("-- exit 0\n"));
        }
        const QList<QStringList> reports{{"month", "T1", "2026-01"}, {"history", "T1"},
                                         {"history", "T1", "--deliveries"}, {"export"}};
        QStringList before;
        for (const QStringList& args : reports) {
            before << printed(book, args);
        }
        QCOMPARE(run(book, {"ALTER TABLE days DROP COLUMN initials", "ALTER TABLE day_history DROP COLUMN initials",
                            "DROP TABLE meter_factors", "UPDATE book_meta SET value = '3' WHERE name = 'schema_version'"}),
                 QString());
        QVERIFY(printed(book, {"month", "T1", "2026-01"}).contains("was written by an older Brimwell"));
        QVERIFY(brimwell::testing::writeFile(dir_.filePath("none.csv"), "tank,date,stick\n"));
        QCOMPARE(printed(book, {"import", dir_.filePath("none.csv")}), QString("imported 0 days\n-- exit 0\n"));
        for (qsizetype i = 0; i < reports.size(); ++i) {
            QCOMPARE(printed(book, reports[i]), before[i]);
        }
        QCOMPARE(printed(book, {"day", "T1", "2026-01-05", "--stick", "40.5", "--pumped", "200", "--initials", "JK"}),
                 QString("corrected 2026-01-05\n-- exit 0\n"));
    }

    void an_older_book_reads_back_as_it_was_described_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("version 1") << 1;
        QTest::newRow("version 2") << 2;
    }
    void an_older_book_reads_back_as_it_was_described() {
        QFETCH(int, version);
        const QString path = dir_.filePath(QTest::currentDataTag());
        QCOMPARE(run(path, oldBook(version, kTanks)), QString());
        const QByteArray before = digest(path);
        const auto reader = Store::open(path, book::Access::Read);
        QVERIFY(!reader && reader.error().message.find("was written by an older Brimwell") !=
                               std::string::npos);
        QCOMPARE(digest(path), before);

        const auto store = Store::open(path);
        QVERIFY2(store, store ? "" : store.error().message.c_str());
        for (const OldTank& tank : kTanks) {
            const auto read = (*store)->tank(tank.name.toStdString());
            QVERIFY2(read, read ? "" : read.error().c_str());
            QVERIFY2(read->shape == tank.expected, qPrintable(tank.name));
            QCOMPARE(read->product.value, 845.0);
            QCOMPARE(read->openingLevel, std::optional(1.5));
        }
        const auto flat = (*store)->tank("flat");
        QVERIFY(flat->rules ==
                (std::vector<book::Rule>{book::PercentRule{1, 130}, book::WaterRule{2}}));
        const auto month = (*store)->month("flat", "2026-01-01", "2026-01-31");
        QVERIFY(month && month->days.size() == 2);
        book::Day first;
        first.closingLevel = 40;
        first.temperature = 61;
        first.pumped = 200;
        book::Day second;
        second.closingLevel = 70;
        second.waterLevel = 0.5;
        second.meterOpen = 1000;
        second.meterClose = 1420;
        const std::vector<book::Delivery> delivered{{1500, false, 62, 38, 72, 60, 61, 10}};
        QVERIFY(month->days[0].sameReadings(first) && month->days[0].corrected);
        QVERIFY(month->days[1].sameReadings(second) && month->days[1].deliveries == delivered);
        QCOMPARE(month->days[1].corrected, version == 2);
        QCOMPARE((*store)->history("flat")->at(0).before.closingLevel, 41.0);
        QCOMPARE((*store)->deliveryHistory("flat")->size(), std::size_t(version == 2 ? 1 : 0));
    }

    // The tanks before it have been moved into the new columns when it is read.
    void a_shape_that_cannot_be_read_leaves_the_book_as_it_was_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("why");
        QTest::newRow("no length") << "--diameter 96" << QString() << "--length is missing";
        QTest::newRow("unknown heads") << "--heads domed --diameter 96 --length 9" << QString()
                                       << "--heads: unknown value 'domed'";
        QTest::newRow("not a number")
            << "--diameter 9b --length 9" << QString() << "'9b' is not a number";
        QTest::newRow("a cone without its depth")
            << "--heads conical --diameter 96 --length 9" << QString() << "--head-depth is missing";
        QTest::newRow("a chart and sizes")
            << "--diameter 96 --units feet" << kChart << "--diameter does not apply to this tank";
    }
    void a_shape_that_cannot_be_read_leaves_the_book_as_it_was() {
        QFETCH(QString, shape);
        QFETCH(QString, chart);
        QFETCH(QString, why);
        const QString path = dir_.filePath(QString("bad %1").arg(QTest::currentDataTag()));
        QCOMPARE(run(path, oldBook(2, {kTanks[0], kTanks[4], {"T9", shape, chart, {}}})),
                 QString());
        const QByteArray before = digest(path);
        const auto store = Store::open(path);
        QVERIFY(!store);
        const QString message = QString::fromStdString(store.error().message);
        QVERIFY2(message.contains("the tank 'T9'") && message.contains(why), qPrintable(message));
        QCOMPARE(digest(path), before);
    }

    void a_name_taken_twice_is_told_data() {
        QTest::addColumn<bool>("renamed");
        QTest::newRow("a tank added again") << false;
        QTest::newRow("another tank renamed to it") << true;
    }
    void a_name_taken_twice_is_told() {
        QFETCH(bool, renamed);
        const auto store = Store::open(dir_.filePath(QString("names %1").arg(renamed)));
        QVERIFY(store);
        book::TankSettings tank;
        tank.name = "Y";
        tank.shape = kTanks[0].expected;
        QVERIFY((*store)->addTank(tank));
        tank.name = "X";
        QVERIFY((*store)->addTank(tank));
        const auto done = renamed ? (*store)->updateTank("Y", tank) : (*store)->addTank(tank);
        QVERIFY(!done);
        QCOMPARE(done.error(), std::string("a tank named 'X' is already in the book"));
    }
};

QTEST_GUILESS_MAIN(BookUpgradeTest)
#include "test_bookupgrade.moc"
