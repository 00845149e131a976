#pragma once

#include <QDialog>
#include <memory>

#include "book/records.h"
#include "bookwindow/tankentry.h"

namespace Ui {
class dlgTank;
}

namespace brimwell {

class Host;

// Adding a tank: its shape with the capacity shown as it is typed, or its calibration chart from
// a file with the chart's rows and its faults by line, its product and correction,
// and its month's rules. Each field that does not read is marked with the reason; OK stays off
// until everything reads.
class dlgTank : public QDialog {
    Q_OBJECT

public:
    dlgTank(Host& host, QWidget* parent = nullptr);
    ~dlgTank() override;

    // The tank as entered; valid once the dialog is accepted.
    const book::TankSettings& tank() const { return tank_; }

private:
    TankTexts texts() const;
    void reread();
    void chooseChart();
    void useGeometry();
    void showChart();

    std::unique_ptr<Ui::dlgTank> ui_;
    Host& host_;
    QString chartFile_;
    std::string chart_;
    book::TankSettings tank_;
};

}  // namespace brimwell
