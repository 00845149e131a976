#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

#include "model/window/tankmodel.h"
#include "model/units/units.h"
#include "tank/chartparams.h"
#include "tank/tankcalculation.h"

class QComboBox;
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
    QString shownLengthUnit() const;
    QString shownVolumeUnit() const;
    QString shownTemperatureUnit() const;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseShape();
    void performCalculations();
    void chooseLengthUnit(int index);
    void chooseVolumeUnit(int index);
    void chooseTemperatureUnit(int index);
    void chooseProduct();
    void printThisWindow();

    template <typename Unit>
    void changeUnit(QComboBox* list, const QList<QLabel*>& labels, Unit& shown, Unit& chosen,
                    Unit unit, const std::function<bool(Unit from, Unit to)>& convert);
    bool convertLengths(LengthUnit from, LengthUnit to);
    bool convertVolumes(VolumeUnit from, VolumeUnit to);
    bool convertTemperatures(TempUnit from, TempUnit to);

    TankShape shape() const;
    void showPicture(const QString& name);
    void showCheckSelections();
    TankInputs readInputs() const;
    ChartRequest chartRequest() const;
    void startClock();

    std::unique_ptr<Ui::frmUllex> ui_;
    Host& host_;
    PictureStore& pictures_;

    QList<QLabel*> lbllengths;
    QList<QLabel*> lblVolumes;
    QList<QLabel*> lblTemp;  // index 2 belongs to the hidden reference row and never changes

    LengthUnit OldLengthUnits = LengthUnit::Inches;  // the unit the three lengths are shown in
    LengthUnit NewLengthUnits = LengthUnit::Inches;  // the length unit last chosen
    VolumeUnit OldVolumeUnits = VolumeUnit::Gallons;  // the unit the results and Ce are shown in
    VolumeUnit NewVolumeUnits = VolumeUnit::Gallons;  // the volume unit last chosen
    TempUnit OldTempUnits = TempUnit::DegreesF;  // the unit the temperatures and Ce are shown in
    TempUnit NewTempUnits = TempUnit::DegreesF;  // the temperature unit last chosen
    QString cevalue;  // the expansion coefficient every calculation reads, as text
};

}  // namespace brimwell
