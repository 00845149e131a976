#include "bookwindow/bookmodels.h"

#include <QColor>

#include "host/usernumberformat.h"

namespace brimwell {
namespace {

QString optionalVolume(const std::optional<double>& value) {
    return value ? volumeText(*value) : QString();
}

QString marks(const TankSummary& tank) {
    QStringList marks;
    if (tank.monthFailing) {
        marks << QObject::tr("month failing");
    }
    if (tank.waterOver) {
        marks << QObject::tr("water over the limit");
    }
    if (!tank.problem.empty()) {
        marks << QString::fromStdString(tank.problem);
    }
    return marks.join(QStringLiteral("; "));
}

}  // namespace

QString volumeText(double volume) {
    return patternText(volume, "0.00");
}

SiteModel::SiteModel(QObject* parent)
    : RowTableModel(
          {tr("Picture"), tr("Tank"), tr("Product"), tr("Last day"), tr("Level"), tr("Volume"),
           tr("Water"), tr("Net"), tr("Ullage"), tr("Safe-fill room"), tr("Marks")},
          parent) {}

QVariant SiteModel::text(const TankSummary& tank, int column) const {
    const auto& reading = tank.reading;
    if (!reading && column >= Level && column < Marks) {
        return QString();
    }
    switch (column) {
        case Tank:
            return QString::fromStdString(tank.name);
        case Product:
            return QString::fromStdString(tank.product);
        case LastDay:
            return tank.lastDate ? QString::fromStdString(*tank.lastDate) : tr("no day yet");
        case Level:
            return generalText(reading->level);
        case Volume:
            return volumeText(reading->volume);
        case Water:
            return volumeText(reading->water);
        case Net:
            return optionalVolume(reading->net);
        case Ullage:
            return volumeText(reading->ullage);
        case Room:
            return volumeText(reading->safeFillRoom);
        case Marks:
            return marks(tank);
        default:
            return {};
    }
}

QVariant SiteModel::data(const QModelIndex& index, int role) const {
    const TankSummary* row = rowOf(index);
    if (!row) {
        return {};
    }
    const TankSummary& tank = *row;
    if (index.column() == Picture) {
        switch (role) {
            case FillRole:
                return tank.reading ? tank.reading->fill : 0.0;
            case WaterFillRole:
                return tank.reading && tank.reading->waterFill ? *tank.reading->waterFill : 0.0;
            case VerticalRole:
                return tank.vertical;
            case Qt::AccessibleTextRole:
                return tr("Picture of %1").arg(QString::fromStdString(tank.name));
            default:
                return {};
        }
    }
    if (role == Qt::ForegroundRole && index.column() == Marks &&
        (tank.monthFailing || tank.waterOver)) {
        return QColor(Qt::red);
    }
    if (role == Qt::TextAlignmentRole && index.column() >= Level && index.column() < Marks) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return role == Qt::DisplayRole ? text(tank, index.column()) : QVariant();
}

MonthModel::MonthModel(QObject* parent)
    : RowTableModel({tr("Date"), tr("Opening"), tr("Delivered"), tr("Pumped"), tr("Book"),
                     tr("Stick"), tr("Over/short"), tr("Cumulative"), tr("Water"), tr("Notes")},
                    parent) {}

QVariant MonthModel::data(const QModelIndex& index, int role) const {
    const book::DayFigures* row = rowOf(index);
    if (!row) {
        return {};
    }
    const book::DayFigures& day = *row;
    if (role == Qt::TextAlignmentRole && index.column() > Date && index.column() < Notes) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole && index.column() == OverShort && day.overShort < 0) {
        return QColor(Qt::darkRed);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    // The columns from Opening to Cumulative, each a volume.
    static constexpr double book::DayFigures::*kVolumes[] = {
        &book::DayFigures::opening,   &book::DayFigures::delivered, &book::DayFigures::pumped,
        &book::DayFigures::book,      &book::DayFigures::closing,   &book::DayFigures::overShort,
        &book::DayFigures::cumulative};
    if (index.column() >= Opening && index.column() <= Cumulative) {
        return volumeText(day.*kVolumes[index.column() - Opening]);
    }
    switch (index.column()) {
        case Date:
            return QString::fromStdString(day.date);
        case Water:
            return day.water ? generalText(*day.water) : QString();
        case Notes: {
            QStringList notes;
            if (day.corrected) {
                notes << tr("corrected");
            }
            if (day.waterMarked) {
                notes << tr("water over the limit");
            }
            return notes.join(QStringLiteral("; "));
        }
        default:
            return {};
    }
}

}  // namespace brimwell
