#pragma once

// The book's table models: the site's tanks with their last readings, and a month's days with
// the daily worksheet's columns. Texts in the user's number notation; no arithmetic here.

#include <QAbstractTableModel>
#include <vector>

#include "book/reconcile.h"
#include "bookwindow/booksession.h"

namespace brimwell {

class SiteModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Picture, Tank, Product, LastDay, Level, Volume, Water, Net, Ullage, Room, Marks };
    // On the Picture column: the level and the water cut as fractions of the tank's height, and
    // whether it stands upright.
    enum Role { FillRole = Qt::UserRole, WaterFillRole, VerticalRole };

    using QAbstractTableModel::QAbstractTableModel;

    void setTanks(std::vector<TankSummary> tanks);
    const TankSummary& tankAt(int row) const { return tanks_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant text(const TankSummary& tank, int column) const;

    std::vector<TankSummary> tanks_;
};

class MonthModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Date,
        Opening,
        Delivered,
        Pumped,
        Book,
        Stick,
        OverShort,
        Cumulative,
        Water,
        Notes
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setMonth(std::vector<book::DayFigures> days);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<book::DayFigures> days_;
};

// A volume as the book's tables write it: two decimals in the user's notation.
QString volumeText(double volume);

}  // namespace brimwell
