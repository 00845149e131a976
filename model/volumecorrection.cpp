#include "model/volumecorrection.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>

#include "model/numbertext.h"

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

// α = a + k0/ρ² + k1/ρ for base values up to `upTo`; `a` is nonzero in the transition zone only.
struct ProductGroup {
    double upTo;
    double a;
    double k0;
    double k1;
};

// 6B, by API gravity: fuel oils, jet fuels, transition zone, gasolines.
constexpr std::array<ProductGroup, 4> kGroups6B{{
    {37.0, 0.0, 103.8720, 0.2701},
    {47.9, 0.0, 330.3010, 0.0},
    {52.0, -0.0018684, 1489.0670, 0.0},
    {85.0, 0.0, 192.4571, 0.2438},
}};

// 54B, by density at 15 °C: gasolines, transition zone, jet fuels, fuel oils. The constants are
// 6B's times 1.8, for a coefficient per °C.
constexpr std::array<ProductGroup, 4> kGroups54B{{
    {770.0, 0.0, 346.4228, 0.4388},
    {787.9, -0.00336312, 2680.3206, 0.0},
    {838.9, 0.0, 594.5418, 0.0},
    {1075.0, 0.0, 186.9696, 0.4862},
}};

// Halves away from zero; the nudge keeps a decimal half such as 67.45 from rounding down for
// lying just below the half in binary. Each step is a whole fraction of one (0.1, 0.05, 0.0001,
// 0.1e-6), and the count of steps divided by that whole number is the double nearest the decimal
// result: 0.989, where the count times the step would give 0.9890000000000001.
double roundTo(double value, double step) {
    const double perOne = std::round(1.0 / step);
    const double steps = value * perOne;
    return std::round(steps + std::copysign(1e-9, steps)) / perOne;
}

double densityFromGravity(double api) { return 141.5 * kWaterAt60F / (131.5 + api); }
double gravityFromDensity(double density) { return 141.5 * kWaterAt60F / density - 131.5; }

// The slack lets a rounded input equal to a limit pass whatever its last binary digit.
bool inside(double value, Range range) {
    const double slack = 1e-12 * std::max(std::fabs(range.low), std::fabs(range.high));
    return value >= range.low - slack && value <= range.high + slack;
}

// Beyond the last band's upTo the value was refused before.
Range temperaturesFor(double value, std::span<const TemperatureBand> bands) {
    for (const auto& band : bands) {
        if (value <= band.upTo * (1 + 1e-12)) {
            return band.temperature;
        }
    }
    return bands.back().temperature;
}

// A rounded base value is in the group whose upTo it does not pass; a value between the steps,
// met while iterating, belongs where it would round to.
const ProductGroup& groupFor(double value, std::span<const ProductGroup> groups, double step) {
    for (const auto& group : groups) {
        if (value < group.upTo + step / 2) {
            return group;
        }
    }
    return groups.back();
}

double alphaOf(const ProductGroup& group, double density) {
    return group.a + group.k0 / (density * density) + group.k1 / density;
}

double alpha6B(double density60F) {
    return alphaOf(groupFor(gravityFromDensity(density60F), kGroups6B, kGravityStep), density60F);
}

double alpha54B(double density15C) {
    return alphaOf(groupFor(density15C, kGroups54B, kDensityStep), density15C);
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

// The arguments of one table: what it is entered with, its temperatures, its base.
struct Table {
    std::string_view name;
    Quantity input;
    Range inputRange;
    double inputStep;
    Quantity temperature;
    std::span<const TemperatureBand> bands;
    double temperatureStep;
    double baseTemperature;
};

constexpr Table k6B{"6B", kGravity, kTable6BGravity, kGravityStep,
                    kDegreesF, kTable6BTemperatures, kStepF, 60.0};
constexpr Table k54B{"54B", kDensity, kTable54BDensity, kDensityStep,
                     kDegreesC, kTable54BTemperatures, kStepC, 15.0};
constexpr Table k6C{"6C", kCoefficientF, kTable6CCoefficient, kCoefficientStep,
                    kDegreesF, kTable6CTemperatures, kStepF, 60.0};
constexpr Table k54C{"54C", kCoefficientC, kTable54CCoefficient, kCoefficientStep,
                     kDegreesC, kTable54CTemperatures, kStepC, 15.0};

struct Entry {
    double input;
    double temperature;
};

// All the temperatures any band of the table covers.
Range widest(std::span<const TemperatureBand> bands) {
    Range range = bands.front().temperature;
    for (const auto& band : bands) {
        range = {std::min(range.low, band.temperature.low), std::max(range.high, band.temperature.high)};
    }
    return range;
}

// The inputs rounded to the table's steps and checked against its ranges. An observed value
// (5B, 53B) may be taken at any temperature of the table; its base value meets its band later.
Expected<Entry, std::string> enter(const Table& table, std::string_view name, Quantity what, double input,
                                   double temperature, bool observed = false) {
    const Entry entry{roundTo(input, table.inputStep), roundTo(temperature, table.temperatureStep)};
    if (!inside(entry.input, table.inputRange)) {
        return Unexpected(outside(what, input, name, table.inputRange));
    }
    const Range temperatures = observed ? widest(table.bands) : temperaturesFor(entry.input, table.bands);
    if (inside(entry.temperature, temperatures)) {
        return entry;
    }
    std::string error = outside(table.temperature, temperature, name, temperatures);
    if (!observed) {
        error += " for the " + std::string(what.name) + " " + formatGeneral(input) + std::string(what.unit);
    }
    return Unexpected(error);
}

template <typename AlphaOf>
VcfResult vcfOf(const Table& table, double input, double temperature, AlphaOf alphaOfInput) {
    const auto entry = enter(table, table.name, table.input, input, temperature);
    if (!entry) {
        return Unexpected(entry.error());
    }
    const double alpha = alphaOfInput(entry->input);
    return roundTo(rawVcf(alpha, entry->temperature - table.baseTemperature), kVcfStep);
}

// The base density whose VCF at the observed temperature turns it into the observed density:
// ρ_observed = ρ_base × VCF(ρ_base). Each pass takes α at the last estimate.
std::optional<double> settleBase(double observed, double deltaT, double (*alphaAt)(double)) {
    double base = observed;
    for (int pass = 0; pass < 100; ++pass) {
        const double next = observed / rawVcf(alphaAt(base), deltaT);
        if (std::fabs(next - base) < 1e-9) {
            return next;
        }
        base = next;
    }
    return std::nullopt;
}

// 5B and 53B: what the observed value is called, how it reads as a density and back, and the
// VCF table of its base.
struct BaseTable {
    std::string_view name;
    Quantity observed;
    const Table& vcfTable;
    double (*toDensity)(double);
    double (*fromDensity)(double);
    double (*alphaAt)(double);
    VcfResult (*vcf)(double, double);
};

double sameDensity(double density) { return density; }

Expected<BaseCorrection, std::string> baseOf(const BaseTable& table, double input, double temperature) {
    const Table& vcfTable = table.vcfTable;
    const auto entry = enter(vcfTable, table.name, table.observed, input, temperature, true);
    if (!entry) {
        return Unexpected(entry.error());
    }
    const double deltaT = entry->temperature - vcfTable.baseTemperature;
    const auto density = settleBase(table.toDensity(entry->input), deltaT, table.alphaAt);
    if (!density) {
        return Unexpected("the " + std::string(table.observed.name) + " did not settle at the base temperature");
    }
    const double base = roundTo(table.fromDensity(*density), vcfTable.inputStep);
    if (!inside(base, vcfTable.inputRange)) {
        return Unexpected("the " + std::string(vcfTable.input.name) + " at the base temperature, " +
                          formatGeneral(base) + std::string(vcfTable.input.unit) + ", is outside table " +
                          std::string(table.name) + "'s range " + formatGeneral(vcfTable.inputRange.low) +
                          " to " + formatGeneral(vcfTable.inputRange.high) + std::string(vcfTable.input.unit));
    }
    const auto vcf = table.vcf(base, entry->temperature);
    if (!vcf) {
        return Unexpected(vcf.error());
    }
    return BaseCorrection{base, *vcf};
}

}  // namespace

VcfResult vcfTable6B(double apiGravity60F, double temperatureF) {
    return vcfOf(k6B, apiGravity60F, temperatureF,
                 [](double api) { return alpha6B(densityFromGravity(api)); });
}

VcfResult vcfTable54B(double density15C, double temperatureC) {
    return vcfOf(k54B, density15C, temperatureC, alpha54B);
}

VcfResult vcfTable6C(double coefficientPerF, double temperatureF) {
    return vcfOf(k6C, coefficientPerF, temperatureF, [](double alpha) { return alpha; });
}

VcfResult vcfTable54C(double coefficientPerC, double temperatureC) {
    return vcfOf(k54C, coefficientPerC, temperatureC, [](double alpha) { return alpha; });
}

Expected<BaseCorrection, std::string> baseTable5B(double observedApiGravity, double temperatureF) {
    static constexpr BaseTable k5B{"5B", kObservedGravity, k6B, densityFromGravity, gravityFromDensity,
                                   alpha6B, vcfTable6B};
    return baseOf(k5B, observedApiGravity, temperatureF);
}

Expected<BaseCorrection, std::string> baseTable53B(double observedDensity, double temperatureC) {
    static constexpr BaseTable k53B{"53B", kObservedDensity, k54B, sameDensity, sameDensity, alpha54B,
                                    vcfTable54B};
    return baseOf(k53B, observedDensity, temperatureC);
}

}  // namespace brimwell
