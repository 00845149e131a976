#include "bookreport/overshortdrawing.h"

#include <QFontMetricsF>
#include <QObject>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <string>

#include "model/text/numbertext.h"

namespace brimwell::bookreport {
namespace {

constexpr double kLastDay = 31;
constexpr int kMostTicks = 3;      // either side of 0
constexpr double kKeyMark = 18;    // the width of a legend key's mark, before its meaning
constexpr double kScreenDpi = 96;  // the marks' sizes below are in pixels of such a screen

const QColor kBand(0, 140, 0);
const QColor kBandFill(0, 140, 0, 50);
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

// What a drawing works with: the painter, its frame, the font's measures on its device, and
// the size of one screen pixel there.
struct OverShortDrawing::Canvas {
    QPainter& painter;
    QRectF frame;
    QFontMetricsF metrics;
    double px;
    PlotColors colors;
};

struct OverShortDrawing::Scale {
    QRectF area;
    double low = -1;
    double high = 1;

    QPointF at(QPointF value) const {
        const double x = area.left() + (value.x() - 1) / (kLastDay - 1) * area.width();
        const double y = area.bottom() - (value.y() - low) / (high - low) * area.height();
        return {x, y};
    }
};

// The month's points of the fitted line, the largest of them in size returned. The opening's
// point lies before the month's first day, off the axis.
double OverShortDrawing::setFittedLine(const std::string& month,
                                       const std::vector<book::LeakPoint>& fitted) {
    fitted_.clear();
    double extent = 0;
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        if (fitted[i].date.substr(0, 7) != month) {
            continue;
        }
        if (fitted_.empty() || i == 0 || fitted[i].segment != fitted[i - 1].segment) {
            fitted_.emplace_back();
        }
        fitted_.back().emplace_back(dayOfMonth(fitted[i].date), fitted[i].fitted);
        extent = std::max(extent, std::abs(fitted[i].fitted));
    }
    return extent;
}

void OverShortDrawing::setMonth(const book::MonthReport& month,
                                const std::vector<book::Rule>& rules,
                                const std::vector<book::LeakPoint>& fitted) {
    points_.clear();
    bands_.clear();
    deliveryDays_.clear();
    outsideDays_.clear();
    waterDays_.clear();
    double extent = setFittedLine(
        month.days.empty() ? std::string() : month.days.front().date.substr(0, 7), fitted);
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
                if (std::abs(day.cumulative) > limit) {
                    outsideDays_.push_back(band.back().x());
                }
            }
            bands_.push_back(std::move(band));
        }
    }
    std::sort(outsideDays_.begin(), outsideDays_.end());
    outsideDays_.erase(std::unique(outsideDays_.begin(), outsideDays_.end()), outsideDays_.end());
    ticks_ = roundTicks(extent, kMostTicks);
}

QString OverShortDrawing::valueText(double value) const {
    return QString::fromStdString(formatGeneral(value, decimal_.toStdString()));
}

// The legend's keys as they are laid out in rows below the days' title, each at its offset from
// the area's left edge and the legend's top.
struct OverShortDrawing::Legend {
    enum class Mark { Cumulative, Band, Fitted, Delivery, Outside, Water };
    struct Key {
        Mark mark;
        QString meaning;
        QPointF at;
    };
    std::vector<Key> keys;
    int rows = 1;
};

OverShortDrawing::Legend OverShortDrawing::legend(const Canvas& canvas, double width) const {
    using Mark = Legend::Mark;
    Legend legend;
    std::vector<std::pair<Mark, QString>> marks{{Mark::Cumulative, QObject::tr("cumulative")}};
    if (!bands_.empty()) {
        marks.emplace_back(Mark::Band, QObject::tr("allowed"));
    }
    if (!fitted_.empty()) {
        marks.emplace_back(Mark::Fitted, QObject::tr("leak test's line"));
    }
    marks.emplace_back(Mark::Delivery, QObject::tr("delivery"));
    if (!bands_.empty()) {
        marks.emplace_back(Mark::Outside, QObject::tr("outside the band"));
    }
    marks.emplace_back(Mark::Water, QObject::tr("water found"));
    double x = 0;
    for (const auto& [mark, meaning] : marks) {
        const double wide = (kKeyMark + 4) * canvas.px + canvas.metrics.horizontalAdvance(meaning);
        if (x > 0 && x + wide > width) {
            x = 0;
            ++legend.rows;
        }
        legend.keys.push_back(
            {mark, meaning,
             QPointF(x, (legend.rows - 1) * (canvas.metrics.height() + 2 * canvas.px))});
        x += wide + 12 * canvas.px;
    }
    return legend;
}

OverShortDrawing::Scale OverShortDrawing::scale(const Canvas& canvas) const {
    const double px = canvas.px;
    const double line = canvas.metrics.height();
    double widest = 0;
    for (const double tick : ticks_) {
        widest = std::max(widest, canvas.metrics.horizontalAdvance(valueText(tick)));
    }
    Scale scale;
    // Above the area the values' title, left of it the values; below it the days, their title
    // and the legend.
    const double left = widest + 10 * px;
    const double width = std::max(px, canvas.frame.width() - left - 12 * px);
    const int rows = legend(canvas, width).rows;
    const double below = (2 + rows) * (line + 2 * px) + 10 * px;
    const double top = 1.5 * line + 6 * px;
    scale.area = QRectF(canvas.frame.left() + left, canvas.frame.top() + top, width,
                        std::max(px, canvas.frame.height() - top - below));
    scale.low = ticks_.front();
    scale.high = ticks_.back();
    return scale;
}

void OverShortDrawing::drawBands(const Canvas& canvas, const Scale& scale) const {
    QPainter& painter = canvas.painter;
    for (const auto& band : bands_) {
        QPainterPath path;
        for (std::size_t i = 0; i < band.size(); ++i) {
            const QPointF top = scale.at(band[i]);
            i == 0 ? path.moveTo(top) : path.lineTo(top);
        }
        for (std::size_t i = band.size(); i-- > 0;) {
            path.lineTo(scale.at({band[i].x(), -band[i].y()}));
        }
        painter.fillPath(path, kBandFill);
        // The band's edges, so that its limit shows from the first day on.
        painter.setPen(QPen(kBand, canvas.px));
        for (const double side : {1.0, -1.0}) {
            for (std::size_t i = 0; i < band.size(); ++i) {
                const double from = i == 0 ? band[i].x() - 0.5 : band[i - 1].x();
                const double fromLimit = i == 0 ? band[i].y() : band[i - 1].y();
                painter.drawLine(scale.at({from, side * fromLimit}),
                                 scale.at({band[i].x(), side * band[i].y()}));
            }
        }
    }
}

void OverShortDrawing::drawAxes(const Canvas& canvas, const Scale& scale) const {
    QPainter& painter = canvas.painter;
    const double px = canvas.px;
    const double line = canvas.metrics.height();
    for (const double value : ticks_) {
        const QPointF at = scale.at({1, value});
        painter.setPen(value == 0 ? QPen(canvas.colors.text, px)
                                  : QPen(canvas.colors.grid, px, Qt::DotLine));
        painter.drawLine(at, scale.at({kLastDay, value}));
        painter.setPen(QPen(canvas.colors.text, px));
        painter.drawText(QRectF(canvas.frame.left(), at.y() - line / 2,
                                scale.area.left() - canvas.frame.left() - 6 * px, line),
                         Qt::AlignRight | Qt::AlignVCenter, valueText(value));
    }
    painter.drawRect(scale.area);
    for (const int day : {1, 8, 15, 22, 29}) {
        const QPointF at = scale.at({static_cast<double>(day), scale.low});
        painter.drawLine(at, at + QPointF(0, 3 * px));
        painter.drawText(QRectF(at.x() - 20 * px, at.y() + 3 * px, 40 * px, line), Qt::AlignCenter,
                         QString::number(day));
    }
    painter.drawText(
        QRectF(scale.area.left(), scale.area.bottom() + line + 5 * px, scale.area.width(), line),
        Qt::AlignCenter, QObject::tr("Day of the month"));
    const QString title = unit_.isEmpty() ? QObject::tr("Cumulative over/short")
                                          : QObject::tr("Cumulative over/short (%1)").arg(unit_);
    painter.drawText(
        QRectF(canvas.frame.left(), canvas.frame.top() + 2 * px, canvas.frame.width(), line),
        Qt::AlignLeft | Qt::AlignVCenter,
        canvas.metrics.elidedText(title, Qt::ElideRight, canvas.frame.width()));
}

// The keys below the days' title: each mark as it is drawn, and its meaning.
void OverShortDrawing::drawLegend(const Canvas& canvas, const Scale& scale) const {
    QPainter& painter = canvas.painter;
    const double px = canvas.px;
    const double line = canvas.metrics.height();
    const QPointF origin(scale.area.left(), scale.area.bottom() + 2 * line + 10 * px);
    for (const Legend::Key& key : legend(canvas, scale.area.width()).keys) {
        const QRectF mark(origin + key.at + QPointF(0, px), QSizeF(kKeyMark * px, line - 2 * px));
        const double middle = mark.center().y();
        switch (key.mark) {
            case Legend::Mark::Cumulative:
                painter.setPen(QPen(canvas.colors.text, 2 * px));
                painter.drawLine(QPointF(mark.left(), middle), QPointF(mark.right(), middle));
                break;
            case Legend::Mark::Band:
                painter.fillRect(mark, kBandFill);
                painter.setPen(QPen(kBand, px));
                painter.drawRect(mark);
                break;
            case Legend::Mark::Fitted:
                painter.setPen(QPen(kFitted, 2 * px, Qt::DashDotLine));
                painter.drawLine(QPointF(mark.left(), middle), QPointF(mark.right(), middle));
                break;
            case Legend::Mark::Delivery:
                painter.setPen(QPen(kDelivery, px, Qt::DashLine));
                painter.drawLine(QPointF(mark.center().x(), mark.top()),
                                 QPointF(mark.center().x(), mark.bottom()));
                break;
            case Legend::Mark::Outside:
                painter.setPen(QPen(kOutside, 2 * px));
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(mark.center(), 5 * px, 5 * px);
                break;
            case Legend::Mark::Water:
                drawWaterMark(canvas, mark.center());
                break;
        }
        painter.setPen(QPen(canvas.colors.text, px));
        painter.drawText(
            QPointF(mark.right() + 4 * px, origin.y() + key.at.y() + canvas.metrics.ascent()),
            key.meaning);
    }
}

void OverShortDrawing::drawWaterMark(const Canvas& canvas, QPointF at) {
    const double px = canvas.px;
    QPainterPath drop;
    drop.moveTo(at + QPointF(0, -5 * px));
    drop.lineTo(at + QPointF(4 * px, 3 * px));
    drop.lineTo(at + QPointF(-4 * px, 3 * px));
    drop.closeSubpath();
    canvas.painter.fillPath(drop, kWater);
}

void OverShortDrawing::drawPoints(const Canvas& canvas, const Scale& scale) const {
    QPainter& painter = canvas.painter;
    const double px = canvas.px;
    painter.setPen(QPen(kDelivery, px, Qt::DashLine));
    for (const double day : deliveryDays_) {
        painter.drawLine(scale.at({day, scale.low}), scale.at({day, scale.high}));
    }
    painter.setPen(QPen(canvas.colors.text, 2 * px));
    for (std::size_t i = 1; i < points_.size(); ++i) {
        painter.drawLine(scale.at(points_[i - 1]), scale.at(points_[i]));
    }
    painter.setBrush(canvas.colors.text);
    for (const QPointF& point : points_) {
        painter.drawEllipse(scale.at(point), 2.5 * px, 2.5 * px);
    }
    painter.setPen(QPen(kOutside, 2 * px));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF& point : points_) {
        if (std::binary_search(outsideDays_.begin(), outsideDays_.end(), point.x())) {
            painter.drawEllipse(scale.at(point), 6 * px, 6 * px);
        }
    }
    for (const double day : waterDays_) {
        drawWaterMark(canvas, scale.at({day, scale.low}) + QPointF(0, -7 * px));
    }
}

void OverShortDrawing::drawFittedLine(const Canvas& canvas, const Scale& scale) const {
    canvas.painter.setPen(QPen(kFitted, 2 * canvas.px, Qt::DashDotLine));
    for (const auto& piece : fitted_) {
        for (std::size_t i = 1; i < piece.size(); ++i) {
            canvas.painter.drawLine(scale.at(piece[i - 1]), scale.at(piece[i]));
        }
    }
}

void OverShortDrawing::paint(QPainter& painter, const QRectF& frame,
                             const PlotColors& colors) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(frame, colors.background);
    const double px = painter.device() ? painter.device()->logicalDpiY() / kScreenDpi : 1.0;
    const Canvas canvas{painter, frame, QFontMetricsF(painter.font(), painter.device()), px,
                        colors};
    const Scale scale = this->scale(canvas);
    drawBands(canvas, scale);
    drawAxes(canvas, scale);
    drawFittedLine(canvas, scale);
    drawPoints(canvas, scale);
    drawLegend(canvas, scale);
    painter.restore();
}

}  // namespace brimwell::bookreport
