#pragma once

#include <QDialog>
#include <memory>
#include <utility>
#include <vector>

#include "book/records.h"
#include "bookwindow/dayentry.h"
#include "bookwindow/tankentry.h"

class QLineEdit;

namespace Ui {
class dlgTank;
}

namespace brimwell {

class Host;

// Adding or editing a tank: its shape with the capacity shown as it is typed, or its calibration
// chart from a file with the chart's rows and its faults by line, its product and correction, and
// its month's rules. Each field that does not read is marked with the reason; OK stays off until
// everything reads.
class dlgTank : public QDialog {
    Q_OBJECT

public:
    dlgTank(Host& host, QWidget* parent = nullptr);
    ~dlgTank() override;

    // Opens a stored tank for editing, its sticks shown in `sticks`.
    void edit(const book::TankSettings& tank, StickForm sticks);
    // The name of the tank being edited; empty while adding one.
    const std::string& editedName() const { return edited_; }

    // The tank as entered; valid once the dialog is accepted.
    const book::TankSettings& tank() const { return tank_; }
    // How the window shows the tank's sticks: in feet, inches and eighths only in a unit of feet
    // or inches.
    StickForm stickForm() const;

    // The dialog as large as its fields want within `available`; a smaller screen leaves them
    // to scroll, with the problems and OK and Cancel below them in sight.
    void fitToScreen(const QRect& available);

Q_SIGNALS:
    // OK was pressed with everything read; the dialog stays open until the tank is kept.
    void entered();

private:
    std::vector<std::pair<QLineEdit*, std::string TankTexts::*>> textFields() const;
    TankTexts texts() const;
    void showTexts(const TankTexts& texts);
    void reread();
    void chooseChart();
    void useGeometry();
    void showChart();
    void nameCorrectionValue();
    bool addMeterFactor();
    void enter();
    void showMeterFactors();

    std::unique_ptr<Ui::dlgTank> ui_;
    Host& host_;
    QString chartFile_;
    std::string chart_;
    std::string edited_;
    // The tank's factors as stored, then those added here; none is ever taken away.
    std::vector<book::MeterFactor> meterFactors_;
    book::TankSettings tank_;
};

}  // namespace brimwell
