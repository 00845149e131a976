#include "book/leaktest.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "book/changes.h"
#include "book/month.h"
#include "model/units/units.h"

namespace brimwell::book {
namespace {

constexpr double kHoursPerDay = 24;

// The volume per unit of stick at `level`: a reading's error in volume is its error in length
// times this. Central where the gauge allows, one-sided at the bottom and the top.
double volumePerLength(const Gauge& gauge, double level, double step) {
    const auto at = gauge.volumeAt(level);
    const auto above = gauge.volumeAt(level + step);
    const auto below = level - step >= 0 ? gauge.volumeAt(level - step) : at;
    if (!at) {
        return 0;
    }
    const double high = above ? *above : *at;
    const double low = below ? *below : *at;
    const double span = (above ? step : 0) + (below && level - step >= 0 ? step : 0);
    return span > 0 ? (high - low) / span : 0;
}

struct Collected {
    std::vector<TrendPoint> points;
    std::vector<TrendTie> ties;
    std::vector<LeakPoint> shown;
    std::vector<UnusableDay> unusable;
    int usable = 0;
};

// The volumes the fit takes, net at the base temperature when `net` and gross otherwise, and
// their errors, which come from the sticks read `precision` apart.
struct Volumes {
    const Gauge& gauge;
    bool net;
    double precision;

    // The factor from gross to the volumes used at `temperature`: none when a net volume is
    // wanted and the temperature is not known or not in the product's table.
    std::optional<double> vcf(const std::optional<double>& temperature) const {
        if (!net) {
            return 1.0;
        }
        if (!temperature) {
            return std::nullopt;
        }
        const auto factor = gauge.vcf(*temperature);
        return factor ? std::optional<double>(*factor) : std::nullopt;
    }

    // The scale of a reading's error at `level`, in the volumes used.
    double weightAt(double level, double vcf) const {
        return std::max(volumePerLength(gauge, level, precision / 2) * vcf, 1e-12);
    }

    // What the day's deliveries measured beyond their bills, as a tie of `segment` to the one
    // before it, its scale from the two sticks of each. None when a net difference is wanted
    // and not known.
    std::optional<TrendTie> tie(int segment, const Day& day, const DayFigures& figures,
                                double vcf) const {
        double difference = 0;
        double variance = 0;
        for (std::size_t k = 0; k < day.deliveries.size(); ++k) {
            const DeliveryCheck& check = figures.deliveries[k];
            if (net && !check.netDifference) {
                return std::nullopt;
            }
            difference += net ? *check.netDifference : check.grossDifference;
            const double before = weightAt(day.deliveries[k].levelBefore, vcf);
            const double after = weightAt(day.deliveries[k].levelAfter, vcf);
            variance += before * before + after * after;
        }
        return TrendTie{segment, difference, std::sqrt(variance)};
    }
};

// Why a day's close cannot be a point of the fit, if it cannot: `gap` when the day before it is
// missing, `pumped` when its volume pumped is recorded, `known` when its volumes are.
std::optional<Unusable> unusableFor(const Day& day, bool gap, bool pumped, bool known) {
    const bool unstuck =
        std::any_of(day.deliveries.begin(), day.deliveries.end(),
                    [](const Delivery& d) { return d.levelAfter <= d.levelBefore; });
    if (gap) {
        return Unusable::AfterGap;
    }
    if (!pumped) {
        return Unusable::NothingPumped;
    }
    if (!known) {
        return Unusable::NoTemperature;
    }
    if (unstuck) {
        return Unusable::DeliveryUnstuck;
    }
    if (day.closingLevel <= 0) {
        return Unusable::EmptyStick;
    }
    return std::nullopt;
}

// Goes through the period's days in date order, each usable close a point of the fit with its
// cumulative over/short, a new segment after each delivery or break.
class Collector {
public:
    Collector(const Volumes& volumes, long start)
        : volumes_(volumes), start_(start), previous_(start) {}

    // The period's opening, dated `date`: the cumulatives count from its volume, and it is the
    // point at 0 when its stick reads and its volume is known.
    void open(const std::string& date, double gross, const std::optional<double>& temperature,
              double level) {
        const auto vcf = volumes_.vcf(temperature);
        openingVolume_ = gross * vcf.value_or(1);
        if (vcf && level > 0) {
            out_.points.push_back({0, 0, volumes_.weightAt(level, *vcf), segment_});
            out_.shown.push_back({date, 0, 0, 0, segment_});
        }
    }

    Expected<void, std::string> add(const Day& day, const DayFigures& figures) {
        const long number = dayNumber(day.date);
        if (number <= previous_) {
            return Unexpected(day.date + ": the days are not in date order");
        }
        const auto vcf = volumes_.vcf(day.temperature);
        countMoved(figures, vcf.value_or(1));
        const bool gap = number - previous_ > 1;
        previous_ = number;
        const bool pumped = day.pumped || (day.meterOpen && day.meterClose);
        // The cumulative telescopes to closing - opening + pumped - delivered: a bad close
        // spoils its own point only, a missing pumped volume or a delivery every later one.
        const bool breaks = gap || !pumped || !vcf || !day.deliveries.empty();
        if (const auto reason = unusableFor(day, gap, pumped, vcf.has_value())) {
            out_.unusable.push_back({day.date, *reason});
            breakPending_ = breakPending_ || breaks;
            return {};
        }
        if (breaks || breakPending_) {
            startSegment(day, figures, *vcf);
        }
        addClose(day, number, figures, *vcf);
        return {};
    }

    Collected take() { return std::move(out_); }

private:
    // The day's pumped volume less its deliveries' bills, `vcf` the factor to the volumes used.
    void countMoved(const DayFigures& figures, double vcf) {
        moved_ += figures.pumped * vcf;
        for (const DeliveryCheck& check : figures.deliveries) {
            moved_ -= check.billNet && volumes_.net ? *check.billNet : check.billGross * vcf;
        }
    }

    // The day's deliveries measured by their own sticks tie the new offset to the last, unless
    // a break between them leaves it free.
    void startSegment(const Day& day, const DayFigures& figures, double vcf) {
        if (!breakPending_ && !out_.points.empty()) {
            if (auto tie = volumes_.tie(segment_ + 1, day, figures, vcf)) {
                out_.ties.push_back(*tie);
            }
        }
        ++segment_;
        breakPending_ = false;
    }

    void addClose(const Day& day, long number, const DayFigures& figures, double vcf) {
        ++out_.usable;
        const double days = static_cast<double>(number - start_);
        const double cumulative = figures.closing * vcf - openingVolume_ + moved_;
        out_.points.push_back(
            {days, cumulative, volumes_.weightAt(day.closingLevel, vcf), segment_});
        out_.shown.push_back({day.date, days, cumulative, 0, segment_});
    }

    Volumes volumes_;
    Collected out_;
    long start_;
    long previous_;
    double openingVolume_ = 0;
    double moved_ = 0;  // pumped less delivered through the day, in the volumes used
    int segment_ = 0;
    bool breakPending_ = false;
};

// The points of the fit from the month's figures: each usable close, its cumulative over/short
// (net when `net`), with a new segment after each delivery or break.
Expected<Collected, std::string> collect(const MonthRecords& records, const MonthReport& figures,
                                         const Opening& opening, const Gauge& gauge, bool net,
                                         double precision) {
    const long first = dayNumber(records.days.front().date);
    const long start = records.before ? dayNumber(records.before->date) : first - 1;
    Collector collector(Volumes{gauge, net, precision}, start);
    collector.open(records.before ? records.before->date : dateOf(start),
                   figures.days.front().opening,
                   records.before ? records.before->temperature : std::nullopt, opening.level);
    for (std::size_t i = 0; i < records.days.size(); ++i) {
        if (auto added = collector.add(records.days[i], figures.days[i]); !added) {
            return Unexpected(added.error());
        }
    }
    return collector.take();
}

}  // namespace

double thresholdMultiplier(int freedom, double factor) {
    // Exact for the fewest degrees of freedom, the Cornish-Fisher expansion beyond them.
    constexpr std::array<double, 4> kSmall{12.706204736, 4.302652730, 3.182446305, 2.776445105};
    if (freedom <= 4) {
        return factor * kSmall[static_cast<std::size_t>(std::max(freedom, 1) - 1)];
    }
    const double z = 1.959963984540054;
    const double z2 = z * z;
    const double v = freedom;
    const double g1 = (z2 + 1) * z / 4;
    const double g2 = ((5 * z2 + 16) * z2 + 3) * z / 96;
    const double g3 = (((3 * z2 + 19) * z2 + 17) * z2 - 15) * z / 384;
    const double g4 = ((((79 * z2 + 776) * z2 + 1482) * z2 - 1920) * z2 - 945) * z / 92160;
    return factor * (z + g1 / v + g2 / (v * v) + g3 / (v * v * v) + g4 / (v * v * v * v));
}

LeakVerdict leakVerdict(bool analysable, double rate, double threshold, double minimumDetectable,
                        double passLimit) {
    if (!analysable) {
        return LeakVerdict::NoAnalysis;
    }
    if (std::abs(rate) >= threshold) {
        return LeakVerdict::Fail;
    }
    return minimumDetectable <= passLimit ? LeakVerdict::Pass : LeakVerdict::Inconclusive;
}

Expected<LeakTest, std::string> leakTest(const MonthRecords& records, const TankSettings& tank,
                                         const Gauge& gauge, const LeakTestOptions& options) {
    auto month = reconcileRecords(records, tank, gauge);
    if (!month) {
        return Unexpected(month.error());
    }
    LeakTest test;
    test.net = hasCorrection(tank.product);
    test.stickPrecision = options.stickPrecision.value_or(
        0.125 * LengthFactor(LengthUnit::Inches, tank.shape.lengthUnit));
    test.passLimit = kPassLimitGallons * gallonFactor(tank.shape.volumeUnit);
    auto collected =
        collect(records, *month, openingOf(records, tank), gauge, test.net, test.stickPrecision);
    if (!collected) {
        return Unexpected(collected.error());
    }
    test.periodDays = options.periodDays.value_or(static_cast<int>(
        dayNumber(records.days.back().date) - dayNumber(records.days.front().date) + 1));
    test.usableDays = collected->usable;
    test.unusable = std::move(collected->unusable);
    test.points = std::move(collected->shown);
    test.chart = chartCheck(records, *month, tank);
    const auto fit = fitTrend(collected->points, collected->ties, std::nullopt,
                              test.stickPrecision / std::sqrt(12.0));
    if (!fit) {
        return test;
    }
    test.offsets = collected->points.back().segment + 1;
    test.freedom = fit->freedom;
    test.correlation = fit->correlation;
    test.scatter = fit->scatter;
    for (std::size_t i = 0; i < test.points.size(); ++i) {
        test.points[i].fitted = fit->fitted[i];
    }
    const double rate = -fit->slope / kHoursPerDay;
    const double error = fit->standardError / kHoursPerDay;
    const double threshold =
        thresholdMultiplier(fit->freedom, options.factor.value_or(kThresholdFactor)) * error;
    test.rate = rate;
    test.standardError = error;
    test.threshold = threshold;
    test.minimumDetectable = 2 * threshold;
    const bool analysable = test.usableDays >= kLeastUsableDays &&
                            test.periodDays >= kShortestPeriod && test.periodDays <= kLongestPeriod;
    test.verdict = leakVerdict(analysable, rate, threshold, 2 * threshold, test.passLimit);
    return test;
}

std::string_view verdictWord(LeakVerdict verdict) {
    switch (verdict) {
        case LeakVerdict::Pass:
            return "pass";
        case LeakVerdict::Fail:
            return "fail";
        case LeakVerdict::Inconclusive:
            return "inconclusive";
        default:
            return "no analysis";
    }
}

std::string_view unusableReason(Unusable reason) {
    switch (reason) {
        case Unusable::EmptyStick:
            return "the closing stick reads an empty tank";
        case Unusable::NothingPumped:
            return "no volume pumped is recorded";
        case Unusable::DeliveryUnstuck:
            return "a delivery has no sticks before and after";
        case Unusable::NoTemperature:
            return "no temperature for its net volumes";
        default:
            return "the day before it is not recorded";
    }
}

IssuedLeakTest issuedForm(const LeakTest& test, const std::string& first, const std::string& last) {
    return {first,     last,      "", test.verdict, test.rate, test.threshold,
            test.minimumDetectable, test.usableDays};
}

bool sameResult(const IssuedLeakTest& issued, const LeakTest& test) {
    IssuedLeakTest current = issuedForm(test, issued.first, issued.last);
    current.issuedAt = issued.issuedAt;
    return current == issued;
}

}  // namespace brimwell::book
