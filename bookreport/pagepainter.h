#pragma once

// Draws a document's pages (pagemodel.h) on a paged device: the text lines in the document's
// font at the device's resolution, the tables' columns across the printable width, the plot in
// its place, and every page's footer with its number.

#include <QRectF>
#include <functional>

#include "bookreport/pagemodel.h"

class QPainter;

namespace brimwell::bookreport {

// Draws every page on the painter, whose origin is the printable area's top left and `size`
// the area's size in device units; `newPage` starts each page after the first and says false
// when it cannot. False when a page could not be started.
bool drawDocument(const Document& document, QPainter& painter, const QSizeF& size,
                  const std::function<bool()>& newPage);

}  // namespace brimwell::bookreport
