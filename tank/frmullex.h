#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>
#include <memory>

#include "tankcalculation.h"

class QLabel;

namespace Ui {
class frmUllex;
}

namespace brimwell {

class Host;
class PictureStore;

// The tank volume tool: capacity, gross and net volume, unit conversion of the values on display,
// and tank charts.
class frmUllex : public QMainWindow {
    Q_OBJECT

public:
    frmUllex(Host& host, PictureStore& pictures, QWidget* parent = nullptr);
    ~frmUllex() override;

    // The tank chart generator: asks for the increment, saves the chart and offers to print it.
    void generatetankchart();

    // The stored expansion coefficient that every calculation reads.
    QString coefficient() const { return cevalue; }

    // The units in which the window's values are shown (what its unit labels must say).
    QString shownLengthUnit() const { return OldLengthUnits; }
    QString shownVolumeUnit() const { return OldVolumeUnits; }
    QString shownTemperatureUnit() const { return OldTempUnits; }

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseShape();
    void performCalculations();
    void chooseLengthUnit();
    void chooseVolumeUnit();
    void chooseTemperatureUnit();
    void chooseProduct();
    void printThisWindow();

    void showPicture(const QString& name);
    void showCheckSelections();
    void setLabels(const QList<QLabel*>& labels, const QString& unit);
    TankInputs readInputs() const;
    void startClock();

    std::unique_ptr<Ui::frmUllex> ui;
    Host& host;
    PictureStore& pictures;

    QList<QLabel*> lbllengths;
    QList<QLabel*> lblVolumes;
    QList<QLabel*> lblTemp;

    QString OldLengthUnits;
    QString NewLengthUnits;
    QString OldVolumeUnits;
    QString NewVolumeUnits;
    QString OldTempUnits;
    QString NewTempUnits;
    QString cevalue;
};

}  // namespace brimwell
