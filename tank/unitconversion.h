#pragma once

// How the tank window converts the texts on display when the user chooses another unit.
// Every function either converts all of its fields or, when one of them cannot be converted,
// none: the window then keeps showing the values in the unit they are really in.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/text/numbertext.h"
#include "model/units/units.h"

namespace brimwell {

inline constexpr std::string_view kLengthPattern = "#######.#####";
inline constexpr std::string_view kResultPattern = "##########.##";
inline constexpr std::string_view kShownCoefficientByVolumePattern = "##########.######";
inline constexpr std::string_view kShownCoefficientByTemperaturePattern = "#########.#####";
inline constexpr std::string_view kShownCoefficientRedisplayPattern = "##.#####";
inline constexpr std::string_view kTemperaturePattern = "##########.##";

// Each text read leniently, times the factor, written with the pattern; empty when a product
// leaves the double range.
std::optional<std::vector<std::string>> scaleTexts(const std::vector<std::string>& texts,
                                                   double factor, std::string_view pattern,
                                                   std::string_view decimal);

// The temperature fields of the tank window.
struct TemperatureFields {
    std::string productTemp;
    std::string referenceTemp;
    std::string shownCoefficient;
    std::string cevalue;
};

// The fields in another temperature scale: the product temperature converted, the reference
// set to the new scale's own value, both coefficients rescaled per degree. Empty when a text
// that must be read strictly is not a number or a value overflows.
std::optional<TemperatureFields> convertTemperatureFields(const TemperatureFields& fields,
                                                          TempUnit from, TempUnit to,
                                                          const NumberFormat& format);

// The fields written again in their patterns when the scale in force is chosen again. A field
// whose text is not a number keeps it; the stored coefficient is not touched.
TemperatureFields redisplayTemperatureFields(const TemperatureFields& fields,
                                             const NumberFormat& format);

}  // namespace brimwell
