#include "tank/frmullex.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

#include "host/host.h"
#include "host/messagereporter.h"
#include "host/picturestore.h"
#include "host/usernumberformat.h"
#include "host/windowprinting.h"
#include "model/window/product.h"
#include "model/window/singleprecision.h"
#include "tank/tankchartcommand.h"
#include "tank/unitconversion.h"
#include "ui_frmUllex.h"

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

void setLabels(const QList<QLabel*>& labels, const QString& unit) {
    for (auto* label : labels) {
        label->setText(unit);
    }
}

std::vector<std::string> textsOf(const QList<QLineEdit*>& fields) {
    std::vector<std::string> shown;
    for (auto* field : fields) {
        shown.push_back(field->text().toStdString());
    }
    return shown;
}

void setTexts(const QList<QLineEdit*>& fields, const std::vector<std::string>& values) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        fields[i]->setText(QString::fromStdString(values[static_cast<std::size_t>(i)]));
    }
}

}  // namespace

frmUllex::frmUllex(Host& host, PictureStore& pictures, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmUllex>()), host_(host), pictures_(pictures) {
    ui_->setupUi(this);
    lbllengths = {ui_->lbllengths_0, ui_->lbllengths_1, ui_->lbllengths_2};
    lblVolumes = {ui_->lblVolumes_0, ui_->lblVolumes_1, ui_->lblVolumes_2, ui_->lblVolumes_3};
    lblTemp = {ui_->lblTemp_0, ui_->lblTemp_1, ui_->lblTemp_2};
    ui_->txtCe->setText(generalText(kDefaultCoefficient));
    cevalue = generalText(kDefaultCoefficient);

    ui_->cboTankShape->addItems(texts(kTankShapes));
    QStringList products;
    for (const auto& product : kProducts) {
        products << text(product.name);
    }
    ui_->cboProductType->addItems(products);
    ui_->cboLengthUnits->addItems(texts(kLengthUnits));
    ui_->cboVolumeUnits->addItems(texts(kVolumeUnits));
    ui_->cboTempUnits->addItems(texts(kTempUnits));
    for (auto* list : {ui_->cboProductType, ui_->cboLengthUnits, ui_->cboVolumeUnits, ui_->cboTempUnits}) {
        list->setInsertPolicy(QComboBox::NoInsert);  // typed text is used as it stands, never added
        // Nor is it a choice: when editing ends (Enter, or the focus moving on), Qt would choose the
        // entry that matches the typed text.
        disconnect(list->lineEdit(), &QLineEdit::editingFinished, list, nullptr);
        // No entry is chosen at load: the list only shows its starting text.
        const QString starting = list->itemText(0);
        list->setCurrentIndex(-1);
        list->setEditText(starting);
    }
    ui_->lblCylinderInfo->setVisible(false);
    chooseShape();

    connect(ui_->cboTankShape, &QComboBox::activated, this, &frmUllex::chooseShape);
    connect(ui_->Command1, &QPushButton::clicked, this, &frmUllex::performCalculations);
    connect(ui_->cboLengthUnits, &QComboBox::activated, this, &frmUllex::chooseLengthUnit);
    connect(ui_->cboVolumeUnits, &QComboBox::activated, this, &frmUllex::chooseVolumeUnit);
    connect(ui_->cboTempUnits, &QComboBox::activated, this, &frmUllex::chooseTemperatureUnit);
    connect(ui_->cboProductType, &QComboBox::activated, this, &frmUllex::chooseProduct);
    connect(ui_->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->mnuPrint, &QAction::triggered, this, &frmUllex::printThisWindow);
    connect(ui_->mnuTGen, &QAction::triggered, this, &frmUllex::generatetankchart);

    startClock();
    ui_->cboTankShape->setFocus();
}

frmUllex::~frmUllex() = default;

QString frmUllex::shownLengthUnit() const { return text(unitName(OldLengthUnits)); }
QString frmUllex::shownVolumeUnit() const { return text(unitName(OldVolumeUnits)); }
QString frmUllex::shownTemperatureUnit() const { return text(unitName(OldTempUnits)); }

void frmUllex::closeEvent(QCloseEvent* event) {
    pictures_.release();
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
    ui_->sbStatusBar->addWidget(status);
    ui_->sbStatusBar->addPermanentWidget(date);
    ui_->sbStatusBar->addPermanentWidget(time);
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

TankShape frmUllex::shape() const {
    // The shape list takes no typing: its entry is always one of the shapes.
    return static_cast<TankShape>(ui_->cboTankShape->currentIndex());
}

void frmUllex::showPicture(const QString& name) {
    pictures_.show(ui_->imgTank, name, PictureStore::Size::Double);
}

void frmUllex::showCheckSelections() { host_.showMessage(this, text(kCheckSelectionsMessage)); }

void frmUllex::chooseShape() {
    ui_->lblCylinderInfo->setVisible(shape() == TankShape::Cylindrical);
    showPicture(QString::fromStdString(pictureFamily(shape())) + "0");
}

TankInputs frmUllex::readInputs() const {
    return {shape(),
            parseLengthUnit(ui_->cboLengthUnits->currentText().toStdString()),
            parseVolumeUnit(ui_->cboVolumeUnits->currentText().toStdString()),
            ui_->txtTankDiameter->text().toStdString(),
            ui_->txtTankLength->text().toStdString(),
            ui_->txtProductLevel->text().toStdString(),
            ui_->txtProductTemp->text().toStdString(),
            ui_->txtCeTempRef->text().toStdString(),
            cevalue.toStdString()};
}

void frmUllex::performCalculations() {
    const TankInputs in = readInputs();
    const NumberFormat format = userNumberFormat();
    auto measures = readMeasures(in, format);
    if (!measures) {
        showCheckSelections();
        return;
    }
    const auto capacity = capacityInUnit(in.shape, measures->r, measures->L, in.volumeUnit);
    if (!capacity) {
        showCheckSelections();
        return;
    }
    ui_->txtTankCapacity->setText(patternText(*capacity, kVolumePattern));

    if (in.lengthUnit == LengthUnit::Inches) {
        const auto level = readLevelInInches(in, format);
        if (!level) {
            showCheckSelections();
            return;
        }
        measures->h = *level;
    }
    // The measures enter VolumeAtLevel in single precision; beyond its range that rounding overflows.
    if (!fitsSingle(measures->h) || !fitsSingle(measures->r) || !fitsSingle(measures->L)) {
        showCheckSelections();
        return;
    }
    MessageReporter reporter(host_, this);
    const float gross = VolumeAtLevel(static_cast<float>(measures->h), static_cast<float>(measures->r),
                                      static_cast<float>(measures->L), in.shape, *in.volumeUnit, reporter);
    ui_->txtGrossVolume->setText(patternText(gross, kVolumePattern));

    const auto net = netVolumeOf(gross, in, format);
    if (!net) {
        showCheckSelections();
        return;
    }
    ui_->txtNetVolume->setText(patternText(*net, kVolumePattern));

    const auto picture = fillPicture(in.shape, in.level, ui_->txtGrossVolume->text().toStdString(),
                                     ui_->txtTankCapacity->text().toStdString(), format.decimal);
    if (picture) {
        showPicture(QString::fromStdString(*picture));
    }
}

// The labels show the chosen unit at once. `convert` rewrites the fields from the unit in force
// into the chosen one; when it cannot convert all of them it changes none, and the unit in force
// is put back in the list and the labels.
template <typename Unit>
void frmUllex::changeUnit(QComboBox* list, const QList<QLabel*>& labels, Unit& shown, Unit& chosen,
                          Unit unit, const std::function<bool(Unit from, Unit to)>& convert) {
    setLabels(labels, text(unitName(unit)));
    chosen = unit;
    if (!convert(shown, chosen)) {
        showCheckSelections();
        chosen = shown;
        list->setCurrentIndex(static_cast<int>(shown));
        setLabels(labels, text(unitName(shown)));
        return;
    }
    shown = chosen;
}

bool frmUllex::convertLengths(LengthUnit from, LengthUnit to) {
    const QList<QLineEdit*> fields{ui_->txtTankDiameter, ui_->txtTankLength, ui_->txtProductLevel};
    const auto converted = scaleTexts(textsOf(fields), LengthFactor(from, to), kLengthPattern,
                                      userNumberFormat().decimal);
    if (!converted) {
        return false;
    }
    setTexts(fields, *converted);
    return true;
}

bool frmUllex::convertVolumes(VolumeUnit from, VolumeUnit to) {
    const QList<QLineEdit*> results{ui_->txtTankCapacity, ui_->txtGrossVolume, ui_->txtNetVolume};
    const double factor = VolumeFactor(from, to);
    const std::string decimal = userNumberFormat().decimal;
    const auto converted = scaleTexts(textsOf(results), factor, kResultPattern, decimal);
    const auto coefficient = scaleTexts({ui_->txtCe->text().toStdString()}, factor,
                                        kShownCoefficientByVolumePattern, decimal);
    if (!converted || !coefficient) {
        return false;
    }
    setTexts(results, *converted);
    ui_->txtCe->setText(QString::fromStdString(coefficient->front()));
    return true;
}

bool frmUllex::convertTemperatures(TempUnit from, TempUnit to) {
    const TemperatureFields current{ui_->txtProductTemp->text().toStdString(),
                                    ui_->txtCeTempRef->text().toStdString(),
                                    ui_->txtCe->text().toStdString(), cevalue.toStdString()};
    const NumberFormat format = userNumberFormat();
    const auto updated = from == to ? redisplayTemperatureFields(current, format)
                                    : convertTemperatureFields(current, from, to, format);
    if (!updated) {
        return false;
    }
    ui_->txtProductTemp->setText(QString::fromStdString(updated->productTemp));
    ui_->txtCeTempRef->setText(QString::fromStdString(updated->referenceTemp));
    ui_->txtCe->setText(QString::fromStdString(updated->shownCoefficient));
    cevalue = QString::fromStdString(updated->cevalue);
    return true;
}

void frmUllex::chooseLengthUnit(int index) {
    changeUnit<LengthUnit>(ui_->cboLengthUnits, lbllengths, OldLengthUnits, NewLengthUnits,
                           static_cast<LengthUnit>(index),
                           [this](LengthUnit from, LengthUnit to) { return convertLengths(from, to); });
}

void frmUllex::chooseVolumeUnit(int index) {
    changeUnit<VolumeUnit>(ui_->cboVolumeUnits, lblVolumes, OldVolumeUnits, NewVolumeUnits,
                           static_cast<VolumeUnit>(index),
                           [this](VolumeUnit from, VolumeUnit to) { return convertVolumes(from, to); });
}

void frmUllex::chooseTemperatureUnit(int index) {
    changeUnit<TempUnit>(ui_->cboTempUnits, {lblTemp[0], lblTemp[1]}, OldTempUnits, NewTempUnits,
                         static_cast<TempUnit>(index),
                         [this](TempUnit from, TempUnit to) { return convertTemperatures(from, to); });
}

void frmUllex::chooseProduct() {
    const auto selection = selectProduct(ui_->cboProductType->currentText().toStdString(),
                                         parseTempUnit(ui_->cboTempUnits->currentText().toStdString()),
                                         userNumberFormat().decimal);
    if (!selection) {
        return;
    }
    cevalue = QString::fromStdString(selection->cevalue);
    if (selection->shownCoefficient) {
        ui_->txtCe->setText(QString::fromStdString(*selection->shownCoefficient));
    }
}

ChartRequest frmUllex::chartRequest() const {
    return {ui_->txtTankDiameter->text().toStdString(), ui_->txtTankLength->text().toStdString(),
            parseLengthUnit(ui_->cboLengthUnits->currentText().toStdString()), shape(),
            parseVolumeUnit(ui_->cboVolumeUnits->currentText().toStdString()), {}};
}

void frmUllex::generatetankchart() { TankChartCommand(host_, chartRequest(), this).run(); }

void frmUllex::printThisWindow() {
    if (!printWindow(*this, host_)) {
        host_.showMessage(this, QString::fromUtf8(kPrintProblemMessage));
    }
}

}  // namespace brimwell
