// Saving a chart where the disk refuses it: the user is told, and a file already there keeps
// every byte; only a writable file in a folder that takes no new file is written in place. The full-disk case needs a small disk of its own (BRIMWELL_SMALL_DISK, a folder on
// a tiny file system that CTest mounts when it may).

#include <QtTest>

#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include "tank/frmullex.h"
#include "host/picturestore.h"
#include "tests/support/scriptedhost.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

namespace {

const QByteArray kOldChart = "an older chart that must survive\r\n";

// The rest of the scope runs as `nobody` when the test runs as root, whom no permission bit
// stops; the saved user id lets it become root again.
class Unprivileged {
public:
    Unprivileged() : root_(geteuid() == 0) {
        if (root_ && (setresgid(65534, 65534, 0) != 0 || setresuid(65534, 65534, 0) != 0)) {
            qFatal("cannot become nobody");
        }
    }
    ~Unprivileged() {
        if (root_ && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)) {
            qFatal("cannot become root again");
        }
    }

private:
    bool root_;
};

}  // namespace

class ChartFaultsTest : public QObject {
    Q_OBJECT

    // Saves a chart to the path and returns what the user was told: by default the default tank's
    // at 0.01 inch (about 850 kB).
    QStringList saveChartTo(const QString& path, const QString& increment = "0.01",
                            const QString& diameter = "96", const QString& length = "324") {
        testing::ScriptedHost host;
        PictureStore store;
        frmUllex window(host, store);
        window.findChild<QLineEdit*>("txtTankDiameter")->setText(diameter);
        window.findChild<QLineEdit*>("txtTankLength")->setText(length);
        host.promptAnswers = {increment};
        host.fileAnswers = {path};
        host.yesNoAnswers = {false};
        window.generatetankchart();
        return host.messages;
    }

    void writeOldChart(const QString& path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kOldChart);
    }

    QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void only_a_writable_file_is_saved_data() {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::newRow("a read-only file in a writable folder is refused") << 0777 << 0444;
        QTest::newRow("a writable file in a read-only folder is written in place") << 0555 << 0666;
    }
    void only_a_writable_file_is_saved() {
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.txt");
        writeOldChart(path);
        QCOMPARE(::chmod(QFile::encodeName(path), fileMode) | ::chmod(QFile::encodeName(dir.path()), folderMode), 0);
        const QStringList messages = [&] { Unprivileged user; return saveChartTo(path); }();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.txt"});
        if (fileMode == 0444) {
            QCOMPARE(messages.size(), 1);
            QVERIFY(messages[0].startsWith("The tank chart could not be saved to " + path + ": "));
            QCOMPARE(bytesOf(path), kOldChart);
            return;
        }
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        QTemporaryDir writable;
        QVERIFY(saveChartTo(writable.filePath("chart.txt")).isEmpty());
        QCOMPARE(bytesOf(path), bytesOf(writable.filePath("chart.txt")));
    }

    // A small chart fits the write buffer whole, so only its last flush meets the full disk.
    void a_full_disk_keeps_the_old_chart_data() {
        QTest::addColumn<bool>("diskFilledFirst");
        QTest::addColumn<QString>("increment");
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("length");
        QTest::newRow("a chart larger than the disk") << false << "0.01" << "96" << "324";
        QTest::newRow("a small chart on a filled disk") << true << "12" << "48" << "100";
    }
    void a_full_disk_keeps_the_old_chart() {
        QFETCH(bool, diskFilledFirst);
        QFETCH(QString, increment);
        QFETCH(QString, diameter);
        QFETCH(QString, length);
        const QString disk = qEnvironmentVariable("BRIMWELL_SMALL_DISK");
        if (disk.isEmpty()) {
            QSKIP("needs a small disk of its own (BRIMWELL_SMALL_DISK)");
        }
        const QString path = QDir(disk).filePath("chart.txt");
        writeOldChart(path);
        QFile filler(QDir(disk).filePath("filler"));
        if (diskFilledFirst) {
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(512, 'x');
            while (filler.write(block) > 0) {
            }
            filler.close();
        }
        const QStringList messages = saveChartTo(path, increment, diameter, length);
        filler.remove();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0], "The tank chart could not be saved to " + path + ": No space left on device");
        QCOMPARE(bytesOf(path), kOldChart);
        QCOMPARE(QDir(disk).entryList(QDir::Files), QStringList{"chart.txt"});
    }

    void the_full_device_stays_a_device() {
        const QStringList messages = saveChartTo("/dev/full");
        QCOMPARE(messages.size(), 1);
        QVERIFY(!QFileInfo("/dev/full").isFile());
    }
};

BRIMWELL_WINDOW_TEST_MAIN(ChartFaultsTest)
#include "test_chartfaults.moc"
