#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <tuple>

#include "host/qthost.h"
#include "tests/support/scriptedhost.h"
#include "host/windowprinting.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

namespace {

// Set in the child process that runs with no print scheduler to talk to.
constexpr const char* kChildVariable = "BRIMWELL_PRINTING_TEST_CHILD";
constexpr const char* kNoTestPrinter =
    "no test printer: run under scripts/test, or eval \"$(scripts/testprinter start)\"";

class SmallWindow : public QMainWindow {
public:
    SmallWindow() {
        setWindowTitle("Delivery Temperature");
        menuBar()->addAction("&Print");
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        edit = new QLineEdit("5040.63");
        layout->addWidget(new QLabel("Net volume"));
        layout->addWidget(edit);
        setCentralWidget(central);
        statusBar()->showMessage("Ready");
        resize(360, 200);
    }
    QLineEdit* edit;
};

// Everything of the window that printing must leave alone.
using WindowState = std::tuple<QString, QString, QString, QRect, bool, QImage>;

WindowState stateOf(SmallWindow& window) {
    return {window.windowTitle(), window.edit->text(), window.statusBar()->currentMessage(),
            window.geometry(),    window.isVisible(),  window.grab().toImage()};
}

// The real host with its real default printer, whose messages are noted instead of shown.
class RealPrinterHost : public QtHost {
public:
    QStringList messages;
    void showMessage(QWidget*, const QString& text) override { messages << text; }
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) {
        return QStringLiteral("<%1 failed: %2>").arg(program, process.readAllStandardError());
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

struct PdfImage {
    QSize size;
    int xPpi, yPpi;
};

// The images on the PDF's pages, from "page num type width height ... x-ppi y-ppi size ratio".
QList<PdfImage> imagesIn(const QString& pdf) {
    QList<PdfImage> images;
    for (const QString& line : run("pdfimages", {"-list", pdf}).split('\n')) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() >= 14 && f[2] == "image") {
            images.append({QSize(f[3].toInt(), f[4].toInt()), f[12].toInt(), f[13].toInt()});
        }
    }
    return images;
}

// Waits, bounded, until the tests' printer has written a PDF named after `title` that was not in
// `before`, and its queue is empty so that the file is complete. (Other tests may print at the
// same time; the printer names its files after the documents.)
QString awaitPrintout(const QDir& out, const QString& title, const QStringList& before) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        QStringList added = out.entryList({title + "*.pdf"}, QDir::Files);
        for (const QString& old : before) {
            added.removeAll(old);
        }
        if (!added.isEmpty() && run("lpstat", {"-o"}).trimmed().isEmpty()) {
            return out.filePath(added.constFirst());
        }
        QTest::qWait(100);
    }
    return {};
}

bool haveTestPrinter() {
    return qEnvironmentVariableIsSet("CUPS_SERVER") &&
           qEnvironmentVariableIsSet("BRIMWELL_TEST_PRINTER_OUT");
}

}  // namespace

class WindowPrintingTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void initTestCase() {
        // A steady text cursor, so that two looks at an unchanged window are the same picture.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }

    void a_failure_is_told_and_leaves_the_window_as_it_was_data() {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<PrintFailure>("failure");
        QTest::newRow("no default printer") << QString() << PrintFailure::NoPrinter;
        QTest::newRow("a job that cannot start") << "/no such folder/window.pdf" << PrintFailure::NotPrinted;
    }

    void a_failure_is_told_and_leaves_the_window_as_it_was() {
        QFETCH(QString, pdf);
        QFETCH(PrintFailure, failure);
        SmallWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const WindowState before = stateOf(window);
        testing::ScriptedHost host;
        host.printerPdfPath = pdf;

        const auto printed = printWindow(window, host);

        QVERIFY(!printed);
        QCOMPARE(printed.error(), failure);
        QVERIFY(host.dialogs.isEmpty());  // the window tells the user
        QVERIFY(stateOf(window) == before);
    }

    void the_client_area_prints_as_one_picture_across_the_top_of_one_page() {
        SmallWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const WindowState before = stateOf(window);
        testing::ScriptedHost host;
        host.printerPdfPath = dir_.filePath("window.pdf");

        QVERIFY(printWindow(window, host));

        QVERIFY(host.messages.isEmpty());
        QVERIFY(stateOf(window) == before);
        QVERIFY(host.printedDocuments[0].startsWith(window.windowTitle() + ' '));
        QCOMPARE(pageCount(host.printerPdfPath), 1);
        const QList<PdfImage> images = imagesIn(host.printerPdfPath);
        QCOMPARE(images.size(), 1);
        // Below the menu bar: the central widget and the status bar, the full width.
        const QSize client(window.width(), window.height() - window.menuBar()->height());
        QCOMPARE(images[0].size, client * window.devicePixelRatio());
        // Scaled alike both ways, to the width of the printable area (6 to 8.5 inches).
        QVERIFY(std::abs(images[0].xPpi - images[0].yPpi) <= 1);
        const double inches = double(images[0].size.width()) / images[0].xPpi;
        QVERIFY2(inches > 6 && inches < 8.5, qPrintable(QString::number(inches)));
        // At the top of the page: ink in the top quarter, none in the bottom half.
        run("pdftoppm",
            {"-r", "20", "-png", "-singlefile", host.printerPdfPath, dir_.filePath("window")});
        const QImage page(dir_.filePath("window.png"));
        QVERIFY(!page.isNull());
        auto inkInRows = [&page](int from, int to) {
            for (int y = from; y < to; ++y) {
                for (int x = 0; x < page.width(); ++x) {
                    if (qGray(page.pixel(x, y)) < 245) {
                        return true;
                    }
                }
            }
            return false;
        };
        QVERIFY(inkInRows(0, page.height() / 4));
        QVERIFY(!inkInRows(page.height() / 2, page.height()));

        QTest::qWait(2);  // a printout a moment later gets a name of its own
        QVERIFY(printWindow(window, host));
        QVERIFY(host.printedDocuments[1] != host.printedDocuments[0]);
    }

    void the_window_prints_on_the_real_default_printer() {
        if (!haveTestPrinter()) {
            QSKIP(kNoTestPrinter);
        }
        const QString defaultName = QPrinterInfo::defaultPrinter().printerName();
        QVERIFY2(defaultName == qEnvironmentVariable("BRIMWELL_TEST_PRINTER"),
                 qPrintable("the default printer is \"" + defaultName +
                            "\", not the tests' own: PRINTER, LPDEST or ~/.cups/lpoptions name "
                            "another"));
        const QDir out(qEnvironmentVariable("BRIMWELL_TEST_PRINTER_OUT"));
        const QStringList before = out.entryList({"*.pdf"}, QDir::Files);
        SmallWindow window;
        window.setWindowTitle("WindowPrintingTest");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        RealPrinterHost host;

        QVERIFY(printWindow(window, host));

        QVERIFY(host.messages.isEmpty());
        const QString pdf = awaitPrintout(out, window.windowTitle(), before);
        QVERIFY2(!pdf.isEmpty(), "no printout arrived within 20 s");
        QCOMPARE(pageCount(pdf), 1);
        QCOMPARE(imagesIn(pdf).size(), 1);
    }

    void a_queue_that_is_stopped_or_refuses_jobs_is_not_ready_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("mend");
        QTest::newRow("stopped") << "cupsdisable"
                                 << "cupsenable";
        QTest::newRow("refusing jobs") << "cupsreject"
                                       << "cupsaccept";
    }

    void a_queue_that_is_stopped_or_refuses_jobs_is_not_ready() {
        QFETCH(QString, fault);
        QFETCH(QString, mend);
        const QString queue = qEnvironmentVariable("BRIMWELL_TEST_SPARE_PRINTER");
        if (!haveTestPrinter() || queue.isEmpty()) {
            QSKIP(kNoTestPrinter);
        }
        // The spare queue becomes this process's default, leaving the shared default to others.
        const QByteArray oldDefault = qgetenv("PRINTER");
        qputenv("PRINTER", queue.toLocal8Bit());
        const auto restore = qScopeGuard([&] {
            run(mend, {queue});
            oldDefault.isNull() ? qunsetenv("PRINTER") : qputenv("PRINTER", oldDefault);
        });
        RealPrinterHost host;
        QVERIFY2(host.defaultPrinter("ready") != nullptr,
                 "the spare queue is not ready to begin with");

        QCOMPARE(run(fault, {queue}), QString());
        QVERIFY(host.defaultPrinter("not ready") == nullptr);
        SmallWindow window;
        const auto printed = printWindow(window, host);
        QVERIFY(!printed && printed.error() == PrintFailure::NoPrinter);

        QCOMPARE(run(mend, {queue}), QString());
        QVERIFY(host.defaultPrinter("ready again") != nullptr);
    }

    void without_a_print_scheduler_the_real_host_finds_no_printer() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CUPS_SERVER", dir_.filePath("nobody-listens.sock"));
        environment.remove("PRINTER");
        environment.remove("LPDEST");
        environment.insert(kChildVariable, "1");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"in_the_child_printing_finds_no_printer"});
        const bool finished = child.waitForFinished(15000);
        if (!finished) {
            child.kill();
            child.waitForFinished(1000);
        }
        const QString report = QString::fromUtf8(child.readAll());
        QVERIFY2(finished, qPrintable("the child hung:\n" + report));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(report));
        QVERIFY2(report.contains(QRegularExpression("Totals: \\d+ passed, 0 failed, 0 skipped")),
                 qPrintable(report));
    }

    // Run by the test above in a process of its own: the print system's client library keeps the
    // first server it reached for the life of the process.
    void in_the_child_printing_finds_no_printer() {
        if (!qEnvironmentVariableIsSet(kChildVariable)) {
            QSKIP("runs only in the child process of the test before it");
        }
        SmallWindow window;
        RealPrinterHost host;
        const auto printed = printWindow(window, host);
        QVERIFY(!printed && printed.error() == PrintFailure::NoPrinter);
    }
};

BRIMWELL_WINDOW_TEST_MAIN(WindowPrintingTest)
#include "test_windowprinting.moc"
