#pragma once

// The month's cumulative over/short day by day against the band each percent rule allows on
// the flow-through so far, deliveries marked. Drawn with QPainter.

#include <QPointF>
#include <QWidget>
#include <vector>

#include "book/reconcile.h"

namespace brimwell {

class OverShortPlot : public QWidget {
    Q_OBJECT

public:
    explicit OverShortPlot(QWidget* parent = nullptr);

    void setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules);

    // In the month's figures: x the day of the month, y the cumulative over/short.
    const std::vector<QPointF>& points() const { return points_; }
    // Each percent rule's allowed variance on each day, as (day, limit); the band is ±limit.
    const std::vector<std::vector<QPointF>>& bands() const { return bands_; }
    const std::vector<double>& deliveryDays() const { return deliveryDays_; }

    QSize sizeHint() const override { return {360, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Scale;
    Scale scale() const;
    void drawAxes(class QPainter& painter, const Scale& scale) const;

    std::vector<QPointF> points_;
    std::vector<std::vector<QPointF>> bands_;
    std::vector<double> deliveryDays_;
};

}  // namespace brimwell
