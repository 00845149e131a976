#pragma once

// The shared frame of every window test: the offscreen platform, a home folder of the test's
// own, a pinned locale, and a watchdog that fails the running test when a real modal dialog is
// left open instead of letting it hang.

#include <QApplication>
#include <QComboBox>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace brimwell::testing {

// While it lives, HOME and the XDG folders name folders of its own, which it removes at the end,
// and QStandardPaths is in test mode: no test, nor a program it starts, reads or writes the
// user's settings or files. Made before the QApplication, which fixes the settings' folder.
class TemporaryHome {
public:
    TemporaryHome();

private:
    QTemporaryDir folder_;
};

// Starts the watchdog; while `allowed` is true (end-to-end tests answering real dialogs
// themselves) it leaves dialogs alone.
void startModalWatchdog();
void allowRealDialogs(bool allowed);

// Chooses a list entry as a user does, which emits `activated`.
void chooseEntry(QComboBox* list, const QString& text);

// Replaces a text box's text by typing, as a user does.
void retype(QWidget* box, const QString& text);

// Lets closed windows be deleted, as the event loop would.
void settle();

// The object names of the top-level windows on screen, after settling.
QStringList visibleWindows();

// A locale with a decimal comma, for the tests that switch to one.
QLocale decimalCommaLocale();

}  // namespace brimwell::testing

#define BRIMWELL_WINDOW_TEST_MAIN(TestClass)                                    \
    int main(int argc, char** argv) {                                          \
        qputenv("QT_QPA_PLATFORM", "offscreen");                               \
        const brimwell::testing::TemporaryHome home;                           \
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); \
        QApplication app(argc, argv);                                          \
        brimwell::testing::startModalWatchdog();                               \
        TestClass test;                                                        \
        return QTest::qExec(&test, argc, argv);                                \
    }
