// Reading numbers from text: strict, plain and lenient.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "model/text/numberparts.h"
#include "model/text/numbertext.h"

namespace brimwell {

using numbertext::toDouble;

namespace {

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return !prefix.empty() && text.substr(at, prefix.size()) == prefix;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads an exponent's digits, clamping a huge exponent (the value is then out of range anyway).
long clampedExponent(long current, char digit) {
    return current > 100000 ? current : current * 10 + (digit - '0');
}

// The text without the blanks and tabs around it.
std::string_view withoutBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The integer digits a strict number starts with, its group separators dropped, and the text
// after them; empty when a separator stands out of place.
struct IntegerDigits {
    std::string digits;
    std::string_view rest;
};

std::optional<IntegerDigits> integerDigits(std::string_view text, std::string_view group) {
    IntegerDigits integer;
    std::size_t runLength = 0;
    bool grouped = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isDigit(text[i])) {
            integer.digits.push_back(text[i++]);
            ++runLength;
        } else if (startsWith(text, i, group) && !integer.digits.empty()) {
            // A lone 0 before a group separator ("0,125") is a decimal written in another
            // notation, not a grouped number: no one writes 125 that way.
            if ((grouped && runLength != 3) || (!grouped && runLength > 3) ||
                integer.digits == "0") {
                return std::nullopt;
            }
            grouped = true;
            runLength = 0;
            i += group.size();
        } else {
            break;
        }
    }
    if (grouped && runLength != 3) {
        return std::nullopt;
    }
    integer.rest = text.substr(i);
    return integer;
}

// The exponent that makes up the whole text ("e-5", "E+12"), 0 for an empty text; empty for
// anything else.
std::optional<long> wholeExponent(std::string_view text) {
    if (text.empty()) {
        return 0L;
    }
    if (text[0] != 'e' && text[0] != 'E') {
        return std::nullopt;
    }
    text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    long exponent = 0;
    for (const char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        exponent = clampedExponent(exponent, c);
    }
    return negative ? -exponent : exponent;
}

}  // namespace

std::optional<double> numbertext::toDouble(const std::string& mantissa, long exponent,
                                           bool negative) {
    std::string text = mantissa;
    text += 'e';
    text += std::to_string(exponent);
    double value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Find the decimal magnitude of the first significant digit to tell overflow from
        // underflow.
        const auto point = mantissa.find('.');
        const auto intDigits =
            static_cast<long>(point == std::string::npos ? mantissa.size() : point);
        const auto first = mantissa.find_first_not_of("0.");
        if (first == std::string::npos) {
            return negative ? -0.0 : 0.0;
        }
        long magnitude = static_cast<long>(first) < intDigits
                             ? intDigits - static_cast<long>(first)
                             : intDigits - static_cast<long>(first) + 1;
        if (magnitude + exponent > 0) {
            return std::nullopt;
        }
        return negative ? -0.0 : 0.0;
    }
    if (res.ec != std::errc()) {
        return negative ? -0.0 : 0.0;
    }
    return negative ? -value : value;
}

std::optional<double> readStrict(std::string_view text, const NumberFormat& format) {
    text = withoutBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Both branches are views: a "." against a std::string would make a temporary string.
    const std::string_view decimal =
        format.decimal.empty() ? std::string_view(".") : std::string_view(format.decimal);
    const std::string_view group =
        format.group == format.decimal ? std::string_view() : std::string_view(format.group);
    auto integer = integerDigits(text, group);
    if (!integer) {
        return std::nullopt;
    }
    std::string mantissa = std::move(integer->digits);
    std::size_t digitCount = mantissa.size();
    text = integer->rest;
    if (startsWith(text, 0, decimal)) {
        text.remove_prefix(decimal.size());
        mantissa.push_back('.');
        for (; !text.empty() && isDigit(text[0]); text.remove_prefix(1)) {
            mantissa.push_back(text[0]);
            ++digitCount;
        }
    }
    if (digitCount == 0) {
        // The decimal separator alone is how a pattern such as "##########.##" writes 0.
        return mantissa == "." && text.empty() ? std::optional(negative ? -0.0 : 0.0)
                                               : std::nullopt;
    }
    const auto exponent = wholeExponent(text);
    if (!exponent) {
        return std::nullopt;
    }
    return toDouble(mantissa, *exponent, negative);
}

std::optional<double> readPlain(std::string_view text) {
    if (text.find_first_of("0123456789") == std::string_view::npos) {
        return std::nullopt;  // a lone "." would read as a pattern's 0
    }
    return readStrict(text, NumberFormat{".", ""});
}

double readLenient(std::string_view text, std::string_view userDecimal) {
    const std::string_view otherPoint = userDecimal == "." ? std::string_view() : userDecimal;
    auto skipBlanks = [&](std::size_t i) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) {
            ++i;
        }
        return i;
    };
    std::size_t i = skipBlanks(0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        i = skipBlanks(i + 1);
    }
    std::string mantissa;
    bool seenPoint = false;
    while (i < text.size()) {
        if (isDigit(text[i])) {
            mantissa.push_back(text[i]);
            i = skipBlanks(i + 1);
        } else if (!seenPoint && (text[i] == '.' || startsWith(text, i, otherPoint))) {
            seenPoint = true;
            mantissa.push_back('.');
            i = skipBlanks(i + (text[i] == '.' ? 1 : otherPoint.size()));
        } else {
            break;
        }
    }
    if (mantissa.find_first_of("0123456789") == std::string::npos) {
        return 0;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = skipBlanks(i + 1);
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            j = skipBlanks(j + 1);
        }
        while (j < text.size() && isDigit(text[j])) {
            exponent = clampedExponent(exponent, text[j]);
            j = skipBlanks(j + 1);
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    if (mantissa == ".") {
        return 0;
    }
    const auto value = toDouble(mantissa, exponent, negative);
    if (!value) {
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return *value;
}

}  // namespace brimwell
