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
constexpr double kKeyMark = 18;  // the width of a legend key's mark, before its meaning

const QColor kBand(0, 140, 0);
const QColor kDelivery(0, 90, 200);
const QColor kOutside(200, 0, 0);
const QColor kWater(30, 110, 230);
const QColor kFitted(150, 60, 170);

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

void OverShortPlot::setMonth(const book::MonthReport& month, const std::vector<book::Rule>& rules,
                            const std::vector<book::LeakPoint>& fitted) {
    points_.clear();
    fitted_.clear();
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
    // The opening's point lies before the month's first day, off the axis.
    const std::string shown =
        month.days.empty() ? std::string() : month.days.front().date.substr(0, 7);
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        if (fitted[i].date.substr(0, 7) != shown) {
            continue;
        }
        if (fitted_.empty() || i == 0 || fitted[i].segment != fitted[i - 1].segment) {
            fitted_.emplace_back();
        }
        fitted_.back().emplace_back(dayOfMonth(fitted[i].date), fitted[i].fitted);
        extent = std::max(extent, std::abs(fitted[i].fitted));
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

// The legend's keys as they are laid out in rows below the days' title, each at its offset from
// the area's left edge and the legend's top.
struct OverShortPlot::Legend {
    enum class Mark { Cumulative, Band, Fitted, Delivery, Outside, Water };
    struct Key {
        Mark mark;
        QString meaning;
        QPointF at;
    };
    std::vector<Key> keys;
    int rows = 1;
};

OverShortPlot::Legend OverShortPlot::legend(double width) const {
    const QFontMetrics metrics(font());
    using Mark = Legend::Mark;
    Legend legend;
    std::vector<std::pair<Mark, QString>> marks{{Mark::Cumulative, tr("cumulative")}};
    if (!bands_.empty()) {
        marks.emplace_back(Mark::Band, tr("allowed"));
    }
    if (!fitted_.empty()) {
        marks.emplace_back(Mark::Fitted, tr("leak test's line"));
    }
    marks.emplace_back(Mark::Delivery, tr("delivery"));
    if (!bands_.empty()) {
        marks.emplace_back(Mark::Outside, tr("outside the band"));
    }
    marks.emplace_back(Mark::Water, tr("water found"));
    double x = 0;
    for (const auto& [mark, meaning] : marks) {
        const double wide = kKeyMark + 4 + metrics.horizontalAdvance(meaning);
        if (x > 0 && x + wide > width) {
            x = 0;
            ++legend.rows;
        }
        legend.keys.push_back(
            {mark, meaning, QPointF(x, (legend.rows - 1) * (metrics.height() + 2))});
        x += wide + 12;
    }
    return legend;
}

OverShortPlot::Scale OverShortPlot::scale() const {
    const QFontMetrics metrics(font());
    double widest = 0;
    for (const double tick : ticks_) {
        widest = std::max<double>(widest, metrics.horizontalAdvance(generalText(tick)));
    }
    Scale scale;
    // Above the area the values' title, left of it the values; below it the days, their title
    // and the legend.
    const double left = widest + 10;
    const double width = std::max(1.0, this->width() - left - 12);
    const int rows = legend(width).rows;
    const double below = (2 + rows) * (metrics.height() + 2) + 10;
    scale.area = QRectF(left, 1.5 * metrics.height() + 6, width,
                        std::max(1.0, height() - 1.5 * metrics.height() - 6 - below));
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
        painter.drawText(QRectF(0, at.y() - metrics.height() / 2.0, scale.area.left() - 6,
                                metrics.height()),
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
    painter.drawText(QRectF(scale.area.left(), scale.area.bottom() + metrics.height() + 5,
                            scale.area.width(), metrics.height()),
                     Qt::AlignCenter, tr("Day of the month"));
    const QString title = unit_.isEmpty() ? tr("Cumulative over/short")
                                          : tr("Cumulative over/short (%1)").arg(unit_);
    painter.drawText(QRectF(0, 2, width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(title, Qt::ElideRight, width()));
}

// The keys below the days' title: each mark as it is drawn, and its meaning.
void OverShortPlot::drawLegend(QPainter& painter, const Scale& scale) const {
    const QFontMetrics metrics(font());
    const QPointF origin(scale.area.left(), scale.area.bottom() + 2 * metrics.height() + 10);
    for (const Legend::Key& key : legend(scale.area.width()).keys) {
        const QRectF mark(origin + key.at + QPointF(0, 1), QSizeF(kKeyMark, metrics.height() - 2));
        const double middle = mark.center().y();
        switch (key.mark) {
            case Legend::Mark::Cumulative:
                painter.setPen(QPen(palette().color(QPalette::Text), 2));
                painter.drawLine(QPointF(mark.left(), middle), QPointF(mark.right(), middle));
                break;
            case Legend::Mark::Band:
                painter.fillRect(mark, QColor(kBand.red(), kBand.green(), kBand.blue(), 50));
                painter.setPen(kBand);
                painter.drawRect(mark);
                break;
            case Legend::Mark::Fitted:
                painter.setPen(QPen(kFitted, 2, Qt::DashDotLine));
                painter.drawLine(QPointF(mark.left(), middle), QPointF(mark.right(), middle));
                break;
            case Legend::Mark::Delivery:
                painter.setPen(QPen(kDelivery, 1, Qt::DashLine));
                painter.drawLine(QPointF(mark.center().x(), mark.top()),
                                 QPointF(mark.center().x(), mark.bottom()));
                break;
            case Legend::Mark::Outside:
                painter.setPen(QPen(kOutside, 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(mark.center(), 5, 5);
                break;
            case Legend::Mark::Water:
                drawWaterMark(painter, mark.center());
                break;
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPointF(mark.right() + 4, origin.y() + key.at.y() + metrics.ascent()),
                         key.meaning);
    }
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
    painter.setPen(QPen(kFitted, 2, Qt::DashDotLine));
    for (const auto& piece : fitted_) {
        for (std::size_t i = 1; i < piece.size(); ++i) {
            painter.drawLine(scale.at(piece[i - 1]), scale.at(piece[i]));
        }
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
