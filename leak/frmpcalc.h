#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "leak/leakratebox.h"

namespace Ui {
class frmPCalc;
}

namespace brimwell {

class Host;

// The leak-rate tool: converts a leak rate stated at a reference pressure into the equivalent
// rate at the pressure the user wants.
class frmPCalc : public QMainWindow {
    Q_OBJECT

public:
    explicit frmPCalc(Host& host, QWidget* parent = nullptr);
    ~frmPCalc() override;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A current value, kept as the text it came from; `typed` when that was txtLR or txtRef.
    struct CurrentValue {
        QString text;
        bool typed = false;
    };

    void chooseStandard(bool chosen, const QString& rate, const QString& reference);
    void chooseUserDefined(bool chosen);
    void leakRateChanged(const QString& text);
    void leakRateCaretMoved(int oldCaret, int newCaret);
    void calculate();
    void showInvalid();
    void print();

    std::unique_ptr<Ui::frmPCalc> ui_;
    Host& host_;
    CurrentValue leakRate_{QStringLiteral("3")};
    CurrentValue referencePressure_{QStringLiteral("10")};
    CurrentValue desiredPressure_;
    leak::BoxText leakRateShown_;  // what txtLR showed after its last edit settled
};

}  // namespace brimwell
