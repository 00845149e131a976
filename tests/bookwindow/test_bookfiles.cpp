// The book's files belong to SQLite while the window has the book open: a real file dialog that
// lists the book's folder, and another program writing the same book meanwhile, lose no day.

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "bookwindow/dlgtank.h"
#include "bookwindow/frmbook.h"
#include "host/qthost.h"
#include "tests/support/commandrun.h"
#include "tests/support/windowtest.h"

using namespace brimwell;
using brimwell::testing::retype;

namespace {

constexpr const char* kTank = "Regular 1";

brimwell::testing::Run runBook(const QString& path, const QStringList& args) {
    return brimwell::testing::runCommand(BRIMWELL_BOOK, QStringList{"--book", path} + args);
}

// Waits for the next real file dialog, goes to the book's folder, gives it a second to list it (each file's
// icon and type, which is where a dialog looks into the files) and cancels it.
class DialogCanceller : public QObject {
public:
    explicit DialogCanceller(QString folder) : folder_(std::move(folder)) {
        connect(&timer_, &QTimer::timeout, this, &DialogCanceller::look);
        timer_.start(50);
    }
    bool listedTheFolder = false;

private:
    void look() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        if (seen_++ == 0) {
            dialog->setDirectory(folder_);  // as a person would go there
        }
        if (seen_ < 20) {
            return;
        }
        listedTheFolder = QFileInfo(dialog->directory().path()) == QFileInfo(folder_);
        timer_.stop();
        dialog->reject();
    }
    QString folder_;
    QTimer timer_;
    int seen_ = 0;
};

}  // namespace

class BookFilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_day_saved_after_a_file_dialog_is_kept_beside_another_programs_day_data() {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("open book") << "actOpen";
        QTest::newRow("export") << "actExport";
        QTest::newRow("calibration chart") << "btnChart";
    }
    void a_day_saved_after_a_file_dialog_is_kept_beside_another_programs_day() {
        QFETCH(QString, dialog);
        QTemporaryDir folder;
        const QString path = folder.filePath("book.sqlite");
        QCOMPARE(runBook(path, {"tank", "add", kTank, "--diameter", "96", "--length", "324",
                             "--opening", "48"})
                     .exitCode,
                 0);
        QCOMPARE(runBook(path, {"day", kTank, "2026-03-01", "--stick", "47", "--pumped", "100"}).exitCode,
                 0);
        QtHost host;
        auto window = std::make_unique<frmBook>(host);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->openBook(path));
        window->findChild<QDateEdit*>("dateDay")->setDate(QDate(2026, 3, 2));

        DialogCanceller canceller(folder.path());
        testing::allowRealDialogs(true);
        if (dialog == "btnChart") {
            window->findChild<QAction*>("actAddTank")->trigger();
            dlgTank* editor = window->tankEditor();
            QVERIFY(editor);
            QTest::mouseClick(editor->findChild<QPushButton*>("btnChart"), Qt::LeftButton);
            editor->reject();
        } else {
            window->findChild<QAction*>(dialog)->trigger();
        }
        testing::allowRealDialogs(false);
        QVERIFY(canceller.listedTheFolder);

        // Another program writes the book while the window has it open.
        const auto other = runBook(path, {"day", kTank, "2026-03-03", "--stick", "45", "--pumped", "90"});
        QVERIFY2(other.exitCode == 0, other.err.constData());

        retype(window->findChild<QLineEdit*>("txtStick"), "46");
        retype(window->findChild<QLineEdit*>("txtPumped"), "120");
        QTest::keyClick(window->findChild<QLineEdit*>("txtPumped"), Qt::Key_Return);
        QCOMPARE(window->statusBar()->currentMessage(), QString("Recorded 2026-03-02"));

        const auto month = runBook(path, {"month", kTank, "2026-03", "--format", "csv"});
        QVERIFY2(month.out.contains("2026-03-02") && month.out.contains("2026-03-03"),
                 month.out.constData());

        window.reset();
        QCOMPARE(runBook(path, {"export"}).out.count('\n'), 4);  // the header and three days
    }
};

BRIMWELL_WINDOW_TEST_MAIN(BookFilesTest)
#include "test_bookfiles.moc"
