// The chart generator with the real Qt dialogs, answered as a person would, and the real default
// printer of the tests' own print scheduler.

#include <QtTest>

#include <QAbstractButton>
#include <QPushButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>

#include "tank/frmullex.h"
#include "host/picturestore.h"
#include "host/qthost.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

namespace {

// Answers each real modal dialog as it comes and records what it showed.
class DialogAnswerer : public QObject {
public:
    QString increment;
    QString path;
    QStringList seen;

    DialogAnswerer() {
        connect(&timer, &QTimer::timeout, this, [this] { answer(); });
        timer.start(50);
    }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            return;
        }
        if (auto* prompt = qobject_cast<QInputDialog*>(modal)) {
            seen << "prompt " + prompt->windowTitle() + ": " + prompt->labelText();
            prompt->setTextValue(increment);
            prompt->accept();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            seen << "file " + files->nameFilters().join(";");
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << "box " + box->windowTitle() + ": " + box->text();
            if (auto* yes = box->button(QMessageBox::Yes)) {
                QVERIFY(static_cast<QAbstractButton*>(box->defaultButton()) == yes);
                QCOMPARE(box->icon(), QMessageBox::NoIcon);
                yes->click();
            } else {
                box->accept();
            }
        }
    }
    QTimer timer;
};

// Waits until the queue has written its PDF and holds no more jobs.
QString waitForPdf(const QString& folder) {
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        const auto pdfs = QDir(folder).entryList({"*.pdf"}, QDir::Files, QDir::Time);
        QProcess jobs;
        jobs.start("lpstat", {"-o"});
        jobs.waitForFinished(5000);
        if (!pdfs.isEmpty() && jobs.readAllStandardOutput().trimmed().isEmpty()) {
            return QDir(folder).filePath(pdfs.first());
        }
        QTest::qWait(200);
    }
    return {};
}

}  // namespace

class ChartEndToEndTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_person_saves_and_prints_a_chart_with_the_real_dialogs() {
        const QString out = qEnvironmentVariable("BRIMWELL_TEST_PRINTER_OUT");
        if (out.isEmpty()) {
            QSKIP("needs the tests' print scheduler (scripts/test starts it)");
        }
        for (const QString& old : QDir(out).entryList({"*.pdf"}, QDir::Files)) {
            QFile::remove(QDir(out).filePath(old));
        }
        QTemporaryDir dir;
        QtHost host;
        PictureStore store;
        frmUllex window(host, store);
        window.show();
        window.findChild<QLineEdit*>("txtTankDiameter")->setText("48");
        window.findChild<QLineEdit*>("txtTankLength")->setText("100");

        DialogAnswerer answerer;
        answerer.increment = "12";
        answerer.path = dir.filePath("chart");
        testing::allowRealDialogs(true);
        window.findChild<QAction*>("mnuTGen")->trigger();
        testing::allowRealDialogs(false);

        QCOMPARE(answerer.seen,
                 (QStringList{"prompt Brimwell: Tank chart will be generated in inches.  Input the increments in which "
                              "you would like the tank chart generated. (Must be a number - eg. 0.10)",
                              "file text files (*.txt)",
                              "box Brimwell: Tank Chart Saved OK. Do you want to print it out now ?"}));
        QFile chart(answerer.path);
        QVERIFY(chart.open(QIODevice::ReadOnly));
        QCOMPARE(chart.readAll().count("\r\n"), 3);

        const QString pdf = waitForPdf(out);
        QVERIFY2(!pdf.isEmpty(), "no printout arrived");
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        text.waitForFinished(30000);
        const QByteArray words = text.readAllStandardOutput().simplified();
        QCOMPARE(words, QByteArray("LEVEL RANGE LEVEL/VOLUME, LEVEL/VOLUME, LEVEL/VOLUME "
                                   "0.00 - 24.00 0.00, 0.00 12.00, 153.15 24.00, 391.68 "
                                   "36.00 - 48.00 36.00, 630.21 48.00, 783.36"));
    }
};

BRIMWELL_WINDOW_TEST_MAIN(ChartEndToEndTest)
#include "test_chart_endtoend.moc"
