#include "book/leaktest.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "book/changes.h"
#include "book/month.h"
#include "model/units/units.h"

namespace brimwell::book {
namespace {

constexpr double kHoursPerDay = 24;
constexpr double kLargestCorrelation = 0.95;
constexpr int kCorrelationSteps = 95;  // the grid 0, 0.01, ..., 0.95
constexpr double kExact = 1e-24;       // a residual sum of squares this share of the total is 0

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

// A small symmetric positive definite system solved by Cholesky, in place; false when it is not
// positive definite.
bool choleskyFactor(std::vector<double>& a, int size) {
    for (int j = 0; j < size; ++j) {
        double diagonal = a[j * size + j];
        for (int k = 0; k < j; ++k) {
            diagonal -= a[j * size + k] * a[j * size + k];
        }
        if (!(diagonal > 0)) {
            return false;
        }
        a[j * size + j] = std::sqrt(diagonal);
        for (int i = j + 1; i < size; ++i) {
            double sum = a[i * size + j];
            for (int k = 0; k < j; ++k) {
                sum -= a[i * size + k] * a[j * size + k];
            }
            a[i * size + j] = sum / a[j * size + j];
        }
    }
    return true;
}

std::vector<double> choleskySolve(const std::vector<double>& factor, int size,
                                  std::vector<double> b) {
    for (int i = 0; i < size; ++i) {
        for (int k = 0; k < i; ++k) {
            b[i] -= factor[i * size + k] * b[k];
        }
        b[i] /= factor[i * size + i];
    }
    for (int i = size - 1; i >= 0; --i) {
        for (int k = i + 1; k < size; ++k) {
            b[i] -= factor[k * size + i] * b[k];
        }
        b[i] /= factor[i * size + i];
    }
    return b;
}

// The fit at one correlation. Column 0 is the slope, column 1 + s the offset of segment s.
struct Solved {
    std::vector<double> coefficients;
    double rss = 0;
    double slopeVariance = 0;  // of the slope, per unit of the errors' variance
    double restricted = 0;     // the restricted log-likelihood, up to a constant
    double total = 0;          // the sum of squares fitted
};

std::optional<Solved> solveAt(const std::vector<TrendPoint>& points,
                              const std::vector<TrendTie>& ties, int segments, double phi) {
    const int n = static_cast<int>(points.size());
    const int p = segments + 1;
    std::vector<double> normal(static_cast<std::size_t>(p * p), 0);
    std::vector<double> right(static_cast<std::size_t>(p), 0);
    double yy = 0;
    double logR = 0;
    // A row is nonzero in the slope and in the offsets of its point and the one before it.
    struct Entry {
        int column;
        double value;
    };
    for (int j = 0; j < n; ++j) {
        const TrendPoint& point = points[j];
        std::array<Entry, 3> row{{{0, point.days / point.weight},
                                  {1 + point.segment, 1 / point.weight},
                                  {1 + point.segment, 0}}};
        int size = 2;
        double y = point.value / point.weight;
        if (j > 0 && phi > 0) {
            // Prais-Winsten over a gap of g days: e_j - φ^g e_(j-1) has variance 1 - φ^2g.
            const TrendPoint& before = points[j - 1];
            const double r = std::pow(phi, point.days - before.days);
            const double scale = 1 / std::sqrt(1 - r * r);
            row[0].value = (row[0].value - r * before.days / before.weight) * scale;
            if (before.segment == point.segment) {
                row[1].value = (row[1].value - r / before.weight) * scale;
            } else {
                row[1].value *= scale;
                row[2] = {1 + before.segment, -r / before.weight * scale};
                size = 3;
            }
            y = (y - r * before.value / before.weight) * scale;
            logR += std::log(1 - r * r);
        }
        for (int a = 0; a < size; ++a) {
            right[row[a].column] += row[a].value * y;
            for (int b = 0; b < size; ++b) {
                normal[row[a].column * p + row[b].column] += row[a].value * row[b].value;
            }
        }
        yy += y * y;
    }
    // A tie observes one offset less the one before it, apart from the closes' errors.
    for (const TrendTie& tie : ties) {
        const int high = 1 + tie.segment;
        const int low = tie.segment;
        const double a = 1 / tie.weight;
        const double y = tie.value / tie.weight;
        normal[high * p + high] += a * a;
        normal[low * p + low] += a * a;
        normal[high * p + low] -= a * a;
        normal[low * p + high] -= a * a;
        right[high] += a * y;
        right[low] -= a * y;
        yy += y * y;
    }
    std::vector<double> factor = normal;
    if (!choleskyFactor(factor, p)) {
        return std::nullopt;
    }
    Solved solved;
    solved.coefficients = choleskySolve(factor, p, right);
    double explained = 0;
    double logDet = 0;
    for (int a = 0; a < p; ++a) {
        explained += solved.coefficients[a] * right[a];
        logDet += 2 * std::log(factor[a * p + a]);
    }
    solved.rss = std::max(yy - explained, 0.0);
    std::vector<double> unit(static_cast<std::size_t>(p), 0);
    unit[0] = 1;
    solved.slopeVariance = choleskySolve(factor, p, unit)[0];
    solved.total = yy;
    const double tiny = std::numeric_limits<double>::min();
    solved.restricted = -0.5 * ((n - p) * std::log(std::max(solved.rss, tiny)) + logR + logDet);
    return solved;
}

struct Collected {
    std::vector<TrendPoint> points;
    std::vector<TrendTie> ties;
    std::vector<LeakPoint> shown;
    std::vector<UnusableDay> unusable;
    int usable = 0;
};

// The points of the fit from the month's figures: each usable close, its cumulative over/short
// (net when `net`), with a new segment after each delivery or break.
Expected<Collected, std::string> collect(const MonthRecords& records, const MonthReport& figures,
                                         const Opening& opening, const Gauge& gauge, bool net,
                                         double precision) {
    Collected out;
    const long first = dayNumber(records.days.front().date);
    const long start = records.before ? dayNumber(records.before->date) : first - 1;
    const std::string startDate = records.before ? records.before->date : dateOf(start);
    auto vcfOf = [&](const std::optional<double>& temperature) -> std::optional<double> {
        if (!net) {
            return 1.0;
        }
        if (!temperature) {
            return std::nullopt;
        }
        const auto vcf = gauge.vcf(*temperature);
        return vcf ? std::optional<double>(*vcf) : std::nullopt;
    };
    auto weightAt = [&](double level, double vcf) {
        return std::max(volumePerLength(gauge, level, precision / 2) * vcf, 1e-12);
    };
    // What the day's deliveries measured beyond their bills, and that figure's scale: the
    // errors of the two sticks of each. None when a net difference is wanted and not known.
    auto tieOf = [&](const Day& day, const DayFigures& dayFigures,
                     double vcf) -> std::optional<std::pair<double, double>> {
        double difference = 0;
        double variance = 0;
        for (std::size_t k = 0; k < day.deliveries.size(); ++k) {
            const DeliveryCheck& check = dayFigures.deliveries[k];
            if (net && !check.netDifference) {
                return std::nullopt;
            }
            difference += net ? *check.netDifference : check.grossDifference;
            const double before = weightAt(day.deliveries[k].levelBefore, vcf);
            const double after = weightAt(day.deliveries[k].levelAfter, vcf);
            variance += before * before + after * after;
        }
        return std::pair{difference, std::sqrt(variance)};
    };

    const double openingGross = figures.days.front().opening;
    const auto openingVcf = vcfOf(records.before ? records.before->temperature : std::nullopt);
    const double openingVolume = openingGross * openingVcf.value_or(1);
    int segment = 0;
    if (openingVcf && opening.level > 0) {
        out.points.push_back({0, 0, weightAt(opening.level, *openingVcf), segment});
        out.shown.push_back({startDate, 0, 0, 0});
    }
    bool breakPending = false;
    double moved = 0;  // pumped less delivered through the day, in the volumes used
    long previous = start;
    for (std::size_t i = 0; i < records.days.size(); ++i) {
        const Day& day = records.days[i];
        const DayFigures& dayFigures = figures.days[i];
        const long number = dayNumber(day.date);
        if (number <= previous) {
            return Unexpected(day.date + ": the days are not in date order");
        }
        const auto vcf = vcfOf(day.temperature);
        const double pumpedVcf = vcf.value_or(1);
        moved += dayFigures.pumped * pumpedVcf;
        for (const DeliveryCheck& check : dayFigures.deliveries) {
            moved -= check.billNet && net ? *check.billNet : check.billGross * pumpedVcf;
        }
        const bool gap = number - previous > 1;
        previous = number;
        const bool pumped = day.pumped || (day.meterOpen && day.meterClose);
        const bool unstuck =
            std::any_of(day.deliveries.begin(), day.deliveries.end(),
                        [](const Delivery& d) { return d.levelAfter <= d.levelBefore; });
        std::optional<Unusable> reason;
        if (gap) {
            reason = Unusable::AfterGap;
        } else if (!pumped) {
            reason = Unusable::NothingPumped;
        } else if (!vcf) {
            reason = Unusable::NoTemperature;
        } else if (unstuck) {
            reason = Unusable::DeliveryUnstuck;
        } else if (day.closingLevel <= 0) {
            reason = Unusable::EmptyStick;
        }
        // The cumulative telescopes to closing - opening + pumped - delivered: a bad close
        // spoils its own point only, a missing pumped volume or a delivery every later one.
        const bool breaks = gap || !pumped || !vcf || !day.deliveries.empty();
        if (reason) {
            out.unusable.push_back({day.date, *reason});
            breakPending = breakPending || breaks;
            continue;
        }
        if (breaks || breakPending) {
            // The day's deliveries measured by their own sticks tie the new offset to the last,
            // unless a break between them leaves it free.
            if (!breakPending && !out.points.empty()) {
                if (auto tie = tieOf(day, dayFigures, *vcf)) {
                    out.ties.push_back({segment + 1, tie->first, tie->second});
                }
            }
            ++segment;
            breakPending = false;
        }
        ++out.usable;
        const double cumulative = dayFigures.closing * *vcf - openingVolume + moved;
        out.points.push_back({static_cast<double>(number - start), cumulative,
                              weightAt(day.closingLevel, *vcf), segment});
        out.shown.push_back({day.date, static_cast<double>(number - start), cumulative, 0});
    }
    return out;
}

}  // namespace

std::optional<TrendFit> fitTrend(const std::vector<TrendPoint>& points,
                                 const std::vector<TrendTie>& ties,
                                 std::optional<double> correlation, double scatterFloor) {
    int segments = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const int step = points[i].segment - (i == 0 ? 0 : points[i - 1].segment);
        if (step < 0 || step > 1 || (i > 0 && points[i].days <= points[i - 1].days)) {
            return std::nullopt;
        }
        segments = points[i].segment + 1;
    }
    for (const TrendTie& tie : ties) {
        if (tie.segment < 1 || tie.segment >= segments || !(tie.weight > 0)) {
            return std::nullopt;
        }
    }
    const int freedom = static_cast<int>(points.size() + ties.size()) - (segments + 1);
    if (freedom < 1) {
        return std::nullopt;
    }
    // The correlation is the closes' own: it is estimated with the offsets left free, since the
    // ties, whose errors follow no day-to-day pattern, would only blur it.
    double phi = correlation.value_or(0);
    if (!correlation && freedom - static_cast<int>(ties.size()) >= 1) {
        std::optional<Solved> free = solveAt(points, {}, segments, 0);
        // An exact fit has no scatter to tell its correlation from.
        if (free && free->rss > kExact * free->total) {
            for (int step = 1; step <= kCorrelationSteps; ++step) {
                const double candidate = kLargestCorrelation * step / kCorrelationSteps;
                auto solved = solveAt(points, {}, segments, candidate);
                if (solved && solved->restricted > free->restricted) {
                    free = std::move(solved);
                    phi = candidate;
                }
            }
        }
    }
    const std::optional<Solved> best = solveAt(points, ties, segments, phi);
    if (!best) {
        return std::nullopt;
    }
    TrendFit fit;
    fit.correlation = phi;
    fit.freedom = freedom;
    fit.slope = best->coefficients[0];
    fit.scatter = std::max(std::sqrt(best->rss / freedom), scatterFloor);
    fit.standardError = fit.scatter * std::sqrt(best->slopeVariance);
    for (const TrendPoint& point : points) {
        fit.fitted.push_back(best->coefficients[1 + point.segment] + fit.slope * point.days);
    }
    return fit;
}

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
