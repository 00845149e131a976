// The time of one pass of each window's main handler, through the real windows on the offscreen
// platform: the handler runs as the user's click, choice or keystroke starts it; the repaint that
// follows is left to the event loop and not timed.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "delivery/frmdtcalc.h"
#include "leak/frmpcalc.h"
#include "tank/frmullex.h"
#include "host/picturestore.h"
#include "tests/support/scriptedhost.h"

namespace {

constexpr int kRuns = 2001;

template <typename T>
T* control(QWidget& window, const char* name) {
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        qFatal("no control %s", name);
    }
    return found;
}

void choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

// Median microseconds of one call of `handler`, the event loop run between calls.
double medianMicros(const std::function<void(int)>& handler) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        handler(i);
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        QCoreApplication::processEvents();
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "default.warning=false");  // the offscreen platform's notes
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    brimwell::testing::ScriptedHost host;
    brimwell::PictureStore pictures;

    brimwell::frmUllex tank(host, pictures);
    brimwell::frmPCalc leak(host);
    brimwell::frmDTCalc delivery(host);
    for (QWidget* window : std::initializer_list<QWidget*>{&tank, &leak, &delivery}) {
        window->show();
    }
    QCoreApplication::processEvents();

    auto* calculate = control<QPushButton>(tank, "Command1");
    auto* lengthUnits = control<QComboBox>(tank, "cboLengthUnits");
    auto* leakCalculate = control<QPushButton>(leak, "cmdCalculate");
    auto* volumeBefore = control<QLineEdit>(delivery, "txtBVol");
    const int inches = lengthUnits->findText(QStringLiteral("inches"));
    const int feet = lengthUnits->findText(QStringLiteral("feet"));

    const struct {
        const char* name;
        std::function<void(int)> handler;
    } figures[] = {
        {"tank Perform Calculations", [&](int) { calculate->click(); }},
        {"tank unit change", [&](int i) { choose(lengthUnits, i % 2 ? inches : feet); }},
        {"leak-rate calculation", [&](int) { leakCalculate->click(); }},
        {"delivery Calculations", [&](int i) { volumeBefore->setText(i % 2 ? "5000" : "5210"); }},
    };
    for (const auto& figure : figures) {
        std::printf("handler %s: %.1f us (< 1000 us)\n", figure.name, medianMicros(figure.handler));
    }
    if (!host.dialogs.isEmpty()) {
        std::fprintf(stderr, "handlers: unexpected dialogs: %s\n",
                     qPrintable(host.dialogs.join("; ")));
        return 1;
    }
    return 0;
}
