#pragma once

// The month's cumulative over/short day by day against the band each percent rule allows on
// the flow-through so far: round values on its axes, their titles with the unit, a legend, the
// deliveries as dashed lines, the days outside a band ringed and the days water was found marked
// along the foot. Drawn with QPainter.

#include <QPointF>
#include <QString>
#include <QWidget>
#include <vector>

#include "book/leaktest.h"
#include "book/reconcile.h"

namespace brimwell {

// Round values for an axis from -extent to extent: 0 and steps of 1, 2 or 5 times a power of ten,
// at most `most` of them either side, the outermost at or beyond `extent`.
std::vector<double> roundTicks(double extent, int most);

class OverShortPlot : public QWidget {
    Q_OBJECT

public:
    explicit OverShortPlot(QWidget* parent = nullptr);

    // `fitted`: the leak test's points, whose fitted line is drawn a piece per offset.
    void setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules,
                  const std::vector<book::LeakPoint>& fitted = {});
    // The volume unit the axis is titled with.
    void setUnits(const QString& volumeUnit);

    // In the month's figures: x the day of the month, y the cumulative over/short.
    const std::vector<QPointF>& points() const { return points_; }
    // Each percent rule's allowed variance on each day, as (day, limit); the band is ±limit.
    const std::vector<std::vector<QPointF>>& bands() const { return bands_; }
    const std::vector<double>& deliveryDays() const { return deliveryDays_; }
    // The leak test's fitted line in the month's days, a polyline per offset.
    const std::vector<std::vector<QPointF>>& fittedLine() const { return fitted_; }
    // The days whose cumulative lies outside a band, and those water was found on.
    const std::vector<double>& outsideDays() const { return outsideDays_; }
    const std::vector<double>& waterDays() const { return waterDays_; }
    // The values the vertical axis is labelled at, from its foot to its top.
    const std::vector<double>& ticks() const { return ticks_; }

    QSize sizeHint() const override { return {420, 260}; }
    QSize minimumSizeHint() const override { return {300, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Scale;
    struct Legend;
    Scale scale() const;
    Legend legend(double width) const;
    void drawAxes(class QPainter& painter, const Scale& scale) const;
    void drawLegend(class QPainter& painter, const Scale& scale) const;
    static void drawWaterMark(class QPainter& painter, QPointF at);

    std::vector<QPointF> points_;
    std::vector<std::vector<QPointF>> bands_;
    std::vector<std::vector<QPointF>> fitted_;
    std::vector<double> deliveryDays_;
    std::vector<double> outsideDays_;
    std::vector<double> waterDays_;
    std::vector<double> ticks_{-1, 0, 1};
    QString unit_;
};

}  // namespace brimwell
