#pragma once

// A tank's month as the book works it out: its dates, its opening and its figures.

#include <optional>
#include <string>

#include "book/reconcile.h"
#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

// Dates as the book keeps them, YYYY-MM-DD, from `first` to `last` inclusive.
struct DateRange {
    std::string first;
    std::string last;
};

// Days since 1970-01-01 of a date the book has checked (the civil calendar's count), and the
// date of such a day number.
long dayNumber(const std::string& date);
std::string dateOf(long number);
// 28 to 31.
int daysInMonth(const std::string& month);
// "2026-02" of "2026-03".
std::string previousMonth(const std::string& month);

// Every day a book can hold lies in this range.
DateRange everyDay();
// The dates of `month`, YYYY-MM: every day of it sorts between them.
DateRange monthDates(const std::string& month);
// "2026-03" of "2026-03-14".
std::string monthOf(const std::string& date);

// The month's opening stick and water cut: the last day's before it, or the tank's opening stick
// when no day comes before it.
struct Opening {
    double level = 0;
    std::optional<double> water;
};
Opening openingOf(const MonthRecords& records, const TankSettings& tank);

// The month's figures and the rules' verdicts, from its opening.
Expected<MonthReport, std::string> reconcileRecords(const MonthRecords& records,
                                                    const TankSettings& tank, const Gauge& gauge);

}  // namespace brimwell::book
