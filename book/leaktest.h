#pragma once

// The monthly leak test: a statistical reconciliation of a tank's own book. The cumulative
// over/short of a period's days is fitted against time as a straight line with an offset of its
// own after each delivery (a bill's error is not a leak; the delivery's own sticks tie the new
// offset to the last) and after each break in the records, the days' errors taken as correlated
// from one day to the next. The line's slope is the leak
// rate; its standard error, times a multiplier calibrated by simulation (bench/leaksim.cpp),
// gives the threshold. docs/leaktest.md gives the model, its equations and its limits.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/chartcheck.h"
#include "book/reconcile.h"
#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

// Fail: |rate| at or above the threshold. Pass: below it, and the minimum detectable leak rate
// at most 0.2 gal/h. Inconclusive: below it, but a leak of 0.2 gal/h could have gone unseen.
// NoAnalysis: fewer than 28 usable days, or a period shorter than 28 or longer than 35 days,
// whose rate and minimum detectable leak rate are still given when they can be worked out.
enum class LeakVerdict { Pass, Fail, Inconclusive, NoAnalysis };

// Why a day of the period is left out of the fit.
enum class Unusable {
    EmptyStick,       // the closing stick reads 0: no stick, or nothing in the tank to lose
    NothingPumped,    // neither a pumped volume nor both meter totals
    DeliveryUnstuck,  // a delivery whose stick after is not above its stick before
    NoTemperature,    // net volumes need the day's temperature
    AfterGap,         // the day before it is not recorded: its over/short spans both
};

struct UnusableDay {
    std::string date;
    Unusable reason;
};

// A point of the fit: the cumulative over/short at the close of a day, `days` after the
// period's opening (the opening itself is the point at 0), and the fitted line with its offset.
struct LeakPoint {
    std::string date;
    double days = 0;
    double cumulative = 0;
    double fitted = 0;
    int segment = 0;  // points of one segment share the line's offset
};

struct LeakTest {
    LeakVerdict verdict = LeakVerdict::NoAnalysis;
    // Per hour in the tank's volume unit, loss positive, gain negative. No rate, threshold or
    // minimum detectable leak rate when the points leave no degree of freedom for the scatter.
    std::optional<double> rate;
    std::optional<double> threshold;          // fail when |rate| reaches it
    std::optional<double> minimumDetectable;  // twice the threshold
    std::optional<double> standardError;      // of the rate, per hour
    double passLimit = 0;                     // 0.2 gal/h in the tank's volume unit
    double correlation = 0;                   // the day-to-day correlation of the errors, estimated
    double scatter = 0;         // the sticks' scatter the fit implies, in the tank's length unit
    double stickPrecision = 0;  // the reading's resolution assumed, in the tank's length unit
    bool net = false;           // volumes at the base temperature: the product has a correction
    int periodDays = 0;         // the calendar days from the first day to the last
    int usableDays = 0;
    int offsets = 0;  // the line's offsets: one, and one more for each delivery or break
    int freedom = 0;  // the points less the fitted figures
    std::vector<UnusableDay> unusable;
    std::vector<LeakPoint> points;  // in date order, the opening first when it is usable
    ChartCheck chart;               // the period's deliveries against the tank's chart
};

struct LeakTestOptions {
    // The stick's resolution in the tank's length unit; 1/8 in when not given. The sticks are
    // taken to scatter by no less than a reading rounded to it (its width over √12).
    std::optional<double> stickPrecision;
    // The threshold's multiplier over the t quantile. The calibrated value unless a simulation
    // tries another.
    std::optional<double> factor;
    // The period's calendar days, when a period was asked for (a month, or a range of dates);
    // otherwise the days from the first recorded to the last.
    std::optional<int> periodDays;
};

// The threshold's multiplier on the 97.5 % quantile of Student's t, calibrated by the tight
// tanks of bench/leaksim.cpp to a 2.5 % false alarm rate.
inline constexpr double kThresholdFactor = 1.18;
inline constexpr int kLeastUsableDays = 28;
inline constexpr int kShortestPeriod = 28;
inline constexpr int kLongestPeriod = 35;
inline constexpr double kPassLimitGallons = 0.2;  // per hour

// The leak test of `records` (the period's days in date order and the day before, whose close
// is the period's opening; the tank's opening stick when there is none). Net volumes when the
// product has a correction, gross otherwise. An error only where the month itself cannot be
// reconciled (reconcileRecords); a day the test cannot use is listed, not an error.
Expected<LeakTest, std::string> leakTest(const MonthRecords& records, const TankSettings& tank,
                                         const Gauge& gauge, const LeakTestOptions& options = {});

// A result issued (printed or exported) for a period, kept by the book with its time.
struct IssuedLeakTest {
    std::string first;  // the period, YYYY-MM-DD
    std::string last;
    std::string issuedAt;  // UTC, ISO 8601
    LeakVerdict verdict = LeakVerdict::NoAnalysis;
    std::optional<double> rate;
    std::optional<double> threshold;
    std::optional<double> minimumDetectable;
    int usableDays = 0;

    bool operator==(const IssuedLeakTest&) const = default;
};

// The issued form of a test, without its time.
IssuedLeakTest issuedForm(const LeakTest& test, const std::string& first, const std::string& last);
// Whether the issued result says what the test says.
bool sameResult(const IssuedLeakTest& issued, const LeakTest& test);

// The verdict from the figures: `analysable` when the period and its usable days allow one.
LeakVerdict leakVerdict(bool analysable, double rate, double threshold, double minimumDetectable,
                        double passLimit);

// What the fit works on, for the test and for anyone checking its arithmetic.
struct TrendPoint {
    double days = 0;
    double value = 0;
    double weight = 1;  // the volume per unit of stick at the reading: the error's scale
    int segment = 0;    // points of one segment share an offset; segments in ascending order
};

// A measurement of how far the offset of `segment` lies from the one before it: a delivery's
// volume by its sticks less its bill, whose error is `weight` × e, e the sticks' error.
struct TrendTie {
    int segment = 1;
    double value = 0;
    double weight = 1;
};

struct TrendFit {
    double slope = 0;  // per day
    double standardError = 0;
    double correlation = 0;
    double scatter = 0;          // the errors' scale in the weights' unit, floored
    int freedom = 0;             // points and ties less the slope and the offsets
    std::vector<double> fitted;  // per point
};

// Generalised least squares of the points on a common slope and an offset per segment, with the
// ties as observations of their own, independent of the points. A point's error is
// weight × e, e first-order autoregressive over the days (correlation^gap between two points
// `gap` days apart). The correlation is the one given, or the one in [0, 0.95] that maximises
// the restricted likelihood. `scatterFloor` is the least scale of e. None when the points are
// not in order of days with segments numbered 0, 1, ... without a gap, when a tie names no
// segment after the first, or when nothing is left for the scatter.
std::optional<TrendFit> fitTrend(const std::vector<TrendPoint>& points,
                                 const std::vector<TrendTie>& ties = {},
                                 std::optional<double> correlation = std::nullopt,
                                 double scatterFloor = 0);

// factor × the two-sided 95 % quantile of Student's t with `freedom` degrees of freedom.
double thresholdMultiplier(int freedom, double factor = kThresholdFactor);

std::string_view verdictWord(LeakVerdict verdict);  // "pass", "fail", ...
std::string_view unusableReason(Unusable reason);   // one line

}  // namespace brimwell::book
