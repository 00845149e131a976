#include "bookwindow/overshortplot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <string>

#include "bookwindow/bookmodels.h"
#include "host/usernumberformat.h"

namespace brimwell {
namespace {

constexpr double kLastDay = 31;
constexpr int kMostTicks = 3;  // either side of 0

const QColor kBand(0, 140, 0);
const QColor kDelivery(0, 90, 200);
const QColor kOutside(200, 0, 0);
const QColor kWater(30, 110, 230);

double dayOfMonth(const std::string& date) {
    return std::stod(date.substr(8, 2));
}

}  // namespace

std::vector<double> roundTicks(double extent, int most) {
    if (!(extent > 0) || !std::isfinite(extent)) {
        extent = 1;
    }
    const double power = std::pow(10.0, std::floor(std::log10(extent / most)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power * most >= extent) {
            step = factor * power;
            break;
        }
    }
    const int count = static_cast<int>(std::ceil(extent / step - 1e-9));
    std::vector<double> ticks;
    for (int i = -count; i <= count; ++i) {
        ticks.push_back(i * step);
    }
    return ticks;
}

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
    setAccessibleName(tr("Cumulative over/short plot"));
}

void OverShortPlot::setUnits(const QString& volumeUnit) {
    unit_ = volumeUnit;
    update();
}

void OverShortPlot::setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules) {
    points_.clear();
    bands_.clear();
    deliveryDays_.clear();
    outsideDays_.clear();
    waterDays_.clear();
    double extent = 0;
    for (const book::DayFigures& day : month.days) {
        const double at = dayOfMonth(day.date);
        points_.emplace_back(at, day.cumulative);
        extent = std::max(extent, std::abs(day.cumulative));
        if (day.delivered > 0) {
            deliveryDays_.push_back(at);
        }
        if (day.water && *day.water > 0) {
            waterDays_.push_back(at);
        }
    }
    for (const book::Rule& rule : rules) {
        if (const auto* percent = std::get_if<book::PercentRule>(&rule)) {
            std::vector<QPointF> band;
            for (const book::DayFigures& day : month.days) {
                const double limit = book::percentLimit(*percent, day.pumpedToDate);
                band.emplace_back(dayOfMonth(day.date), limit);
                extent = std::max(extent, limit);
                if (std::abs(day.cumulative) > limit &&
                    (outsideDays_.empty() || outsideDays_.back() != band.back().x())) {
                    outsideDays_.push_back(band.back().x());
                }
            }
            bands_.push_back(std::move(band));
        }
    }
    std::sort(outsideDays_.begin(), outsideDays_.end());
    outsideDays_.erase(std::unique(outsideDays_.begin(), outsideDays_.end()), outsideDays_.end());
    ticks_ = roundTicks(extent, kMostTicks);
    update();
}

OverShortPlot::Scale OverShortPlot::scale() const {
    const QFontMetrics metrics(font());
    double widest = 0;
    for (const double tick : ticks_) {
        widest = std::max<double>(widest, metrics.horizontalAdvance(generalText(tick)));
    }
    Scale scale;
    // Left of the area the vertical title and the values, below it the days, the axis' title
    // and the legend.
    const double left = metrics.height() + widest + 10;
    const double below = 3 * metrics.height() + 14;
    scale.area = QRectF(rect()).adjusted(left, metrics.height() / 2.0 + 4, -12, -below);
    scale.low = ticks_.front();
    scale.high = ticks_.back();
    return scale;
}

void OverShortPlot::drawAxes(QPainter& painter, const Scale& scale) const {
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::WindowText);
    for (const double value : ticks_) {
        const QPointF at = scale.at({1, value});
        painter.setPen(value == 0 ? QPen(text) : QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
        painter.drawLine(at, scale.at({kLastDay, value}));
        painter.setPen(text);
        painter.drawText(QRectF(metrics.height(), at.y() - metrics.height() / 2.0,
                                scale.area.left() - metrics.height() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, generalText(value));
    }
    painter.setPen(text);
    painter.drawRect(scale.area);
    for (const int day : {1, 8, 15, 22, 29}) {
        const QPointF at = scale.at({static_cast<double>(day), scale.low});
        painter.drawLine(at, at + QPointF(0, 3));
        painter.drawText(QRectF(at.x() - 20, at.y() + 3, 40, metrics.height()), Qt::AlignCenter,
                         QString::number(day));
    }
    painter.drawText(QRectF(scale.area.left(), scale.area.bottom() + metrics.height() + 4,
                            scale.area.width(), metrics.height()),
                     Qt::AlignCenter, tr("Day of the month"));
    // The values' title upright along the left edge, over the whole height when it needs it.
    painter.save();
    painter.translate(0, scale.area.center().y());
    painter.rotate(-90);
    const QString title = unit_.isEmpty() ? tr("Over/short") : tr("Over/short (%1)").arg(unit_);
    const double length = 2 * std::min(scale.area.center().y(), height() - scale.area.center().y());
    painter.drawText(QRectF(-length / 2, 0, length, metrics.height()), Qt::AlignCenter,
                     metrics.elidedText(title, Qt::ElideRight, static_cast<int>(length)));
    painter.restore();
}

// One line of keys below the days' title: each mark as it is drawn, and its meaning.
void OverShortPlot::drawLegend(QPainter& painter, const Scale& scale) const {
    const QFontMetrics metrics(font());
    const double y = scale.area.bottom() + 2 * metrics.height() + 10;
    const double middle = y + metrics.height() / 2.0;
    double x = scale.area.left();
    const auto key = [&](const QString& meaning, const auto& draw) {
        draw(QRectF(x, y + 1, 18, metrics.height() - 2));
        x += 22;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPointF(x, y + metrics.ascent()), meaning);
        x += metrics.horizontalAdvance(meaning) + 12;
    };
    key(tr("cumulative"), [&](const QRectF& at) {
        painter.setPen(QPen(palette().color(QPalette::Text), 2));
        painter.drawLine(QPointF(at.left(), middle), QPointF(at.right(), middle));
    });
    if (!bands_.empty()) {
        key(tr("allowed"), [&](const QRectF& at) {
            painter.fillRect(at, QColor(kBand.red(), kBand.green(), kBand.blue(), 50));
            painter.setPen(kBand);
            painter.drawRect(at);
        });
    }
    key(tr("delivery"), [&](const QRectF& at) {
        painter.setPen(QPen(kDelivery, 1, Qt::DashLine));
        painter.drawLine(QPointF(at.center().x(), at.top()), QPointF(at.center().x(), at.bottom()));
    });
    key(tr("outside"), [&](const QRectF& at) {
        painter.setPen(QPen(kOutside, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at.center(), 5, 5);
    });
    key(tr("water found"), [&](const QRectF& at) { drawWaterMark(painter, at.center()); });
}

void OverShortPlot::drawWaterMark(QPainter& painter, QPointF at) {
    QPainterPath drop;
    drop.moveTo(at + QPointF(0, -5));
    drop.lineTo(at + QPointF(4, 3));
    drop.lineTo(at + QPointF(-4, 3));
    drop.closeSubpath();
    painter.fillPath(drop, kWater);
}

void OverShortPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const Scale scale = this->scale();
    QColor bandColor(kBand.red(), kBand.green(), kBand.blue(), 50);
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
        painter.setPen(QPen(kBand, 1));
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
    painter.setPen(QPen(kDelivery, 1, Qt::DashLine));
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
    painter.setPen(QPen(kOutside, 2));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF& point : points_) {
        if (std::binary_search(outsideDays_.begin(), outsideDays_.end(), point.x())) {
            painter.drawEllipse(scale.at(point), 6, 6);
        }
    }
    for (const double day : waterDays_) {
        drawWaterMark(painter, scale.at({day, scale.low}) + QPointF(0, -7));
    }
    drawLegend(painter, scale);
}

}  // namespace brimwell
