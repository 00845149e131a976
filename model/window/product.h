#pragma once

// Products, their thermal expansion coefficients, and the temperature-corrected net volume.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/units/units.h"

namespace brimwell {

struct ProductType {
    std::string_view name;
    std::string_view cePerDegreeF;  // also the text shown to the user
};

inline constexpr std::array<ProductType, 5> kProducts{{
    {"Regular Unleaded", "0.0007"},
    {"Mid-Grade Unleaded", "0.0007"},
    {"Premium Unleaded", "0.0007"},
    {"Diesel Fuel", "0.00047"},
    {"Kerosene", "0.00047"},
}};

// The coefficient the tank window starts with.
inline constexpr double kDefaultCoefficient = 0.0007;

// gross + gross × ((Tref − T) × Ce), rounded to single precision: a product warmer than the
// reference occupies less at the reference. Empty when the result overflows.
std::optional<float> NetVolume(float gross, float T, float Ce, float Tref);

// What choosing a product changes: the stored coefficient `cevalue` always, the shown
// coefficient only while the temperature unit is degrees F.
struct ProductSelection {
    std::string cevalue;
    std::optional<std::string> shownCoefficient;
};

// The product table applied to a product text and a temperature unit. Empty ("nothing changes")
// when the text is not in the table or the unit is none. Numbers are written with `decimal`.
std::optional<ProductSelection> selectProduct(std::string_view product,
                                              std::optional<TempUnit> tempUnit,
                                              std::string_view decimal = ".");

}  // namespace brimwell
