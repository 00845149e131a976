#pragma once

// The month's cumulative over/short day by day against the band each percent rule allows on
// the flow-through so far: round values on its axes, their titles with the unit, a legend, the
// deliveries as dashed lines, the days outside a band ringed, the days water was found marked
// along the foot, and the leak test's fitted line. Drawn with QPainter in any rectangle of any device: the window's plot and the
// printed page draw it alike, its marks sized for the device's resolution.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "book/leaktest.h"
#include "book/reconcile.h"

class QPainter;

namespace brimwell::bookreport {

// Round values for an axis from -extent to extent: 0 and steps of 1, 2 or 5 times a power of ten,
// at most `most` of them either side, the outermost at or beyond `extent`.
std::vector<double> roundTicks(double extent, int most);

struct PlotColors {
    QColor text = Qt::black;
    QColor grid = Qt::gray;
    QColor background = Qt::white;
};

class OverShortDrawing {
public:
    // `fitted`: the leak test's points, whose fitted line is drawn a piece per offset.
    void setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules,
                  const std::vector<book::LeakPoint>& fitted = {});
    // The volume unit the axis is titled with.
    void setUnit(const QString& volumeUnit) { unit_ = volumeUnit; }
    // The decimal separator of the axis' values.
    void setDecimal(const QString& decimal) { decimal_ = decimal; }

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

    // Draws the plot in `frame` with the painter's font.
    void paint(QPainter& painter, const QRectF& frame, const PlotColors& colors) const;

private:
    struct Scale;
    struct Legend;
    struct Canvas;
    Scale scale(const Canvas& canvas) const;
    Legend legend(const Canvas& canvas, double width) const;
    void drawBands(const Canvas& canvas, const Scale& scale) const;
    void drawAxes(const Canvas& canvas, const Scale& scale) const;
    void drawLegend(const Canvas& canvas, const Scale& scale) const;
    void drawPoints(const Canvas& canvas, const Scale& scale) const;
    void drawFittedLine(const Canvas& canvas, const Scale& scale) const;
    double setFittedLine(const std::string& month, const std::vector<book::LeakPoint>& fitted);
    static void drawWaterMark(const Canvas& canvas, QPointF at);
    QString valueText(double value) const;

    std::vector<QPointF> points_;
    std::vector<std::vector<QPointF>> bands_;
    std::vector<std::vector<QPointF>> fitted_;
    std::vector<double> deliveryDays_;
    std::vector<double> outsideDays_;
    std::vector<double> waterDays_;
    std::vector<double> ticks_{-1, 0, 1};
    QString unit_;
    QString decimal_ = QStringLiteral(".");
};

}  // namespace brimwell::bookreport
