#pragma once

// A tank drawn filled to its level, water at the bottom, in the site's table. The suite's tank
// pictures come in seven fills only; the site draws the level where it stands.

#include <QStyledItemDelegate>

namespace brimwell {

class TankPictureDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A site's row, low enough for a score of tanks to show on a laptop's screen.
    static constexpr int kRowHeight = 30;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Paints a tank in `area` filled to `fill` of its height, `water` of it water.
void paintTank(QPainter& painter, const QRectF& area, double fill, double water, bool vertical);

}  // namespace brimwell
