// Rounding: a number's 15-digit decimal form, and rounding that form to a number of decimals,
// halves away from zero for the written forms and to even for roundHalfEven.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "model/text/numberparts.h"
#include "model/text/numbertext.h"

namespace brimwell::numbertext {
namespace {

// Reads "d.ddde±dd" as its first 15 digits and the digits after them.
Decimal15 readScientific(const char* text, const char* end, std::string_view& rest) {
    const char* e = std::find(text, end, 'e');
    Decimal15 d;
    int count = 0;
    for (const char* p = text; p < e; ++p) {
        if (*p != '.' && count == kSignificantDigits) {
            rest = std::string_view(p, static_cast<std::size_t>(e - p));
            break;
        }
        if (*p != '.') {
            d.digits = d.digits * 10 + static_cast<std::uint64_t>(*p - '0');
            ++count;
        }
    }
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, d.leading);
    d.exponent = d.leading - (count - 1);
    return d;
}

// The powers of ten that a double holds exactly, 10^0 to 10^22.
constexpr auto kExactPowersOfTen = [] {
    std::array<double, 23> powers{};
    double power = 1;
    for (double& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

// The 15 digits of |value| from its product with a power of ten and that product's exact error
// (one fused multiply-add): nearly every figure a tank gives. Nothing for a product exactly on a
// half, which the exact decimal settles, for values from 10^15 on, and where the power of ten is
// not exact.
std::optional<Decimal15> quickDecimal15(double magnitude) {
    if (!(magnitude >= 1e-8 && magnitude < 1e15)) {
        return std::nullopt;
    }
    // log10 lies within [(e - 1) log10 2, e log10 2), so the leading exponent is this or one more.
    const int binary = std::ilogb(magnitude) + 1;
    // From 1e-8 on, the leading exponent is -8 or more, and 10^(14 + 8) the largest power needed.
    int leading = std::max(static_cast<int>(std::floor((binary - 1) * 0.30102999566398120)),
                           kSignificantDigits - static_cast<int>(kExactPowersOfTen.size()));
    const auto top = static_cast<double>(kWholePowersOfTen.back());
    double power = kExactPowersOfTen[static_cast<std::size_t>(kSignificantDigits - 1 - leading)];
    double scaled = magnitude * power;
    if (scaled >= top && leading < kSignificantDigits - 1) {
        ++leading;
        power = kExactPowersOfTen[static_cast<std::size_t>(kSignificantDigits - 1 - leading)];
        scaled = magnitude * power;
    }
    const double error = std::fma(magnitude, power, -scaled);  // exact: product = scaled + error
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (whole < top / 10 || whole >= top - 1 || (fraction == 0.5 && error == 0)) {
        return std::nullopt;
    }
    const bool up = fraction == 0.5 ? error > 0 : fraction > 0.5;
    return Decimal15{static_cast<std::uint64_t>(whole) + (up ? 1 : 0),
                     leading - (kSignificantDigits - 1), leading};
}

}  // namespace

Decimal15 exactDecimal15(double magnitude) {
    std::array<char, 40> text{};
    const char* end = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1)
                          .ptr;
    std::string_view rest;
    return readScientific(text.data(), end, rest);
}

Decimal15 toDecimal15(double magnitude) {
    if (const auto quick = quickDecimal15(magnitude)) {
        return *quick;
    }
    std::array<char, 40> text{};
    const char* end = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                    std::chars_format::scientific)
                          .ptr;
    std::string_view rest;
    Decimal15 d = readScientific(text.data(), end, rest);
    if (rest == "5") {
        return exactDecimal15(magnitude);
    }
    if (!rest.empty() && rest[0] >= '5' && ++d.digits == kWholePowersOfTen.back()) {
        d.digits /= 10;
        ++d.exponent;
        ++d.leading;
    }
    return d;
}

Decimal15 decimal15(double value) {
    return value != 0 && std::isfinite(value) ? toDecimal15(std::fabs(value)) : Decimal15{};
}

void appendRounded(std::string& out, bool negative, int places, const Decimal15& d,
                   std::size_t width) {
    std::uint64_t count = 0;  // of units of the last place, then `zeros` more zeros
    std::size_t zeros = 0;
    const int shift = d.exponent + places;
    if (d.digits != 0 && shift >= 0) {
        count = d.digits;
        zeros = static_cast<std::size_t>(shift);
    } else if (d.digits != 0 && shift >= -kSignificantDigits) {
        const std::uint64_t unit = kWholePowersOfTen[static_cast<std::size_t>(-shift)];
        const std::uint64_t rest = d.digits % unit;
        count = d.digits / unit + (rest >= unit - rest ? 1 : 0);
    }
    std::array<char, 24> text{};
    const auto written = static_cast<std::size_t>(
        std::to_chars(text.data(), text.data() + text.size(), count).ptr - text.data());
    const auto decimals = static_cast<std::size_t>(places);
    const std::size_t leading = written + zeros <= decimals ? decimals + 1 - written - zeros : 0;
    const std::size_t size = leading + written + zeros;
    std::array<char, 64> small{};
    std::string large;  // beyond 64 digits, for values far beyond any tank's
    char* digits = small.data();
    if (size > small.size()) {
        large.resize(size);
        digits = large.data();
    }
    std::memset(digits, '0', size);
    std::memcpy(digits + leading, text.data(), written);
    const bool sign = negative && count != 0;
    const std::size_t length = (sign ? 1 : 0) + size + (decimals > 0 ? 1 : 0);
    out.append(width > length ? width - length : 0, ' ');
    if (sign) {
        out += '-';
    }
    out.append(digits, size - decimals);
    if (decimals > 0) {
        out.append(".").append(digits + size - decimals, decimals);
    }
}

void appendFixedForm(std::string& out, double value, int places, std::size_t width,
                     const Decimal15& decimal) {
    if (std::isfinite(value)) {
        appendRounded(out, std::signbit(value), places, decimal, width);
    } else {
        out.append(width, ' ');
    }
}

}  // namespace brimwell::numbertext

namespace brimwell {

using numbertext::Decimal15;
using numbertext::exactDecimal15;
using numbertext::kSignificantDigits;
using numbertext::kWholePowersOfTen;
using numbertext::toDouble;

double roundHalfEven(double value, int decimals) {
    if (!std::isfinite(value)) {
        return value;
    }
    const Decimal15 d = value == 0 ? Decimal15{} : exactDecimal15(std::fabs(value));
    std::uint64_t count = d.digits;  // of units of 10^exponent
    int exponent = d.exponent;
    if (const int dropped = -(d.exponent + decimals); dropped > kSignificantDigits) {
        count = 0;
    } else if (dropped > 0) {
        const std::uint64_t unit = kWholePowersOfTen[static_cast<std::size_t>(dropped)];
        const std::uint64_t rest = count % unit;
        count /= unit;
        count += rest > unit - rest || (rest == unit - rest && count % 2 == 1) ? 1 : 0;
        exponent = -decimals;
    }
    if (count == 0) {
        return std::signbit(value) ? -0.0 : 0.0;
    }
    return toDouble(std::to_string(count), exponent, std::signbit(value)).value_or(value);
}

}  // namespace brimwell
