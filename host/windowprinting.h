#pragma once

#include "model/expected.h"

class QMainWindow;

namespace brimwell {

class Host;

// Why nothing was printed; the user hears the same message for both.
enum class PrintFailure {
    NoPrinter,   // no default printer, or one that takes no jobs
    NotPrinted,  // the printer refused or failed the job
};
using PrintResult = Expected<void, PrintFailure>;

inline constexpr const char* kPrintProblemMessage =
    "There was a problem printing.  Please check your printer.";

// Prints a picture of the window's client area in its current state (no title bar, no menu bar)
// on one page of the default printer, with no dialog. The window is never changed.
PrintResult printWindow(QMainWindow& window, Host& host);

}  // namespace brimwell
