#include "bookwindow/overshortplot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <string>

#include "bookwindow/bookmodels.h"

namespace brimwell {
namespace {

constexpr int kMargin = 36;
constexpr double kLastDay = 31;

double dayOfMonth(const std::string& date) {
    return std::stod(date.substr(8, 2));
}

}  // namespace

struct OverShortPlot::Scale {
    QRectF area;
    double low = -1;
    double high = 1;

    QPointF at(QPointF value) const {
        const double x = area.left() + (value.x() - 1) / (kLastDay - 1) * area.width();
        const double y = area.bottom() - (value.y() - low) / (high - low) * area.height();
        return {x, y};
    }
};

OverShortPlot::OverShortPlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 140);
    setAccessibleName(tr("Cumulative over/short plot"));
}

void OverShortPlot::setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules) {
    points_.clear();
    bands_.clear();
    deliveryDays_.clear();
    for (const book::DayFigures& day : month.days) {
        points_.emplace_back(dayOfMonth(day.date), day.cumulative);
        if (day.delivered > 0) {
            deliveryDays_.push_back(dayOfMonth(day.date));
        }
    }
    for (const book::Rule& rule : rules) {
        if (const auto* percent = std::get_if<book::PercentRule>(&rule)) {
            std::vector<QPointF> band;
            for (const book::DayFigures& day : month.days) {
                band.emplace_back(dayOfMonth(day.date),
                                  book::percentLimit(*percent, day.pumpedToDate));
            }
            bands_.push_back(std::move(band));
        }
    }
    update();
}

OverShortPlot::Scale OverShortPlot::scale() const {
    Scale scale;
    scale.area = QRectF(rect()).adjusted(kMargin + 24, 10, -10, -kMargin + 10);
    double extent = 1;
    for (const QPointF& point : points_) {
        extent = std::max(extent, std::abs(point.y()));
    }
    for (const auto& band : bands_) {
        for (const QPointF& point : band) {
            extent = std::max(extent, point.y());
        }
    }
    scale.low = -extent * 1.1;
    scale.high = extent * 1.1;
    return scale;
}

void OverShortPlot::drawAxes(QPainter& painter, const Scale& scale) const {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(scale.area);
    painter.drawLine(scale.at({1, 0}), scale.at({kLastDay, 0}));
    const QFontMetrics metrics(font());
    for (const double value : {scale.low, 0.0, scale.high}) {
        const QString label = volumeText(value);
        const QPointF at = scale.at({1, value});
        painter.drawText(
            QRectF(0, at.y() - metrics.height() / 2.0, scale.area.left() - 4, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, label);
    }
    for (const int day : {1, 8, 15, 22, 29}) {
        const QPointF at = scale.at({static_cast<double>(day), scale.low});
        painter.drawText(QRectF(at.x() - 20, at.y() + 2, 40, metrics.height()), Qt::AlignCenter,
                         QString::number(day));
    }
}

void OverShortPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const Scale scale = this->scale();
    QColor bandColor(0, 140, 0, 50);
    for (const auto& band : bands_) {
        QPainterPath path;
        for (std::size_t i = 0; i < band.size(); ++i) {
            const QPointF top = scale.at(band[i]);
            i == 0 ? path.moveTo(top) : path.lineTo(top);
        }
        for (std::size_t i = band.size(); i-- > 0;) {
            path.lineTo(scale.at({band[i].x(), -band[i].y()}));
        }
        painter.fillPath(path, bandColor);
        // The band's edges, so that its limit shows from the first day on.
        painter.setPen(QPen(QColor(0, 140, 0), 1));
        for (const double side : {1.0, -1.0}) {
            for (std::size_t i = 0; i < band.size(); ++i) {
                const double from = i == 0 ? band[i].x() - 0.5 : band[i - 1].x();
                const double fromLimit = i == 0 ? band[i].y() : band[i - 1].y();
                painter.drawLine(scale.at({from, side * fromLimit}),
                                 scale.at({band[i].x(), side * band[i].y()}));
            }
        }
    }
    drawAxes(painter, scale);
    painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
    for (const double day : deliveryDays_) {
        painter.drawLine(scale.at({day, scale.low}), scale.at({day, scale.high}));
    }
    painter.setPen(QPen(palette().color(QPalette::Text), 2));
    for (std::size_t i = 1; i < points_.size(); ++i) {
        painter.drawLine(scale.at(points_[i - 1]), scale.at(points_[i]));
    }
    painter.setBrush(palette().color(QPalette::Text));
    for (const QPointF& point : points_) {
        painter.drawEllipse(scale.at(point), 2.5, 2.5);
    }
}

}  // namespace brimwell
