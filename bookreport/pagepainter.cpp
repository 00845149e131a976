#include "bookreport/pagepainter.h"

#include <QFontMetricsF>
#include <QObject>
#include <QPainter>
#include <numeric>

#include "bookreport/overshortdrawing.h"

namespace brimwell::bookreport {
namespace {

using Kind = Line::Kind;

constexpr double kLineSpacing = 1.15;  // a text line's height over the font's line spacing
constexpr double kFooterLines = 2;
const QColor kMarkedRow(225, 225, 225);
const QColor kRowRule(190, 190, 190);

class PageDrawer {
public:
    PageDrawer(const Document& document, QPainter& painter, const QSizeF& size)
        : document_(document), painter_(painter), size_(size) {
        font_.setPointSizeF(document.fontPoints);
        painter_.setFont(font_);
        const QFontMetricsF metrics(font_, painter_.device());
        line_ = metrics.lineSpacing() * kLineSpacing;
        pad_ = metrics.horizontalAdvance(QLatin1Char('0')) / 2;
    }

    double room() const { return (size_.height() - kFooterLines * line_) / line_; }

    void drawPage(const Page& page, int number, int count) {
        const Section& section = document_.sections[page.section];
        double y = 0;
        if (page.repeatedHead >= 0) {
            y += drawLine(section, section.lines[static_cast<std::size_t>(page.repeatedHead)], y);
        }
        for (std::size_t i = page.first; i < page.last; ++i) {
            y += drawLine(section, section.lines[i], y);
        }
        drawFooter(section, number, count);
    }

private:
    QFont styled(double scale, bool bold) const {
        QFont font = font_;
        font.setPointSizeF(document_.fontPoints * scale);
        font.setBold(bold);
        return font;
    }

    // The left edges of the table's columns, and the right edge last.
    std::vector<double> edges(const std::vector<Column>& columns) const {
        const double total =
            std::accumulate(columns.begin(), columns.end(), 0.0,
                            [](double sum, const Column& c) { return sum + c.width; });
        std::vector<double> at{0};
        for (const Column& column : columns) {
            at.push_back(at.back() + column.width / total * size_.width());
        }
        return at;
    }

    double drawLine(const Section& section, const Line& line, double y) {
        const double height = heightOf(document_, line) * line_;
        const QRectF box(0, y, size_.width(), height);
        const QString text = line.cells.isEmpty() ? QString() : line.cells.front();
        switch (line.kind) {
            case Kind::Title:
                drawText(box, text, styled(1.4, true), Qt::AlignLeft | Qt::AlignVCenter);
                break;
            case Kind::Heading:
                drawText(box, text, styled(1.1, true), Qt::AlignLeft | Qt::AlignBottom);
                break;
            case Kind::Text:
                drawText(box, text, font_, Qt::AlignLeft | Qt::AlignVCenter);
                break;
            case Kind::TableHead:
                drawHead(section.tables.at(static_cast<std::size_t>(line.table)), box);
                break;
            case Kind::Row:
                drawRow(section.tables.at(static_cast<std::size_t>(line.table)), line, box);
                break;
            case Kind::Plot:
                if (section.plot) {
                    section.plot->paint(painter_, box.adjusted(0, 0, -size_.width() / 3, 0), {});
                }
                break;
            case Kind::Signature:
                drawSignature(line, box);
                break;
            case Kind::Space:
                break;
        }
        return height;
    }

    // A text longer than its box ends in an ellipsis, so that a cut is seen as one.
    void drawText(const QRectF& box, const QString& text, const QFont& font, int flags) {
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        const QFontMetricsF metrics(font, painter_.device());
        painter_.drawText(box, flags | Qt::TextSingleLine,
                          metrics.elidedText(text, Qt::ElideRight, box.width()));
        painter_.setFont(font_);
    }

    void drawHead(const std::vector<Column>& columns, const QRectF& box) {
        const std::vector<double> at = edges(columns);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Column& column = columns[i];
            const QRectF cell(at[i] + pad_, box.top(), at[i + 1] - at[i] - 2 * pad_, line_);
            const int align = (column.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            drawText(cell, column.key, styled(1, true), align);
            const QStringList head = column.head.split(QLatin1Char('\n'));
            for (int part = 0; part < head.size(); ++part) {
                drawText(cell.translated(0, (part + 1) * line_), head[part], font_, align);
            }
            if (!column.unit.isEmpty()) {
                drawText(cell.translated(0, 3 * line_), "(" + column.unit + ")", font_, align);
            }
        }
        painter_.setPen(QPen(Qt::black, 0));
        painter_.drawLine(QPointF(0, box.bottom()), QPointF(size_.width(), box.bottom()));
    }

    void drawRow(const std::vector<Column>& columns, const Line& line, const QRectF& box) {
        if (line.marked) {
            painter_.fillRect(box, kMarkedRow);
        }
        const std::vector<double> at = edges(columns);
        for (std::size_t i = 0;
             i < columns.size() && i < static_cast<std::size_t>(line.cells.size()); ++i) {
            const QRectF cell(at[i] + pad_, box.top(), at[i + 1] - at[i] - 2 * pad_, box.height());
            drawText(cell, line.cells[static_cast<int>(i)], font_,
                     (columns[i].number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        // Ruled like a paper form, so that a blank row can be written in column by column.
        painter_.setPen(QPen(kRowRule, 0));
        painter_.drawLine(QPointF(0, box.bottom()), QPointF(size_.width(), box.bottom()));
        for (std::size_t i = 1; i + 1 < at.size(); ++i) {
            painter_.drawLine(QPointF(at[i], box.top()), QPointF(at[i], box.bottom()));
        }
    }

    // Each label with a line to sign or write on after it, side by side.
    void drawSignature(const Line& line, const QRectF& box) {
        const double width = size_.width() / 2;
        for (int i = 0; i < line.cells.size(); ++i) {
            const QRectF field(i * width, box.top(), width - 4 * pad_, box.height());
            drawText(field, line.cells[i] + QLatin1Char(':'), font_,
                     Qt::AlignLeft | Qt::AlignBottom);
            const double start = field.left() + painter_.fontMetrics().horizontalAdvance(
                                                    line.cells[i] + QStringLiteral(": "));
            painter_.setPen(QPen(Qt::black, 0));
            painter_.drawLine(QPointF(start, field.bottom()),
                              QPointF(field.right(), field.bottom()));
        }
    }

    void drawFooter(const Section& section, int number, int count) {
        const QRectF box(0, size_.height() - line_, size_.width(), line_);
        painter_.setPen(QPen(Qt::black, 0));
        painter_.drawLine(QPointF(0, box.top() - line_ / 3),
                          QPointF(size_.width(), box.top() - line_ / 3));
        const QFont small = styled(0.9, false);
        drawText(box, document_.footer + QStringLiteral("; ") + section.footer, small,
                 Qt::AlignLeft | Qt::AlignVCenter);
        drawText(box, QObject::tr("page %1 of %2").arg(number).arg(count), small,
                 Qt::AlignRight | Qt::AlignVCenter);
    }

    const Document& document_;
    QPainter& painter_;
    QSizeF size_;
    QFont font_;
    double line_ = 1;
    double pad_ = 0;
};

}  // namespace

bool drawDocument(const Document& document, QPainter& painter, const QSizeF& size,
                  const std::function<bool()>& newPage) {
    PageDrawer drawer(document, painter, size);
    const std::vector<Page> pages = paginate(document, drawer.room());
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !newPage()) {
            return false;
        }
        drawer.drawPage(pages[static_cast<std::size_t>(i)], i + 1, count);
    }
    return true;
}

}  // namespace brimwell::bookreport
