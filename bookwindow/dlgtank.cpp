#include "bookwindow/dlgtank.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "bookwindow/bookmodels.h"
#include "bookwindow/fieldmarks.h"
#include "bookwindow/tankentry.h"
#include "cli/booktank.h"
#include "cli/unitwords.h"
#include "host/host.h"
#include "host/usernumberformat.h"
#include "model/geometry/calibrationchart.h"
#include "ui_dlgTank.h"

namespace brimwell {
namespace {

std::string text(const QLineEdit* box) {
    return box->text().toStdString();
}

}  // namespace

dlgTank::dlgTank(Host& host, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::dlgTank>()), host_(host) {
    ui_->setupUi(this);
    connect(ui_->btnChart, &QPushButton::clicked, this, &dlgTank::chooseChart);
    connect(ui_->btnGeometry, &QPushButton::clicked, this, &dlgTank::useGeometry);
    ui_->txtSafeFill->setText(generalText(90));
    ui_->txtOpening->setText(generalText(0));
    ui_->txtPercent->setText(generalText(1));
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        connect(box, &QLineEdit::textChanged, this, &dlgTank::reread);
    }
    for (QComboBox* list : findChildren<QComboBox*>()) {
        connect(list, &QComboBox::currentIndexChanged, this, &dlgTank::reread);
    }
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &dlgTank::entered);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &dlgTank::reject);
    reread();
}

dlgTank::~dlgTank() = default;

void dlgTank::edit(const book::TankSettings& tank, const TankOptions& shape) {
    edited_ = tank.name;
    setWindowTitle(tr("Tank %1").arg(QString::fromStdString(tank.name)));
    showTexts(tankTexts(tank, shape, userNumberFormat()));
}

void dlgTank::showTexts(const TankTexts& texts) {
    const auto show = [](QLineEdit* box, const std::string& text) {
        box->setText(QString::fromStdString(text));
    };
    show(ui_->txtName, texts.name);
    ui_->cboOrientation->setCurrentIndex(texts.vertical ? 1 : 0);
    ui_->cboHeads->setCurrentText(QString::fromStdString(texts.heads));
    show(ui_->txtHeadDepth, texts.headDepth);
    show(ui_->txtCrown, texts.crown);
    show(ui_->txtKnuckle, texts.knuckle);
    show(ui_->txtDiameter, texts.diameter);
    show(ui_->txtLength, texts.length);
    ui_->cboUnits->setCurrentText(QString::fromStdString(texts.units));
    ui_->cboVolume->setCurrentText(QString::fromStdString(texts.volume));
    show(ui_->txtProduct, texts.product);
    ui_->cboCorrection->setCurrentIndex(texts.correction + 1);
    show(ui_->txtCorrectionValue, texts.correctionValue);
    show(ui_->txtReference, texts.reference);
    ui_->cboTemperatureUnit->setCurrentIndex(texts.celsius ? 1 : 0);
    show(ui_->txtSafeFill, texts.safeFill);
    show(ui_->txtOpening, texts.opening);
    show(ui_->txtPercent, texts.percent);
    show(ui_->txtAllowance, texts.allowance);
    show(ui_->txtShortDays, texts.shortDays);
    show(ui_->txtShortTotal, texts.shortTotal);
    show(ui_->txtWaterLimit, texts.waterLimit);
    chartFile_.clear();
    chart_ = texts.calibration;
    showChart();
}

void dlgTank::chooseChart() {
    const QString path = host_.chooseFile(this, tr("Calibration charts|*.csv *.txt"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        host_.showMessage(this, tr("%1 cannot be read: %2").arg(path, file.errorString()));
        return;
    }
    chartFile_ = path;
    chart_ = file.readAll().toStdString();
    showChart();
}

void dlgTank::useGeometry() {
    chartFile_.clear();
    chart_.clear();
    showChart();
}

// The chart's rows as the file has them, and how many it holds or the line at fault.
void dlgTank::showChart() {
    ui_->txtChartRows->setPlainText(QString::fromStdString(chart_));
    QString text;
    if (!chart_.empty()) {
        // A stored chart no longer has its file.
        const QString name =
            chartFile_.isEmpty() ? tr("the stored chart") : QFileInfo(chartFile_).fileName();
        const auto chart = CalibrationChart::parse(chart_);
        text = chart ? tr("%1: %2 rows").arg(name).arg(chart->rows())
                     : tr("%1, line %2: %3")
                           .arg(name)
                           .arg(chart.error().line)
                           .arg(QString::fromStdString(chart.error().message));
    }
    ui_->lblChart->setText(text);
    for (QWidget* shape :
         std::initializer_list<QWidget*>{ui_->cboOrientation, ui_->txtDiameter, ui_->txtLength}) {
        shape->setEnabled(chart_.empty());
    }
    reread();
}

TankTexts dlgTank::texts() const {
    TankTexts texts;
    texts.name = text(ui_->txtName);
    texts.vertical = ui_->cboOrientation->currentIndex() == 1;
    texts.heads = ui_->cboHeads->currentText().toStdString();
    texts.headDepth = text(ui_->txtHeadDepth);
    texts.crown = text(ui_->txtCrown);
    texts.knuckle = text(ui_->txtKnuckle);
    texts.diameter = text(ui_->txtDiameter);
    texts.length = text(ui_->txtLength);
    texts.units = ui_->cboUnits->currentText().toStdString();
    texts.volume = ui_->cboVolume->currentText().toStdString();
    texts.calibration = chart_;
    texts.product = text(ui_->txtProduct);
    texts.correction = ui_->cboCorrection->currentIndex() - 1;
    texts.correctionValue = text(ui_->txtCorrectionValue);
    texts.reference = text(ui_->txtReference);
    texts.celsius = ui_->cboTemperatureUnit->currentIndex() == 1;
    texts.safeFill = text(ui_->txtSafeFill);
    texts.opening = text(ui_->txtOpening);
    texts.percent = text(ui_->txtPercent);
    texts.allowance = text(ui_->txtAllowance);
    texts.shortDays = text(ui_->txtShortDays);
    texts.shortTotal = text(ui_->txtShortTotal);
    texts.waterLimit = text(ui_->txtWaterLimit);
    return texts;
}

void dlgTank::reread() {
    // Heads belong to a horizontal tank, and only these two take a depth.
    ui_->cboHeads->setEnabled(chart_.empty() && ui_->cboOrientation->currentIndex() == 0);
    ui_->txtHeadDepth->setEnabled(ui_->cboHeads->isEnabled() &&
                                  (ui_->cboHeads->currentText() == QLatin1String("ellipsoidal") ||
                                   ui_->cboHeads->currentText() == QLatin1String("conical")));
    const bool dished = ui_->cboHeads->isEnabled() &&
                        ui_->cboHeads->currentText() == QLatin1String("torispherical");
    ui_->txtCrown->setEnabled(dished);
    ui_->txtKnuckle->setEnabled(dished);
    ui_->txtReference->setEnabled(ui_->cboCorrection->currentText() == QLatin1String("linear"));
    const TankTexts texts = this->texts();
    const auto unit = volumeUnitOption("--volume", texts.volume);
    const VolumeUnit volume = unit ? *unit : VolumeUnit::Gallons;
    TankEntry entry = readTankEntry(texts, userNumberFormat(), defaultAllowance(volume));
    QLineEdit* const fields[] = {
        ui_->txtName,       ui_->txtHeadDepth,       ui_->txtDiameter,  ui_->txtLength,
        ui_->txtProduct,    ui_->txtCorrectionValue, ui_->txtSafeFill,  ui_->txtOpening,
        ui_->txtPercent,    ui_->txtAllowance,       ui_->txtShortDays, ui_->txtShortTotal,
        ui_->txtWaterLimit, ui_->txtCrown,           ui_->txtKnuckle,   ui_->txtReference};
    for (QLineEdit* field : fields) {
        clearMark(*field);
    }
    QStringList problems;
    for (const TankProblem& problem : entry.problems) {
        QLineEdit* field = fields[static_cast<int>(problem.field)];
        const QString reason = QString::fromStdString(problem.reason);
        if (!field->text().isEmpty()) {
            markField(*field, reason);
        }
        problems << field->accessibleName() + ": " + reason;
    }
    const auto tank = bookTank(entry.settings);
    ui_->lblCapacity->setText(tank ? volumeText(tank->capacity) + " " +
                                         QString::fromStdString(std::string(unitWord(volume)))
                                   : QString());
    const bool shapeTyped =
        !ui_->txtDiameter->text().isEmpty() && !ui_->txtLength->text().isEmpty();
    if (!tank && (shapeTyped || !chart_.empty())) {
        problems << QString::fromStdString(tank.error());
    }
    ui_->lblProblems->setText(problems.join('\n'));
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(problems.isEmpty() && tank);
    tank_ = std::move(entry.settings);
}

}  // namespace brimwell
