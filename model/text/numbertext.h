#pragma once

// Every rule for reading numbers from text and writing them as text.
//
// Strict reading takes a whole text as a number in the user's notation; lenient reading takes
// the longest leading number and never fails. Patterns are made of '#' (a digit shown only when
// significant), '0' (a digit always shown) and one '.' (the user's decimal separator, always
// shown); they round halves away from zero. The general text form shows up to 15 significant
// digits. Rounding always applies to the decimal value of a number, which is its text with
// 15 significant digits, so 1.005 rounds to 1.01 although its binary form lies just below.

#include <optional>
#include <string>
#include <string_view>

namespace brimwell {

// The user's number notation.
struct NumberFormat {
    std::string decimal = ".";
    std::string group = ",";
};

// The whole text must be a number (blanks around it allowed): an optional sign, digits with
// group separators standing before every full group of three (and not after a lone 0, so that
// "0,125" in a notation with "." as the point is not 125), an optional decimal separator
// with digits, an optional exponent. The decimal separator alone, with or without a sign, is 0,
// so that a pattern's 0 reads back. A number beyond the double range is not a number.
std::optional<double> readStrict(std::string_view text, const NumberFormat& format = {});

// A number as a command line takes it: "." as the point and no group separator, at least one
// digit before the exponent ("2,500", "." and "-." are not numbers), an optional exponent, blanks
// around it allowed.
std::optional<double> readPlain(std::string_view text);

// The longest leading number of the text; blanks, tabs and line feeds anywhere are skipped; "."
// and the user's decimal separator both count as the decimal point; an exponent (E or D) is
// accepted; 0 when there is no number. A literal beyond the double range reads as an infinity,
// which every caller treats as an overflow of its own arithmetic.
double readLenient(std::string_view text, std::string_view userDecimal = ".");

// The value written with a '#'/'0' pattern such as "##########.##" or "##0.0###".
std::string formatPattern(double value, std::string_view pattern, std::string_view decimal = ".");

// The shortest text with up to 15 significant digits: 0.0007, 6999.89, 5.4E-06, 1E+15.
std::string formatGeneral(double value, std::string_view decimal = ".");

// The value rounded to the given number of decimals, an exact tie going to the even neighbour.
double roundHalfEven(double value, int decimals);

// Appends the value with exactly two decimals (halves away from zero, at least one integer digit,
// "." as the point), padded on the left with blanks to the given width. The chart's number form.
void appendFixed2(std::string& out, double value, std::size_t width);

// The same form with any number of decimals.
void appendFixed(std::string& out, double value, int places, std::size_t width = 0);

// The value rounded to `digits` significant digits (1 to 10), or to a whole number when it has
// more integer digits, halves away from zero; trailing zeros after the point and a bare point are
// dropped, and there is never an exponent: 5076.161, 0.00123, 38430712, 0. NaN and the
// infinities are written as appendShortest writes them.
void appendSignificant(std::string& out, double value, int digits);

// The shortest text that reads back as the same number, "." as the point and an exponent where
// that is shorter (1e-05, 2380.956512345678); a value that is not finite as nan or inf, with its
// sign.
void appendShortest(std::string& out, double value);
std::string shortestText(double value);

// The same shortest digits never with an exponent, as a person writes them: 0.0005, 100000.
void appendPlain(std::string& out, double value);
std::string plainText(double value);

}  // namespace brimwell
