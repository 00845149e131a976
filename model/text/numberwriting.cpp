// Writing numbers as text: patterns, the general form, fixed decimals, significant digits and
// the shortest forms.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/text/numberparts.h"
#include "model/text/numbertext.h"

namespace brimwell {

using numbertext::appendFixedForm;
using numbertext::appendRounded;
using numbertext::Decimal15;
using numbertext::decimal15;
using numbertext::exactDecimal15;
using numbertext::kSignificantDigits;
using numbertext::toDecimal15;

namespace {

struct Pattern {
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool hasPoint = false;
};

Pattern parsePattern(std::string_view pattern) {
    Pattern p;
    const auto point = pattern.find('.');
    const auto integerPart = pattern.substr(0, point);
    for (char c : integerPart) {
        p.minIntegerDigits += c == '0' ? 1 : 0;
    }
    if (point != std::string_view::npos) {
        p.hasPoint = true;
        for (char c : pattern.substr(point + 1)) {
            p.minDecimals += c == '0' ? 1 : 0;
            p.maxDecimals += (c == '0' || c == '#') ? 1 : 0;
        }
    }
    return p;
}

}  // namespace

std::string formatPattern(double value, std::string_view pattern, std::string_view decimal) {
    if (!std::isfinite(value)) {
        return {};
    }
    const Pattern p = parsePattern(pattern);
    std::string rounded;
    appendRounded(rounded, std::signbit(value), p.maxDecimals, decimal15(value));
    std::string_view number(rounded);
    std::string out;
    if (number.starts_with('-')) {
        out += '-';
        number.remove_prefix(1);
    }
    // A '#' leaves out a lone integer 0 and the fraction's trailing zeros.
    const std::size_t point = std::min(number.find('.'), number.size());
    const auto integer =
        number.substr(0, point) == "0" ? std::string_view() : number.substr(0, point);
    const int padding = p.minIntegerDigits - static_cast<int>(integer.size());
    out.append(static_cast<std::size_t>(std::max(padding, 0)), '0').append(integer);
    if (p.hasPoint) {
        auto fraction = number.substr(std::min(point + 1, number.size()));
        while (fraction.size() > static_cast<std::size_t>(p.minDecimals) &&
               fraction.back() == '0') {
            fraction.remove_suffix(1);
        }
        out.append(decimal).append(fraction);
    }
    return out;
}

std::string formatGeneral(double value, std::string_view decimal) {
    if (!std::isfinite(value)) {
        return {};
    }
    const Decimal15 d = value == 0 ? Decimal15{} : exactDecimal15(std::fabs(value));
    if (d.digits == 0) {
        return "0";
    }
    std::string digits = std::to_string(d.digits);
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string out = std::signbit(value) ? "-" : "";
    if (d.leading < -4 || d.leading >= kSignificantDigits) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out += decimal;
            out.append(digits, 1);
        }
        const int e = std::abs(d.leading);
        out += d.leading < 0 ? "E-" : "E+";
        if (e < 10) {
            out.push_back('0');
        }
        out += std::to_string(e);
        return out;
    }
    if (d.leading < 0) {
        out += "0";
        out += decimal;
        out.append(static_cast<std::size_t>(-d.leading - 1), '0');
        out += digits;
        return out;
    }
    const auto intDigits = static_cast<std::size_t>(d.leading + 1);
    if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
    } else {
        out.append(digits, 0, intDigits);
        out += decimal;
        out.append(digits, intDigits);
    }
    return out;
}

void appendFixed2(std::string& out, double value, std::size_t width) {
    appendFixedForm(out, value, 2, width, decimal15(value));
}

void appendFixed(std::string& out, double value, int places, std::size_t width) {
    appendFixedForm(out, value, places, width, decimal15(value));
}

void appendSignificant(std::string& out, double value, int digits) {
    if (!std::isfinite(value)) {
        appendShortest(out, value);
        return;
    }
    if (value == 0) {
        out += "0";
        return;
    }
    const Decimal15 d = toDecimal15(std::fabs(value));
    const int decimals = std::max(0, digits - 1 - d.leading);
    appendFixedForm(out, value, decimals, 0, d);
    if (decimals > 0) {
        const std::size_t last = out.find_last_not_of('0');
        out.resize(out[last] == '.' ? last : last + 1);
    }
}

void appendShortest(std::string& out, double value) {
    std::array<char, 32> text{};
    const char* end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    out.append(text.data(), static_cast<std::size_t>(end - text.data()));
}

std::string shortestText(double value) {
    std::string text;
    appendShortest(text, value);
    return text;
}

void appendPlain(std::string& out, double value) {
    std::array<char, 400> text{};  // room for the 309 integer digits of the largest double
    const char* end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed).ptr;
    out.append(text.data(), static_cast<std::size_t>(end - text.data()));
}

std::string plainText(double value) {
    std::string text;
    appendPlain(text, value);
    return text;
}

}  // namespace brimwell
