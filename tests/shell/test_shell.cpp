#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "tests/support/scriptedhost.h"
#include "shell/shell.h"
#include "tests/support/windowtest.h"

using namespace brimwell;
using testing::settle;
using testing::visibleWindows;

namespace {

// The windows still loaded under that name, shown or hidden.
QList<QWidget*> loaded(const QString& name) {
    settle();
    QList<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name) {
            found << window;
        }
    }
    return found;
}

QWidget* window(const QString& name) {
    const auto windows = loaded(name);
    if (windows.size() != 1) {
        qFatal("%lld windows named %s", static_cast<long long>(windows.size()), qPrintable(name));
    }
    return windows.first();
}

template <typename T>
T* control(const QString& windowName, const char* name) {
    auto* found = window(windowName)->findChild<T*>(name);
    if (!found) {
        qFatal("no control %s in %s", name, qPrintable(windowName));
    }
    return found;
}

QTimer* timer(const QString& windowName) { return control<QTimer>(windowName, "Timer1"); }
void tick(const QString& windowName) { QMetaObject::invokeMethod(timer(windowName), "timeout"); }
QString picture(const QString& windowName) {
    return control<QLabel>(windowName, "imgTank")->property("picture").toString();
}
void click(const QString& windowName, const char* button) {
    QTest::mouseClick(control<QPushButton>(windowName, button), Qt::LeftButton);
}
void trigger(const QString& windowName, const char* action) { control<QAction>(windowName, action)->trigger(); }

// Counts the requests to end the program that reach the application.
class QuitWatch : public QObject {
public:
    int requests = 0;
    QuitWatch() { qApp->installEventFilter(this); }
    ~QuitWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* target, QEvent* event) override {
        if (target == qApp && event->type() == QEvent::Quit) {
            ++requests;
        }
        return false;
    }
};

// Runs the step inside the application's own event loop, where closing the last visible window
// ends the program: 0 when it ended, 42 when it was still running two turns of the loop later.
int inEventLoop(const std::function<void()>& step) {
    QuitWatch watch;  // also the timers' context, so none of them outlives this loop
    QTimer::singleShot(0, &watch, [&watch, &step] {
        step();
        QTimer::singleShot(0, &watch, [&watch] {
            QTimer::singleShot(0, &watch, [&watch] {
                if (watch.requests == 0) {
                    QCoreApplication::exit(42);
                }
            });
        });
    });
    return QApplication::exec();
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedHost> host;
    std::unique_ptr<Shell> shell;

    void toLauncher() {
        tick("frmSplash");
        QCOMPARE(visibleWindows(), QStringList{"frmBrimwell"});
    }
    void toAbout() {
        toLauncher();
        trigger("frmBrimwell", "mnuAbout");
        QCOMPARE(visibleWindows(), QStringList{"frmAbout"});
    }

private Q_SLOTS:
    void init() {
        host = std::make_unique<testing::ScriptedHost>();
        shell = std::make_unique<Shell>(*host);
        shell->start();
    }
    void cleanup() {
        shell.reset();
        settle();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void the_splash_comes_alone_and_gives_way_to_the_launcher_on_its_timer() {
        QCOMPARE(visibleWindows(), QStringList{"frmSplash"});
        QCOMPARE(QApplication::topLevelWidgets().size(), 1);  // nothing built ahead of its time
        QVERIFY(window("frmSplash")->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(timer("frmSplash")->isActive());
        QVERIFY(timer("frmSplash")->isSingleShot());
        QCOMPARE(timer("frmSplash")->interval(), 2000);
        QCOMPARE(control<QLabel>("frmSplash", "ctank75")->property("picture").toString(), QString("ctank75"));
        QVERIFY(!shell->pictures().isLoaded());

        toLauncher();
        QVERIFY(loaded("frmSplash").isEmpty());
    }

    void windows_show_the_product_and_version_data() {
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QString>("controlName");
        QTest::addColumn<QString>("text");
        QTest::newRow("splash name") << "frmSplash" << "lblProductName" << "Orvane Brimwell";
        QTest::newRow("splash for") << "frmSplash" << "Label1" << "For";
        QTest::newRow("splash platform") << "frmSplash" << "lblPlatform" << "Windows 95/98/NT";
        QTest::newRow("splash version") << "frmSplash" << "lblVersion" << "Version 1.0.1";
        QTest::newRow("about title") << "frmAbout" << "lblTitle" << "Brimwell";
        QTest::newRow("about version") << "frmAbout" << "lblVersion" << "Version 1.0.1";
    }
    void windows_show_the_product_and_version() {
        QFETCH(QString, windowName);
        QFETCH(QString, controlName);
        QFETCH(QString, text);
        if (windowName == "frmAbout") {
            toAbout();
        }
        QCOMPARE(control<QLabel>(windowName, qPrintable(controlName))->text(), text);
    }

    void the_launcher_opens_on_the_empty_tank_and_fills_it_in_seven_ticks() {
        toLauncher();
        QCOMPARE(window("frmBrimwell")->windowTitle(), QString("Brimwell"));
        QCOMPARE(control<QPushButton>("frmBrimwell", "cmdUllex")->nextInFocusChain(),
                 control<QPushButton>("frmBrimwell", "cmdPCalc"));
        QCOMPARE(timer("frmBrimwell")->interval(), 60);
        QVERIFY(timer("frmBrimwell")->isActive());

        QCOMPARE(picture("frmBrimwell"), QString("ftank0"));
        QStringList shown;
        for (int i = 0; i < 7; ++i) {
            tick("frmBrimwell");
            shown << picture("frmBrimwell");
        }
        QCOMPARE(shown, (QStringList{"ftank10", "ftank25", "ftank50", "ftank75", "ftank90", "ftank100", "ftank0"}));
    }

    void a_calculator_button_closes_the_launcher_and_opens_the_calculator_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("calculator");
        QTest::newRow("Tank Chart") << "cmdUllex" << "frmUllex";
        QTest::newRow("Pipeline Leak Rate") << "cmdPCalc" << "frmPCalc";
        QTest::newRow("Delivery Temperature") << "cmdDCalc" << "frmDTCalc";
    }
    void a_calculator_button_closes_the_launcher_and_opens_the_calculator() {
        QFETCH(QString, button);
        QFETCH(QString, calculator);
        toLauncher();
        click("frmBrimwell", qPrintable(button));
        QCOMPARE(visibleWindows(), QStringList{calculator});
        QVERIFY(loaded("frmBrimwell").isEmpty());
        if (calculator != "frmUllex") {  // the tank window shows a picture of its own
            QVERIFY(!shell->pictures().isLoaded());
        }
    }

    void closing_a_calculator_brings_back_a_fresh_launcher_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("calculator");
        QTest::addColumn<QString>("exitAction");  // empty: the title-bar close
        QTest::newRow("tank, Exit") << "cmdUllex" << "frmUllex" << "mnuExit";
        QTest::newRow("tank, close") << "cmdUllex" << "frmUllex" << "";
        QTest::newRow("leak, Exit") << "cmdPCalc" << "frmPCalc" << "mnuExit";
        QTest::newRow("leak, close") << "cmdPCalc" << "frmPCalc" << "";
        QTest::newRow("delivery, Exit") << "cmdDCalc" << "frmDTCalc" << "mnuexit";
        QTest::newRow("delivery, close") << "cmdDCalc" << "frmDTCalc" << "";
    }
    void closing_a_calculator_brings_back_a_fresh_launcher() {
        QFETCH(QString, button);
        QFETCH(QString, calculator);
        QFETCH(QString, exitAction);
        toLauncher();
        QPointer<QWidget> first = window("frmBrimwell");
        tick("frmBrimwell");
        tick("frmBrimwell");
        click("frmBrimwell", qPrintable(button));

        if (exitAction.isEmpty()) {
            window(calculator)->close();
        } else {
            trigger(calculator, qPrintable(exitAction));
        }
        QCOMPARE(visibleWindows(), QStringList{"frmBrimwell"});
        QVERIFY(loaded(calculator).isEmpty());
        QVERIFY(first.isNull());
        QCOMPARE(shell->animation().level(), QString("0"));
        QCOMPARE(picture("frmBrimwell"), QString("ftank0"));
        tick("frmBrimwell");
        QCOMPARE(picture("frmBrimwell"), QString("ftank10"));
    }

    void about_hides_the_launcher_and_both_timers_advance_the_shared_level() {
        toAbout();
        QCOMPARE(window("frmAbout")->windowTitle(), QString("About Brimwell"));
        QVERIFY(!window("frmAbout")->isModal());
        QVERIFY(timer("frmBrimwell")->isActive());
        QCOMPARE(timer("frmAbout")->interval(), 60);
        QVERIFY(timer("frmAbout")->isActive());
        QVERIFY(control<QLabel>("frmAbout", "imgTank")->pixmap().isNull());

        tick("frmAbout");
        QCOMPARE(picture("frmAbout"), QString("ctank10"));
        tick("frmBrimwell");
        QCOMPARE(picture("frmBrimwell"), QString("ftank25"));
        tick("frmAbout");
        QCOMPARE(picture("frmAbout"), QString("ctank50"));
        QCOMPARE(shell->animation().level(), QString("50"));
    }

    void about_closes_every_way_and_the_launcher_reappears_data() {
        QTest::addColumn<QString>("route");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close button") << "close";
    }
    void about_closes_every_way_and_the_launcher_reappears() {
        QFETCH(QString, route);
        toAbout();
        QWidget* launcher = window("frmBrimwell");
        tick("frmAbout");
        auto* ok = control<QPushButton>("frmAbout", "cmdOK");
        QVERIFY(ok->isDefault());

        if (route == "OK") {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else if (route == "Enter") {
            QTest::keyClick(window("frmAbout"), Qt::Key_Return);
        } else if (route == "Escape") {
            QTest::keyClick(window("frmAbout"), Qt::Key_Escape);
        } else {
            window("frmAbout")->close();
        }
        QCOMPARE(visibleWindows(), QStringList{"frmBrimwell"});
        QVERIFY(loaded("frmAbout").isEmpty());
        QCOMPARE(window("frmBrimwell"), launcher);
        QCOMPARE(shell->animation().level(), QString("10"));  // the same launcher, not reloaded
    }

    void the_program_keeps_running_through_every_change_of_window() {
        const std::function<void()> steps[] = {
            [] { tick("frmSplash"); },
            [] { click("frmBrimwell", "cmdPCalc"); },
            [] { window("frmPCalc")->close(); },
            [] { trigger("frmBrimwell", "mnuAbout"); },
            [] { click("frmAbout", "cmdOK"); },
            [] { click("frmBrimwell", "cmdUllex"); },
            [] { trigger("frmUllex", "mnuExit"); },
            [] { click("frmBrimwell", "cmdDCalc"); },
            [] { window("frmDTCalc")->close(); },
        };
        for (const auto& step : steps) {
            QCOMPARE(inEventLoop(step), 42);
            QCOMPARE(visibleWindows().size(), 1);
        }
    }

    void closing_the_launcher_ends_the_program_data() {
        QTest::addColumn<bool>("byExit");
        QTest::newRow("Exit") << true;
        QTest::newRow("close button") << false;
    }
    void closing_the_launcher_ends_the_program() {
        QFETCH(bool, byExit);
        toLauncher();
        const int status = inEventLoop([byExit] {
            if (byExit) {
                trigger("frmBrimwell", "mnuExit");
            } else {
                window("frmBrimwell")->close();
            }
        });
        QCOMPARE(status, 0);
        QVERIFY(visibleWindows().isEmpty());
        QVERIFY(loaded("frmBrimwell").isEmpty());
        QVERIFY(!shell->pictures().isLoaded());
    }
};

BRIMWELL_WINDOW_TEST_MAIN(ShellTest)
#include "test_shell.moc"
