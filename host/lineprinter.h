#pragma once

// A printer with a current position: printing a line draws it at (x, y), sets x back to 0 and
// moves y down one line height of the current font. Positions are in the printer's own units
// from the top left corner of its printable area.
namespace brimwell {
class LinePrinter;
}
