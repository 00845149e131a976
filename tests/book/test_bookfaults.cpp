// brimwell-book on a book that is damaged or cannot be written: the cause is named, nothing is
// written into a damaged book, and a book that cannot be written can still be read. The disk
// faults need a small disk of their own (BRIMWELL_BOOK_DISK, a folder on a file system that CTest
// mounts for this test in a mount namespace of its own when it may).

#include <QtTest>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "tests/support/commandrun.h"

namespace {
using brimwell::testing::readFile;
using brimwell::testing::Run;
using brimwell::testing::runCommand;
using brimwell::testing::runUnprivileged;
using brimwell::testing::writeFile;

constexpr int kDays = 800;
const QDate kFirstDay(2024, 1, 1);

Run book(const QString& path, const QStringList& args) {
    return runCommand(BRIMWELL_BOOK, QStringList{"--book", path} + args);
}

// A book of one tank with 800 days, from the first of January 2024.
bool makeBook(const QString& path) {
    QByteArray csv = "tank,date,stick,pumped\n";
    for (int i = 0; i < kDays; ++i) {
        csv += "T1," + kFirstDay.addDays(i).toString(Qt::ISODate).toUtf8() + "," +
               QByteArray::number(40 + i % 9) + ",100\n";
    }
    const QString rows = path + ".csv";
    return book(path, {"tank", "add", "T1", "--diameter", "96", "--length", "324", "--opening",
                       "48"})
                   .exitCode == 0 &&
           writeFile(rows, csv) && book(path, {"import", rows}).exitCode == 0;
}

// The number of the `which`th page of the table or index (SQLite's page statistics).
int pageOf(const QString& path, const QString& name, const QString& type, int which) {
    int page = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "pages");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() &&
            query.exec(QString("SELECT pageno FROM dbstat WHERE name = '%1' AND pagetype = '%2' "
                               "ORDER BY pageno LIMIT 1 OFFSET %3")
                           .arg(name, type)
                           .arg(which)) &&
            query.next()) {
            page = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("pages");
    return page;
}

// Overwrites the first 16 bytes of the page, as a failing disk or a stray write would.
bool damagePage(const QString& path, int page) {
    QFile file(path);
    constexpr qint64 kPageSize = 4096;
    return page > 0 && file.open(QIODevice::ReadWrite) && file.seek((page - 1) * kPageSize) &&
           file.write(QByteArray(16, 'X')) == 16;
}

QByteArray digest(const QString& path) {
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

QStringList months() {
    QStringList all;
    for (QDate month = kFirstDay; month <= kFirstDay.addDays(kDays - 1); month = month.addMonths(1)) {
        all << month.toString("yyyy-MM");
    }
    return all;
}

// Corrects the last day of March 2024 to 1234 pumped and leaves the change in the journal only:
// the book and its journal are copied aside while the change is not yet in the book's file, and
// put back in place of the book, without the journal's index, which a reader then has to make.
bool leaveInJournal(const QString& path) {
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "journal");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        done = db.open() && query.exec("PRAGMA wal_autocheckpoint = 0") &&
               query.exec("UPDATE days SET pumped = 1234 WHERE day = '2024-03-31'");
        for (const QString& suffix : {QString(), QString("-wal")}) {
            QFile::remove(path + ".kept" + suffix);
            done = done && QFile::copy(path + suffix, path + ".kept" + suffix);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("journal");
    QFile::remove(path + "-shm");
    for (const QString& suffix : {QString(), QString("-wal")}) {
        QFile::remove(path + suffix);
        done = done && QFile::rename(path + ".kept" + suffix, path + suffix);
    }
    return done;
}

bool mountDisk(const QString& disk, const QString& options) {
    return QProcess::execute("mount", {"-o", "remount," + options, disk}) == 0;
}

}  // namespace

class BookFaultsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void a_damaged_book_is_reported_and_never_written_to_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("pageType");
        QTest::addColumn<int>("which");
        QTest::newRow("a page of the days") << "days" << "leaf" << 3;
        QTest::newRow("the first page of the days") << "days" << "leaf" << 0;
        QTest::newRow("the days' top page") << "days" << "internal" << 0;
        QTest::newRow("a page of the days' index") << "sqlite_autoindex_days_1" << "leaf" << 1;
    }
    void a_damaged_book_is_reported_and_never_written_to() {
        QFETCH(QString, table);
        QFETCH(QString, pageType);
        QFETCH(int, which);
        const QString sound = dir_.filePath(QString("sound-%1.book").arg(QTest::currentDataTag()));
        QVERIFY(makeBook(sound));
        QStringList sums;
        for (const QString& month : months()) {
            sums << QString::fromUtf8(book(sound, {"month", "T1", month, "--format", "csv"}).out);
        }
        const QString path = dir_.filePath(QString("%1.book").arg(QTest::currentDataTag()));
        QVERIFY(QFile::copy(sound, path));
        QVERIFY(damagePage(path, pageOf(path, table, pageType, which)));
        const QByteArray damaged = digest(path);

        // A month is whole and as it was, or refused as damaged: never a part of it.
        int refused = 0;
        for (int i = 0; i < sums.size(); ++i) {
            const Run month = book(path, {"month", "T1", months()[i], "--format", "csv"});
            if (month.exitCode == 1 && month.err.contains("is damaged")) {
                ++refused;
            } else {
                QCOMPARE(QString::fromUtf8(month.out), sums[i]);
            }
        }
        QVERIFY(refused > 0);
        for (const QStringList& args :
             {QStringList{"export"}, QStringList{"check"},
              QStringList{"day", "T1", "2026-03-11", "--stick", "40",
                                                 "--pumped", "10"},
              QStringList{"import", sound + ".csv"}}) {
            const Run run = book(path, args);
            QVERIFY2(run.exitCode == 1 && run.err.contains("is damaged"),
                     qPrintable(args.join(' ') + ": " + run.err));
        }
        QCOMPARE(digest(path), damaged);
    }

    // Rows kept by older versions, or written behind the book's back, that it would refuse today.
    void check_names_each_record_the_book_would_refuse() {
        const QString path = dir_.filePath("old.book");
        QCOMPARE(book(path, {"tank", "add", "T1", "--diameter", "96", "--length", "324", "--opening",
                             "48"})
                     .exitCode,
                 0);
        QCOMPARE(book(path, {"day", "T1", "2026-01-01", "--stick", "40", "--pumped", "3"}).exitCode, 0);
        const Run whole = book(path, {"check"});
        QCOMPARE(whole.exitCode, 0);
        QCOMPARE(whole.out, QByteArray("pages: whole\nrecords the book would refuse today: 0\n"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "old");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const char* row : {"'2026/03/05', 30, 100", "'2026-03-06', 30, NULL",
                                    "'2026-03-07', 300, 10", "'2026-03-08', 30, 1e308"}) {
                QVERIFY(query.exec(QString("INSERT INTO days (tank_id, day, closing_level, pumped, "
                                           "recorded_at) VALUES (1, %1, 'then')")
                                       .arg(row)));
            }
            QVERIFY(query.exec("INSERT INTO deliveries (tank_id, day, bill_volume, bill_net, "
                               "level_before, level_after, pumped_during, recorded_at) VALUES "
                               "(1, '2026-04-01', 100, 0, 10, 20, 0, 'then')"));
        }
        QSqlDatabase::removeDatabase("old");
        const Run found = book(path, {"check"});
        QCOMPARE(found.exitCode, 4);
        for (const char* line :
             {"T1 2026/03/05: the date is not written YYYY-MM-DD", "T1 2026-03-06: the volume pumped is missing",
              "T1 2026-03-07: --stick: 300 is outside the tank", "T1 2026-03-08: --pumped: ",
              "T1 2026-04-01: a delivery without the day's closing stick",
              "records the book would refuse today: 5"}) {
            QVERIFY2(found.out.contains(line), found.out.constData());
        }
    }

    void a_book_that_cannot_be_written_is_read_and_the_cause_named_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("cause");
        QTest::newRow("a folder that takes no new files")
            << "folder" << "its folder takes no new files";
        QTest::newRow("a read-only disk") << "read-only disk" << "it is on a read-only disk";
        QTest::newRow("a read-only disk, changes in the journal")
            << "read-only disk, journal" << "it is on a read-only disk";
        QTest::newRow("a full disk") << "full disk" << "the disk is full";
    }
    void a_book_that_cannot_be_written_is_read_and_the_cause_named() {
        QFETCH(QString, fault);
        QFETCH(QString, cause);
        const QString disk = qEnvironmentVariable("BRIMWELL_BOOK_DISK");
        if (fault != "folder" && disk.isEmpty()) {
            QSKIP("needs a disk of its own (BRIMWELL_BOOK_DISK)");
        }
        const QString folder =
            QDir(fault == "folder" ? dir_.path() : disk).filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath("site.book");
        QVERIFY(makeBook(path));
        const Run month = book(path, {"month", "T1", "2024-03"});
        QVERIFY(month.out.contains("2024-03-31"));
        const QByteArray before = fault.endsWith("journal") ? QByteArray() : digest(path);

        const QStringList day{"day", "T1", "2026-03-11", "--stick", "40", "--pumped", "10"};
        Run read;
        Run write;
        if (fault == "folder") {
            // Read by someone who may read the book but make no file beside it.
            QVERIFY(::chmod(QFile::encodeName(dir_.path()).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
            read = runUnprivileged(BRIMWELL_BOOK, QStringList{"--book", path, "month", "T1", "2024-03"});
            write = runUnprivileged(BRIMWELL_BOOK, QStringList{"--book", path} + day);
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        } else if (fault.startsWith("read-only disk")) {
            if (fault.endsWith("journal")) {
                // A day committed to the journal but not yet into the book's file, as a program
                // killed before it closed the book leaves it.
                QVERIFY(leaveInJournal(path));
            }
            QVERIFY(mountDisk(disk, "ro"));
            read = book(path, {"month", "T1", "2024-03"});
            write = book(path, day);
            QVERIFY(mountDisk(disk, "rw"));
        } else {
            QFile filler(QDir(disk).filePath("filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(512, 'x');
            while (filler.write(block) > 0) {
            }
            filler.close();
            read = book(path, {"month", "T1", "2024-03"});
            write = book(path, day);
            filler.remove();
        }
        if (fault.endsWith("journal")) {
            // Read with the journal's day, or refused: never the book without it.
            QVERIFY2(read.out.contains("2024-03-31") ? read.out.contains("1234.00")
                                                           : read.exitCode == 1,
                     read.out.constData());
        } else {
            QVERIFY2(read.exitCode == month.exitCode && read.out == month.out,
                     read.err.constData());
        }
        QVERIFY2(write.exitCode == 1 && write.err.contains(cause.toUtf8()), write.err.constData());
        QVERIFY(!write.err.contains("not a Brimwell book"));
        if (!before.isEmpty()) {
            QCOMPARE(digest(path), before);
        }
    }
};

QTEST_GUILESS_MAIN(BookFaultsTest)
#include "test_bookfaults.moc"
