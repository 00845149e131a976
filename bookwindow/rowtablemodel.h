#pragma once

// What the book's tables share: rows of one kind, replaced all at once, under fixed headers.

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace brimwell {

template <typename Row>
class RowTableModel : public QAbstractTableModel {
public:
    RowTableModel(QStringList headers, QObject* parent)
        : QAbstractTableModel(parent), headers_(std::move(headers)) {}

    void setRows(std::vector<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    void setRows(std::vector<Row> rows, QStringList headers) {
        beginResetModel();
        rows_ = std::move(rows);
        headers_ = std::move(headers);
        endResetModel();
    }
    const Row& rowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(headers_.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return QAbstractTableModel::headerData(section, orientation, role);
        }
        return headers_.value(section);
    }

protected:
    // The row of an index inside the table, else null.
    const Row* rowOf(const QModelIndex& index) const {
        return index.isValid() && index.row() < rowCount() ? &rowAt(index.row()) : nullptr;
    }

private:
    QStringList headers_;
    std::vector<Row> rows_;
};

}  // namespace brimwell
