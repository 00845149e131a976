#pragma once

// A tank's month as the command line and the window report it: its records, the tank's last
// recorded day and the month's figures, read from the book in one read transaction.

#include <optional>
#include <string>

#include "book/booktank.h"
#include "book/chartcheck.h"
#include "book/records.h"
#include "book/reconcile.h"
#include "book/store.h"
#include "model/expected.h"

namespace brimwell::book {

struct TankMonth {
    std::string month;  // YYYY-MM
    MonthRecords records;
    std::optional<Day> lastDay;  // the tank's last recorded day, in any month
    // The figures, or why they cannot be worked out; an empty report for a month without a day,
    // which has no figures and meets every rule.
    Expected<MonthReport, std::string> report = MonthReport{};
    ChartCheck chart;  // the month's deliveries against the tank's chart, when it has figures
};

// The tank's `month`, YYYY-MM, or the month of its last recorded day when none is given (no
// records then when it has none); the outer failure is the book's.
Expected<TankMonth, std::string> readTankMonth(Store& store, const TankSettings& tank,
                                               const BookTank& gauged,
                                               const std::optional<std::string>& month);

}  // namespace brimwell::book
