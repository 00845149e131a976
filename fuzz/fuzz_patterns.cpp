// Writing numbers: every pattern of the windows, the general form, rounding halves to even and
// the chart's two-decimal form, for any double and for values read from any text.

#include <cmath>

#include "fuzz/fuzzinput.h"

using namespace brimwell;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitRun(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

// A text of a pattern: an optional minus, the integer digits (at least as many as the pattern's
// '0's, no leading zero beyond them), the separator, between the pattern's least and most
// decimals with no trailing zero in a '#' place; it reads back to the value rounded to the
// pattern's decimals and is written again the same.
void checkPattern(double value, std::string_view pattern, std::string_view decimal) {
    const auto point = pattern.find('.');
    int minInteger = 0, minDecimals = 0, maxDecimals = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (i < point) {
            minInteger += pattern[i] == '0';
        } else if (i > point) {
            minDecimals += pattern[i] == '0';
            ++maxDecimals;
        }
    }
    const std::string text = formatPattern(value, pattern, decimal);
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(fuzz::containsNoNanOrInf(text));

    const bool negative = text[0] == '-';
    const std::size_t intStart = negative ? 1 : 0;
    const std::size_t intEnd = digitRun(text, intStart);
    const std::size_t intDigits = intEnd - intStart;
    FUZZ_CHECK(intDigits >= static_cast<std::size_t>(minInteger));
    FUZZ_CHECK(intDigits <= static_cast<std::size_t>(minInteger) || text[intStart] != '0');
    FUZZ_CHECK(text.compare(intEnd, decimal.size(), decimal) == 0);
    const std::size_t fracStart = intEnd + decimal.size();
    FUZZ_CHECK(digitRun(text, fracStart) == text.size());
    const std::size_t fracDigits = text.size() - fracStart;
    FUZZ_CHECK(fracDigits >= static_cast<std::size_t>(minDecimals));
    FUZZ_CHECK(fracDigits <= static_cast<std::size_t>(maxDecimals));
    FUZZ_CHECK(fracDigits == static_cast<std::size_t>(minDecimals) || text.back() != '0');
    FUZZ_CHECK(!negative || value < 0);
    FUZZ_CHECK(!negative || text.find_first_of("123456789") != std::string::npos);

    if (!(std::fabs(value) <= fuzz::kLargestRoundTrip)) {
        return;
    }
    const double back = readLenient(text, decimal);
    FUZZ_CHECK(std::fabs(back - value) <=
               0.5 * std::pow(10.0, -maxDecimals) * (1 + 1e-9) + std::fabs(value) * 1e-14);
    FUZZ_CHECK(formatPattern(back, pattern, decimal) == text);
}

// Rounding halves to even moves a value by at most half a unit of the last place kept, and a
// rounded value stays as it is.
void checkHalfEven(double value, int decimals) {
    const double rounded = roundHalfEven(value, decimals);
    FUZZ_CHECK(std::isfinite(rounded));
    FUZZ_CHECK(std::fabs(rounded - value) <=
               0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 1e-14);
    FUZZ_CHECK(roundHalfEven(rounded, decimals) == rounded);
}

// The chart's form: blanks up to the width, then the "##0.00" text of the value.
void checkFixed2(double value, std::size_t width) {
    std::string out = "|";
    appendFixed2(out, value, width);
    const std::string expected = formatPattern(value, "##0.00");
    const std::size_t blanks = expected.size() < width ? width - expected.size() : 0;
    FUZZ_CHECK(out == "|" + std::string(blanks, ' ') + expected);
    FUZZ_CHECK(expected.size() >= 4 && expected[expected.size() - 3] == '.');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const NumberFormat format = in.format();
    const std::uint8_t how = in.byte();
    const double value = how % 2 == 0 ? readLenient(in.text()) : in.raw<double>();
    if (!std::isfinite(value)) {
        for (const auto pattern : fuzz::kWindowPatterns) {
            FUZZ_CHECK(fuzz::containsNoNanOrInf(formatPattern(value, pattern, format.decimal)));
        }
        FUZZ_CHECK(fuzz::containsNoNanOrInf(formatGeneral(value, format.decimal)));
        return 0;
    }
    for (const auto pattern : fuzz::kWindowPatterns) {
        checkPattern(value, pattern, format.decimal);
    }
    fuzz::checkGeneralRoundTrip(value, format);
    checkHalfEven(value, how / 2 % 8);
    checkFixed2(value, how / 16 % 12);
    return 0;
}
