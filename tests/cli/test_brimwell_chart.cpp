#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/commandrun.h"

namespace {
using brimwell::testing::readFile;
using brimwell::testing::Run;
using brimwell::testing::runUnprivileged;
using brimwell::testing::writeFile;

Run chart(const QStringList& args, const QString& standardOutput = {}) {
    return brimwell::testing::runCommand(BRIMWELL_CHART, args, standardOutput);
}

const QStringList kWorkedExample{"--shape", "flat", "--diameter", "48", "--length", "100",
                                 "--increment", "12"};
const QByteArray kWorkedExampleBytes =
    "LEVEL RANGE         LEVEL/VOLUME,     LEVEL/VOLUME,      LEVEL/VOLUME\r\n"
    "  0.00 -  24.00     0.00,     0.00   12.00,   153.15   24.00,   391.68  \r\n"
    " 36.00 -  48.00    36.00,   630.21   48.00,   783.36  \r\n";
}  // namespace

class BrimwellChartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void prints_the_worked_example_byte_for_byte() {
        const Run run = chart(kWorkedExample);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, kWorkedExampleBytes);
        QVERIFY(run.err.isEmpty());
    }

    void writes_the_same_bytes_to_a_file() {
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.txt");
        const Run run = chart(kWorkedExample + QStringList{"--output", path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile(path), kWorkedExampleBytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.txt"});
        const Run dash = chart(kWorkedExample + QStringList{"--output", "-"});
        QCOMPARE(dash.out, kWorkedExampleBytes);
    }

    // An existing file is replaced the way the tank window replaces it.
    void replacing_a_file_keeps_its_nature_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a link stays a link") << "link";
        QTest::newRow("permissions stay") << "mode 640";
        QTest::newRow("a read-only file is refused") << "read-only";
        QTest::newRow("root keeps a read-only file read-only") << "mode 444";
        QTest::newRow("root keeps the owner and group") << "owner";
        QTest::newRow("a writable file in a read-only folder is written in place") << "folder 555";
    }
    void replacing_a_file_keeps_its_nature() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString target = dir.filePath("chart.txt");
        QVERIFY(writeFile(target, "precious"));
        QString path = target;
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        if (kind == "link") {
            path = dir.filePath("link.txt");
            QVERIFY(QFile::link(target, path));
        } else if (kind == "mode 640") {
            QVERIFY(QFile::setPermissions(target, mode));
        } else if (kind == "folder 555") {
            QCOMPARE(::chmod(QFile::encodeName(target), 0666) | ::chmod(QFile::encodeName(dir.path()), 0555), 0);
        } else if (geteuid() != 0 && kind != "read-only") {
            QSKIP("only root may replace a read-only file or one of another user");
        } else if (kind != "read-only") {
            QCOMPARE(kind == "owner" ? ::chown(QFile::encodeName(target), 65534, 65534) : ::chmod(QFile::encodeName(target), 0444), 0);
        } else if (!QFile::setPermissions(target, QFile::ReadOwner) ||
                   (geteuid() == 0 && QProcess::execute("chattr", {"+i", target}) != 0)) {
            QSKIP("cannot make a file read-only here");
        }
        const QStringList args = kWorkedExample + QStringList{"--output", path};
        const Run run = kind == "folder 555" ? runUnprivileged(BRIMWELL_CHART, args) : chart(args);
        ::chmod(QFile::encodeName(dir.path()), 0700);
        if (run.exitCode >= 126) {
            QSKIP("the user nobody may not run brimwell-chart from this build folder");
        }
        if (kind == "read-only") {
            QProcess::execute("chattr", {"-i", target});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains("cannot write " + path.toUtf8() + ": "), run.err.constData());
            QCOMPARE(readFile(target), QByteArray("precious"));
            return;
        }
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile(target), kWorkedExampleBytes);
        QVERIFY(QFileInfo(path).isSymLink() == (kind == "link"));
        if (kind == "mode 640") {
            QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), mode);
        }
        struct stat written {};
        QCOMPARE(::stat(QFile::encodeName(target), &written), 0);
        if (kind == "mode 444") {
            QCOMPARE(written.st_mode & 07777, 0444u);
        } else if (kind == "owner") {
            QCOMPARE(QList<uint>({written.st_uid, written.st_gid}), QList<uint>({65534, 65534}));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), kind == "link" ? 2 : 1);
    }

    void a_failed_level_is_named_and_ends_with_status_3() {
        const Run run = chart({"--shape", "flat", "--diameter", "1e13", "--length", "1e12",
                               "--volume", "millilitres", "--increment", "2e12"});
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.out.contains("4000000000000.00,     0.00"));
        QVERIFY2(run.err.startsWith("brimwell-chart: level 4000000000000.00 in: the volume cannot "
                                    "be computed\n"), run.err.constData());
        QCOMPARE(run.err.count('\n'), 4);
    }

    void version_is_the_build_version() {
        const Run run = chart({"--version"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("brimwell-chart " BRIMWELL_VERSION "\n"));
    }

    void converts_units_and_volumes() {
        const Run run = chart({"--shape=vertical", "--diameter=8", "--length=27", "--units=feet",
                               "--volume=cubic-meters", "--increment=48"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("  0.00 -  96.00     0.00,     0.00   48.00,"));
    }

    void bad_input_is_one_line_with_status_2_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mentions");
        const QStringList base{"--shape", "flat", "--length", "100"};
        QTest::newRow("missing diameter") << base + QStringList{"--increment", "1"} << "--diameter";
        QTest::newRow("diameter letters") << base + QStringList{"--diameter", "x", "--increment", "1"} << "diameter";
        QTest::newRow("missing value") << QStringList{"--shape"} << "--shape";
        QTest::newRow("unknown shape") << QStringList{"--shape", "round", "--diameter", "4", "--length", "1", "--increment", "1"} << "shape";
        QTest::newRow("unknown unit") << base + QStringList{"--diameter", "4", "--increment", "1", "--units", "yards"} << "yards";
        QTest::newRow("unknown volume") << base + QStringList{"--diameter", "4", "--increment", "1", "--volume", "pints"} << "pints";
        QTest::newRow("zero increment") << base + QStringList{"--diameter", "48", "--increment", "0"} << "increment";
        QTest::newRow("zero steps") << base + QStringList{"--diameter", "48", "--increment", "200"} << "increment";
        QTest::newRow("negative steps") << base + QStringList{"--diameter", "48", "--increment", "-1"} << "increment";
        QTest::newRow("too many steps") << base + QStringList{"--diameter", "96", "--increment", "0.001"} << "32767";
        QTest::newRow("unknown option") << base + QStringList{"--colour", "red"} << "--colour";
        QTest::newRow("repeated option") << base + QStringList{"--diameter", "4", "--increment", "1", "--diameter", "5"} << "--diameter is given more than once";
        QTest::newRow("radius 0 in single precision") << base + QStringList{"--diameter", "1e-46", "--increment", "1e-48"} << "the diameter is too small for a chart";
        QTest::newRow("grouped increment") << base + QStringList{"--diameter", "48", "--increment", "0,125"} << "--increment: '0,125' is not a number; write it with \".\" as the decimal point";
        QTest::newRow("lone point with a sign") << base + QStringList{"--diameter", "+.", "--increment", "1"} << "--diameter: '+.' is not a number";
        QTest::newRow("length letters") << QStringList{"--shape", "flat", "--length", "l", "--diameter", "4", "--increment", "1"} << "length";
    }
    void bad_input_is_one_line_with_status_2() {
        QFETCH(QStringList, args);
        QFETCH(QString, mentions);
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.txt");
        QVERIFY(writeFile(path, "precious"));

        const Run run = chart(args + QStringList{"--output", path});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(mentions.toUtf8()), run.err.constData());
        QCOMPARE(readFile(path), QByteArray("precious"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void unwritable_target_is_reported_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("standardOutput");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "/nonexistent-folder/chart.txt" << "" << "/nonexistent-folder/chart.txt: ";
        QTest::newRow("full disk") << "/dev/full" << "" << "/dev/full: No space left on device";
        QTest::newRow("full standard output") << "-" << "/dev/full" << "standard output: No space left on device";
    }
    void unwritable_target_is_reported() {
        QFETCH(QString, target);
        QFETCH(QString, standardOutput);
        QFETCH(QString, reason);
        const Run run = chart(kWorkedExample + QStringList{"--output", target}, standardOutput);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("cannot write " + reason.toUtf8()), run.err.constData());
        QVERIFY(!QFileInfo(target).isFile());  // a device stays a device
    }

    void help_explains_the_options() {
        const Run run = chart({"--help"});
        QCOMPARE(run.exitCode, 0);
        for (const char* word : {"--shape", "--diameter", "--length", "--units", "--volume", "--increment", "--output", "--version", "Exit status"}) {
            QVERIFY(run.out.contains(word));
        }
    }
};

QTEST_GUILESS_MAIN(BrimwellChartTest)
#include "test_brimwell_chart.moc"
