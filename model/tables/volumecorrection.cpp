#include "model/tables/volumecorrection.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>

#include "model/text/numbertext.h"

namespace brimwell {
namespace {

// Water at 60 °F, kg/m³, in the 1980 tables' conversion of API gravity to density.
constexpr double kWaterAt60F = 999.012;

constexpr double kGravityStep = 0.1;
constexpr double kDensityStep = 0.1;
constexpr double kCoefficientStep = 0.1e-6;
constexpr double kStepF = 0.1;
constexpr double kStepC = 0.05;
constexpr double kVcfStep = 0.0001;

// α = a + k0/ρ² + k1/ρ for base values from `from` on, in the table's own unit (°API, kg/m³),
// as published (volumecorrection.h); `a` is nonzero in the transition zone only.
struct ProductGroup {
    double from;
    double a;
    double k0;
    double k1;
};

// 6B, by API gravity: fuel oils, jet fuels, transition zone, gasolines.
constexpr std::array<ProductGroup, 4> kGroups6B{{
    {0.0, 0.0, 103.8720, 0.2701},
    {37.1, 0.0, 330.3010, 0.0},
    {48.0, -0.0018684, 1489.0670, 0.0},
    {52.1, 0.0, 192.4571, 0.2438},
}};

// 54B, by density at 15 °C: gasolines, transition zone, jet fuels, fuel oils. The constants are
// 6B's times 1.8, for a coefficient per °C; a density on a boundary starts the next group.
constexpr std::array<ProductGroup, 4> kGroups54B{{
    {653.0, 0.0, 346.4228, 0.4388},
    {770.5, -0.00336312, 2680.3206, 0.0},
    {787.5, 0.0, 594.5418, 0.0},
    {838.5, 0.0, 186.9696, 0.4862},
}};

// Halves away from zero; the nudge keeps a decimal half such as 67.45 from rounding down for
// lying just below the half in binary. Each step is a whole fraction of one (0.1, 0.05, 0.0001,
// 0.1e-6), and the count of steps divided by that whole number is the double nearest the decimal
// result: 0.989, where the count times the step would give 0.9890000000000001.
double roundTo(double value, double step) {
    const double perOne = std::round(1.0 / step);
    const double steps = value * perOne;
    return std::round(steps + std::copysign(1e-9, steps)) / perOne + 0.0;  // + 0.0: never −0
}

double densityFromGravity(double api) { return 141.5 * kWaterAt60F / (131.5 + api); }
double gravityFromDensity(double density) { return 141.5 * kWaterAt60F / density - 131.5; }

// The slack lets a rounded input equal to a limit pass whatever its last binary digit.
bool inside(double value, Range range) {
    const double slack = 1e-12 * std::max(std::fabs(range.low), std::fabs(range.high));
    return value >= range.low - slack && value <= range.high + slack;
}

double alphaOf(const ProductGroup& group, double density) {
    return group.a + group.k0 / (density * density) + group.k1 / density;
}

double rawVcf(double alpha, double deltaT) {
    const double x = alpha * deltaT;
    return std::exp(-x * (1.0 + 0.8 * x));
}

struct Quantity {
    std::string_view name;
    std::string_view unit;  // with its leading space, or empty
};

constexpr Quantity kGravity{"API gravity", ""};
constexpr Quantity kObservedGravity{"observed API gravity", ""};
constexpr Quantity kDensity{"density", " kg/m³"};
constexpr Quantity kObservedDensity{"observed density", " kg/m³"};
constexpr Quantity kCoefficientF{"coefficient", " per °F"};
constexpr Quantity kCoefficientC{"coefficient", " per °C"};
constexpr Quantity kDegreesF{"temperature", " °F"};
constexpr Quantity kDegreesC{"temperature", " °C"};

std::string outside(Quantity what, double value, std::string_view table, Range range) {
    if (!std::isfinite(value)) {
        return "the " + std::string(what.name) + " is not a finite number";
    }
    std::string text = "the " + std::string(what.name) + " " + formatGeneral(value) + std::string(what.unit);
    text += " is outside table " + std::string(table) + "'s range " + formatGeneral(range.low) + " to ";
    return text + formatGeneral(range.high) + std::string(what.unit);
}

double sameDensity(double density) { return density; }

// The arguments of one table: what it is entered with, its temperatures, its base, and for 6B
// and 54B its product groups, with the way from its input to a density and back.
struct Table {
    std::string_view name;
    Quantity input;
    Range inputRange;
    double inputStep;
    Quantity temperature;
    std::span<const TemperatureBand> bands;
    double temperatureStep;
    double baseTemperature;
    std::span<const ProductGroup> groups = {};
    double (*toDensity)(double) = sameDensity;
    double (*fromDensity)(double) = sameDensity;
    std::string_view baseUnit = "";  // as a base value is written in a refusal, with its space
};

constexpr Table k6B{"6B", kGravity, kTable6BGravity, kGravityStep,
                    kDegreesF, kTable6BTemperatures, kStepF, 60.0,
                    kGroups6B, densityFromGravity, gravityFromDensity, " °API"};
constexpr Table k54B{"54B", kDensity, kTable54BDensity, kDensityStep,
                     kDegreesC, kTable54BTemperatures, kStepC, 15.0,
                     kGroups54B, sameDensity, sameDensity, " kg/m³"};
constexpr Table k6C{"6C", kCoefficientF, kTable6CCoefficient, kCoefficientStep,
                    kDegreesF, kTable6CTemperatures, kStepF, 60.0};
constexpr Table k54C{"54C", kCoefficientC, kTable54CCoefficient, kCoefficientStep,
                     kDegreesC, kTable54CTemperatures, kStepC, 15.0};

// Where product group `index` starts and ends for any value, rounded or not: halfway between its
// first value and the last value of the group before, on the table's step, so that a value
// rounds into the group it lies in.
Range groupLimits(const Table& table, std::size_t index) {
    const double half = table.inputStep / 2;
    const double low = index == 0 ? table.inputRange.low - half : table.groups[index].from - half;
    const double high = index + 1 == table.groups.size() ? table.inputRange.high + half
                                                         : table.groups[index + 1].from - half;
    return {low, high};
}

std::size_t groupOf(const Table& table, double value) {
    std::size_t index = 0;
    while (index + 1 < table.groups.size() && value >= groupLimits(table, index + 1).low) {
        ++index;
    }
    return index;
}

// α of a value of the table's input, in product group `index`.
double alphaIn(const Table& table, std::size_t index, double value) {
    return alphaOf(table.groups[index], table.toDensity(value));
}

// The band of the temperatures for a value of the table's input; beyond the last band's upTo
// the value was refused before.
std::size_t bandOf(const Table& table, double value) {
    std::size_t band = 0;
    while (band + 1 < table.bands.size() && value > table.bands[band].upTo * (1 + 1e-12)) {
        ++band;
    }
    return band;
}

struct Entry {
    double input;
    double temperature;
};

// All the temperatures any band of the table covers.
Range widest(std::span<const TemperatureBand> bands) {
    Range range = bands.front().temperature;
    for (const auto& band : bands) {
        range = {std::min(range.low, band.temperature.low),
                 std::max(range.high, band.temperature.high)};
    }
    return range;
}

// The inputs rounded to the table's steps and checked against its ranges. An observed value
// (5B, 53B) may be taken at any temperature of the table; its base value meets its band later.
Expected<Entry, std::string> enter(const Table& table, std::string_view name, Quantity what,
                                   double input, double temperature, bool observed = false) {
    const Entry entry{roundTo(input, table.inputStep), roundTo(temperature, table.temperatureStep)};
    if (!inside(entry.input, table.inputRange)) {
        return Unexpected(outside(what, input, name, table.inputRange));
    }
    const Range temperatures =
        observed ? widest(table.bands) : table.bands[bandOf(table, entry.input)].temperature;
    if (inside(entry.temperature, temperatures)) {
        return entry;
    }
    std::string error = outside(table.temperature, temperature, name, temperatures);
    if (!observed) {
        error += " for the " + std::string(what.name) + " " + formatGeneral(input) +
                 std::string(what.unit);
    }
    return Unexpected(error);
}

VcfResult vcfOf(const Table& table, double input, double temperature) {
    const auto entry = enter(table, table.name, table.input, input, temperature);
    if (!entry) {
        return Unexpected(entry.error());
    }
    // 6C and 54C are given α, on the coefficient's step since entry. 6B and 54B compute it from
    // the density and round it to that same step, 0.1 × 10⁻⁶ (seven decimals), before the
    // exponential, as the 1980 procedure does (volumecorrection.h).
    const double alpha =
        table.groups.empty()
            ? entry->input
            : roundTo(alphaIn(table, groupOf(table, entry->input), entry->input), kCoefficientStep);
    return roundTo(rawVcf(alpha, entry->temperature - table.baseTemperature), kVcfStep);
}

// 5B and 53B: the VCF table of the base, what the observed value is called, and the 1980
// procedure's glass hydrometer correction, 1 − c1·ΔT − c2·ΔT² (volumecorrection.h).
struct BaseTable {
    std::string_view name;
    const Table& vcfTable;
    Quantity observed;
    double glassLinear;
    double glassSquare;
};

// The observed value, in the table's input, that a base value gives in product group `index`:
// its density times the VCF, which rises with the base within a group.
double observedOf(const Table& table, std::size_t index, double base, double deltaT) {
    const double density = table.toDensity(base);
    return table.fromDensity(density * rawVcf(alphaIn(table, index, base), deltaT));
}

// The x in [low, high] where the rising `f` crosses zero, f(low) <= 0 <= f(high): bisection down
// to neighbouring doubles.
template <typename Rising>
double bisect(Rising f, double low, double high) {
    for (int pass = 0; pass < 200; ++pass) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) {
            break;
        }
        (f(middle) < 0 ? low : high) = middle;
    }
    return low + (high - low) / 2;
}

// The base value, unrounded, whose observed value in its own product group is `observed`; the
// rules for two roots and for none are in volumecorrection.h. A base beyond the table's range is
// found with the constants of the group at that end.
double solveBase(const Table& table, double observed, double deltaT) {
    const std::size_t count = table.groups.size();
    std::optional<double> best;
    for (std::size_t index = 0; index < count; ++index) {
        const Range limits = groupLimits(table, index);
        const auto f = [&](double base) {
            return observedOf(table, index, base, deltaT) - observed;
        };
        if (f(limits.low) <= 0 && f(limits.high) >= 0) {
            const double root = bisect(f, limits.low, limits.high);
            if (!best || std::fabs(root - observed) < std::fabs(*best - observed)) {
                best = root;
            }
        }
    }
    if (best) {
        return *best;
    }
    const double span = table.inputRange.high - table.inputRange.low;
    const Range first = groupLimits(table, 0);
    if (observedOf(table, 0, first.low, deltaT) > observed) {
        const auto f = [&](double base) { return observedOf(table, 0, base, deltaT) - observed; };
        return bisect(f, first.low - span, first.low);
    }
    const Range last = groupLimits(table, count - 1);
    if (observedOf(table, count - 1, last.high, deltaT) < observed) {
        const auto f = [&](double base) {
            return observedOf(table, count - 1, base, deltaT) - observed;
        };
        return bisect(f, last.high, last.high + span);
    }
    // A forward step at a boundary: the reading lies between the observed values of its two sides.
    std::size_t index = 0;
    while (index + 2 < count &&
           observedOf(table, index + 1, groupLimits(table, index + 1).low, deltaT) < observed) {
        ++index;
    }
    const double boundary = groupLimits(table, index).high;
    const double below = observed - observedOf(table, index, boundary, deltaT);
    const double above = observedOf(table, index + 1, boundary, deltaT) - observed;
    const double quarter = table.inputStep / 4;
    return below <= above ? boundary - quarter : boundary + quarter;
}

// "at 210 °F, a base of 51.5 °API is outside table 6B, which goes only to 200 °F above 50 °API"
std::string baseOutside(const Table& table, double temperature, double base,
                        const std::string& limit) {
    std::string text =
        "at " + formatGeneral(temperature) + std::string(table.temperature.unit) + ", a base of ";
    appendFixed(text, base, 1);
    return text + std::string(table.baseUnit) + " is outside table " + std::string(table.name) +
           ", which goes only " + limit;
}

// The band's highest temperature, and the side of the band where it is the lower one.
std::string bandLimit(const Table& table, std::size_t band) {
    const auto& bands = table.bands;
    std::string text =
        "to " + formatGeneral(bands[band].temperature.high) + std::string(table.temperature.unit);
    if (band > 0 && bands[band - 1].temperature.high > bands[band].temperature.high) {
        return text + " above " + formatGeneral(bands[band - 1].upTo) + std::string(table.baseUnit);
    }
    if (band + 1 < bands.size() &&
        bands[band + 1].temperature.high > bands[band].temperature.high) {
        return text + " up to " + formatGeneral(bands[band].upTo) + std::string(table.baseUnit);
    }
    return text;
}

Expected<BaseCorrection, std::string> baseOf(const BaseTable& table, double input,
                                             double temperature, ObservedWith meter) {
    const Table& vcfTable = table.vcfTable;
    const auto entry = enter(vcfTable, table.name, table.observed, input, temperature, true);
    if (!entry) {
        return Unexpected(entry.error());
    }
    const double deltaT = entry->temperature - vcfTable.baseTemperature;
    const double glass = meter == ObservedWith::GlassHydrometer
                             ? 1 - table.glassLinear * deltaT - table.glassSquare * deltaT * deltaT
                             : 1;
    const double observed = vcfTable.fromDensity(vcfTable.toDensity(entry->input) * glass);
    const double base = roundTo(solveBase(vcfTable, observed, deltaT), vcfTable.inputStep);
    const Range range = vcfTable.inputRange;
    if (!inside(base, range)) {
        const std::string limit = base < range.low ? "down to " + formatGeneral(range.low)
                                                   : "to " + formatGeneral(range.high);
        return Unexpected(
            baseOutside(vcfTable, temperature, base, limit + std::string(vcfTable.baseUnit)));
    }
    const std::size_t band = bandOf(vcfTable, base);
    if (!inside(entry->temperature, vcfTable.bands[band].temperature)) {
        return Unexpected(baseOutside(vcfTable, temperature, base, bandLimit(vcfTable, band)));
    }
    const auto vcf = vcfOf(vcfTable, base, entry->temperature);
    if (!vcf) {
        return Unexpected(vcf.error());
    }
    return BaseCorrection{base, *vcf};
}

}  // namespace

VcfResult vcfTable6B(double apiGravity60F, double temperatureF) {
    return vcfOf(k6B, apiGravity60F, temperatureF);
}

VcfResult vcfTable54B(double density15C, double temperatureC) {
    return vcfOf(k54B, density15C, temperatureC);
}

VcfResult vcfTable6C(double coefficientPerF, double temperatureF) {
    return vcfOf(k6C, coefficientPerF, temperatureF);
}

VcfResult vcfTable54C(double coefficientPerC, double temperatureC) {
    return vcfOf(k54C, coefficientPerC, temperatureC);
}

Expected<BaseCorrection, std::string> baseTable5B(double observedApiGravity, double temperatureF,
                                                  ObservedWith meter) {
    static constexpr BaseTable k5B{"5B", k6B, kObservedGravity, 0.00001278, 0.0000000062};
    return baseOf(k5B, observedApiGravity, temperatureF, meter);
}

Expected<BaseCorrection, std::string> baseTable53B(double observedDensity, double temperatureC,
                                                   ObservedWith meter) {
    static constexpr BaseTable k53B{"53B", k54B, kObservedDensity, 0.000023, 0.00000002};
    return baseOf(k53B, observedDensity, temperatureC, meter);
}

}  // namespace brimwell
