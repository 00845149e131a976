// brimwell-book run as an operator runs it, on real book files in a temporary folder: a month
// kept and checked, and the faults a book must survive.

#include <QtTest>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cmath>

#include "tests/support/commandrun.h"

namespace {
using brimwell::testing::readFile;
using brimwell::testing::Run;
using brimwell::testing::runCommand;
using brimwell::testing::writeFile;

const QString kHostile = QStringLiteral("'); DROP TABLE tanks; --");
// A vertical tank 120 in across: π × 60² / 231 = 48.9598855 gallons an inch.
const QStringList kVertical{"--orientation", "vertical", "--diameter", "120", "--length", "120"};

// Runs a SQL statement on the book from outside brimwell-book; the error text, empty when done.
QString sql(const QString& path, const QString& statement, int busyTimeoutMs = 5000) {
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "outside");
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        QSqlQuery query(db);
        if (!db.open() || !query.exec(statement)) {
            error = db.isOpen() ? query.lastError().text() : db.lastError().text();
        } else if (query.next()) {
            error = query.value(0).toString();  // a SELECT's first value
        }
    }
    QSqlDatabase::removeDatabase("outside");
    return error;
}

QByteArray digest(const QString& path) {
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

QByteArray yearsOfDays(const QString& tank, int days) {
    QByteArray csv = "tank,date,stick,pumped\n";
    const QDate first(1990, 1, 1);
    for (int i = 0; i < days; ++i) {
        csv += tank.toUtf8() + "," + first.addDays(i).toString(Qt::ISODate).toUtf8() + ",40,10\n";
    }
    return csv;
}
}  // namespace

class BrimwellBookTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    Run book(const QString& file, const QStringList& args) const {
        return runCommand(BRIMWELL_BOOK, QStringList{"--book", path(file)} + args);
    }
    void addTank(const QString& file, const QString& name) const {
        QCOMPARE(book(file, QStringList{"tank", "add", name, "--opening", "40"} + kVertical).exitCode, 0);
    }

private Q_SLOTS:
    // Worked by hand at 48.9598855 gal/in (a Python script, from the rule): February's
    // over/short -55.2006 is within 1 % of 1200 + 130, but 2.5 in of water is above the 2 in
    // limit, so the month fails; March's -4.3834 is within 2.6 + 130.
    void a_month_kept_and_checked() {
        addTank("month.book", "T1");
        QCOMPARE(book("month.book", QStringList{"tank", "remove", "T1"}).exitCode, 0);
        QCOMPARE(book("month.book", QStringList{"tank", "add", "T1", "--opening", "50",
                     "--correction", "linear", "--coefficient", "0.0005", "--short-days", "3",
                     "--short-total", "100", "--water-limit", "2"} + kVertical).exitCode, 0);
        // As a spreadsheet saves it: a byte-order mark, CRLF line ends.
        QVERIFY(writeFile(path("feb.csv"), "\xEF\xBB\xBF" "date,tank,stick,water,pumped\r\n2026-02-02,T1,42,,400\r\n"
                          "2026-02-04,T1,60,2.5,150\n2026-02-05,T1,58,2.5,150\n"
                          "2026-03-02,T1,52,0,140\n2026-03-03,T1,49.6,,120\n"));
        QCOMPARE(book("month.book", {"import", path("feb.csv")}).exitCode, 0);
        QVERIFY(book("month.book", {"tank", "show", "T1"}).out.contains("correction:  linear 0.0005 from 60 (°F)\n"));
        // Bill 1500 gross at 65 °F; 40 -> 70.5 in at 60 -> 63 °F: measured 1493.2765 at 66.9344 °F.
        const Run delivery = book("month.book", {"delivery", "T1", "2026-02-03", "--bill", "1500",
            "--bill-temperature", "65", "--before", "40", "--after", "70.5", "--temperature-before",
            "60", "--temperature-after", "63"});
        QCOMPARE(delivery.exitCode, 0);
        QVERIFY2(delivery.out.contains("difference -6.72 gross, -8.15 net"), delivery.out);
        // Until its day is recorded, the delivery would be a loss on no day at all.
        QVERIFY(book("month.book", {"month", "T1", "2026-02"}).err.contains("2026-02-03 has a delivery but no closing stick"));
        QCOMPARE(book("month.book", {"day", "T1", "2026-02-03", "--stick", "62", "--meter-open", "1000",
                     "--meter-close", "1500"}).exitCode, 0);
        const Run corrected = book("month.book", {"day", "T1", "2026-02-05", "--stick", "57.5", "--water", "2.5", "--pumped", "150"});
        QCOMPARE(corrected.out, QByteArray("corrected 2026-02-05\n"));

        const Run february = book("month.book", {"month", "T1", "2026-02", "--format", "json"});
        QCOMPARE(february.exitCode, 4);
        const QJsonObject feb = QJsonDocument::fromJson(february.out).object();
        QVERIFY(std::abs(feb["over_short"].toDouble() + 55.2006) < 0.01);
        QCOMPARE(feb["flow_through"].toDouble(), 1200.0);
        const QJsonArray rules = feb["rules"].toArray();
        QCOMPARE(rules.size(), 3);
        QVERIFY(rules[0].toObject()["met"].toBool() && rules[1].toObject()["met"].toBool());
        QVERIFY(!rules[2].toObject()["met"].toBool());
        QVERIFY(feb["days"].toArray()[3].toObject()["corrected"].toBool());

        const Run march = book("month.book", {"month", "T1", "2026-03"});
        QCOMPARE(march.exitCode, 0);
        QVERIFY2(march.out.contains("over/short:   -4.38\n"), march.out);
        const Run history = book("month.book", {"history", "T1"});
        QVERIFY2(history.out.split('\n').at(1).endsWith(",T1,2026-02-05,58,2.5,,150,,,"), history.out);
        // The same readings recorded again are no correction.
        const QByteArray days = book("month.book", {"export", "T1"}).out;
        const QList<QByteArray> first = days.split('\n').at(1).split(',');
        QStringList again{"day", "T1", QString(first.at(1)), "--stick", QString(first.at(2))};
        for (const auto& [column, option] : {std::pair{3, "--water"}, {4, "--temperature"}, {5, "--pumped"}}) {
            if (!first.at(column).isEmpty()) {
                again << option << QString(first.at(column));
            }
        }
        QCOMPARE(book("month.book", again).exitCode, 0);
        QCOMPARE(book("month.book", {"history", "T1"}).out, history.out);

        // Two days, and no temperatures for the net volumes the correction asks for.
        const Run leak = book("month.book", {"leak-test", "T1", "2026-03", "--format", "json"});
        QCOMPARE(leak.exitCode, 5);
        const QJsonObject test = QJsonDocument::fromJson(leak.out).object();
        QCOMPARE(test["verdict"].toString(), QString("no analysis"));
        QCOMPARE(test["rate_unit"].toString(), QString("gal/h"));
        QCOMPARE(test["period_days"].toInt(), 31);
        QCOMPARE(test["unusable"].toArray().size(), 2);
        QCOMPARE(test["previous_verdict"].toString(), QString("no analysis"));
        QVERIFY(test["tightness_test_due"].toBool());
        // January has no record: nothing is said of it.
        const QJsonObject firstMonth = QJsonDocument::fromJson(
            book("month.book", {"leak-test", "T1", "2026-02", "--format", "json"}).out).object();
        QVERIFY(firstMonth["previous_verdict"].isNull());
        QCOMPARE(firstMonth["period_days"].toInt(), 28);
        // Issued again unchanged it is kept once; once a correction changes it, the result
        // issued before stands beside the current one.
        const auto issuedBefore = [&] {
            const Run issuing = book("month.book", {"leak-test", "T1", "2026-03", "--format", "json"});
            return QJsonDocument::fromJson(issuing.out).object()["issued_before"].toArray();
        };
        QCOMPARE(issuedBefore().size(), 0);
        QCOMPARE(book("month.book", {"day", "T1", "2026-03-03", "--stick", "49.6", "--temperature", "61", "--pumped", "120"}).exitCode, 0);
        const QJsonArray issued = issuedBefore();
        QCOMPARE(issued.size(), 1);
        QCOMPARE(issued[0].toObject()["usable_days"].toInt(), 0);
        QCOMPARE(sql(path("month.book"), "SELECT COUNT(*) FROM leak_tests"), QString("3"));  // March twice, February
    }

    // Whoever read the stick is part of the record: other initials with the same readings
    // correct the day, and none given keep those recorded. At 48.9598855 gal/in: 40 in is
    // 1958.40, 42 in 2056.32 (over 497.92 after 400 pumped), 41 in 2007.36 (over 1.04 after 50).
    void the_initials_are_kept_with_the_day_and_its_history() {
        addTank("initials.book", "T1");
        const QStringList day{"day", "T1", "2026-02-02", "--stick", "42", "--pumped", "400"};
        const std::pair<QStringList, QByteArray> steps[] = {
            {day + QStringList{"--initials", "J.K."}, "recorded 2026-02-02\n"},
            {day + QStringList{"--initials", "M L"}, "corrected 2026-02-02\n"},
            {day, "recorded 2026-02-02\n"},
            {{"import", path("initials.csv")}, "imported 1 day\n"}};
        QVERIFY(writeFile(path("initials.csv"), "tank,date,stick,pumped,initials\nT1,2026-02-03,41,50,AB.CD-EF\n"));
        for (const auto& [args, out] : steps) {
            QCOMPARE(book("initials.book", args).out, out);
        }
        const QList<QByteArray> history = book("initials.book", {"history", "T1"}).out.split('\n');
        QCOMPARE(history.size(), 3);
        QVERIFY2(history.at(1).endsWith(",T1,2026-02-02,42,,,400,,,J.K."), history.at(1));
        const QByteArray text = book("initials.book", {"month", "T1", "2026-02"}).out;
        QVERIFY2(text.contains("over/short  initials\n"
                               "2026-02-02     1958.40        0.00      400.00     1558.40     2056.32      497.92  M L       corrected\n"
                               "2026-02-03     2056.32        0.00       50.00     2006.32     2007.36        1.04  AB.CD-EF\n"), text);
        const QList<QByteArray> csv = book("initials.book", {"month", "T1", "2026-02", "--format", "csv"}).out.split('\n');
        QVERIFY(csv.at(0).endsWith(",water_marked,initials\r") && csv.at(1).endsWith(",yes,no,M L\r") && csv.at(2).endsWith(",no,no,AB.CD-EF\r"));
        const QJsonObject json = QJsonDocument::fromJson(book("initials.book", {"month", "T1", "2026-02", "--format", "json"}).out).object();
        QCOMPARE(json["days"].toArray()[0].toObject()["initials"].toString(), QString("M L"));
    }

    void the_site_is_shown_and_set() {
        const std::pair<QStringList, QByteArray> steps[] = {
            {{"site"}, "name:    \naddress: \n"},
            {{"site", "--name", "Quay Road Depot", "--address", "4 Quay Road\nBrimwell"}, "name:    Quay Road Depot\naddress: 4 Quay Road\n         Brimwell\n"},
            {{"site", "--address", "9 Mill Lane"}, "name:    Quay Road Depot\naddress: 9 Mill Lane\n"},
            {{"site", "--name", ""}, "name:    \naddress: 9 Mill Lane\n"},
            {{"site"}, "name:    \naddress: 9 Mill Lane\n"}};
        addTank("site.book", "T1");
        for (const auto& [args, out] : steps) {
            QCOMPARE(book("site.book", args).out, out);
        }
        QCOMPARE(sql(path("site.book"), "SELECT COUNT(*) FROM book_meta WHERE name LIKE 'site_%'"), QString("1"));
    }

    // Worked by hand at 48.9598855 gal/in, linear 0.0005 from 60 °F. The first delivery, billed
    // 500 gross, 40 -> 50.25 in at 60 °F: 501.838826 measured, 1.84 over in gross and net. The
    // second, billed 500 net at 70 °F (VCF 0.995, so 502.512563 gross), 50.25 -> 60.5 in without
    // temperatures: 501.84 measured, -0.67 in gross, no net. The day: 1958.395420 + 1002.512563
    // - 100 = 2860.907983 in the book against 3035.512901 at 62 in, 174.604918 over; the percent
    // rule allows 1 % of 100 + 130 = 131.
    void a_month_s_deliveries_and_totals_export_as_worked_by_hand() {
        QCOMPARE(book("export.book", QStringList{"tank", "add", "T1", "--opening", "40", "--correction", "linear",
                     "--coefficient", "0.0005", "--water-limit", "2"} + kVertical).exitCode, 0);
        QCOMPARE(book("export.book", {"day", "T1", "2026-02-03", "--stick", "62", "--pumped", "100"}).exitCode, 0);
        QCOMPARE(book("export.book", {"delivery", "T1", "2026-02-03", "--bill", "500", "--before", "40", "--after", "50.25",
                     "--temperature-before", "60", "--temperature-after", "60"}).exitCode, 0);
        QCOMPARE(book("export.book", {"delivery", "T1", "2026-02-03", "--bill", "500", "--bill-net", "--bill-temperature",
                     "70", "--before", "50.25", "--after", "60.5"}).exitCode, 0);
        QCOMPARE(book("export.book", {"export", "--deliveries", "--month", "2026-02"}).out,
                 QByteArray("tank,date,volume_unit,bill,bill_net,measured_gross,measured_net,difference_gross,difference_net,corrected\n"
                            "T1,2026-02-03,gallons,500.00,no,501.84,501.84,1.84,1.84,no\n"
                            "T1,2026-02-03,gallons,500.00,yes,501.84,,-0.67,,no\n"));
        const QList<QByteArray> totals = book("export.book", {"export", "T1", "--totals", "--month", "2026-02"}).out.split('\n');
        QCOMPARE(totals.value(1), QByteArray("T1,2026-02,gallons,1958.40,1002.51,100.00,2860.91,3035.51,174.60,"
                                             "1% of flow-through + 130 gallons,174.60,131.00,no,,,,,water cut above 2 inches,0.00,0,yes,no"));
        QCOMPARE(book("export.book", {"export", "--totals", "--month", "2026-03"}).out.count('\n'), 1);
    }

    // A book of version 1, before deliveries kept their history, is brought up to date as it
    // opens. At 48.9598855 gal/in the day runs from 1958.40 to 3427.19 gallons.
    void a_delivery_is_corrected_and_withdrawn_keeping_its_history() {
        addTank("deliveries.book", "T1");
        QCOMPARE(book("deliveries.book", {"day", "T1", "2026-02-03", "--stick", "70", "--pumped", "0"}).exitCode, 0);
        const QStringList typo{"delivery", "T1", "2026-02-03", "--bill", "1500", "--before", "40", "--after", "70.5",
                               "--temperature-before", "60", "--temperature-after", "61"};
        QCOMPARE(book("deliveries.book", typo).exitCode, 0);
        QCOMPARE(book("deliveries.book", QStringList(typo).replaceInStrings("1500", "1600")).exitCode, 0);
        QCOMPARE(sql(path("deliveries.book"), "DROP TABLE delivery_history"), QString());
        QCOMPARE(sql(path("deliveries.book"), "DROP TABLE leak_tests"), QString());
        for (const char* table : {"days", "day_history"}) {
            QCOMPARE(sql(path("deliveries.book"), QString("ALTER TABLE %1 DROP COLUMN initials").arg(table)), QString());
        }
        QCOMPARE(sql(path("deliveries.book"), "DROP TABLE meter_factors"), QString());
        QCOMPARE(sql(path("deliveries.book"), "ALTER TABLE tanks ADD COLUMN shape TEXT NOT NULL DEFAULT "
                                              "'--orientation vertical --diameter 120 --length 120'"), QString());
        QCOMPARE(sql(path("deliveries.book"), "UPDATE book_meta SET value = '1' WHERE name = 'schema_version'"), QString());
        // The temperatures are kept: (3427.19 × 61 - 1958.40 × 60) / 1468.80 = 62.33 °F.
        QCOMPARE(book("deliveries.book", {"delivery", "T1", "2026-02-03", "--correct", "1", "--bill", "1470", "--before", "40",
                     "--after", "70"}).out,
                 QByteArray("corrected delivery 2026-02-03: measured 1468.80, bill 1470.00 gross, difference -1.20 gross, "
                            "-1.20 net, at 62.3 F\n"));
        QCOMPARE(sql(path("deliveries.book"), "SELECT temperature_after FROM deliveries ORDER BY id"), QString("61"));
        // Only the temperature after given: the one before stays. (3427.19 × 62 - 1958.40 × 60) / 1468.80 = 64.67.
        QVERIFY(book("deliveries.book", {"delivery", "T1", "2026-02-03", "--correct", "1", "--bill", "1470", "--before", "40",
                     "--after", "70", "--temperature-after", "62"}).out.endsWith("-1.20 net, at 64.7 F\n"));
        QCOMPARE(book("deliveries.book", {"delivery", "T1", "2026-02-03", "--withdraw", "2"}).exitCode, 0);
        const Run gone = book("deliveries.book", {"delivery", "T1", "2026-02-03", "--withdraw", "2"});
        QVERIFY2(gone.exitCode == 2 && gone.err.contains("--withdraw: the day has 1 delivery"), gone.err);
        const Run month = book("deliveries.book", {"month", "T1", "2026-02"});
        QVERIFY2(month.out.contains("1958.40     1470.00        0.00     3428.40     3427.19       -1.20  corrected"), month.out);
        const QList<QByteArray> history = book("deliveries.book", {"history", "T1", "--deliveries"}).out.split('\n');
        QVERIFY(history.value(1).endsWith(",corrected,T1,2026-02-03,1500,no,,40,70.5,60,61,0"));
        QVERIFY(history.value(3).endsWith(",withdrawn,T1,2026-02-03,1600,no,,40,70.5,60,61,0"));
    }

    // The delivery's own line, not the first text of the report that reads like one. 2 in at
    // 48.9598855 gal/in is 97.92 gallons.
    void a_delivery_prints_its_line_whatever_the_tank_is_called() {
        const QString name = "x  delivery";
        QCOMPARE(book("named.book", QStringList{"tank", "add", name, "--opening", "40", "--product", "  delivery y"} + kVertical).exitCode, 0);
        QCOMPARE(book("named.book", {"delivery", name, "2026-02-03", "--bill", "100", "--before", "40", "--after", "42"}).out,
                 QByteArray("delivery 2026-02-03: measured 97.92, bill 100.00 gross, difference -2.08 gross\n"));
    }

    // The tank: vertical, 120 in across (48.9598855 gal/in), opening at 40, a 0.0005 linear
    // correction and a run rule; a second tank T2 beside it.
    void an_edit_replaces_what_it_names_data() {
        QTest::addColumn<QStringList>("edit");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown");
        QTest::newRow("renamed, a new opening") << QStringList{"--name", "T9", "--opening", "41"} << 0
            << "opening:     41\n";
        QTest::newRow("one kind of rule") << QStringList{"--water-limit", "2"} << 0
            << "correction:  linear 0.0005 from 60 (°F)\nsafe fill:   90 %\nopening:     40\n"
               "rule:        1% of flow-through + 130 gallons\n"
               "rule:        3 consecutive short days totalling 50 gallons\nrule:        water cut above 2 inches\n";
        QTest::newRow("a coefficient without its correction") << QStringList{"--coefficient", "3"} << 2
            << "--coefficient applies only with --correction";
        QTest::newRow("new units, no opening")
            << QStringList{"--orientation", "vertical", "--diameter", "2.5", "--length", "3", "--units", "meters"} << 2
            << "the units change: give --opening";
        QTest::newRow("filled to the top") << QStringList{"--safe-fill", "100"} << 0 << "safe fill:   100 %\n";
        QTest::newRow("a name taken") << QStringList{"--name", "T2"} << 1 << "a tank named 'T2' is already in the book";
        QTest::newRow("a meter factor") << QStringList{"--meter-factor", "+6", "--from", "2026-02-01"} << 0
            << "rule:        3 consecutive short days totalling 50 gallons\nmeter:       +6 in3/5gal from 2026-02-01\n";
    }
    void an_edit_replaces_what_it_names() {
        QFETCH(QStringList, edit);
        QFETCH(int, status);
        QFETCH(QString, shown);
        const QString file = QString("edit-%1.book").arg(QTest::currentDataTag());
        QCOMPARE(book(file, QStringList{"tank", "add", "T1", "--opening", "40", "--correction", "linear", "--coefficient",
                     "0.0005", "--short-days", "3", "--short-total", "50"} + kVertical).exitCode, 0);
        addTank(file, "T2");
        QCOMPARE(book(file, {"day", "T1", "2026-02-03", "--stick", "70", "--pumped", "0"}).exitCode, 0);
        const Run run = book(file, QStringList{"tank", "edit", "T1"} + edit);
        QCOMPARE(run.exitCode, status);
        const QString tank = edit.contains("T9") ? "T9" : "T1";
        const Run show = book(file, {"tank", "show", tank});
        QVERIFY2((status == 0 ? show.out : run.err).contains(shown.toUtf8()), show.out + run.err);
        const Run month = book(file, {"month", tank, "2026-02"});
        QVERIFY2(month.out.contains(edit.contains("41") ? "2007.36" : "1958.40"), month.out);
    }

    void hostile_names_are_kept_as_typed() {
        const QString product = QStringLiteral("Robert\"); DELETE FROM days; --,");
        QCOMPARE(book("hostile.book", QStringList{"tank", "add", kHostile, "--opening", "40",
                     "--product", product} + kVertical).exitCode, 0);
        QCOMPARE(QFile::permissions(path("hostile.book")) & 0x7777,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        // A stick as the operator writes it: 3 ft 3 in.
        QCOMPARE(book("hostile.book", {"day", kHostile, "2026-01-02", "--stick", "3'3\"", "--pumped", "0"}).exitCode, 0);
        QVERIFY(book("hostile.book", {"export"}).out.endsWith(",2026-01-02,39,,,0,,\n"));
        QCOMPARE(book("hostile.book", {"tank", "list"}).out, kHostile.toUtf8() + "\n");
        const QJsonObject month =
            QJsonDocument::fromJson(book("hostile.book", {"month", kHostile, "2026-01", "--format", "json"}).out).object();
        QCOMPARE(month["tank"].toString(), kHostile);
        QCOMPARE(month["product"].toString(), product);
        // The export reads back into another book as the same days.
        QVERIFY(writeFile(path("hostile.csv"), book("hostile.book", {"export"}).out));
        addTank("copy.book", kHostile);
        QCOMPARE(book("copy.book", {"import", path("hostile.csv")}).exitCode, 0);
        QCOMPARE(book("copy.book", {"export"}).out, readFile(path("hostile.csv")));
    }

    // A stick is read as brimwell-tank reads it; the export shows the day's stick and water. The
    // top as brimwell-tank writes it may lie a rounding above the top: 1.829 for 1.8288 m, and
    // 9'10-1/8" for 3000 mm.
    void a_stick_reads_as_brimwell_tank_reads_it_data() {
        QTest::addColumn<QStringList>("tank");
        QTest::addColumn<QStringList>("day");
        QTest::addColumn<QByteArray>("exported");
        const QStringList meters{"--orientation", "vertical", "--diameter", "2", "--length", "1.8288", "--units", "meters"};
        const QStringList millimeters{"--diameter", "3000", "--length", "6000", "--units", "millimeters"};
        QTest::newRow("water under an inch") << kVertical << QStringList{"--stick", "40", "--water", "5/8\""} << QByteArray(",40,0.625,,0,,\n");
        QTest::newRow("a bare fraction") << kVertical << QStringList{"--stick", "3/4", "--water", "5/8 in"} << QByteArray(",0.75,0.625,,0,,\n");
        QTest::newRow("the top's three decimals") << meters << QStringList{"--stick", "1.829"} << QByteArray(",1.829,,,0,,\n");
        QTest::newRow("the top in feet and inches") << millimeters << QStringList{"--stick", "9'10-1/8\""} << QByteArray(",3000.375,,,0,,\n");
    }
    void a_stick_reads_as_brimwell_tank_reads_it() {
        QFETCH(QStringList, tank);
        QFETCH(QStringList, day);
        QFETCH(QByteArray, exported);
        const QString file = QString("stick-%1.book").arg(QTest::currentDataTag());
        QCOMPARE(book(file, QStringList{"tank", "add", "T1", "--opening", "1"} + tank).exitCode, 0);
        const Run run = book(file, QStringList{"day", "T1", "2026-01-02", "--pumped", "0"} + day);
        QVERIFY2(run.exitCode == 0, run.err);
        QVERIFY2(book(file, {"export"}).out.endsWith(exported), book(file, {"export"}).out);
    }

    void a_file_that_is_no_book_of_ours_is_reported_and_left_alone_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("statement");  // run on the file after it is written
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("text") << QByteArray("date,stick\n") << QString() << QByteArray("is not a Brimwell book");
        QTest::newRow("empty") << QByteArray() << QString() << QByteArray("is not a Brimwell book");
        QTest::newRow("another program's database") << QByteArray() << "CREATE TABLE tanks (x)"
                                                    << QByteArray("is not a Brimwell book");
        QTest::newRow("a book from a newer version") << QByteArray() << "UPDATE book_meta SET value = '5' WHERE name = 'schema_version'"
                                                     << QByteArray("was written by a newer Brimwell (book version 5");
        QTest::newRow("damaged") << QByteArray() << "damage" << QByteArray("is damaged");
    }
    void a_file_that_is_no_book_of_ours_is_reported_and_left_alone() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, statement);
        QFETCH(QByteArray, message);
        const QString file = path(QString("foreign-%1").arg(QTest::currentDataTag()));
        if (statement.startsWith("UPDATE") || statement == "damage") {
            QCOMPARE(runCommand(BRIMWELL_BOOK, {"--book", file, "tank", "add", "T0", "--diameter", "96",
                                                "--length", "100", "--opening", "10"})
                         .exitCode,
                     0);
        } else {
            QVERIFY(writeFile(file, bytes));
        }
        if (statement == "damage") {
            QByteArray book = readFile(file);
            book.replace(100, book.size() - 100, QByteArray(book.size() - 100, '\x5a'));
            QVERIFY(writeFile(file, book));
        } else if (!statement.isEmpty()) {
            QCOMPARE(sql(file, statement), QString());
        }
        const QByteArray before = digest(file);
        const Run run = runCommand(BRIMWELL_BOOK, {"--book", file, "day", "T1", "2026-01-02", "--stick", "3"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message) && run.err.count('\n') == 1, run.err);
        QCOMPARE(digest(file), before);
    }

    // The import holds the write lock from its first row to its commit; it is killed in between.
    void an_import_killed_midway_leaves_the_book_as_it_was() {
        addTank("kill.book", "T1");
        QCOMPARE(book("kill.book", {"day", "T1", "1980-01-01", "--stick", "40", "--pumped", "0"}).exitCode, 0);
        QVERIFY(writeFile(path("years.csv"), yearsOfDays("T1", 60000)));
        QProcess import;
        import.start(BRIMWELL_BOOK, {"--book", path("kill.book"), "import", path("years.csv")});
        QVERIFY(import.waitForStarted());
        // Caught writing, and again a while later: well into the import, not at its first row.
        bool locked = false;
        for (int time = 0; time < 2; ++time) {
            QTest::qWait(time * 300);
            locked = false;
            while (!locked && import.state() == QProcess::Running) {
                locked = sql(path("kill.book"), "BEGIN IMMEDIATE", 0).contains("locked");
            }
        }
        QVERIFY2(locked, "the import ended before it was caught writing");
        import.kill();
        QVERIFY(import.waitForFinished());
        QCOMPARE(sql(path("kill.book"), "SELECT COUNT(*) FROM days"), QString("1"));
        QCOMPARE(sql(path("kill.book"), "PRAGMA integrity_check"), QString("ok"));
        QCOMPARE(book("kill.book", {"import", path("years.csv")}).exitCode, 0);
    }

    void two_writers_at_once_both_succeed() {
        addTank("two.book", "A");
        addTank("two.book", "B");
        QVERIFY(writeFile(path("a.csv"), yearsOfDays("A", 8000)));
        QVERIFY(writeFile(path("b.csv"), yearsOfDays("B", 8000)));
        QProcess first;
        QProcess second;
        first.start(BRIMWELL_BOOK, {"--book", path("two.book"), "import", path("a.csv")});
        second.start(BRIMWELL_BOOK, {"--book", path("two.book"), "import", path("b.csv")});
        QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(sql(path("two.book"), "SELECT COUNT(*) FROM days"), QString("16000"));
    }

    void bad_input_is_one_line_naming_the_option_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("comma decimal") << QStringList{"day", "T1", "2026-01-02", "--stick", "3,5"} << QByteArray("--stick: '3,5' has a comma");
        QTest::newRow("a lone point pumped") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--pumped", "."} << QByteArray("--pumped: '.' is not a number");
        QTest::newRow("no such date") << QStringList{"day", "T1", "2026-02-30", "--stick", "3"} << QByteArray("'2026-02-30' is not a date");
        QTest::newRow("water above the stick") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--water", "4"} << QByteArray("--water is above --stick");
        QTest::newRow("stick above the tank") << QStringList{"day", "T1", "2026-01-02", "--stick", "121"} << QByteArray("--stick: 121 is outside the tank (0 to 120)");
        QTest::newRow("water below the bottom") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--water", "-1"} << QByteArray("--water: -1 is outside the tank (0 to 120)");
        QTest::newRow("nothing pumped") << QStringList{"day", "T1", "2026-10-01", "--stick", "47"} << QByteArray("give --pumped 0 if nothing was pumped");
        // A day written otherwise would sort outside its month, or be in none.
        QTest::newRow("date with slashes") << QStringList{"day", "T1", "2026/03/05", "--stick", "30", "--pumped", "100"} << QByteArray("'2026/03/05' is not a date YYYY-MM-DD");
        QTest::newRow("date with underscores") << QStringList{"day", "T1", "2026_03_11", "--stick", "30", "--pumped", "100"} << QByteArray("'2026_03_11' is not a date");
        QTest::newRow("delivery date with points") << QStringList{"delivery", "T1", "2026.03.06", "--bill", "100", "--before", "10", "--after", "20"} << QByteArray("'2026.03.06' is not a date");
        QTest::newRow("month with a slash") << QStringList{"month", "T1", "2026/03"} << QByteArray("'2026/03' is not a month");
        // Figures that would overflow a day's or the month's sums.
        QTest::newRow("meters beyond any meter") << QStringList{"day", "T1", "2026-06-01", "--stick", "48", "--meter-open", "-1e308", "--meter-close", "1e308"} << QByteArray("--meter-open: -1e+308 is outside 0 to 1000000000000");
        QTest::newRow("pumped beyond any tank") << QStringList{"day", "T1", "2026-06-01", "--stick", "48", "--pumped", "1e308"} << QByteArray("--pumped: 1e+308 is outside 0 to 1000000000");
        QTest::newRow("a temperature off the scale") << QStringList{"day", "T1", "2026-06-01", "--stick", "48", "--pumped", "0", "--temperature", "400"} << QByteArray("--temperature: 400 is outside -60 to 300");
        QTest::newRow("a bill beyond any tank") << QStringList{"delivery", "T1", "2026-06-01", "--bill", "2e9", "--before", "10", "--after", "20"} << QByteArray("--bill: 2000000000 is outside 0 to 1000000000");
        QTest::newRow("opening above the tank") << QStringList{"tank", "add", "T2", "--opening", "200"} + kVertical << QByteArray("the opening stick 200 is outside the tank (0 to 120)");
        QTest::newRow("opening below the bottom") << QStringList{"tank", "add", "T2", "--opening", "-5"} + kVertical << QByteArray("the opening stick -5 is outside the tank (0 to 120)");
        QTest::newRow("a line feed in a name") << QStringList{"tank", "add", "T\n2", "--opening", "5"} + kVertical << QByteArray("the tank's name holds a control character");
        QTest::newRow("a tab in a new name") << QStringList{"tank", "edit", "T1", "--name", "T\t2"} << QByteArray("the tank's name holds a control character");
        QTest::newRow("month") << QStringList{"month", "T1", "2026-13"} << QByteArray("'2026-13' is not a month");
        QTest::newRow("initials with a mark") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--pumped", "0", "--initials", "J!K"} << QByteArray("--initials: 'J!K' are not initials: at most 8 letters A to Z, digits and dots, with a hyphen or a space between two of them");
        QTest::newRow("initials too long") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--pumped", "0", "--initials", "ABCDEFGHI"} << QByteArray("--initials: 'ABCDEFGHI' are not");
        QTest::newRow("initials ending in a hyphen") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--pumped", "0", "--initials", "JK-"} << QByteArray("--initials: 'JK-' are not");
        QTest::newRow("initials with two spaces") << QStringList{"day", "T1", "2026-01-02", "--stick", "3", "--pumped", "0", "--initials", "J  K"} << QByteArray("--initials: 'J  K' are not");
        QTest::newRow("a tab in the site's address") << QStringList{"site", "--address", "4 Quay\tRoad"} << QByteArray("the site's address holds a control character other than a line end");
        QTest::newRow("totals without a month") << QStringList{"export", "--totals"} << QByteArray("--totals needs --month YYYY-MM");
        QTest::newRow("a leak test of no period") << QStringList{"leak-test", "T1"} << QByteArray("give the month YYYY-MM, or --from DATE --to DATE");
        QTest::newRow("a leak test of two periods") << QStringList{"leak-test", "T1", "2026-03", "--from", "2026-03-01", "--to", "2026-03-31"} << QByteArray("give the month YYYY-MM, or --from");
        QTest::newRow("a leak test ending first") << QStringList{"leak-test", "T1", "--from", "2026-03-05", "--to", "2026-03-01"} << QByteArray("--to must not come before --from");
        QTest::newRow("a leak test without its end") << QStringList{"leak-test", "T1", "--from", "2026-03-05"} << QByteArray("--to is missing");
        QTest::newRow("run rule half given") << QStringList{"tank", "add", "T2", "--opening", "1", "--short-days", "3"} + kVertical << QByteArray("--short-total is missing");
        QTest::newRow("a meter factor beyond any meter") << QStringList{"tank", "edit", "T1", "--meter-factor", "-100.1", "--from", "2026-01-01"} << QByteArray("a meter factor is at most 100 in3/5gal over or under");
        QTest::newRow("a meter factor without its date") << QStringList{"tank", "edit", "T1", "--meter-factor", "5"} << QByteArray("--meter-factor takes --from YYYY-MM-DD and no other option");
        QTest::newRow("a meter factor with a shape") << QStringList{"tank", "edit", "T1", "--meter-factor", "5", "--from", "2026-01-01", "--opening", "3"} << QByteArray("--meter-factor takes --from");
        QTest::newRow("54B in °F") << QStringList{"tank", "add", "T2", "--opening", "1", "--correction", "54B", "--density", "800"} + kVertical << QByteArray("--temperature-unit C is needed for --correction 54B");
    }
    void bad_input_is_one_line_naming_the_option() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        if (!QFile::exists(path("input.book"))) {
            addTank("input.book", "T1");
        }
        const QByteArray before = digest(path("input.book"));
        const Run run = book("input.book", args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message) && run.err.count('\n') == 1, run.err);
        QCOMPARE(digest(path("input.book")), before);
    }

    // Each would lose a month or leave it unreportable; it is refused when it is recorded. The
    // book has T1 (vertical, 120 in high) and the records `setup` makes; CSV is the import's file.
    void a_change_that_would_lose_or_break_a_month_is_refused_data() {
        QTest::addColumn<QList<QStringList>>("setup");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        const QStringList importIt{"import", "CSV"};
        QTest::newRow("a stick above a lower tank") << QList<QStringList>{{"day", "T1", "2026-02-03", "--stick", "80", "--pumped", "0"}}
            << QByteArray() << QStringList{"tank", "edit", "T1", "--orientation", "vertical", "--diameter", "120", "--length", "60"}
            << QByteArray("2026-02-03: --stick: 80 is outside the tank (0 to 60)");
        QTest::newRow("water above a delivery's stick") << QList<QStringList>{{"delivery", "T1", "2026-03-02", "--bill", "1500", "--before", "10", "--after", "40"}}
            << QByteArray() << QStringList{"day", "T1", "2026-03-02", "--stick", "38", "--water", "12", "--pumped", "0"}
            << QByteArray("--water: 12 is above the stick before delivery 1 (10)");
        QTest::newRow("a delivery below the day's water") << QList<QStringList>{{"day", "T1", "2026-03-02", "--stick", "38", "--water", "12", "--pumped", "0"}}
            << QByteArray() << QStringList{"delivery", "T1", "2026-03-02", "--bill", "1500", "--before", "10", "--after", "40"}
            << QByteArray("--before: 10 is below the day's water cut (12)");
        QTest::newRow("a delivery from the water cut, then one below it")
            << QList<QStringList>{{"day", "T1", "2026-03-02", "--stick", "38", "--water", "12", "--pumped", "0"},
                                  {"delivery", "T1", "2026-03-02", "--bill", "1500", "--before", "12", "--after", "40"}}
            << QByteArray() << QStringList{"delivery", "T1", "2026-03-02", "--bill", "1500", "--before", "11", "--after", "40"}
            << QByteArray("--before: 11 is below the day's water cut (12)");
        QTest::newRow("an imported day below a delivery's water") << QList<QStringList>{{"delivery", "T1", "2026-03-02", "--bill", "1500", "--before", "10", "--after", "40"}}
            << QByteArray("tank,date,stick,water,pumped\nT1,2026-03-02,38,12,0\n") << importIt
            << QByteArray("line 2: --water: 12 is above the stick before delivery 1 (10)");
        QTest::newRow("a tank with days") << QList<QStringList>{{"day", "T1", "2026-03-02", "--stick", "38", "--pumped", "0"}}
            << QByteArray() << QStringList{"tank", "remove", "T1"}
            << QByteArray("T1 has 1 recorded day; a tank with recorded days is kept in the book");
        QTest::newRow("a meter factor on a date that has one") << QList<QStringList>{{"tank", "edit", "T1", "--meter-factor", "3", "--from", "2026-03-01"}}
            << QByteArray() << QStringList{"tank", "edit", "T1", "--meter-factor", "4", "--from", "2026-03-01"}
            << QByteArray("a meter factor takes effect on 2026-03-01 already (3 in3/5gal)");
        QTest::newRow("a tank with a meter factor") << QList<QStringList>{{"tank", "edit", "T1", "--meter-factor", "3", "--from", "2026-03-01"}}
            << QByteArray() << QStringList{"tank", "remove", "T1"} << QByteArray("T1 has deliveries or meter factors on record");
        QTest::newRow("a day twice in an import") << QList<QStringList>{}
            << QByteArray("tank,date,stick,pumped\nT1,2026-03-02,39,10\nT1,2026-03-03,38,10\nT1,2026-03-02,38,10\n") << importIt
            << QByteArray("lines 2 and 4 both give T1's 2026-03-02");
        QTest::newRow("a blank pumped cell") << QList<QStringList>{}
            << QByteArray("tank,date,stick,pumped\nT1,2026-03-02,39,\n") << importIt << QByteArray("line 2: the volume pumped is missing: give --pumped 0 if nothing was pumped");
        QTest::newRow("an import date with colons") << QList<QStringList>{}
            << QByteArray("tank,date,stick,pumped\nT1,2026:03:09,39,1\n") << importIt << QByteArray("line 2: the date '2026:03:09' is not a date");
        QTest::newRow("an imported stick above the tank") << QList<QStringList>{}
            << QByteArray("tank,date,stick,pumped\nT1,2026-03-02,500,1\n") << importIt << QByteArray("line 2: --stick: 500 is outside the tank (0 to 120)");
    }
    void a_change_that_would_lose_or_break_a_month_is_refused() {
        QFETCH(QList<QStringList>, setup);
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        const QString file = QString("refused-%1.book").arg(QTest::currentDataTag());
        addTank(file, "T1");
        for (const QStringList& command : setup) {
            QCOMPARE(book(file, command).exitCode, 0);
        }
        QVERIFY(writeFile(path(file + ".csv"), csv));
        args.replaceInStrings(QRegularExpression("^CSV$"), path(file + ".csv"));
        const QByteArray before = digest(path(file));
        const Run run = book(file, args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message) && run.err.count('\n') == 1, run.err);
        QCOMPARE(digest(path(file)), before);
    }

    // A chart of 100 gal an inch, kept in the book: opening 50 in = 5000 gal, 5000 - 790 pumped
    // = 4210 in the book against 4200 at 42 in, -10.
    void a_calibration_chart_is_kept_in_the_book() {
        QVERIFY(writeFile(path("chart.csv"), "level,volume\n0,0\n100,10000\n"));
        QCOMPARE(book("chart.book", {"tank", "add", "C", "--opening", "50", "--calibration", path("chart.csv")}).exitCode, 0);
        QVERIFY(QFile::remove(path("chart.csv")));
        QCOMPARE(book("chart.book", {"day", "C", "2026-01-02", "--stick", "42", "--pumped", "790"}).exitCode, 0);
        const Run month = book("chart.book", {"month", "C", "2026-01", "--format", "json"});
        QCOMPARE(QJsonDocument::fromJson(month.out).object()["over_short"].toDouble(), -10.0);
    }

    // 130 US gal = 492.10 L, to the tenth of a litre as the rule states it.
    void a_metric_book_converts_the_federal_allowance() {
        QCOMPARE(book("metric.book", {"tank", "add", "M", "--opening", "1", "--orientation", "vertical",
                     "--diameter", "2", "--length", "3", "--units", "meters", "--volume", "litres"}).exitCode, 0);
        QVERIFY(book("metric.book", {"tank", "show", "M"}).out.contains("1% of flow-through + 492.1 litres\n"));
    }
};

QTEST_GUILESS_MAIN(BrimwellBookTest)
#include "test_brimwell_book.moc"
