#pragma once

// A month's deliveries and totals as CSV, for the programs that read a month beside its days:
// one row per delivery, and one row per tank and month with each rule's figures and verdict.
// Volumes in the tank's volume unit, named on each row, with two decimals.

#include <string>

#include "book/reconcile.h"
#include "book/records.h"

namespace brimwell::book {

// What names a tank's month on its rows.
struct MonthCsvHeading {
    std::string tank;
    std::string month;  // YYYY-MM
    std::string volumeUnit;
    std::string lengthUnit;
};

extern const char* const kDeliveriesCsvHeader;
// The month's deliveries, in the order of the days and of their recording; `days` are the
// days the report was worked out from.
std::string deliveriesCsvRows(const std::vector<Day>& days, const MonthReport& report,
                              const MonthCsvHeading& heading);

extern const char* const kTotalsCsvHeader;
// The month's row: its opening, deliveries, pumped, book, closing and over/short, then for each
// kind of rule its name, figures and verdict (blank when the tank has no rule of that kind), and
// the month's verdict.
std::string totalsCsvRow(const MonthReport& report, const MonthCsvHeading& heading);

}  // namespace brimwell::book
