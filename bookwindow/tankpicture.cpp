#include "bookwindow/tankpicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "bookwindow/bookmodels.h"

namespace brimwell {

void paintTank(QPainter& painter, const QRectF& area, double fill, double water, bool vertical) {
    const QRectF body = vertical ? QRectF(0, 0, area.height() * 0.7, area.height())
                                 : QRectF(0, 0, area.width(), area.height());
    QRectF shell = body;
    shell.moveCenter(area.center());
    const double radius = vertical ? 3 : shell.height() / 2;
    QPainterPath outline;
    outline.addRoundedRect(shell, radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline, QColor(235, 235, 235));
    painter.setClipPath(outline);
    const auto band = [&](double from, double to, const QColor& colour) {
        const double top = shell.bottom() - std::clamp(to, 0.0, 1.0) * shell.height();
        const double bottom = shell.bottom() - std::clamp(from, 0.0, 1.0) * shell.height();
        painter.fillRect(QRectF(shell.left(), top, shell.width(), bottom - top), colour);
    };
    band(0, fill, QColor(230, 170, 40));
    band(0, std::min(water, fill), QColor(60, 120, 220));
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawPath(outline);
    painter.restore();
}

void TankPictureDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, QModelIndex());
    const QRectF area = QRectF(option.rect).adjusted(4, 2, -4, -2);
    paintTank(*painter, area, index.data(SiteModel::FillRole).toDouble(),
              index.data(SiteModel::WaterFillRole).toDouble(),
              index.data(SiteModel::VerticalRole).toBool());
}

QSize TankPictureDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {60, kRowHeight};
}

}  // namespace brimwell
