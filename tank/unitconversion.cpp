#include "tank/unitconversion.h"

#include <cmath>

namespace brimwell {
namespace {

std::optional<double> finite(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A value turned into its general text and read back leniently, as the display rounds it.
double throughGeneralText(double value, std::string_view decimal) {
    return readLenient(formatGeneral(value, decimal), decimal);
}

// The value in the pattern; none when it is not finite or its text would not read back finite.
std::optional<std::string> shown(std::optional<double> value, std::string_view pattern,
                                 std::string_view decimal) {
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    // Near the largest double, the shown digits round up past it and would read as infinity.
    auto text = formatPattern(*value, pattern, decimal);
    if (!std::isfinite(readLenient(text, decimal))) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<std::vector<std::string>> scaleTexts(const std::vector<std::string>& texts,
                                                   double factor, std::string_view pattern,
                                                   std::string_view decimal) {
    std::vector<std::string> result;
    result.reserve(texts.size());
    for (const auto& text : texts) {
        auto scaled = shown(readLenient(text, decimal) * factor, pattern, decimal);
        if (!scaled) {
            return std::nullopt;
        }
        result.push_back(std::move(*scaled));
    }
    return result;
}

std::optional<TemperatureFields> convertTemperatureFields(const TemperatureFields& fields,
                                                          TempUnit from, TempUnit to,
                                                          const NumberFormat& format) {
    const auto& decimal = format.decimal;
    const double reference = ReferenceTemperature(to);
    const auto shownCe = readStrict(fields.shownCoefficient, format);
    const auto storedCe = readStrict(fields.cevalue, format);
    if (!shownCe || !storedCe || from == to) {
        return std::nullopt;
    }
    std::optional<double> productTemp;
    if (from == TempUnit::DegreesF) {
        // Fahrenheit is read strictly; the difference is rounded through its general text.
        if (const auto f = readStrict(fields.productTemp, format)) {
            productTemp = finite(throughGeneralText(*f - 32, decimal) * 5 / 9);
        }
    } else {
        productTemp = finite(ConvertTemperature(readLenient(fields.productTemp, decimal), from, to));
    }
    const auto ce = finite(ConvertCoefficient(*shownCe, from, to));
    const auto stored = finite(ConvertCoefficient(*storedCe, from, to));
    auto productText = shown(productTemp, kTemperaturePattern, decimal);
    if (!productText || !ce || !stored) {
        return std::nullopt;
    }
    auto ceText = shown(throughGeneralText(*ce, decimal), kShownCoefficientByTemperaturePattern, decimal);
    if (!ceText) {
        return std::nullopt;
    }
    return TemperatureFields{std::move(*productText), formatGeneral(reference, decimal),
                             std::move(*ceText), formatGeneral(*stored, decimal)};
}

TemperatureFields redisplayTemperatureFields(const TemperatureFields& fields,
                                             const NumberFormat& format) {
    auto redisplay = [&](const std::string& text, std::string_view pattern) {
        return shown(readStrict(text, format), pattern, format.decimal).value_or(text);
    };
    return {redisplay(fields.productTemp, kTemperaturePattern),
            redisplay(fields.referenceTemp, kTemperaturePattern),
            redisplay(fields.shownCoefficient, kShownCoefficientRedisplayPattern), fields.cevalue};
}

}  // namespace brimwell
