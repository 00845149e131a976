#include "model/geometry/stickreading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numeric>
#include <optional>

#include "model/text/numbertext.h"

namespace brimwell {
namespace {

constexpr int kEighthsPerInch = 8;
constexpr int kInchesPerFoot = 12;
// Past this many eighths a level has no exact count of them in a double.
constexpr double kMostEighths = 1e15;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Number {
    double value = 0;
    bool whole = false;  // written without a point
};

// Reads a stick reading from left to right; each step takes its piece or leaves the text as it was.
class Cursor {
public:
    explicit Cursor(std::string_view text) : rest_(text) {}

    bool atEnd() {
        skipBlanks();
        return rest_.empty();
    }
    bool nextIsDigit() {
        skipBlanks();
        return !rest_.empty() && isDigit(rest_.front());
    }
    // Digits with at most one ".", no sign and no exponent.
    std::optional<Number> number() {
        skipBlanks();
        std::size_t size = 0;
        bool point = false;
        while (size < rest_.size() && (isDigit(rest_[size]) || (rest_[size] == '.' && !point))) {
            point = point || rest_[size] == '.';
            ++size;
        }
        double value = 0;
        const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + size, value);
        if (size == 0 || error != std::errc() || end != rest_.data() + size) {
            return std::nullopt;
        }
        rest_.remove_prefix(size);
        return Number{value, !point};
    }
    // n/d with whole numbers, 0 < n < d.
    std::optional<double> fraction() {
        const std::string_view start = rest_;
        const auto top = number();
        if (top && top->whole && take({"/"})) {
            const auto bottom = number();
            if (bottom && bottom->whole && top->value > 0 && top->value < bottom->value) {
                return top->value / bottom->value;
            }
        }
        rest_ = start;
        return std::nullopt;
    }
    bool take(std::initializer_list<std::string_view> marks) {
        skipBlanks();
        for (const auto mark : marks) {
            if (rest_.starts_with(mark)) {
                rest_.remove_prefix(mark.size());
                return true;
            }
        }
        return false;
    }

private:
    void skipBlanks() {
        while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) {
            rest_.remove_prefix(1);
        }
    }
    std::string_view rest_;
};

// What a reading in feet and inches says, before its unit is known.
struct FeetInches {
    std::optional<double> feet;
    std::optional<double> inches;
    bool inchMark = false;
};

// "75", "75 5/8", "75-5/8", "5/8" or "75.625", with " or in behind when marked. A fraction is
// tried first: its numerator is a whole number too.
std::optional<FeetInches> readInches(Cursor& cursor, FeetInches reading) {
    std::optional<double> fraction = cursor.fraction();
    const auto inches = fraction ? std::nullopt : cursor.number();
    const bool whole = inches && inches->whole;
    if (whole && cursor.take({"-"})) {
        fraction = cursor.fraction();
        if (!fraction) {
            return std::nullopt;
        }
    } else if (whole && cursor.nextIsDigit()) {
        fraction = cursor.fraction();
        if (!fraction) {
            return std::nullopt;
        }
    }
    if (inches || fraction) {
        reading.inches = (inches ? inches->value : 0) + fraction.value_or(0);
        reading.inchMark = cursor.take({"\"", "in"});
    }
    return reading;
}

std::optional<FeetInches> readFeetInches(std::string_view text) {
    Cursor cursor(text);
    FeetInches reading;
    Cursor atFeet = cursor;
    if (const auto feet = atFeet.number(); feet && atFeet.take({"'", "ft"})) {
        reading.feet = feet->value;
        cursor = atFeet;
    }
    auto read = readInches(cursor, reading);
    if (!read || !cursor.atEnd() || (!read->feet && !read->inches)) {
        return std::nullopt;
    }
    return read;
}

std::string refusal(std::string_view text) {
    return "'" + std::string(text) +
           "' is not a level: write a decimal such as 75.625, or feet and inches such as "
           "6'3-5/8\"";
}

}  // namespace

Expected<double, std::string> readStickLevel(std::string_view text, LengthUnit unit) {
    if (text.find(',') != std::string_view::npos) {
        return Unexpected("'" + std::string(text) +
                          "' has a comma: \".\" is the decimal point, as in 75.625");
    }
    if (const auto decimal = readPlain(text)) {
        return *decimal;
    }
    const auto reading = readFeetInches(text);
    if (!reading) {
        return Unexpected(refusal(text));
    }
    if (reading->feet && reading->inches.value_or(0) >= kInchesPerFoot) {
        return Unexpected("'" + std::string(text) +
                          "': the inches after the feet must be below 12, as in 6'3-5/8\"");
    }
    const bool marked = reading->feet || reading->inchMark;
    if (!marked && unit != LengthUnit::Inches) {
        return Unexpected("'" + std::string(text) + "' has no mark and the level is in " +
                          std::string(unitName(unit)) + ": write inches as 75 5/8 in");
    }
    const double inches = reading->feet.value_or(0) * kInchesPerFoot + reading->inches.value_or(0);
    return inches * LengthFactor(LengthUnit::Inches, unit);
}

std::string feetInchesText(double inches) {
    std::string text;
    if (!(inches * kEighthsPerInch < kMostEighths)) {
        appendShortest(text, inches);
        return text + " in";
    }
    const auto eighths = std::llround(inches * kEighthsPerInch);
    constexpr std::int64_t kEighthsPerFoot = kEighthsPerInch * kInchesPerFoot;
    const std::int64_t feet = eighths / kEighthsPerFoot;
    const std::int64_t rest = eighths % kEighthsPerFoot;
    text = std::to_string(feet) + "'" + std::to_string(rest / kEighthsPerInch);
    const std::int64_t numerator = rest % kEighthsPerInch;
    if (numerator != 0) {
        const std::int64_t common = std::gcd(numerator, std::int64_t{kEighthsPerInch});
        text += "-" + std::to_string(numerator / common) + "/" +
                std::to_string(kEighthsPerInch / common);
    }
    return text + "\"";
}

int foundLevelDecimals(double level) {
    if (!(level > 0)) {
        return kTextLevelDecimals;
    }
    const int leading = static_cast<int>(std::floor(std::log10(level)));
    return std::clamp(kJsonLevelDigits - 1 - leading, 0, kTextLevelDecimals);
}

bool writtenAsTop(double level, double top, std::optional<LengthUnit> unit) {
    if (!(level > top)) {
        return false;
    }
    const auto readsAsLevel = [level](const std::string& text) {
        const auto read = readPlain(text);
        return read && *read == level;
    };
    for (int places = kLeastChartDecimals; places <= kMostChartDecimals; ++places) {
        std::string text;
        appendFixed(text, top, places);
        if (readsAsLevel(text)) {
            return true;
        }
    }
    std::string text;
    appendSignificant(text, top, kJsonLevelDigits);
    if (readsAsLevel(text)) {
        return true;
    }
    if (!unit) {
        return false;
    }
    const auto stick = readStickLevel(feetInchesText(lengthToInches(top, *unit)), *unit);
    return stick && *stick == level;
}

}  // namespace brimwell
