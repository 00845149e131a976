#pragma once

// The meters' calibration factors: the true volume pumped is the recorded one times
// (1 + factor / 1,155) for cubic inches per 5 gallons, (1 + factor / 20,000) for millilitres per
// 20 litres. 1 in³ per 5 gal is 0.0866 %, 1 mL per 20 L 0.005 %.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/records.h"
#include "model/units/units.h"

namespace brimwell::book {

// A factor's share of the recorded volume: +6 in³ per 5 gal is 6 / 1,155.
double meterShare(const MeterFactor& factor);

// The share no factor may pass in size: 100 in³ per 5 gal, 1,731.6 mL per 20 L.
inline constexpr double kLargestMeterShare = 100.0 / 1155.0;

// Cubic inches per 5 gallons for a book in gallons, millilitres per 20 litres otherwise.
MeterUnit meterUnitFor(VolumeUnit unit);
std::string_view meterUnitWord(MeterUnit unit);  // "in3/5gal", "mL/20L"
std::optional<MeterUnit> meterUnitOf(std::string_view word);

// The factor in effect on `date`: the latest whose date is on or before it; `factors` in date
// order.
std::optional<MeterFactor> factorOn(const std::vector<MeterFactor>& factors,
                                    const std::string& date);

// Why the factor cannot be added to those of a tank, if it cannot: its date, a size no meter
// has, or a date that has a factor already.
std::optional<std::string> meterFactorRefusal(const MeterFactor& factor,
                                              const std::vector<MeterFactor>& existing);

}  // namespace brimwell::book
