#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmAbout;
}

namespace brimwell {

class PictureStore;
class TankAnimation;

// The About box: title, version, credits and the cylindrical tank filling on the shared
// animation level. Shown without being modal.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    frmAbout(PictureStore& pictures, TankAnimation& animation, QWidget* parent = nullptr);
    ~frmAbout() override;

    // Every way of closing the box (OK, Enter, Escape, the close button) ends here.
    void done(int result) override;

Q_SIGNALS:
    // Sent while the box is still on screen, so the launcher can reappear before it goes.
    void closed();

private:
    void tick();

    std::unique_ptr<Ui::frmAbout> ui_;
    PictureStore& pictures_;
    TankAnimation& animation_;
};

}  // namespace brimwell
