#include "bookwindow/overshortplot.h"

#include <QPainter>

#include "host/usernumberformat.h"

namespace brimwell {

OverShortPlot::OverShortPlot(QWidget* parent) : QWidget(parent) {
    setAccessibleName(tr("Cumulative over/short plot"));
}

void OverShortPlot::setUnits(const QString& volumeUnit) {
    drawing_.setUnit(volumeUnit);
    update();
}

void OverShortPlot::setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules,
                             const std::vector<book::LeakPoint>& fitted) {
    drawing_.setMonth(month, rules, fitted);
    update();
}

void OverShortPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    drawing_.setDecimal(QString::fromStdString(userNumberFormat().decimal));
    drawing_.paint(painter, QRectF(rect()),
                   {palette().color(QPalette::Text), palette().color(QPalette::Mid),
                    palette().color(QPalette::Base)});
}

}  // namespace brimwell
