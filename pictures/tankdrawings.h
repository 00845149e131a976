#pragma once

// The three tanks of the tank pictures, each drawn at a fill of 0 to 100 per cent on a painter
// that works in the pictures' logical units, 120x75.

class QPainter;

namespace brimwell::pictures {

// Horizontal steel tank with flat ends, seen from the side, with a gauge probe.
void drawFlatEnded(QPainter& p, int percent);

// Horizontal fiberglass tank with hemispherical ends and stiffening ribs, with a gauge probe.
void drawCylindrical(QPainter& p, int percent);

// Vertical aboveground tank standing on a concrete footing, with a pipe and valve at its foot.
void drawVertical(QPainter& p, int percent);

}  // namespace brimwell::pictures
