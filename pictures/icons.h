#pragma once

// The application icons: a list of filled shapes on a 256x256 square, so that one drawing gives
// both the SVG file and the PNG files.

#include <QColor>
#include <QDir>
#include <QGradient>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <vector>

namespace brimwell::pictures {

struct IconShape {
    QPainterPath path;
    QColor colour;
    QGradientStops stops;  // when not empty, a linear gradient from `from` to `to` instead
    QPointF from, to;
};

// Brimwell's icon: a vertical tank two thirds full.
std::vector<IconShape> iconShapes();

// The tank book's icon: a bound ledger whose label shows a tank two thirds full over the ruled
// lines of the daily worksheet.
std::vector<IconShape> bookIconShapes();

// Writes name.svg and name-SIZE.png at the sizes of the desktop's icon theme into `out`; false,
// with the file named on standard error, when one cannot be written.
bool writeIcon(const QDir& out, const QString& name, const std::vector<IconShape>& shapes);

}  // namespace brimwell::pictures
