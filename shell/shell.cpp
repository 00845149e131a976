#include "shell/shell.h"

#include <QScreen>

#include "shell/frmabout.h"
#include "shell/frmbrimwell.h"
#include "delivery/frmdtcalc.h"
#include "leak/frmpcalc.h"
#include "shell/frmsplash.h"
#include "tank/frmullex.h"

namespace brimwell {
namespace {

// Every window opens in the middle of the screen, as the About box does by itself.
void showCentered(QWidget* window) {
    window->adjustSize();
    if (const QScreen* screen = window->screen()) {
        window->move(screen->availableGeometry().center() - window->rect().center());
    }
    window->show();
}

}  // namespace

Shell::Shell(Host& host_, QObject* parent) : QObject(parent), host(host_) {}

Shell::~Shell() {
    for (const auto& window : windows) {
        delete window.data();
    }
}

template <typename Window>
Window* Shell::adopt(Window* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows.removeAll(nullptr);
    windows.append(window);
    return window;
}

void Shell::start() {
    auto* splash = adopt(new frmSplash);
    connect(splash, &frmSplash::closed, this, &Shell::showLauncher);
    showCentered(splash);
}

void Shell::showLauncher() {
    if (!launcher) {
        launcher = adopt(new frmBrimwell(pictures_, animation_));
        connect(launcher, &frmBrimwell::calculatorChosen, this, &Shell::openCalculator);
        connect(launcher, &frmBrimwell::aboutChosen, this, &Shell::showAbout);
        // Deletion waits for the event loop; a closed launcher must not be shown again.
        connect(launcher, &frmBrimwell::closed, this, [this] { launcher = nullptr; });
        showCentered(launcher);
    } else {
        launcher->show();
    }
}

// Each calculator is shown in the same call that closed the launcher, so the application never
// sees a moment without a window and does not quit.
void Shell::openCalculator(Calculator calculator) {
    QWidget* window = nullptr;
    switch (calculator) {
    case Calculator::Tank: {
        auto* tank = adopt(new frmUllex(host, pictures_));
        connect(tank, &frmUllex::closed, this, &Shell::showLauncher);
        window = tank;
        break;
    }
    case Calculator::LeakRate: {
        auto* leak = adopt(new frmPCalc(host));
        connect(leak, &frmPCalc::closed, this, &Shell::showLauncher);
        window = leak;
        break;
    }
    case Calculator::Delivery: {
        auto* delivery = adopt(new frmDTCalc(host));
        connect(delivery, &frmDTCalc::closed, this, &Shell::showLauncher);
        window = delivery;
        break;
    }
    }
    showCentered(window);
}

void Shell::showAbout() {
    auto* about = adopt(new frmAbout(pictures_, animation_));
    connect(about, &frmAbout::closed, this, &Shell::showLauncher);
    about->show();
}

}  // namespace brimwell
