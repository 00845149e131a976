#pragma once

// What every fuzz target shares: a reader that turns the fuzzer's bytes into choices, numbers
// and texts, a check that aborts (so it also works in builds with NDEBUG), and the number texts
// the windows accept.

#include <algorithm>
#include <array>
#include <cmath>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "model/failurereporter.h"

#include "model/text/numbertext.h"

#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (false)

namespace brimwell::fuzz {

// Texts are separated by this byte, so that seeds stay readable.
inline constexpr char kTextSeparator = '\x1f';

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() {
        if (rest_.empty()) {
            return 0;
        }
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }

    // The next sizeof(T) bytes as they stand; missing bytes count as zero.
    template <typename T>
    T raw() {
        std::array<char, sizeof(T)> bytes{};
        const auto n = std::min(bytes.size(), rest_.size());
        std::memcpy(bytes.data(), rest_.data(), n);
        rest_.remove_prefix(n);
        T value;
        std::memcpy(&value, bytes.data(), sizeof(T));
        return value;
    }

    // The bytes up to the next separator, or all that is left.
    std::string text() {
        const auto end = rest_.find(kTextSeparator);
        std::string t(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return t;
    }

    // One byte picks an entry of the table; a byte beyond it takes the next text instead.
    template <std::size_t N>
    std::string choice(const std::array<std::string_view, N>& table) {
        const auto b = byte();
        return b < N ? std::string(table[b]) : text();
    }

    // One of the N values of an enum whose display texts are the table.
    template <typename Enum, std::size_t N>
    Enum pick(const std::array<std::string_view, N>& /*table*/) {
        return static_cast<Enum>(byte() % N);
    }

    NumberFormat format();

private:
    std::string_view rest_;
};

// Notations the user's locale may give: decimal separator and group separator.
inline const std::array<NumberFormat, 8> kFormats{{
    {".", ","},
    {",", "."},
    {",", "\u00a0"},
    {",", "\u202f"},
    {".", "\u2019"},
    {"\u066b", "\u066c"},
    {".", " "},
    {",", ""},
}};

inline NumberFormat FuzzInput::format() { return kFormats[byte() % kFormats.size()]; }

// The patterns the windows write numbers with.
inline constexpr std::array<std::string_view, 10> kWindowPatterns{
    "##########.##", "#######.#####", "#########.#####", "##.#####", "##########.######",
    "##0.0##",       "###0.0###",     "##0.0###",        "##0.00",   "#####0.00"};

inline bool containsNoNanOrInf(std::string_view text) {
    std::string lower(text);
    for (auto& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("nan") == std::string::npos && lower.find("inf") == std::string::npos;
}

// The largest magnitude whose 15 significant digits stay in the double range: above it they
// round up to 1.79769313486232E+308, which reads as an overflow.
inline constexpr double kLargestRoundTrip = 1.79769313486231e308;

// The general text of a finite value is a number without NaN or infinity, and reads back,
// strictly and leniently, to the value's 15 significant digits.
inline void checkGeneralRoundTrip(double value, const NumberFormat& format) {
    const std::string text = formatGeneral(value, format.decimal);
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(containsNoNanOrInf(text));
    if (!(std::fabs(value) <= kLargestRoundTrip)) {
        return;
    }
    const auto strict = readStrict(text, format);
    FUZZ_CHECK(strict.has_value());
    for (const double back : {*strict, readLenient(text, format.decimal)}) {
        FUZZ_CHECK(formatGeneral(back, format.decimal) == text);
        FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14);
    }
}

}  // namespace brimwell::fuzz
