#include "model/window/numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace brimwell {
namespace {

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

// The exact value rounded to 15 digits.
Decimal15 exactDecimal15(double magnitude) {
    std::array<char, 40> text{};
    const char* end = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1)
                          .ptr;
    std::string_view rest;
    return readScientific(text.data(), end, rest);
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

// From the shortest digits that read back as the value, rounded to 15 digits: the same as the
// exact value's rounding, since no 16-digit midpoint can lie between the two, except where those
// digits end on such a midpoint, which only the exact value can settle.
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

// The decimal form of |value|; zero for 0 and for a value that is not finite.
Decimal15 decimal15(double value) {
    return value != 0 && std::isfinite(value) ? toDecimal15(std::fabs(value)) : Decimal15{};
}

// Appends |value| rounded to `places` decimals, halves away from zero, on its 15-digit decimal
// form `d` (0.125 at two places is 0.13, as is 0.12500000000000001): at least one integer digit,
// "." as the point; a sign when `negative` and the rounded value is not 0; blanks before it up
// to `width`.
void appendRounded(std::string& out, bool negative, int places, const Decimal15& d,
                   std::size_t width = 0) {
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

// The fixed form with `places` decimals, padded on the left with blanks to `width`.
void appendFixedForm(std::string& out, double value, int places, std::size_t width,
                     const Decimal15& decimal) {
    if (std::isfinite(value)) {
        appendRounded(out, std::signbit(value), places, decimal, width);
    } else {
        out.append(width, ' ');
    }
}

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

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return !prefix.empty() && text.substr(at, prefix.size()) == prefix;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Turns a normalized mantissa ("123.45", digits and at most one '.') and a decimal exponent
// into a double: an overflow gives an empty result, an underflow gives zero.
std::optional<double> toDouble(const std::string& mantissa, long exponent, bool negative) {
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
