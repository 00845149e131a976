#pragma once

#include <QString>
#include <QTimer>
#include <utility>

namespace brimwell {

// The tank-filling animation of the launcher and the About box (tankAnimationLevel). Both windows'
// timers advance the same level, so the application owns one and lends it to each.
class TankAnimation {
public:
    explicit TankAnimation(QString level = QStringLiteral("0")) : level_(std::move(level)) {}

    // "0", "10", "25", "50", "75", "90" or "100".
    const QString& level() const { return level_; }

    // Back to the empty tank; only the launcher's load does this.
    void reset() { level_ = QStringLiteral("0"); }

    // Steps to the next fill level and returns the picture of that level in the family ("ftank"
    // gives "ftank10" after "0"). A level that is not one of the seven stays as it is and shows
    // nothing: the empty text.
    QString advance(const QString& family);

private:
    QString level_;
};

// Starts the window's animation timer, "Timer1": every 60 ms it calls `tick`.
template <typename Window>
void startAnimationTimer(Window* window, void (Window::*tick)()) {
    auto* timer = new QTimer(window);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(60);
    QObject::connect(timer, &QTimer::timeout, window, tick);
    timer->start();
}

}  // namespace brimwell
