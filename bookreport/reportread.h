#pragma once

// A tank's month as its printed report needs it, read from the book in one read transaction.

#include <string>
#include <vector>

#include "book/store.h"
#include "bookreport/reportinput.h"
#include "model/expected.h"

namespace brimwell::bookreport {

// The tank's `month`, YYYY-MM: its records and figures, its leak test, its corrections and the
// time it last changed. An error when the book cannot be read or the month cannot be worked out
// (a figure that is no number, a tank whose shape gives no volumes).
Expected<TankReport, std::string> readTankReport(book::Store& store, const std::string& tank,
                                                 const std::string& month);

// Every tank of the book, in the book's order.
Expected<std::vector<TankReport>, std::string> readSiteReport(book::Store& store,
                                                              const std::string& month);

// What the pages' header and footer name: the book's site and file, the time now and the user's
// decimal separator.
Expected<ReportFrame, std::string> frameOf(book::Store& store, const QString& bookPath);

}  // namespace brimwell::bookreport
