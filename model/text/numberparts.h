#pragma once

// What the files of the number text rules share: a number's 15-digit decimal form, rounding it
// to a number of decimals, and turning decimal digits back into a double. The rest of the program
// includes model/text/numbertext.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace brimwell::numbertext {

constexpr int kSignificantDigits = 15;

constexpr auto kWholePowersOfTen = [] {
    std::array<std::uint64_t, kSignificantDigits + 1> powers{};
    std::uint64_t power = 1;
    for (auto& each : powers) {
        each = power;
        power *= 10;
    }
    return powers;
}();

// A finite |value| in its 15-significant-digit decimal form: digits × 10^exponent, the first
// digit standing at 10^leading.
struct Decimal15 {
    std::uint64_t digits = 0;  // below 10^15
    int exponent = 0;
    int leading = 0;
};

// The exact value rounded to 15 digits.
Decimal15 exactDecimal15(double magnitude);

// From the shortest digits that read back as the value, rounded to 15 digits: the same as the
// exact value's rounding, since no 16-digit midpoint can lie between the two, except where those
// digits end on such a midpoint, which only the exact value can settle.
Decimal15 toDecimal15(double magnitude);

// The decimal form of |value|; zero for 0 and for a value that is not finite.
Decimal15 decimal15(double value);

// Appends |value| rounded to `places` decimals, halves away from zero, on its 15-digit decimal
// form `d` (0.125 at two places is 0.13, as is 0.12500000000000001): at least one integer digit,
// "." as the point; a sign when `negative` and the rounded value is not 0; blanks before it up
// to `width`.
void appendRounded(std::string& out, bool negative, int places, const Decimal15& d,
                   std::size_t width = 0);

// The fixed form with `places` decimals, padded on the left with blanks to `width`.
void appendFixedForm(std::string& out, double value, int places, std::size_t width,
                     const Decimal15& decimal);

// Turns a normalized mantissa ("123.45", digits and at most one '.') and a decimal exponent
// into a double: an overflow gives an empty result, an underflow gives zero.
std::optional<double> toDouble(const std::string& mantissa, long exponent, bool negative);

}  // namespace brimwell::numbertext
