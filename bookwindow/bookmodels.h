#pragma once

// The book's table models: the site's tanks with their last readings, and a month's days with
// the daily worksheet's columns. Texts in the user's number notation; no arithmetic here.

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
    // whether it stands upright.
    enum Role { FillRole = Qt::UserRole, WaterFillRole, VerticalRole };

    explicit SiteModel(QObject* parent);

    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVariant text(const TankSummary& tank, int column) const;
};

// A day of the month: its figures and the closing stick they were worked out from.
struct MonthRow {
    book::DayFigures figures;
    double stick = 0;
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
        Notes
    };

    explicit MonthModel(QObject* parent);

    // The month's days, the levels' headers naming `lengthUnit` ("inches").
    void setMonth(const MonthView& month, const QString& lengthUnit);
    void clear();

    QVariant data(const QModelIndex& index, int role) const override;
};

// A volume as the book's tables write it: two decimals in the user's notation.
QString volumeText(double volume);

}  // namespace brimwell
