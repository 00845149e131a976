// Saving a chart where the disk refuses it: the user is told, and a file already there keeps
// every byte. The full-disk case needs a small disk of its own (BRIMWELL_SMALL_DISK, a folder on
// a tiny file system that CTest mounts when it may).

#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

#include "frmullex.h"
#include "picturestore.h"
#include "scriptedhost.h"
#include "windowtest.h"

using namespace brimwell;

namespace {

const QByteArray kOldChart = "an older chart that must survive\r\n";

bool run(const QString& program, const QStringList& args) {
    return QProcess::execute(program, args) == 0;
}

// A folder nobody may write in, root included (root ignores the permission bits).
bool makeReadOnly(const QString& folder, bool readOnly) {
    if (geteuid() == 0) {
        return run("chattr", {readOnly ? "+i" : "-i", folder});
    }
    return QFile::setPermissions(folder, readOnly ? QFile::ReadOwner | QFile::ExeOwner
                                                  : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class ChartFaultsTest : public QObject {
    Q_OBJECT

    // Saves the default tank's chart at 0.01 inch (about 850 kB) to the path and returns what the
    // user was told.
    QStringList saveChartTo(const QString& path) {
        testing::ScriptedHost host;
        PictureStore store;
        frmUllex window(host, store);
        host.promptAnswers = {"0.01"};
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
    void a_read_only_folder_keeps_the_old_chart() {
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.txt");
        writeOldChart(path);
        if (!makeReadOnly(dir.path(), true)) {
            QSKIP("cannot make a folder read-only here");
        }
        const QStringList messages = saveChartTo(path);
        makeReadOnly(dir.path(), false);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("The tank chart could not be saved to " + path + ": "));
        QCOMPARE(bytesOf(path), kOldChart);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.txt"});
    }

    void a_full_disk_keeps_the_old_chart() {
        const QString disk = qEnvironmentVariable("BRIMWELL_SMALL_DISK");
        if (disk.isEmpty()) {
            QSKIP("needs a small disk of its own (BRIMWELL_SMALL_DISK)");
        }
        const QString path = QDir(disk).filePath("chart.txt");
        writeOldChart(path);
        const QStringList messages = saveChartTo(path);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("The tank chart could not be saved to " + path + ": "));
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
