#pragma once

#include <QFontMetricsF>
#include <QPainter>
#include <QString>

class QPagedPaintDevice;

namespace brimwell {

// A printer with a current position, in the device's own units from the top left corner of its
// printable area, y growing downwards, in the device's default font. Printing a line draws it
// with its top at (x, y), then sets x back to 0 and moves y down one line height; printing an
// empty line only moves y down. Measures are single precision, as the layouts built on it use.
//
// A failure along the way (the document cannot start, a page cannot be added) is remembered and
// makes end() report false; printing after a failure does nothing.
class LinePrinter {
public:
    explicit LinePrinter(QPagedPaintDevice& device);

    // Starts the document at (0, 0); false when the device cannot print.
    bool begin();

    float textWidth(const QString& text) const;
    // One line height for each line of the text.
    float textHeight(const QString& text) const;
    // The height of the printable area.
    float pageHeight() const;

    float x() const { return x_; }
    float y() const { return y_; }
    void setX(float x) { x_ = x; }
    void setY(float y) { y_ = y; }

    void printLine(const QString& text);
    // Ends the page; the position moves to the top left corner of the next one.
    void newPage();
    // Ends the document, which hands it to the print system. False if anything failed.
    bool end();

private:
    QFontMetricsF metrics() const;

    QPagedPaintDevice& device_;
    QPainter painter_;
    float x_ = 0;
    float y_ = 0;
    bool failed_ = false;
};

}  // namespace brimwell
