// brimwell-screenshots: runs the application as main.cpp does and walks through it as a reader of
// the README would, saving a picture of each window on the way:
//     launcher.png, about.png, tank.png, leak.png, delivery.png
// Run by scripts/screenshots under a virtual X server:
//     brimwell-screenshots OUTPUT-FOLDER

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "host/appinfo.h"
#include "host/qthost.h"
#include "shell/shell.h"

namespace {

// The one window on the screen, once it is the named one.
QWidget* shown(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == name) {
            return window;
        }
    }
    return nullptr;
}

// Lets the application run until the condition holds; false after ten seconds without it.
bool runUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets the application run for a moment, so that a window just shown is laid out and painted.
void settle() {
    const QDeadlineTimer deadline(300);
    runUntil([&] { return deadline.hasExpired(); });
}

QWidget* awaitWindow(const QString& name) {
    QWidget* window = nullptr;
    if (!runUntil([&] { return (window = shown(name)) != nullptr; })) {
        std::fprintf(stderr, "brimwell-screenshots: %s never appeared\n", qPrintable(name));
        std::exit(1);
    }
    settle();
    return window;
}

// Waits for the animation to reach the picture, so the tank in the picture is part full.
void awaitPicture(QWidget* window, const QString& picture) {
    auto* image = window->findChild<QLabel*>("imgTank");
    if (!runUntil([&] { return image->property("picture").toString() == picture; })) {
        std::fprintf(stderr, "brimwell-screenshots: %s never showed\n", qPrintable(picture));
        std::exit(1);
    }
}

void save(QWidget* window, const QDir& out, const char* file) {
    const QString path = out.filePath(QString::fromLatin1(file));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "brimwell-screenshots: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(path));
}

template <typename T>
T* control(QWidget* window, const char* name) {
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        std::fprintf(stderr, "brimwell-screenshots: no %s in %s\n", name,
                     qPrintable(window->objectName()));
        std::exit(1);
    }
    return found;
}

void press(QWidget* window, const char* button) { control<QPushButton>(window, button)->click(); }
void choose(QWidget* window, const char* action) { control<QAction>(window, action)->trigger(); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: brimwell-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QApplication::setApplicationName(QString::fromUtf8(brimwell::appinfo::kTitle));
    brimwell::QtHost host;
    brimwell::Shell shell(host);
    shell.start();

    // The launcher, after the splash, with its tank three quarters full.
    QWidget* launcher = awaitWindow("frmBrimwell");
    awaitPicture(launcher, "ftank75");
    save(launcher, out, "launcher.png");

    choose(launcher, "mnuAbout");
    QWidget* about = awaitWindow("frmAbout");
    awaitPicture(about, "ctank75");
    save(about, out, "about.png");
    press(about, "cmdOK");

    // Each tool with the results for its starting values.
    press(awaitWindow("frmBrimwell"), "cmdUllex");
    QWidget* tank = awaitWindow("frmUllex");
    press(tank, "Command1");
    save(tank, out, "tank.png");
    choose(tank, "mnuExit");

    press(awaitWindow("frmBrimwell"), "cmdPCalc");
    QWidget* leak = awaitWindow("frmPCalc");
    press(leak, "cmdCalculate");
    save(leak, out, "leak.png");
    choose(leak, "mnuExit");

    press(awaitWindow("frmBrimwell"), "cmdDCalc");
    QWidget* delivery = awaitWindow("frmDTCalc");
    save(delivery, out, "delivery.png");
    choose(delivery, "mnuexit");

    choose(awaitWindow("frmBrimwell"), "mnuExit");
    return 0;
}
