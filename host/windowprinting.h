#pragma once

class QMainWindow;

namespace brimwell {

class Host;

inline constexpr const char* kPrintProblemMessage =
    "There was a problem printing.  Please check your printer.";

// Prints a picture of the window's client area in its current state (no title bar, no menu bar)
// on one page of the default printer, with no dialog. On any failure (no default printer, a
// printer that is not ready, a refused job) shows the printing problem message once. Returns
// true when the page went to the printer. The window is never changed.
bool printWindow(QMainWindow& window, Host& host);

}  // namespace brimwell
