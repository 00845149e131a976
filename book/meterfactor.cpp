#include "book/meterfactor.h"

#include <cmath>

#include "book/validation.h"
#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

constexpr double kCubicInchesPer5Gallons = 1155;
constexpr double kMillilitresPer20Litres = 20000;

}  // namespace

double meterShare(const MeterFactor& factor) {
    return factor.value / (factor.unit == MeterUnit::CubicInchesPer5Gallons
                               ? kCubicInchesPer5Gallons
                               : kMillilitresPer20Litres);
}

MeterUnit meterUnitFor(VolumeUnit unit) {
    return unit == VolumeUnit::Gallons ? MeterUnit::CubicInchesPer5Gallons
                                       : MeterUnit::MillilitresPer20Litres;
}

std::string_view meterUnitWord(MeterUnit unit) {
    return unit == MeterUnit::CubicInchesPer5Gallons ? "in3/5gal" : "mL/20L";
}

std::optional<MeterUnit> meterUnitOf(std::string_view word) {
    for (const MeterUnit unit : {MeterUnit::CubicInchesPer5Gallons,
                                 MeterUnit::MillilitresPer20Litres}) {
        if (meterUnitWord(unit) == word) {
            return unit;
        }
    }
    return std::nullopt;
}

std::optional<MeterFactor> factorOn(const std::vector<MeterFactor>& factors,
                                    const std::string& date) {
    std::optional<MeterFactor> found;
    for (const MeterFactor& factor : factors) {
        if (factor.from <= date) {
            found = factor;
        }
    }
    return found;
}

// A factor on a date that has one is refused rather than replaced: the months worked out with
// the first would change without a trace, and the book never rewrites a record unseen.
std::optional<std::string> meterFactorRefusal(const MeterFactor& factor,
                                              const std::vector<MeterFactor>& existing) {
    if (!isDate(factor.from)) {
        return "the date '" + factor.from + "' is not a date YYYY-MM-DD";
    }
    const double limit = factor.unit == MeterUnit::CubicInchesPer5Gallons
                             ? kLargestMeterShare * kCubicInchesPer5Gallons
                             : kLargestMeterShare * kMillilitresPer20Litres;
    if (!std::isfinite(factor.value) || std::abs(meterShare(factor)) > kLargestMeterShare) {
        return "a meter factor is at most " + plainText(std::round(limit * 10) / 10) + " " +
               std::string(meterUnitWord(factor.unit)) + " over or under";
    }
    for (const MeterFactor& each : existing) {
        if (each.from == factor.from) {
            return "a meter factor takes effect on " + factor.from + " already (" +
                   plainText(each.value) + " " + std::string(meterUnitWord(each.unit)) +
                   "); a factor once recorded is kept as it is, so add the new one from the day "
                   "it takes effect";
        }
    }
    return std::nullopt;
}

}  // namespace brimwell::book
