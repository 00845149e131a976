#pragma once

// The check of a tank's chart by its deliveries: each delivery's volume by the sticks before and
// after it, less its bill, regressed on the bill by least squares with an intercept. A chart
// that reads a share too little or too much at every level turns up as that share in the slope;
// a bill's own error, or the sticks', only as scatter. docs/leaktest.md gives the arithmetic.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/reconcile.h"
#include "book/records.h"

namespace brimwell::book {

// Flagged: the scale error is above kChartErrorLimit in size and its 95 % interval leaves out
// 0. TooFew: fewer than kLeastChartDeliveries usable deliveries, or all of one size.
enum class ChartVerdict { Ok, Flagged, TooFew };

// Fewer leave the interval too wide to tell a chart from the bills' own errors: with 5 the
// interval is the slope ± 3.18 standard errors (Student's t with 3 degrees of freedom).
inline constexpr int kLeastChartDeliveries = 5;
inline constexpr double kChartErrorLimit = 0.5;  // percent

// A delivery as the check takes it: its bill and what the sticks measured beyond the bill.
struct ChartDelivery {
    double bill = 0;
    double difference = 0;
};

enum class ChartLeftOut {
    NoSticks,       // the stick after it is not above the stick before it
    NoTemperature,  // a net volume needs the delivery's temperatures and the bill's
};

struct LeftOutDelivery {
    std::string date;
    ChartLeftOut reason;
};

struct ChartCheck {
    ChartVerdict verdict = ChartVerdict::TooFew;
    // Percent of the bill, negative when the chart reads too little; none when too few.
    std::optional<double> scaleError;
    std::optional<double> low;  // the 95 % interval
    std::optional<double> high;
    int deliveries = 0;  // used
    bool net = false;
    std::vector<LeftOutDelivery> leftOut;
};

// The regression on the deliveries given; the verdict from its slope and interval.
ChartCheck chartScale(const std::vector<ChartDelivery>& deliveries);

// The check of the period's deliveries, with their figures as the month works them out: net
// volumes when the product has a correction, gross otherwise.
ChartCheck chartCheck(const MonthRecords& records, const MonthReport& month,
                      const TankSettings& tank);

std::string_view chartWord(ChartVerdict verdict);  // "ok", "flagged", "too few deliveries"
std::string_view leftOutReason(ChartLeftOut reason);
// One line without its label: "flagged, scale error -1.20 % (95 % interval -1.90 to -0.50), 7
// deliveries; left out 2026-01-05: ...".
std::string chartText(const ChartCheck& check);

}  // namespace brimwell::book
