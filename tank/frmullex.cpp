#include "frmullex.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <cmath>
#include <limits>

#include "host.h"
#include "messagereporter.h"
#include "mdlUllex.h"
#include "picturestore.h"
#include "ui_frmUllex.h"
#include "unitconversion.h"
#include "usernumberformat.h"
#include "windowprinting.h"

namespace brimwell {
namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

template <std::size_t N>
QStringList texts(const std::array<std::string_view, N>& items) {
    QStringList list;
    for (auto item : items) {
        list << text(item);
    }
    return list;
}

// Shows the unit in force again after a failed change, with its entry chosen.
void putBack(QComboBox* list, const QString& unit) {
    list->setCurrentIndex(list->findText(unit, Qt::MatchExactly));
    list->setEditText(unit);
}

}  // namespace

frmUllex::frmUllex(Host& host_, PictureStore& pictures_, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmUllex>()), host(host_), pictures(pictures_) {
    ui->setupUi(this);
    lbllengths = {ui->lbllengths_0, ui->lbllengths_1, ui->lbllengths_2};
    lblVolumes = {ui->lblVolumes_0, ui->lblVolumes_1, ui->lblVolumes_2, ui->lblVolumes_3};
    lblTemp = {ui->lblTemp_0, ui->lblTemp_1, ui->lblTemp_2};
    ui->txtCe->setText(generalText(kDefaultCoefficient));

    cevalue = generalText(kDefaultCoefficient);
    NewLengthUnits = OldLengthUnits = "inches";
    NewVolumeUnits = OldVolumeUnits = "gallons";
    NewTempUnits = OldTempUnits = text(kDegreesF);

    ui->cboTankShape->addItems(texts(kTankShapes));
    QStringList products;
    for (const auto& product : kProducts) {
        products << text(product.name);
    }
    ui->cboProductType->addItems(products);
    ui->cboLengthUnits->addItems(texts(kLengthUnits));
    ui->cboVolumeUnits->addItems(texts(kVolumeUnits));
    ui->cboTempUnits->addItems(texts(kTempUnits));
    for (auto* list : {ui->cboProductType, ui->cboLengthUnits, ui->cboVolumeUnits, ui->cboTempUnits}) {
        list->setInsertPolicy(QComboBox::NoInsert);  // typed text is used as it stands, never added
        // Nor is it a choice: when editing ends (Enter, or the focus moving on), Qt would choose the
        // entry that matches the typed text.
        disconnect(list->lineEdit(), &QLineEdit::editingFinished, list, nullptr);
        // No entry is chosen at load: the list only shows its starting text.
        const QString starting = list->itemText(0);
        list->setCurrentIndex(-1);
        list->setEditText(starting);
    }
    ui->lblCylinderInfo->setVisible(false);
    chooseShape();

    connect(ui->cboTankShape, &QComboBox::activated, this, &frmUllex::chooseShape);
    connect(ui->Command1, &QPushButton::clicked, this, &frmUllex::performCalculations);
    connect(ui->cboLengthUnits, &QComboBox::activated, this, &frmUllex::chooseLengthUnit);
    connect(ui->cboVolumeUnits, &QComboBox::activated, this, &frmUllex::chooseVolumeUnit);
    connect(ui->cboTempUnits, &QComboBox::activated, this, &frmUllex::chooseTemperatureUnit);
    connect(ui->cboProductType, &QComboBox::activated, this, &frmUllex::chooseProduct);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuPrint, &QAction::triggered, this, &frmUllex::printThisWindow);
    connect(ui->mnuTGen, &QAction::triggered, this, &frmUllex::generatetankchart);

    startClock();
    ui->cboTankShape->setFocus();
}

frmUllex::~frmUllex() = default;

void frmUllex::closeEvent(QCloseEvent* event) {
    pictures.release();
    event->accept();
    Q_EMIT closed();
}

void frmUllex::startClock() {
    auto* status = new QLabel(QStringLiteral("Status"), this);
    auto* date = new QLabel(this);
    auto* time = new QLabel(this);
    status->setObjectName("sbStatusBarText");
    date->setObjectName("sbStatusBarDate");
    time->setObjectName("sbStatusBarTime");
    const int inch = logicalDpiX();
    status->setFixedWidth(3 * inch);
    date->setMinimumWidth(inch);
    time->setMinimumWidth(inch);
    ui->sbStatusBar->addWidget(status);
    ui->sbStatusBar->addPermanentWidget(date);
    ui->sbStatusBar->addPermanentWidget(time);
    auto tick = [date, time] {
        const QDateTime now = QDateTime::currentDateTime();
        const QLocale locale;
        date->setText(locale.toString(now.date(), QLocale::ShortFormat));
        time->setText(locale.toString(now.time(), QLocale::ShortFormat));
    };
    tick();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
}

void frmUllex::showPicture(const QString& name) {
    pictures.show(ui->imgTank, name, PictureStore::Size::Double);
}

void frmUllex::showCheckSelections() { host.showMessage(this, text(kCheckSelectionsMessage)); }

void frmUllex::setLabels(const QList<QLabel*>& labels, const QString& unit) {
    for (auto* label : labels) {
        label->setText(unit);
    }
}

void frmUllex::chooseShape() {
    const QString shape = ui->cboTankShape->currentText();
    ui->lblCylinderInfo->setVisible(shape == text(kCylindrical));
    if (const auto family = PictureFamily(shape.toStdString())) {
        showPicture(QString::fromStdString(*family) + "0");
    }
}

TankInputs frmUllex::readInputs() const {
    return {ui->cboTankShape->currentText().toStdString(),
            ui->cboLengthUnits->currentText().toStdString(),
            ui->cboVolumeUnits->currentText().toStdString(),
            ui->txtTankDiameter->text().toStdString(),
            ui->txtTankLength->text().toStdString(),
            ui->txtProductLevel->text().toStdString(),
            ui->txtProductTemp->text().toStdString(),
            ui->txtCeTempRef->text().toStdString(),
            cevalue.toStdString()};
}

void frmUllex::performCalculations() {
    const TankInputs in = readInputs();
    const NumberFormat format = userNumberFormat();
    auto measures = ReadMeasures(in, format);
    if (!measures) {
        showCheckSelections();
        return;
    }
    const auto capacity = CapacityInUnit(in.shape, measures->r, measures->L, in.volumeUnit);
    if (!capacity) {
        showCheckSelections();
        return;
    }
    ui->txtTankCapacity->setText(patternText(*capacity, kVolumePattern));

    if (in.lengthUnit == "inches") {
        const auto level = ReadLevelInInches(in, format);
        if (!level) {
            showCheckSelections();
            return;
        }
        measures->h = *level;
    }
    // The measures enter VolumeAtLevel in single precision; beyond its range that rounding overflows.
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    if (!(std::fabs(measures->h) <= kFloatMax && std::fabs(measures->r) <= kFloatMax &&
          std::fabs(measures->L) <= kFloatMax)) {
        showCheckSelections();
        return;
    }
    MessageReporter reporter(host, this);
    const float gross = VolumeAtLevel(static_cast<float>(measures->h), static_cast<float>(measures->r),
                                      static_cast<float>(measures->L), in.shape, in.volumeUnit, reporter);
    ui->txtGrossVolume->setText(patternText(gross, kVolumePattern));

    const auto net = NetVolumeOf(gross, in, format);
    if (!net) {
        showCheckSelections();
        return;
    }
    ui->txtNetVolume->setText(patternText(*net, kVolumePattern));

    const auto picture = FillPicture(in.shape, in.level, ui->txtGrossVolume->text().toStdString(),
                                     ui->txtTankCapacity->text().toStdString(), format.decimal);
    if (picture) {
        showPicture(QString::fromStdString(*picture));
    }
}

void frmUllex::chooseLengthUnit() {
    const QString unit = ui->cboLengthUnits->currentText();
    setLabels(lbllengths, unit);
    NewLengthUnits = unit;
    const double factor = LengthFactor(OldLengthUnits.toStdString(), NewLengthUnits.toStdString()).value_or(1);
    QList<QLineEdit*> fields{ui->txtTankDiameter, ui->txtTankLength, ui->txtProductLevel};
    std::vector<std::string> shown;
    for (auto* field : fields) {
        shown.push_back(field->text().toStdString());
    }
    const auto converted = ScaleTexts(shown, factor, kLengthPattern, userNumberFormat().decimal);
    if (!converted) {
        showCheckSelections();
        NewLengthUnits = OldLengthUnits;
        putBack(ui->cboLengthUnits, OldLengthUnits);
        setLabels(lbllengths, OldLengthUnits);
        return;
    }
    OldLengthUnits = NewLengthUnits;
    for (int i = 0; i < fields.size(); ++i) {
        fields[i]->setText(QString::fromStdString((*converted)[static_cast<std::size_t>(i)]));
    }
}

void frmUllex::chooseVolumeUnit() {
    const QString unit = ui->cboVolumeUnits->currentText();
    setLabels(lblVolumes, unit);
    NewVolumeUnits = unit;
    const double factor = VolumeFactor(OldVolumeUnits.toStdString(), NewVolumeUnits.toStdString()).value_or(1);
    const std::string decimal = userNumberFormat().decimal;
    QList<QLineEdit*> results{ui->txtTankCapacity, ui->txtGrossVolume, ui->txtNetVolume};
    std::vector<std::string> shown;
    for (auto* field : results) {
        shown.push_back(field->text().toStdString());
    }
    const auto converted = ScaleTexts(shown, factor, kResultPattern, decimal);
    const auto coefficient = ScaleTexts({ui->txtCe->text().toStdString()}, factor,
                                        kShownCoefficientByVolumePattern, decimal);
    if (!converted || !coefficient) {
        showCheckSelections();
        NewVolumeUnits = OldVolumeUnits;
        putBack(ui->cboVolumeUnits, OldVolumeUnits);
        setLabels(lblVolumes, OldVolumeUnits);
        return;
    }
    OldVolumeUnits = NewVolumeUnits;
    for (int i = 0; i < results.size(); ++i) {
        results[i]->setText(QString::fromStdString((*converted)[static_cast<std::size_t>(i)]));
    }
    ui->txtCe->setText(QString::fromStdString(coefficient->front()));
}

void frmUllex::chooseTemperatureUnit() {
    const QString unit = ui->cboTempUnits->currentText();
    lblTemp[0]->setText(unit);
    lblTemp[1]->setText(unit);
    NewTempUnits = unit;
    const TemperatureFields current{ui->txtProductTemp->text().toStdString(),
                                    ui->txtCeTempRef->text().toStdString(),
                                    ui->txtCe->text().toStdString(), cevalue.toStdString()};
    const NumberFormat format = userNumberFormat();
    TemperatureFields updated;
    if (NewTempUnits == OldTempUnits) {
        updated = RedisplayTemperatureFields(current, format);
    } else if (auto converted = ConvertTemperatureFields(current, OldTempUnits.toStdString(),
                                                         NewTempUnits.toStdString(), format)) {
        updated = *converted;
        OldTempUnits = NewTempUnits;
    } else {
        showCheckSelections();
        NewTempUnits = OldTempUnits;
        putBack(ui->cboTempUnits, OldTempUnits);
        lblTemp[0]->setText(OldTempUnits);
        lblTemp[1]->setText(OldTempUnits);
        return;
    }
    ui->txtProductTemp->setText(QString::fromStdString(updated.productTemp));
    ui->txtCeTempRef->setText(QString::fromStdString(updated.referenceTemp));
    ui->txtCe->setText(QString::fromStdString(updated.shownCoefficient));
    cevalue = QString::fromStdString(updated.cevalue);
}

void frmUllex::chooseProduct() {
    const auto selection = SelectProduct(ui->cboProductType->currentText().toStdString(),
                                         ui->cboTempUnits->currentText().toStdString(),
                                         userNumberFormat().decimal);
    if (!selection) {
        return;
    }
    cevalue = QString::fromStdString(selection->cevalue);
    if (selection->shownCoefficient) {
        ui->txtCe->setText(QString::fromStdString(*selection->shownCoefficient));
    }
}

void frmUllex::printThisWindow() { printWindow(*this, host); }

}  // namespace brimwell
