#pragma once

// The window's plot of the month's cumulative over/short: the drawing the printed report makes
// too (bookreport/overshortdrawing.h), in the window's palette and font.

#include <QString>
#include <QWidget>
#include <vector>

#include "book/leaktest.h"
#include "book/reconcile.h"
#include "bookreport/overshortdrawing.h"

namespace brimwell {

class OverShortPlot : public QWidget {
    Q_OBJECT

public:
    explicit OverShortPlot(QWidget* parent = nullptr);

    // `fitted`: the leak test's points, whose fitted line is drawn a piece per offset.
    void setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules,
                  const std::vector<book::LeakPoint>& fitted = {});
    // The volume unit the axis is titled with.
    void setUnits(const QString& volumeUnit);

    // What the plot shows, in the month's figures (see OverShortDrawing).
    const std::vector<QPointF>& points() const { return drawing_.points(); }
    const std::vector<std::vector<QPointF>>& bands() const { return drawing_.bands(); }
    const std::vector<double>& deliveryDays() const { return drawing_.deliveryDays(); }
    const std::vector<std::vector<QPointF>>& fittedLine() const { return drawing_.fittedLine(); }
    const std::vector<double>& outsideDays() const { return drawing_.outsideDays(); }
    const std::vector<double>& waterDays() const { return drawing_.waterDays(); }
    const std::vector<double>& ticks() const { return drawing_.ticks(); }

    QSize sizeHint() const override { return {420, 260}; }
    QSize minimumSizeHint() const override { return {300, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bookreport::OverShortDrawing drawing_;
};

}  // namespace brimwell
