#include "bookwindow/bookmodels.h"

#include <QColor>
#include <algorithm>

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

namespace {

// The levels' headers name their unit: "Stick (inches)".
QStringList monthHeaders(const QString& lengthUnit) {
    const QString unit = lengthUnit.isEmpty() ? QString() : " (" + lengthUnit + ")";
    return {QObject::tr("Date"),       QObject::tr("Opening"),        QObject::tr("Delivered"),
            QObject::tr("Pumped"),     QObject::tr("Book inventory"), QObject::tr("Stick") + unit,
            QObject::tr("Product volume"), QObject::tr("Over/short"), QObject::tr("Cumulative"),
            QObject::tr("Water cut") + unit, QObject::tr("Notes")};
}

}  // namespace

MonthModel::MonthModel(QObject* parent) : RowTableModel(monthHeaders({}), parent) {}

void MonthModel::setMonth(const MonthView& month, const QString& lengthUnit) {
    std::vector<MonthRow> rows;
    for (const book::DayFigures& figures : month.report.days) {
        const auto recorded =
            std::find_if(month.days.begin(), month.days.end(),
                         [&](const book::Day& day) { return day.date == figures.date; });
        rows.push_back({figures, recorded != month.days.end() ? recorded->closingLevel : 0});
    }
    setRows(std::move(rows), monthHeaders(lengthUnit));
}

void MonthModel::clear() {
    setRows({}, monthHeaders({}));
}

QVariant MonthModel::data(const QModelIndex& index, int role) const {
    const MonthRow* row = rowOf(index);
    if (!row) {
        return {};
    }
    const book::DayFigures& day = row->figures;
    if (role == Qt::TextAlignmentRole && index.column() > Date && index.column() < Notes) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole && index.column() == OverShort && day.overShort < 0) {
        return QColor(Qt::darkRed);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case Date:
            return QString::fromStdString(day.date);
        case Opening:
            return volumeText(day.opening);
        case Delivered:
            return volumeText(day.delivered);
        case Pumped:
            return volumeText(day.pumped);
        case Book:
            return volumeText(day.book);
        case Stick:
            return generalText(row->stick);
        case Closing:
            return volumeText(day.closing);
        case OverShort:
            return volumeText(day.overShort);
        case Cumulative:
            return volumeText(day.cumulative);
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
