#pragma once

// Reducing a drawing to 256 colours.

#include <QImage>
#include <QList>

namespace brimwell::pictures {

// A colour table of at most 256 entries fitted to the image by median cut.
QList<QRgb> colourTableFor(const QImage& image);

}  // namespace brimwell::pictures
