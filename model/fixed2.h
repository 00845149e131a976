#pragma once

// The chart's number form, two decimals, written fast: a chart writes 65536 numbers, so this
// lives in a header where the chart's line builder can inline it. appendFixed2 (numbertext.h)
// writes the same text for every value.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace brimwell {

inline constexpr std::array<double, 10> kPowersOfTen{1e0, 1e1, 1e2, 1e3, 1e4,
                                                     1e5, 1e6, 1e7, 1e8, 1e9};

// Rounds |value| × 10^places half away from zero when that is safe in binary arithmetic:
// the scaled value is small enough and either an exact half or not so close to a half that its
// 15-digit decimal form could fall on the other side.
inline std::optional<std::uint64_t> roundScaledFast(double absValue, int places) {
    if (places < 0 || places >= static_cast<int>(kPowersOfTen.size())) {
        return std::nullopt;
    }
    const double scaled = absValue * kPowersOfTen[static_cast<std::size_t>(places)];
    if (!(scaled < 4.0e15)) {
        return std::nullopt;
    }
    // The floor, as a signed number: scaled is neither negative nor near the signed limit, and the
    // signed conversion is the processor's own.
    const auto whole = static_cast<std::int64_t>(scaled);
    const double frac = scaled - static_cast<double>(whole);
    // An exact binary half below 10^14 (a float volume such as 153.125 gives one) is a half of the
    // decimal form too: the product strays at most half a unit in the last binary place from
    // the true one, far less than the 15th decimal digit could show.
    if (frac == 0.5 && scaled < 1e14) {
        return static_cast<std::uint64_t>(whole) + 1;
    }
    if (std::fabs(frac - 0.5) <= scaled * 1e-14 + 1e-12) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(whole) + (frac > 0.5 ? 1 : 0);
}

// A number rounded to whole hundredths, half away from zero: "12.35" is {1235, false}.
struct Cents {
    std::uint64_t count = 0;
    bool negative = false;  // never for 0: "-0.00" is not written
};

// The value in cents when binary arithmetic can round it exactly; empty for a value that needs
// the exact decimal rules (at least 4E+13, or so near a half-cent that it cannot tell the side).
inline std::optional<Cents> roundToCents(double value) {
    const auto count = roundScaledFast(std::fabs(value), 2);
    if (!count) {
        return std::nullopt;
    }
    return Cents{*count, std::signbit(value) && *count != 0};
}

// The most characters writeCents writes beyond a width: 14 integer digits, the point, two
// decimals and a sign.
inline constexpr std::size_t kFixed2FastLength = 18;

// Writes the cents as the chart's number form, padded on the left with blanks to `width`, at
// `out`, which must have room for max(width, kFixed2FastLength) characters; returns the end.
inline char* writeCents(char* out, Cents cents, std::size_t width) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    static constexpr char kBlanks[] = "                ";
    constexpr std::size_t kBlankRun = sizeof kBlanks - 1;
    static_assert(kBlankRun <= kFixed2FastLength);
    std::uint64_t whole = cents.count / 100;
    std::size_t length = 4 + (cents.negative ? 1 : 0);  // a digit, the point, two decimals
    for (std::uint64_t rest = whole; rest >= 10; rest /= 10) {
        ++length;  // a loop the branch predictor learns: a chart's numbers grow slowly
    }
    // Blanks under the whole field first; digits then overwrite its right end, two at a time.
    if (width <= kBlankRun) {
        std::memcpy(out, kBlanks, kBlankRun);
    } else {
        std::memset(out, ' ', width);
    }
    char* const end = out + std::max(width, length);
    char* p = end - 2;
    std::memcpy(p, kPairs + 2 * (cents.count - 100 * whole), 2);
    *--p = '.';
    for (; whole >= 100; whole /= 100) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * (whole % 100), 2);
    }
    if (whole >= 10) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * whole, 2);
    } else {
        *--p = static_cast<char>('0' + whole);
    }
    if (cents.negative) {
        *--p = '-';
    }
    return end;
}

}  // namespace brimwell
