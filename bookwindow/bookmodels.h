#pragma once

// The book's table models: the site's tanks with their last readings, a month's days with the
// daily worksheet's columns, and a tank's corrections. Texts in the user's number notation, each
// column's head naming its unit; no arithmetic here.

#include <QCollator>
#include <QSortFilterProxyModel>
#include <vector>

#include "book/reconcile.h"
#include "bookwindow/booksession.h"
#include "bookwindow/rowtablemodel.h"

namespace brimwell {

class SiteModel : public RowTableModel<TankSummary> {
    Q_OBJECT

public:
    enum Column { Picture, Tank, Product, LastDay, Level, Volume, Water, Net, Ullage, Room, Marks };
    // On the Picture column: the level and the water cut as fractions of the tank's height, and
    // whether it stands upright. On every column, SortRole is the value the column sorts by.
    enum Role { FillRole = Qt::UserRole, WaterFillRole, VerticalRole, SortRole };

    explicit SiteModel(QObject* parent);

    // The heads name the tanks' units when they share them; else each figure names its own.
    void setTanks(std::vector<TankSummary> tanks);

    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVariant text(const TankSummary& tank, int column) const;
    QVariant sortValue(const TankSummary& tank, int column) const;

    bool sharedLength_ = true;
    bool sharedVolume_ = true;
};

// The site in the order of a column as a person counts: "Tank 2" before "Tank 10".
class SiteOrder : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit SiteOrder(QObject* parent);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QCollator collator_;
};

// A day of the month: its figures and the sticks they were worked out from.
struct MonthRow {
    book::DayFigures figures;
    double stick = 0;
};

// How a tank writes its figures: its units and its sticks' form.
struct TankUnits {
    LengthUnit length = LengthUnit::Inches;
    VolumeUnit volume = VolumeUnit::Gallons;
    StickForm sticks = StickForm::Decimal;
};

class MonthModel : public RowTableModel<MonthRow> {
    Q_OBJECT

public:
    enum Column {
        Date,
        Opening,
        Delivered,
        Pumped,
        Book,
        Stick,
        Closing,
        OverShort,
        Cumulative,
        Water,
        Initials,
        Notes
    };

    explicit MonthModel(QObject* parent);

    void setMonth(const MonthView& month, const TankUnits& units);
    void clear();

    QVariant data(const QModelIndex& index, int role) const override;

private:
    TankUnits units_;
};

// A correction: when it was made, the day, what it corrected and the values it replaced.
struct HistoryRow {
    QString changedAt;
    QString date;
    QString record;
    QString earlier;
};

class HistoryModel : public RowTableModel<HistoryRow> {
    Q_OBJECT

public:
    enum Column { ChangedAt, Date, Record, Earlier };

    explicit HistoryModel(QObject* parent);

    // The corrections newest first.
    void setHistory(const TankHistory& history, const TankUnits& units);

    QVariant data(const QModelIndex& index, int role) const override;
};

// A volume as the book's tables write it: two decimals in the user's notation.
QString volumeText(double volume);

// A recorded level in the tank's stick form.
QString stickText(double level, const TankUnits& units);

QString unitText(LengthUnit unit);
QString unitText(VolumeUnit unit);

}  // namespace brimwell
