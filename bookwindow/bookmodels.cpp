#include "bookwindow/bookmodels.h"

#include <QColor>
#include <algorithm>
#include <limits>

#include "host/usernumberformat.h"

namespace brimwell {
namespace {

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

// "Volume" over "(gallons)", or "Volume" alone when each figure names its unit; the unit on a
// line of its own keeps the columns narrow.
QString head(const QString& name, bool shared, const QString& unit) {
    return shared && !unit.isEmpty() ? name + "\n(" + unit + ")" : name;
}

// A light red behind a tank or a day that fails, beside its mark in words.
const QColor kFailing(255, 215, 215);

}  // namespace

QString volumeText(double volume) {
    return patternText(volume, "0.00");
}

QString stickText(double level, const TankUnits& units) {
    return QString::fromStdString(
        userStickText(level, units.length, units.sticks, userNumberFormat()));
}

QString unitText(LengthUnit unit) {
    return QString::fromStdString(std::string(unitWord(unit)));
}

QString unitText(VolumeUnit unit) {
    return QString::fromStdString(std::string(unitWord(unit)));
}

SiteModel::SiteModel(QObject* parent) : RowTableModel({}, parent) {
    setTanks({});
}

void SiteModel::setTanks(std::vector<TankSummary> tanks) {
    const auto sameLength = [&](const TankSummary& tank) {
        return tank.lengthUnit == tanks.front().lengthUnit;
    };
    const auto sameVolume = [&](const TankSummary& tank) {
        return tank.volumeUnit == tanks.front().volumeUnit;
    };
    sharedLength_ = tanks.empty() || std::all_of(tanks.begin(), tanks.end(), sameLength);
    sharedVolume_ = tanks.empty() || std::all_of(tanks.begin(), tanks.end(), sameVolume);
    const QString length = tanks.empty() ? QString() : unitText(tanks.front().lengthUnit);
    const QString volume = tanks.empty() ? QString() : unitText(tanks.front().volumeUnit);
    QStringList headers{tr("Picture"), tr("Tank"), tr("Product"), tr("Last day"),
                        head(tr("Level"), sharedLength_, length)};
    for (const QString& name :
         {tr("Volume"), tr("Water"), tr("Net"), tr("Ullage"), tr("Safe-fill room")}) {
        headers << head(name, sharedVolume_, volume);
    }
    headers << tr("Marks");
    setRows(std::move(tanks), headers);
}

QVariant SiteModel::text(const TankSummary& tank, int column) const {
    const auto& reading = tank.reading;
    if (!reading && column >= Level && column < Marks) {
        return QString();
    }
    const QString volumeUnit = sharedVolume_ ? QString() : " " + unitText(tank.volumeUnit);
    const auto volume = [&](double value) { return volumeText(value) + volumeUnit; };
    switch (column) {
        case Tank:
            return QString::fromStdString(tank.name);
        case Product:
            return QString::fromStdString(tank.product);
        case LastDay:
            return tank.lastDate ? QString::fromStdString(*tank.lastDate) : tr("no day yet");
        case Level:
            return stickText(reading->level, {tank.lengthUnit, tank.volumeUnit, tank.stickForm}) +
                   (sharedLength_ ? QString() : " " + unitText(tank.lengthUnit));
        case Volume:
            return volume(reading->volume);
        case Water:
            return volume(reading->water);
        case Net:
            return reading->net ? volume(*reading->net) : QString();
        case Ullage:
            return volume(reading->ullage);
        case Room:
            return volume(reading->safeFillRoom);
        case Marks:
            return marks(tank);
        default:
            return {};
    }
}

QVariant SiteModel::sortValue(const TankSummary& tank, int column) const {
    const auto& reading = tank.reading;
    if (column >= Level && column < Marks) {
        if (!reading) {
            return -std::numeric_limits<double>::infinity();
        }
        const double values[] = {reading->level,   reading->volume, reading->water,
                                 reading->net.value_or(-std::numeric_limits<double>::infinity()),
                                 reading->ullage, reading->safeFillRoom};
        return values[column - Level];
    }
    if (column == Picture) {
        return reading ? reading->fill : -1.0;
    }
    if (column == LastDay) {
        return QString::fromStdString(tank.lastDate.value_or(std::string()));
    }
    return text(tank, column);
}

QVariant SiteModel::data(const QModelIndex& index, int role) const {
    const TankSummary* row = rowOf(index);
    if (!row) {
        return {};
    }
    const TankSummary& tank = *row;
    if (role == SortRole) {
        return sortValue(tank, index.column());
    }
    if (role == Qt::BackgroundRole && (tank.monthFailing || tank.waterOver)) {
        return kFailing;
    }
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
        return QColor(Qt::darkRed);
    }
    if (role == Qt::TextAlignmentRole && index.column() >= Level && index.column() < Marks) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return role == Qt::DisplayRole ? text(tank, index.column()) : QVariant();
}

SiteOrder::SiteOrder(QObject* parent) : QSortFilterProxyModel(parent) {
    collator_.setNumericMode(true);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    setSortRole(SiteModel::SortRole);
}

bool SiteOrder::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
        return collator_.compare(a.toString(), b.toString()) < 0;
    }
    return QSortFilterProxyModel::lessThan(left, right);
}

namespace {

QStringList monthHeaders(const TankUnits& units, bool known) {
    const QString volume = unitText(units.volume);
    const QString length = unitText(units.length);
    return {QObject::tr("Date"),
            head(QObject::tr("Opening"), known, volume),
            head(QObject::tr("Delivered"), known, volume),
            head(QObject::tr("Pumped"), known, volume),
            head(QObject::tr("Book inventory"), known, volume),
            head(QObject::tr("Stick"), known, length),
            head(QObject::tr("Product volume"), known, volume),
            head(QObject::tr("Over/short"), known, volume),
            head(QObject::tr("Cumulative"), known, volume),
            head(QObject::tr("Water cut"), known, length),
            QObject::tr("Initials"),
            QObject::tr("Notes")};
}

}  // namespace

MonthModel::MonthModel(QObject* parent) : RowTableModel(monthHeaders({}, false), parent) {}

void MonthModel::setMonth(const MonthView& month, const TankUnits& units) {
    std::vector<MonthRow> rows;
    for (const book::DayFigures& figures : month.report.days) {
        const auto recorded =
            std::find_if(month.days.begin(), month.days.end(),
                         [&](const book::Day& day) { return day.date == figures.date; });
        rows.push_back({figures, recorded != month.days.end() ? recorded->closingLevel : 0});
    }
    units_ = units;
    setRows(std::move(rows), monthHeaders(units, true));
}

void MonthModel::clear() {
    setRows({}, monthHeaders({}, false));
}

QVariant MonthModel::data(const QModelIndex& index, int role) const {
    const MonthRow* row = rowOf(index);
    if (!row) {
        return {};
    }
    const book::DayFigures& day = row->figures;
    if (role == Qt::TextAlignmentRole && index.column() > Date && index.column() < Initials) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole && index.column() == OverShort && day.overShort < 0) {
        return QColor(Qt::darkRed);
    }
    if (role == Qt::BackgroundRole && index.column() == Water && day.waterMarked) {
        return kFailing;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
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
            return stickText(row->stick, units_);
        case Closing:
            return volumeText(day.closing);
        case OverShort:
            return volumeText(day.overShort);
        case Cumulative:
            return volumeText(day.cumulative);
        case Water:
            return day.water ? stickText(*day.water, units_) : QString();
        case Initials:
            return QString::fromStdString(day.initials);
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

namespace {

QString dayValues(const book::Day& day, const TankUnits& units) {
    QStringList values{QObject::tr("stick %1").arg(stickText(day.closingLevel, units))};
    if (day.waterLevel) {
        values << QObject::tr("water %1").arg(stickText(*day.waterLevel, units));
    }
    if (day.temperature) {
        values << QObject::tr("temperature %1").arg(generalText(*day.temperature));
    }
    if (day.pumped) {
        values << QObject::tr("pumped %1").arg(volumeText(*day.pumped));
    }
    if (day.meterOpen && day.meterClose) {
        values << QObject::tr("meters %1 to %2")
                      .arg(generalText(*day.meterOpen), generalText(*day.meterClose));
    }
    if (!day.initials.empty()) {
        values << QObject::tr("read by %1").arg(QString::fromStdString(day.initials));
    }
    return values.join(QStringLiteral("; "));
}

QString deliveryValues(const book::Delivery& delivery, const TankUnits& units) {
    QString bill = QObject::tr("bill %1 %2")
                       .arg(volumeText(delivery.billVolume),
                            delivery.billNet ? QObject::tr("net") : QObject::tr("gross"));
    if (delivery.billTemperature) {
        bill += QObject::tr(" at %1").arg(generalText(*delivery.billTemperature));
    }
    QStringList values{bill, QObject::tr("stick %1 to %2")
                                 .arg(stickText(delivery.levelBefore, units),
                                      stickText(delivery.levelAfter, units))};
    if (delivery.pumpedDuring != 0) {
        values << QObject::tr("pumped during %1").arg(volumeText(delivery.pumpedDuring));
    }
    return values.join(QStringLiteral("; "));
}

}  // namespace

HistoryModel::HistoryModel(QObject* parent)
    : RowTableModel({tr("Changed at (UTC)"), tr("Date"), tr("Record"), tr("Earlier values")},
                    parent) {}

void HistoryModel::setHistory(const TankHistory& history, const TankUnits& units) {
    std::vector<HistoryRow> rows;
    for (const book::DayCorrection& change : history.days) {
        rows.push_back({QString::fromStdString(change.changedAt),
                        QString::fromStdString(change.before.date), tr("day"),
                        dayValues(change.before, units)});
    }
    for (const book::DeliveryCorrection& change : history.deliveries) {
        rows.push_back({QString::fromStdString(change.changedAt),
                        QString::fromStdString(change.date),
                        change.withdrawn ? tr("delivery, withdrawn") : tr("delivery"),
                        deliveryValues(change.before, units)});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const HistoryRow& a, const HistoryRow& b) {
        return a.changedAt > b.changedAt;
    });
    setRows(std::move(rows));
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    const HistoryRow* row = rowOf(index);
    if (!row || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    const QString texts[] = {row->changedAt, row->date, row->record, row->earlier};
    return texts[index.column()];
}

}  // namespace brimwell
