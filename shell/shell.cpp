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

Shell::Shell(Host& host, QObject* parent) : QObject(parent), host_(host) {}

Shell::~Shell() {
    for (const auto& window : windows_) {
        delete window.data();
    }
}

template <typename Window>
Window* Shell::adopt(Window* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows_.removeAll(nullptr);
    windows_.append(window);
    return window;
}

void Shell::start() {
    auto* splash = adopt(new frmSplash);
    connect(splash, &frmSplash::closed, this, &Shell::showLauncher);
    showCentered(splash);
}

void Shell::showLauncher() {
    if (!launcher_) {
        launcher_ = adopt(new frmBrimwell(pictures_, animation_));
        connect(launcher_, &frmBrimwell::calculatorChosen, this, &Shell::openCalculator);
        connect(launcher_, &frmBrimwell::aboutChosen, this, &Shell::showAbout);
        // Deletion waits for the event loop; a closed launcher must not be shown again.
        connect(launcher_, &frmBrimwell::closed, this, [this] { launcher_ = nullptr; });
        showCentered(launcher_);
    } else {
        launcher_->show();
    }
}

// Each calculator is shown in the same call that closed the launcher, so the application never
// sees a moment without a window and does not quit.
void Shell::openCalculator(Calculator calculator) {
    QWidget* window = nullptr;
    switch (calculator) {
    case Calculator::Tank: {
        auto* tank = adopt(new frmUllex(host_, pictures_));
        connect(tank, &frmUllex::closed, this, &Shell::showLauncher);
        window = tank;
        break;
    }
    case Calculator::LeakRate: {
        auto* leak = adopt(new frmPCalc(host_));
        connect(leak, &frmPCalc::closed, this, &Shell::showLauncher);
        window = leak;
        break;
    }
    case Calculator::Delivery: {
        auto* delivery = adopt(new frmDTCalc(host_));
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
