// The leak test's evaluation by simulation, after the arms of the federal evaluation of
// statistical inventory reconciliation: months of a tight tank and of a tank losing 0.2 gal/h,
// read with careful and with sloppy sticks, under two noise models (book/leaksim.h,
// docs/leaktest.md).
//
// First the threshold's factor is calibrated on tight months of the even model, on seeds of
// their own: the factor that makes 2.5 % of them fail. Then every model and arm is reported on
// other seeds with the factor the book ships (kThresholdFactor), each rate with its 95 % Wilson
// interval, against the targets below; the exit status is 1 when one is missed. Last the speed:
// one tank-year of days in one test, and every month of a 100-tank, 10-year book estimated from
// 1,000 tank-months.
//
// Targets, under both models: tight tanks fail in at most 5 % of months and are inconclusive in
// at most 20 %; a 0.2 gal/h leak fails in at least 95 %; with sloppy sticks (reading error sd
// 1/4 in) it passes in at most 5 %. The bounds of the intervals are held to them.
//
// Then the chart check on busy months (deliveries of many sizes): a 95 in chart on the 96 in tank
// is flagged in at least 95 % (the interval's lower bound), the right chart in at most 5 % (the
// rate); and a tight tank whose meter records 0.2 % more than it pumps, with a factor entered
// that leaves 0.05 %, fails in at most 5 % (the interval's upper bound).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench/timing.h"
#include "book/chartcheck.h"
#include "book/leaksim.h"
#include "book/leaktest.h"
#include "book/month.h"

namespace {

using namespace brimwell;
using namespace brimwell::book;

constexpr int kCalibrationMonths = 4000;
constexpr int kMonths = 2000;  // per model and arm
constexpr int kDays = 30;
constexpr std::uint64_t kCalibrationSeeds = 1'000'000;
constexpr std::uint64_t kReportSeeds = 2'000'000;
constexpr double kCalibratedFalseAlarms = 0.025;
constexpr double kZ = 1.959963984540054;

const std::vector<sim::Arm> kArms{
    {"tight", 0, 1.0 / 16},
    {"0.2 gal/h leak", 0.2, 1.0 / 16},
    {"tight, sloppy sticks", 0, 0.25},
    {"0.2 gal/h leak, sloppy sticks", 0.2, 0.25},
};

struct Interval {
    double rate = 0;
    double low = 0;
    double high = 0;
};

// Wilson's score interval at 95 % for `hits` of `count`.
Interval wilson(int hits, int count) {
    const double n = count;
    const double p = hits / n;
    const double centre = (p + kZ * kZ / (2 * n)) / (1 + kZ * kZ / n);
    const double half = kZ * std::sqrt(p * (1 - p) / n + kZ * kZ / (4 * n * n)) / (1 + kZ * kZ / n);
    return {p, std::max(centre - half, 0.0), std::min(centre + half, 1.0)};
}

std::string percent(const Interval& interval) {
    char text[64];
    std::snprintf(text, sizeof text, "%5.1f%% [%4.1f, %5.1f]", 100 * interval.rate,
                  100 * interval.low, 100 * interval.high);
    return text;
}

struct Tally {
    int fail = 0;
    int pass = 0;
    int inconclusive = 0;
    int none = 0;
    std::vector<double> detectable;
};

Tally run(sim::NoiseModel model, const sim::Arm& arm, std::uint64_t seeds, int months,
          const TankSettings& tank, const Gauge& gauge) {
    Tally tally;
    for (int i = 0; i < months; ++i) {
        sim::Simulator simulator(model, seeds + static_cast<std::uint64_t>(i));
        const auto test = leakTest(simulator.days(arm, kDays), tank, gauge);
        if (!test) {
            std::fprintf(stderr, "leaksim: %s\n", test.error().c_str());
            ++tally.none;
            continue;
        }
        switch (test->verdict) {
            case LeakVerdict::Fail:
                ++tally.fail;
                break;
            case LeakVerdict::Pass:
                ++tally.pass;
                break;
            case LeakVerdict::Inconclusive:
                ++tally.inconclusive;
                break;
            default:
                ++tally.none;
        }
        if (test->minimumDetectable) {
            tally.detectable.push_back(*test->minimumDetectable);
        }
    }
    return tally;
}

// The factor that makes kCalibratedFalseAlarms of tight months fail: the quantile of
// |rate| / (standard error × t).
double calibrate(const TankSettings& tank, const Gauge& gauge) {
    std::vector<double> ratios;
    for (int i = 0; i < kCalibrationMonths; ++i) {
        sim::Simulator simulator(sim::NoiseModel::Even, kCalibrationSeeds + i);
        const auto test = leakTest(simulator.days(kArms[0], kDays), tank, gauge);
        if (test && test->rate && *test->standardError > 0) {
            ratios.push_back(std::abs(*test->rate) /
                             (*test->standardError * thresholdMultiplier(test->freedom, 1)));
        }
    }
    const auto at = static_cast<std::size_t>(std::ceil((1 - kCalibratedFalseAlarms) *
                                                       static_cast<double>(ratios.size()))) -
                    1;
    std::nth_element(ratios.begin(), ratios.begin() + static_cast<long>(at), ratios.end());
    return ratios[at];
}

// The chart check on busy months (book/leaksim.h), the book's chart `chartDiameter` across on
// the 96 in tank: the months whose check takes 6 or more deliveries, and those flagged.
struct ChartTally {
    int months = 0;
    int flagged = 0;
    int fewer = 0;  // months with fewer deliveries, left out
    std::vector<double> deliveries;
};

ChartTally runChart(double chartDiameter, std::uint64_t seeds) {
    constexpr int kLeastDeliveries = 6;
    const TankSettings tank = sim::simulatedTank(chartDiameter);
    const auto gauged = gaugedTank(tank);
    ChartTally tally;
    for (int i = 0; gauged && i < kMonths; ++i) {
        sim::Simulator simulator(sim::NoiseModel::Even, seeds + static_cast<std::uint64_t>(i));
        const MonthRecords month = simulator.days({"busy", 0, 1.0 / 16, 0, true}, kDays);
        const auto report = reconcileRecords(month, tank, gauged->gauge);
        const ChartCheck check = report ? chartCheck(month, *report, tank) : ChartCheck{};
        if (check.deliveries < kLeastDeliveries) {
            ++tally.fewer;
            continue;
        }
        ++tally.months;
        tally.flagged += check.verdict == ChartVerdict::Flagged ? 1 : 0;
        tally.deliveries.push_back(check.deliveries);
    }
    return tally;
}

// The chart check's arms and the meter's: each target's check, false when one is missed.
bool chartAndMeterArms(const TankSettings& tank, const Gauge& gauge) {
    bool met = true;
    auto check = [&](const char* what, bool ok) {
        std::printf("  target %-52s %s\n", what, ok ? "met" : "MISSED");
        met = met && ok;
    };
    std::printf("\nchart check, busy months of %d days with 6 or more deliveries (even model)\n",
                kDays);
    const std::pair<double, const char*> charts[] = {{95, "95 in chart on the 96 in tank"},
                                                     {96, "the right chart"}};
    std::vector<Interval> flagged;
    for (std::size_t c = 0; c < 2; ++c) {
        const ChartTally t = runChart(charts[c].first, kReportSeeds + 500'000 + c * 10'000);
        flagged.push_back(wilson(t.flagged, t.months));
        std::printf("%-30s flagged %s of %d months, median %.0f deliveries (%d months fewer)\n",
                    charts[c].second, percent(flagged.back()).c_str(), t.months,
                    t.deliveries.empty() ? 0 : bench::median(t.deliveries), t.fewer);
    }
    check("95 in chart: flagged, lower bound >= 95 %", flagged[0].low >= 0.95);
    // The check is a test at 5 % by construction, so the right chart's rate sits just below 5 %
    // and is held as a rate; its interval is printed.
    check("right chart: flagged, rate <= 5 %", flagged[1].rate <= 0.05);

    // A meter 0.2 % high, and a factor that brings it to 0.05 % high: (1.002)(1 + f / 1155)
    // = 1.0005.
    const double factor = (1.0005 / 1.002 - 1) * 1155;
    TankSettings corrected = tank;
    corrected.meterFactors = {{"2025-01-01", factor}};
    const sim::Arm meter{"meter 0.2 % high", 0, 1.0 / 16, 0.002};
    const Tally without = run(sim::NoiseModel::Even, meter, kReportSeeds + 600'000, kMonths, tank,
                              gauge);
    const Tally with = run(sim::NoiseModel::Even, meter, kReportSeeds + 610'000, kMonths,
                           corrected, gauge);
    std::printf("tight, meter 0.2 %% high, no factor:           fail %s\n",
                percent(wilson(without.fail, kMonths)).c_str());
    std::printf("tight, meter 0.2 %% high, factor %+.4f in3/5gal: fail %s\n", factor,
                percent(wilson(with.fail, kMonths)).c_str());
    check("meter factor, 0.05 % left: fail, upper bound <= 5 %",
          wilson(with.fail, kMonths).high <= 0.05);
    return met;
}

}  // namespace

int main() {
    const TankSettings tank = sim::simulatedTank();
    const auto gauged = gaugedTank(tank);
    if (!gauged) {
        std::fprintf(stderr, "leaksim: %s\n", gauged.error().c_str());
        return 1;
    }
    const Gauge& gauge = gauged->gauge;

    const double factor = calibrate(tank, gauge);
    std::printf(
        "leak test factor: %.3f calibrated on %d tight months (seeds %llu+), "
        "%.3f shipped, t(25) x factor = %.3f\n",
        factor, kCalibrationMonths, static_cast<unsigned long long>(kCalibrationSeeds),
        kThresholdFactor, thresholdMultiplier(25));

    bool met = true;
    auto check = [&](const char* what, bool ok) {
        std::printf("  target %-52s %s\n", what, ok ? "met" : "MISSED");
        met = met && ok;
    };
    std::printf("%-22s %-30s %-22s %-22s %-22s %s\n", "model", "arm", "fail", "pass",
                "inconclusive", "median MDL gal/h");
    const std::pair<sim::NoiseModel, const char*> models[] = {
        {sim::NoiseModel::Even, "even"}, {sim::NoiseModel::WeekendsHeavyTails, "weekends, t(3)"}};
    for (std::size_t m = 0; m < 2; ++m) {
        std::vector<Tally> tallies;
        for (std::size_t a = 0; a < kArms.size(); ++a) {
            const std::uint64_t seeds = kReportSeeds + m * 100'000 + a * 10'000;
            tallies.push_back(run(models[m].first, kArms[a], seeds, kMonths, tank, gauge));
            const Tally& t = tallies.back();
            const double mdl = t.detectable.empty() ? 0 : bench::median(t.detectable);
            std::printf("%-22s %-30s %s %s %s %.3f%s\n", models[m].second, kArms[a].name.c_str(),
                        percent(wilson(t.fail, kMonths)).c_str(),
                        percent(wilson(t.pass, kMonths)).c_str(),
                        percent(wilson(t.inconclusive, kMonths)).c_str(), mdl,
                        t.none ? " (some months gave no analysis)" : "");
        }
        check("tight: fail, upper bound <= 5 %", wilson(tallies[0].fail, kMonths).high <= 0.05);
        check("0.2 gal/h leak: fail, lower bound >= 95 %",
              wilson(tallies[1].fail, kMonths).low >= 0.95);
        check("tight: inconclusive, upper bound <= 20 %",
              wilson(tallies[0].inconclusive, kMonths).high <= 0.20);
        check("0.2 gal/h leak, sloppy sticks: pass, upper bound <= 5 %",
              wilson(tallies[3].pass, kMonths).high <= 0.05);
    }

    met = chartAndMeterArms(tank, gauge) && met;

    // Speed: one test over a tank-year of days, and a decade's book of 100 tanks by its months.
    sim::Simulator year(sim::NoiseModel::Even, 7);
    const MonthRecords days = year.days(kArms[0], 365);
    std::vector<double> yearMs;
    for (int i = 0; i < 21; ++i) {
        yearMs.push_back(bench::millis([&] { (void)leakTest(days, tank, gauge); }));
    }
    std::printf("leak test, one tank-year of days: %.2f ms (target: under 20 ms)\n",
                bench::median(yearMs));
    std::vector<MonthRecords> months;
    for (int i = 0; i < 1000; ++i) {
        months.push_back(sim::Simulator(sim::NoiseModel::Even, 3'000'000 + i).days(kArms[0], 31));
    }
    const double thousandMs = bench::millis([&] {
        for (const MonthRecords& month : months) {
            (void)leakTest(month, tank, gauge);
        }
    });
    std::printf(
        "leak test, every month of 100 tanks x 10 years: %.1f s, scaled from 1,000 "
        "tank-months in %.0f ms (target: under 60 s)\n",
        thousandMs * 12 / 1000, thousandMs);
    return met ? 0 : 1;
}
