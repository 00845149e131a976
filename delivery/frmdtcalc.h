#pragma once

#include <QMainWindow>
#include <memory>

namespace Ui {
class frmDTCalc;
}

namespace brimwell {

class Host;

// The delivery temperature tool: from the tank's volume and temperature before and after a
// delivery, the delivered volume, its temperature and the temperature differential, recomputed
// on every change of an input.
class frmDTCalc : public QMainWindow {
    Q_OBJECT

public:
    explicit frmDTCalc(Host& host, QWidget* parent = nullptr);
    ~frmDTCalc() override;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Calculations();
    void print();

    std::unique_ptr<Ui::frmDTCalc> ui_;
    Host& host_;
};

}  // namespace brimwell
