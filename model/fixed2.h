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

// "00" to "99", each two-digit number at twice its value.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

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
    std::memcpy(p, kDigitPairs + 2 * (cents.count - 100 * whole), 2);
    *--p = '.';
    for (; whole >= 100; whole /= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (whole % 100), 2);
    }
    if (whole >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * whole, 2);
    } else {
        *--p = static_cast<char>('0' + whole);
    }
    if (cents.negative) {
        *--p = '-';
    }
    return end;
}

// 10^0 to 10^16.
inline constexpr auto kWholePowersOfTen = [] {
    std::array<std::uint64_t, 17> powers{};
    std::uint64_t power = 1;
    for (auto& each : powers) {
        each = power;
        power *= 10;
    }
    return powers;
}();

// Writes `digits` digits of `rest`, a point before the last `decimals` of them, backwards from
// `end`.
template <typename Whole>
void writeDigits(char* end, Whole rest, std::size_t decimals, std::size_t digits) {
    char* p = end;
    std::size_t written = 0;
    const auto writePairs = [&](std::size_t upTo) {
        for (; written + 2 <= upTo; written += 2, rest /= 100) {
            p -= 2;
            std::memcpy(p, kDigitPairs + 2 * (rest % 100), 2);
        }
        if (written < upTo) {
            *--p = static_cast<char>('0' + rest % 10);
            rest /= 10;
            ++written;
        }
    };
    writePairs(decimals);
    if (decimals > 0) {
        *--p = '.';
    }
    writePairs(digits);
}

// The most characters writeFixedFast writes: 16 digits, the point and a sign.
inline constexpr std::size_t kFixedFastLength = 18;

// Writes the value with `places` decimals, by the rules of appendFixed (numbertext.h) and
// unpadded, at `out`, which must have room for kFixedFastLength characters; returns the end, or
// nullptr, having written nothing, for a value that needs the exact decimal rules.
inline char* writeFixedFast(char* out, double value, int places) {
    const auto scaled = roundScaledFast(std::fabs(value), places);
    if (!scaled) {
        return nullptr;
    }
    // The length first, then the digits backwards straight into place, two at a time; below
    // 2^32 in 32-bit arithmetic, which divides faster.
    const auto decimals = static_cast<std::size_t>(places);
    std::size_t digits = decimals + 1;  // at least one integer digit
    while (digits < kWholePowersOfTen.size() && *scaled >= kWholePowersOfTen[digits]) {
        ++digits;
    }
    const bool negative = std::signbit(value) && *scaled != 0;
    char* const end = out + digits + (decimals > 0 ? 1 : 0) + (negative ? 1 : 0);
    if (*scaled <= UINT32_MAX) {
        writeDigits(end, static_cast<std::uint32_t>(*scaled), decimals, digits);
    } else {
        writeDigits(end, *scaled, decimals, digits);
    }
    if (negative) {
        *out = '-';
    }
    return end;
}

inline constexpr std::array<double, 9> kTenthPowers{1e-1, 1e-2, 1e-3, 1e-4, 1e-5,
                                                    1e-6, 1e-7, 1e-8, 1e-9};

// Writes the value rounded to `digits` significant digits (1 to 10), or to a whole number when it
// has more integer digits, by the rules of appendSignificant (numbertext.h), at `out`, which must
// have room for kFixedFastLength characters; returns the end, or nullptr for a value that needs
// the exact decimal rules.
inline char* writeSignificantFast(char* out, double value, int digits) {
    const double magnitude = std::fabs(value);
    if (magnitude == 0) {
        *out = '0';
        return out + 1;
    }
    int decimals = digits - 1;
    if (magnitude >= 1) {
        while (decimals > 0 &&
               magnitude >= kPowersOfTen[static_cast<std::size_t>(digits - decimals)]) {
            --decimals;
        }
    } else {
        std::size_t below = 0;  // the tenth powers above the value
        while (below < kTenthPowers.size() && magnitude < kTenthPowers[below]) {
            ++below;
        }
        if (below == kTenthPowers.size()) {
            return nullptr;
        }
        decimals = digits + static_cast<int>(below);
    }
    char* end = writeFixedFast(out, value, decimals);
    if (end && decimals > 0) {
        while (end[-1] == '0') {
            --end;
        }
        end -= end[-1] == '.' ? 1 : 0;
    }
    return end;
}

}  // namespace brimwell
