// What the three tool windows do alike: each says when it closes, by its Exit entry or its close
// button, and printing without a printer shows the printing message once and changes nothing.

#include <QtTest>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>

#include "delivery/frmdtcalc.h"
#include "host/picturestore.h"
#include "host/windowprinting.h"
#include "leak/frmpcalc.h"
#include "tank/frmullex.h"
#include "tests/support/scriptedhost.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

class ToolWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedHost> host;
    std::unique_ptr<PictureStore> store;
    std::unique_ptr<QMainWindow> window;

    void open(const QString& name) {
        if (name == "frmUllex") {
            window = std::make_unique<frmUllex>(*host, *store);
        } else if (name == "frmPCalc") {
            window = std::make_unique<frmPCalc>(*host);
        } else {
            window = std::make_unique<frmDTCalc>(*host);
        }
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Clicks the menu bar entry of that name (an entry of its own, or a menu's).
    void clickBarEntry(const QString& name) {
        auto* bar = window->findChild<QMenuBar*>();
        for (QAction* entry : bar->actions()) {
            if (entry->objectName() == name || (entry->menu() && entry->menu()->objectName() == name)) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(entry).center());
                return;
            }
        }
        QFAIL(qPrintable("no menu bar entry " + name));
    }

    QStringList everyText() {
        QStringList texts;
        for (auto* edit : window->findChildren<QLineEdit*>()) {
            texts << edit->objectName() + "=" + edit->text() + (edit->isEnabled() ? "" : " (off)");
        }
        for (auto* option : window->findChildren<QRadioButton*>()) {
            texts << option->objectName() + (option->isChecked() ? " on" : " off");
        }
        return texts;
    }

    static void eachWindow(const char* what) {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("exitEntry");
        for (auto [name, exitEntry] : {std::pair{"frmUllex", "mnuExit"}, {"frmPCalc", "mnuExit"},
                                       {"frmDTCalc", "mnuexit"}}) {
            QTest::newRow(qPrintable(QString("%1, %2").arg(name, what))) << name << exitEntry;
        }
    }

private Q_SLOTS:
    void init() {
        host = std::make_unique<testing::ScriptedHost>();
        store = std::make_unique<PictureStore>();
    }
    void cleanup() { window.reset(); }

    void closing_by_any_route_says_so_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("exitEntry");
        QTest::addColumn<bool>("byExit");
        for (auto [name, exitEntry] : {std::pair{"frmUllex", "mnuExit"}, {"frmPCalc", "mnuExit"},
                                       {"frmDTCalc", "mnuexit"}}) {
            QTest::newRow(qPrintable(QString(name) + ", Exit")) << name << exitEntry << true;
            QTest::newRow(qPrintable(QString(name) + ", close button")) << name << exitEntry << false;
        }
    }
    void closing_by_any_route_says_so() {
        QFETCH(QString, name);
        QFETCH(QString, exitEntry);
        QFETCH(bool, byExit);
        open(name);
        QSignalSpy closed(window.get(), SIGNAL(closed()));
        if (byExit) {
            window->findChild<QAction*>(exitEntry)->trigger();
        } else {
            window->close();
        }
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window->isVisible());
        QVERIFY(!store->isLoaded());  // the tank window lets its pictures go
    }

    void printing_without_a_printer_says_so_once_and_changes_nothing_data() { eachWindow("print"); }
    void printing_without_a_printer_says_so_once_and_changes_nothing() {
        QFETCH(QString, name);
        open(name);
        const QStringList before = everyText();
        clickBarEntry("mnuPrint");
        QTRY_COMPARE(host->messages, QStringList({kPrintProblemMessage}));
        QCoreApplication::processEvents();
        QCOMPARE(host->messages.size(), 1);
        QCOMPARE(everyText(), before);
    }
};

BRIMWELL_WINDOW_TEST_MAIN(ToolWindowsTest)
#include "test_toolwindows.moc"
