#include "bookwindow/dlgtank.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "bookwindow/bookmodels.h"
#include "bookwindow/fieldmarks.h"
#include "bookwindow/tankentry.h"
#include "book/booktank.h"
#include "book/meterfactor.h"
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
    connect(ui_->btnAddMeterFactor, &QPushButton::clicked, this, &dlgTank::addMeterFactor);
    ui_->txtSafeFill->setText(generalText(90));
    ui_->txtOpening->setText(generalText(0));
    ui_->txtPercent->setText(generalText(1));
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        connect(box, &QLineEdit::textChanged, this, &dlgTank::reread);
    }
    for (QComboBox* list : findChildren<QComboBox*>()) {
        connect(list, &QComboBox::currentIndexChanged, this, &dlgTank::reread);
    }
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &dlgTank::enter);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &dlgTank::reject);
    reread();
    fitToScreen(screen()->availableGeometry());
}

void dlgTank::fitToScreen(const QRect& available) {
    // Room for the window's frame, the problems and the buttons.
    constexpr int kFrame = 40;
    constexpr int kBelow = 160;
    const int bar = ui_->scrollTank->verticalScrollBar()->sizeHint().width();
    const QSize wanted = ui_->tankPane->sizeHint() + QSize(bar, 0);
    ui_->scrollTank->setMinimumSize(
        wanted.boundedTo(QSize(available.width() - kFrame, available.height() - kBelow)));
    adjustSize();
}

StickForm dlgTank::stickForm() const {
    return ui_->cboSticks->isEnabled() && ui_->cboSticks->currentIndex() == 1
               ? StickForm::FeetInches
               : StickForm::Decimal;
}

// The correction's value named after its table.
void dlgTank::nameCorrectionValue() {
    static const char* const kNames[] = {
        QT_TR_NOOP("Correction v&alue:"),           QT_TR_NOOP("Line&ar coefficient per degree:"),
        QT_TR_NOOP("&API gravity at 60 °F:"),         QT_TR_NOOP("Density &at 15 °C, kg/m³:"),
        QT_TR_NOOP("&Alpha per °F:"),                 QT_TR_NOOP("&Alpha per °C:")};
    const int chosen = std::clamp(ui_->cboCorrection->currentIndex(), 0, 5);
    const QString name = tr(kNames[chosen]);
    ui_->lblCorrectionValue->setText(name);
    ui_->txtCorrectionValue->setAccessibleName(QString(name).remove('&').chopped(1));
}

dlgTank::~dlgTank() = default;

void dlgTank::edit(const book::TankSettings& tank, StickForm sticks) {
    edited_ = tank.name;
    setWindowTitle(tr("Tank %1").arg(QString::fromStdString(tank.name)));
    ui_->cboSticks->setCurrentIndex(sticks == StickForm::FeetInches ? 1 : 0);
    meterFactors_ = tank.meterFactors;
    showMeterFactors();
    showTexts(tankTexts(tank, userNumberFormat()));
}

// OK with a factor typed but not added adds it first, as an operator means it; a factor the book
// refuses keeps the dialog open with the reason, so that nothing typed is dropped unseen.
void dlgTank::enter() {
    const bool factorTyped =
        !ui_->txtMeterFactor->text().trimmed().isEmpty() || !ui_->txtMeterFrom->text().isEmpty();
    if (factorTyped && !addMeterFactor()) {
        return;
    }
    Q_EMIT entered();
}

// A factor in the unit the tank's volumes call for, added to the list if the book would take it.
bool dlgTank::addMeterFactor() {
    const auto value = readStrictText(ui_->txtMeterFactor->text().remove('+'));
    const VolumeUnit volume =
        named<VolumeUnit>(kVolumeWords, ui_->cboVolume->currentText().toStdString())
            .value_or(VolumeUnit::Gallons);
    const book::MeterFactor factor{ui_->txtMeterFrom->text().toStdString(), value.value_or(0),
                                   book::meterUnitFor(volume)};
    const auto refused = value ? book::meterFactorRefusal(factor, meterFactors_)
                               : std::optional<std::string>(
                                     tr("The meter factor is not a number.").toStdString());
    if (refused) {
        ui_->lblMeterProblem->setText(QString::fromStdString(*refused));
        return false;
    }
    ui_->lblMeterProblem->clear();
    meterFactors_.push_back(factor);
    std::stable_sort(meterFactors_.begin(), meterFactors_.end(),
                     [](const auto& a, const auto& b) { return a.from < b.from; });
    ui_->txtMeterFactor->clear();
    ui_->txtMeterFrom->clear();
    showMeterFactors();
    reread();
    return true;
}

void dlgTank::showMeterFactors() {
    ui_->lstMeterFactors->clear();
    for (const book::MeterFactor& factor : meterFactors_) {
        ui_->lstMeterFactors->addItem(
            tr("from %1: %2 %3")
                .arg(QString::fromStdString(factor.from),
                     (factor.value > 0 ? QStringLiteral("+") : QString()) + generalText(factor.value),
                     QString::fromStdString(std::string(book::meterUnitWord(factor.unit)))));
    }
}

// The line edits in the order of TankField, each with the text it holds.
std::vector<std::pair<QLineEdit*, std::string TankTexts::*>> dlgTank::textFields() const {
    return {{ui_->txtName, &TankTexts::name},
            {ui_->txtHeadDepth, &TankTexts::headDepth},
            {ui_->txtDiameter, &TankTexts::diameter},
            {ui_->txtLength, &TankTexts::length},
            {ui_->txtProduct, &TankTexts::product},
            {ui_->txtCorrectionValue, &TankTexts::correctionValue},
            {ui_->txtSafeFill, &TankTexts::safeFill},
            {ui_->txtOpening, &TankTexts::opening},
            {ui_->txtPercent, &TankTexts::percent},
            {ui_->txtAllowance, &TankTexts::allowance},
            {ui_->txtShortDays, &TankTexts::shortDays},
            {ui_->txtShortTotal, &TankTexts::shortTotal},
            {ui_->txtWaterLimit, &TankTexts::waterLimit},
            {ui_->txtCrown, &TankTexts::crown},
            {ui_->txtKnuckle, &TankTexts::knuckle},
            {ui_->txtReference, &TankTexts::reference}};
}

void dlgTank::showTexts(const TankTexts& texts) {
    for (const auto& [box, member] : textFields()) {
        box->setText(QString::fromStdString(texts.*member));
    }
    ui_->cboOrientation->setCurrentIndex(texts.vertical ? 1 : 0);
    ui_->cboHeads->setCurrentText(QString::fromStdString(texts.heads));
    ui_->cboUnits->setCurrentText(QString::fromStdString(texts.units));
    ui_->cboVolume->setCurrentText(QString::fromStdString(texts.volume));
    ui_->cboCorrection->setCurrentIndex(texts.correction + 1);
    ui_->cboTemperatureUnit->setCurrentIndex(texts.celsius ? 1 : 0);
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
    for (const auto& [box, member] : textFields()) {
        texts.*member = text(box);
    }
    texts.vertical = ui_->cboOrientation->currentIndex() == 1;
    texts.heads = ui_->cboHeads->currentText().toStdString();
    texts.units = ui_->cboUnits->currentText().toStdString();
    texts.volume = ui_->cboVolume->currentText().toStdString();
    texts.calibration = chart_;
    texts.correction = ui_->cboCorrection->currentIndex() - 1;
    texts.celsius = ui_->cboTemperatureUnit->currentIndex() == 1;
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
    ui_->cboSticks->setEnabled(ui_->cboUnits->currentText() == QLatin1String("inches") ||
                               ui_->cboUnits->currentText() == QLatin1String("feet"));
    nameCorrectionValue();
    const TankTexts texts = this->texts();
    const VolumeUnit volume =
        named<VolumeUnit>(kVolumeWords, texts.volume).value_or(VolumeUnit::Gallons);
    TankEntry entry = readTankEntry(texts, userNumberFormat(), book::defaultAllowance(volume));
    const auto fields = textFields();
    for (const auto& field : fields) {
        clearMark(*field.first);
    }
    QStringList problems;
    for (const TankProblem& problem : entry.problems) {
        QLineEdit* field = fields.at(static_cast<std::size_t>(problem.field)).first;
        const QString reason = QString::fromStdString(problem.reason);
        if (!field->text().isEmpty()) {
            markField(*field, reason);
        }
        problems << field->accessibleName() + ": " + reason;
    }
    const auto tank = book::bookTank(entry.settings);
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
    tank_.meterFactors = meterFactors_;
}

}  // namespace brimwell
