// The book's printed pages as an inspector gets them: brimwell-book report and worksheet run as
// an operator runs them, their PDFs read back as text; and the pages' breaking.

#include <QtTest>

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "bookreport/pagemodel.h"
#include "tests/support/commandrun.h"

using brimwell::bookreport::Document;
using brimwell::bookreport::Line;
using brimwell::bookreport::Page;
using brimwell::testing::readFile;
using brimwell::testing::Run;
using brimwell::testing::runCommand;
using brimwell::testing::writeFile;

namespace {

// A vertical tank 120 in across: π × 60² / 231 = 48.9598855 gallons an inch.
const QStringList kVertical{"--orientation", "vertical", "--diameter", "120", "--length", "120"};

Run runWith(const QStringList& environment, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment) {
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    }
    process.setProcessEnvironment(env);
    process.start(BRIMWELL_BOOK, args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The PDF's text laid out as on the page, one string per page.
QStringList pagesOf(const QString& pdf) {
    const Run text = runCommand("pdftotext", {"-layout", pdf, "-"});
    QStringList pages = QString::fromUtf8(text.out).split('\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

QString pageSize(const QString& pdf) {
    const auto match = QRegularExpression("Page size:\\s+([^\\n]*)")
                           .match(QString::fromUtf8(runCommand("pdfinfo", {pdf}).out));
    return match.captured(1).trimmed();
}

QByteArray digest(const QString& path) {
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

// A line of the layout of the given kind and height; a row of table 0.
Line line(Line::Kind kind, double height = 1) {
    return {kind, {}, kind == Line::Kind::Row || kind == Line::Kind::TableHead ? 0 : -1, false,
            height};
}

}  // namespace

class BookReportTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    Run book(const QString& file, const QStringList& args, const QStringList& env = {}) const {
        return runWith(env, QStringList{"--book", path(file)} + args);
    }

    // February of the README's worked example, its 4th corrected, at a site with a name.
    void keepFebruary(const QString& file) const {
        QCOMPARE(book(file, QStringList{"tank", "add", "T1", "--opening", "50", "--product", "Diesel",
                                        "--correction", "linear", "--coefficient", "0.0005",
                                        "--water-limit", "2"} + kVertical).exitCode, 0);
        const QList<QStringList> commands{
            {"day", "T1", "2026-02-02", "--stick", "42", "--pumped", "400", "--initials", "JB"},
            {"delivery", "T1", "2026-02-03", "--bill", "1500", "--bill-temperature", "65", "--before",
             "40", "--after", "70 1/2", "--temperature-before", "60", "--temperature-after", "63"},
            {"day", "T1", "2026-02-03", "--stick", "5'2\"", "--meter-open", "1000", "--meter-close", "1500"},
            {"day", "T1", "2026-02-04", "--stick", "60", "--water", "2.5", "--pumped", "150", "--initials", "MK"},
            {"day", "T1", "2026-02-04", "--stick", "60.5", "--water", "2.5", "--pumped", "150"}};
        for (const QStringList& command : commands) {
            QCOMPARE(book(file, command).exitCode, 0);
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "site");
            db.setDatabaseName(path(file));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("INSERT INTO book_meta (name, value) VALUES ('site_name', "
                               "'Orvane Fuel Stop'), ('site_address', '12 Mill Road, Brimwell')"));
        }
        QSqlDatabase::removeDatabase("site");
    }

    // A month of `days` days for each tank, 1000 gallons a day pumped, deliveries on the 5th,
    // 15th and 25th.
    void keepMonth(const QString& file, const QStringList& tanks, const QString& month, int days) const {
        QByteArray csv = "tank,date,stick,pumped\n";
        for (const QString& tank : tanks) {
            QCOMPARE(book(file, {"tank", "add", tank, "--diameter", "96", "--length", "324",
                                 "--opening", "60"}).exitCode, 0);
            for (int day = 1; day <= days; ++day) {
                csv += QString("%1,%2-%3,%4,1000\n").arg(tank, month).arg(day, 2, 10, QChar('0'))
                           .arg(day % 10 == 5 ? 70 : 60 - day % 10).toUtf8();
            }
        }
        QVERIFY(writeFile(path(file + ".csv"), csv));
        QCOMPARE(book(file, {"import", path(file + ".csv")}).exitCode, 0);
        for (const QString& tank : tanks) {
            for (const char* day : {"05", "15", "25"}) {
                QCOMPARE(book(file, {"delivery", tank, month + "-" + day, "--bill", "3000",
                                     "--before", "40", "--after", "68"}).exitCode, 0);
            }
        }
    }

private Q_SLOTS:
    // Worked by hand at 48.9598855 gal/in. 2nd: opening 50 in = 2447.99, book 2447.99 - 400 =
    // 2047.99, closing 42 in = 2056.32, over 8.32. 3rd: delivery 40 -> 70.5 in measures
    // 30.5 x 48.96 = 1493.28 against the bill's 1500 (net 1500 x (1 + (60 - 65) x 0.0005) =
    // 1496.25); book 2056.32 + 1500 - 500 = 3056.32, closing 62 in = 3035.51, -20.80. 4th, as
    // corrected: 60.5 in less 2.5 in of water = 58 x 48.96 = 2839.67 against 3035.51 - 150 =
    // 2885.51, -45.84; the month -58.32 within 1 % of 1050 + 130 = 140.50, but the water over 2 in.
    void a_hand_worked_month_prints_every_figure_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("paper");
        QTest::newRow("decimal point, A4") << "C.UTF-8" << "842 x 595 pts (A4)";
        QTest::newRow("decimal comma, A4") << "de_DE.UTF-8" << "842 x 595 pts (A4)";
        QTest::newRow("United States, Letter") << "en_US.UTF-8" << "792 x 612 pts (letter)";
    }

    void a_hand_worked_month_prints_every_figure() {
        QFETCH(QString, locale);
        QFETCH(QString, paper);
        const QString file = QString("feb-%1.book").arg(QTest::currentDataTag());
        keepFebruary(file);
        const QString pdf = path(file + ".pdf");
        const Run report = book(file, {"report", "T1", "2026-02", "--output", pdf},
                                {"LC_ALL=" + locale, "LANG=" + locale});
        QVERIFY2(report.exitCode == 0, report.err);
        QCOMPARE(pageSize(pdf), paper);
        const QString text = pagesOf(pdf).join('\n');
        const QString point = locale.startsWith("de") ? "," : ".";
        const QStringList expected{
            "Site: Orvane Fuel Stop, 12 Mill Road, Brimwell",
            "Rules in force: 1% of flow-through + 130 gallons; water cut above 2 inches",
            "2026-02-01 missing",
            "2026-02-02 50 2447.99 0.00 400.00 2047.99 42 2056.32 8.32 8.32 JB",
            "2026-02-03 42 2056.32 1500.00 1493.28 500.00 3056.32 62 3035.51 -20.80 -12.48",
            "2026-02-04 62 3035.51 0.00 150.00 2885.51 60.5 2839.67 -45.84 -58.32 2.5 MK water over limit, corrected",
            "2026-02-28 missing",
            "2026-02-03 1500.00 1496.25 1493.28 -6.72 -8.15 66.9",
            "Delivered per bills: 1500.00 gallons Pumped (flow-through): 1050.00 gallons Over/short: -58.32 gallons",
            "Check: 1% of flow-through + 130 gallons: variance 58.32, limit 140.50, met",
            "Check: water cut above 2 inches: highest water 2.50, days above 1, FAILED",
            "Month: FAILED",
            "Two months in a row that fail the check must be reported",
            "Verdict: no analysis Usable days: 0 of 28",
            "Method: statistical inventory reconciliation",
            "Chart check: too few deliveries",
            "Operator's signature: Date:",
            "2026-02-04 day stick 60, water 2.5, pumped 150, read by MK",
            "page 1 of 2",
            "page 2 of 2"};
        // pdftotext spaces the columns out and ligates "fl": compare words one space apart.
        QString words = text.simplified();
        words.replace(QChar(0xFB02), "fl");
        for (QString fragment : expected) {
            fragment.replace(QRegularExpression("(\\d)\\.(\\d)"), "\\1" + point + "\\2");
            QVERIFY2(words.contains(fragment), qPrintable(fragment + "\nnot in:\n" + text));
        }
        QVERIFY(words.contains(QRegularExpression("\\.book; printed \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d UTC; "
                                                 "tank T1, 2026-02; records last changed "
                                                 "20\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d UTC")));
    }

    // A meter factor of +11.55 in3 per 5 gal (1 %) from the 3rd: the 500 and 150 metered become
    // 505.00 and 151.50, so the month pumps 400 + 505 + 151.50 = 1056.50 against 1050.00 metered.
    void a_meter_factor_prints_the_metered_beside_the_corrected() {
        keepFebruary("meter.book");
        QCOMPARE(book("meter.book", {"tank", "edit", "T1", "--meter-factor", "11.55", "--from",
                                     "2026-02-03"}).exitCode, 0);
        const QString pdf = path("meter.pdf");
        const Run report = book("meter.book", {"report", "T1", "2026-02", "--output", pdf});
        QVERIFY2(report.exitCode == 0, report.err);
        QString words = pagesOf(pdf).join('\n').simplified();
        words.replace(QChar(0xFB02), "fl");
        for (const char* fragment : {"505.00", "metered 500.00", "151.50", "metered 150.00",
                                     "Pumped (flow-through): 1056.50 gallons",
                                     "Pumped as the meters recorded it: 1050.00 gallons"}) {
            QVERIFY2(words.contains(fragment), fragment);
        }
    }

    // Each row: the command, its tanks, and the pages; each tank starts a page of its own, and a
    // 31-day month's worksheet with its deliveries fits its first page.
    void the_pages_break_where_a_reader_expects_data() {
        QTest::addColumn<QStringList>("tanks");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("pagesPerTank");
        QTest::newRow("31 days with 3 deliveries") << QStringList{"T1"} << "report" << 2;
        QTest::newRow("a site of 3 tanks") << QStringList{"T1", "T2", "T3"} << "report" << 2;
        QTest::newRow("the blank worksheet") << QStringList{"T1"} << "worksheet" << 1;
    }

    void the_pages_break_where_a_reader_expects() {
        QFETCH(QStringList, tanks);
        QFETCH(QString, command);
        QFETCH(int, pagesPerTank);
        const QString file = QString("pages-%1.book").arg(QString(QTest::currentDataTag()).replace(" ", "-"));
        keepMonth(file, tanks, "2026-03", 31);
        const QString pdf = path(file + ".pdf");
        const QStringList which = tanks.size() > 1 ? QStringList{"--all"} : tanks;
        const Run run = book(file, QStringList{command} + which + QStringList{"2026-03", "--output", pdf});
        QVERIFY2(run.exitCode == 0, run.err);
        const QStringList pages = pagesOf(pdf);
        const int count = int(tanks.size()) * pagesPerTank;
        QCOMPARE(pages.size(), count);
        for (int i = 0; i < count; ++i) {
            QVERIFY(pages[i].contains(QString("page %1 of %2").arg(i + 1).arg(count)));
        }
        for (int t = 0; t < tanks.size(); ++t) {
            const QString& first = pages[t * pagesPerTank];
            QVERIFY2(first.simplified().contains(QString("tank %1, 2026-03").arg(tanks[t])), qPrintable(first));
            for (int day = 1; day <= 31; ++day) {
                QVERIFY(first.contains(QString("2026-03-%1").arg(day, 2, 10, QChar('0'))));
            }
            // The 5th's delivery in its columns, per bill and by sticks, before the volume pumped.
            QCOMPARE(first.simplified().contains(QRegularExpression(
                         "2026-03-05 56 [\\d.]+ 3000\\.00 [\\d.]+ 1000\\.00 [\\d.]+ 70 ")),
                     command == "report");
        }
    }

    // Nothing is written or printed, the book is unchanged, and stderr says why.
    void a_failed_write_or_print_says_so_and_changes_nothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such folder") << QStringList{"report", "T1", "2026-02", "--output", "/no such folder/r.pdf"}
                                        << QStringList{} << 1 << "/no such folder/r.pdf cannot be written";
        QTest::newRow("a folder in the file's place") << QStringList{"worksheet", "T1", "2026-02", "--output", "."}
                                                      << QStringList{} << 1 << "cannot be written";
        QTest::newRow("no print scheduler") << QStringList{"report", "--all", "2026-02", "--print"}
                                            << QStringList{"CUPS_SERVER=/nobody/listens.sock", "PRINTER=", "LPDEST="}
                                            << 1 << "nothing was printed";
        QTest::newRow("both outputs") << QStringList{"report", "T1", "2026-02", "--print", "--output", "r.pdf"}
                                      << QStringList{} << 2 << "give --output FILE.pdf or --print";
        QTest::newRow("no such tank") << QStringList{"report", "T9", "2026-02", "--output", "r.pdf"}
                                      << QStringList{} << 2 << "T9";
    }

    void a_failed_write_or_print_says_so_and_changes_nothing() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, environment);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString file = QString("fault-%1.book").arg(QString(QTest::currentDataTag()).replace(" ", "-"));
        keepFebruary(file);
        const QByteArray before = digest(path(file));
        const QStringList filesBefore = QDir(dir_.path()).entryList(QDir::Files);

        const Run run = book(file, args, environment);

        QCOMPARE(run.exitCode, status);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err);
        QCOMPARE(digest(path(file)), before);
        QStringList filesAfter = QDir(dir_.path()).entryList(QDir::Files);
        filesAfter.removeAll(file + "-shm");
        filesAfter.removeAll(file + "-wal");
        QCOMPARE(filesAfter, filesBefore);
        QVERIFY(!QFile::exists("/no such folder"));
    }

    void the_report_prints_on_the_default_printer() {
        const QString out = qEnvironmentVariable("BRIMWELL_TEST_PRINTER_OUT");
        if (!qEnvironmentVariableIsSet("CUPS_SERVER") || out.isEmpty()) {
            QSKIP("no test printer: eval \"$(scripts/testprinter start)\"");
        }
        keepFebruary("print.book");
        const QStringList before = QDir(out).entryList({"*.pdf"}, QDir::Files);
        const Run run = book("print.book", {"report", "T1", "2026-02", "--print"});
        QVERIFY2(run.exitCode == 0, run.err);
        QString printed;
        for (int wait = 0; wait < 200 && printed.isEmpty(); ++wait) {
            QStringList added = QDir(out).entryList({"*.pdf"}, QDir::Files);
            for (const QString& old : before) {
                added.removeAll(old);
            }
            if (!added.isEmpty() && runCommand("lpstat", {"-o"}).out.trimmed().isEmpty()) {
                printed = QDir(out).filePath(added.constFirst());
            }
            QTest::qWait(100);
        }
        QVERIFY2(!printed.isEmpty(), "no printout arrived within 20 s");
        const QStringList pages = pagesOf(printed);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].simplified().contains("2026-02-03 42 2056.32 1500.00 1493.28 500.00 3056.32"));

        // A queue that refuses jobs would lose the pages: nothing is sent to it.
        const QString spare = qEnvironmentVariable("BRIMWELL_TEST_SPARE_PRINTER");
        QCOMPARE(runCommand("cupsreject", {spare}).exitCode, 0);
        const Run refused = book("print.book", {"report", "T1", "2026-02", "--print"}, {"PRINTER=" + spare});
        QCOMPARE(runCommand("cupsaccept", {spare}).exitCode, 0);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains("nothing was printed"), refused.err);
    }

    // Heights in text lines, 10 to a page: [first, last) of each page and the head it repeats.
    void lines_fall_on_pages_data() {
        using K = Line::Kind;
        QTest::addColumn<std::vector<Line>>("lines");
        QTest::addColumn<QList<QList<int>>>("pages");
        QTest::newRow("all on one") << std::vector{line(K::Title), line(K::Text, 9)} << QList<QList<int>>{{0, 2, -1}};
        QTest::newRow("a heading and a head stay with their row")
            << std::vector{line(K::Text, 6), line(K::Heading), line(K::TableHead, 2), line(K::Row, 2)}
            << QList<QList<int>>{{0, 1, -1}, {1, 4, -1}};
        QTest::newRow("a table goes on under its head")
            << std::vector{line(K::TableHead, 4), line(K::Row, 3), line(K::Row, 3), line(K::Row, 3)}
            << QList<QList<int>>{{0, 3, -1}, {3, 4, 0}};
        QTest::newRow("a line taller than the page") << std::vector{line(K::Text), line(K::Plot, 12), line(K::Text)}
                                                     << QList<QList<int>>{{0, 1, -1}, {1, 2, -1}, {2, 3, -1}};
    }

    void lines_fall_on_pages() {
        QFETCH(std::vector<Line>, lines);
        QFETCH(QList<QList<int>>, pages);
        Document document;
        document.sections.push_back({{{}}, lines, nullptr, {}});
        QList<QList<int>> found;
        for (const Page& page : brimwell::bookreport::paginate(document, 10)) {
            found.append({int(page.first), int(page.last), page.repeatedHead});
        }
        QCOMPARE(found, pages);
    }
};

QTEST_GUILESS_MAIN(BookReportTest)
#include "test_bookreport.moc"
