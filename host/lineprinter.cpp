#include "host/lineprinter.h"

#include <QPagedPaintDevice>

namespace brimwell {

LinePrinter::LinePrinter(QPagedPaintDevice& device) : device_(device) {}

bool LinePrinter::begin() {
    x_ = 0;
    y_ = 0;
    failed_ = !painter_.begin(&device_);
    return !failed_;
}

QFontMetricsF LinePrinter::metrics() const {
    // Before begin() the painter has no font yet; the device's default is the same one.
    return QFontMetricsF(painter_.isActive() ? painter_.font() : QFont(), &device_);
}

float LinePrinter::textWidth(const QString& text) const {
    return static_cast<float>(metrics().horizontalAdvance(text));
}

float LinePrinter::textHeight(const QString& text) const {
    return static_cast<float>(metrics().height() * static_cast<double>(text.count('\n') + 1));
}

float LinePrinter::pageHeight() const {
    return static_cast<float>(device_.height());
}

void LinePrinter::printLine(const QString& text) {
    if (failed_ || !painter_.isActive()) {
        failed_ = true;
        return;
    }
    const QFontMetricsF m = metrics();
    if (!text.isEmpty()) {
        // QPainter places text by its baseline; the position names the text's top.
        painter_.drawText(QPointF(x_, y_ + m.ascent()), text);
    }
    x_ = 0;
    y_ += static_cast<float>(m.height());
}

void LinePrinter::newPage() {
    if (failed_ || !painter_.isActive() || !device_.newPage()) {
        failed_ = true;
    }
    x_ = 0;
    y_ = 0;
}

bool LinePrinter::end() {
    const bool ended = painter_.isActive() && painter_.end();
    return ended && !failed_;
}

}  // namespace brimwell
