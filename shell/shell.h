#pragma once

#include <QObject>
#include <QPointer>

#include "host/picturestore.h"
#include "shell/tankanimation.h"

namespace brimwell {

class Host;
class frmBrimwell;
enum class Calculator;

// Decides which window is on screen: the splash, then the launcher, one calculator at a time in
// its place, and the About box over the hidden launcher. Owns what the windows share: the picture
// store and the animation level. Every window is created when shown and deleted when closed.
class Shell : public QObject {
    Q_OBJECT

public:
    explicit Shell(Host& host, QObject* parent = nullptr);
    ~Shell() override;

    // Shows the splash; nothing else is built until it has gone.
    void start();

    const TankAnimation& animation() const { return animation_; }
    const PictureStore& pictures() const { return pictures_; }

private:
    // Makes the launcher visible, creating it if it is not loaded.
    void showLauncher();
    void openCalculator(Calculator calculator);
    void showAbout();
    template <typename Window>
    Window* adopt(Window* window);

    Host& host_;
    PictureStore pictures_;
    TankAnimation animation_;
    QPointer<frmBrimwell> launcher_;
    QList<QPointer<QWidget>> windows_;  // every window still loaded, deleted with the shell
};

}  // namespace brimwell
