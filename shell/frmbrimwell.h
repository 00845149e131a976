#pragma once

#include <QMainWindow>
#include <memory>

namespace Ui {
class frmBrimwell;
}

namespace brimwell {

class PictureStore;
class TankAnimation;

enum class Calculator { Tank, LeakRate, Delivery };

// The launcher: three buttons that open the calculators, and a tank that keeps filling.
class frmBrimwell : public QMainWindow {
    Q_OBJECT

public:
    // Loading the launcher restarts the shared animation from the empty tank.
    frmBrimwell(PictureStore& pictures, TankAnimation& animation, QWidget* parent = nullptr);
    ~frmBrimwell() override;

Q_SIGNALS:
    // The launcher has closed itself; the application opens the calculator.
    void calculatorChosen(brimwell::Calculator calculator);
    // The launcher has hidden itself; the application opens the About box.
    void aboutChosen();
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void choose(Calculator calculator);
    void showAbout();
    void tick();

    std::unique_ptr<Ui::frmBrimwell> ui_;
    PictureStore& pictures_;
    TankAnimation& animation_;
};

}  // namespace brimwell
