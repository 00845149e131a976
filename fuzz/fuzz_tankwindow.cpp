// The tank window's pure helpers over any texts: unit conversions of the shown fields, the
// measures read for Perform Calculations, the net volume and the fill picture. Nothing they
// write shows NaN or infinity, and every number they read is finite.

#include <algorithm>
#include <cmath>

#include "fuzz/fuzzinput.h"
#include "tank/tankcalculation.h"
#include "model/window/tankmodel.h"
#include "tank/unitconversion.h"
#include "model/units/units.h"

using namespace brimwell;

namespace {

// A text the window shows: a number of its notation, never NaN or infinity.
void checkShown(const std::string& text, const NumberFormat& format) {
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(fuzz::containsNoNanOrInf(text));
    FUZZ_CHECK(std::isfinite(readLenient(text, format.decimal)));
}

void checkscaleTexts(fuzz::FuzzInput& in, const NumberFormat& format) {
    static constexpr std::array<double, 6> kFactors{1, 12, 1.0 / 12, 1 / 0.0254, 3785.411784, 1e-6};
    std::vector<std::string> texts(in.byte() % 4 + 1);
    for (auto& text : texts) {
        text = in.text();
    }
    const std::uint8_t pick = in.byte();
    const double factor = pick < kFactors.size() ? kFactors[pick] : in.raw<double>();
    const auto pattern = fuzz::kWindowPatterns[in.byte() % fuzz::kWindowPatterns.size()];
    const auto scaled = scaleTexts(texts, factor, pattern, format.decimal);
    // The shown text has 15 significant digits, so a value within that rounding of the largest
    // double may be refused; any value further below must be converted.
    constexpr double kSurelyShown = 1.79769313486231e308;
    const auto products = [&](auto accepts) {
        return std::all_of(texts.begin(), texts.end(), [&](const std::string& t) {
            return accepts(readLenient(t, format.decimal) * factor);
        });
    };
    if (products([](double v) { return std::abs(v) < kSurelyShown; })) {
        FUZZ_CHECK(scaled.has_value());
    }
    if (!products([](double v) { return std::isfinite(v); })) {
        FUZZ_CHECK(!scaled.has_value());
    }
    if (scaled) {
        FUZZ_CHECK(scaled->size() == texts.size());
        for (const auto& text : *scaled) {
            checkShown(text, format);
        }
    }
}

void checkTemperatureFields(fuzz::FuzzInput& in, const NumberFormat& format) {
    TemperatureFields fields;
    fields.productTemp = in.text();
    fields.referenceTemp = in.text();
    fields.shownCoefficient = in.text();
    fields.cevalue = in.text();
    const auto from = in.pick<TempUnit>(kTempUnits);
    const auto to = in.pick<TempUnit>(kTempUnits);
    if (const auto converted = convertTemperatureFields(fields, from, to, format)) {
        checkShown(converted->productTemp, format);
        checkShown(converted->referenceTemp, format);
        checkShown(converted->shownCoefficient, format);
        checkShown(converted->cevalue, format);
        // The stored coefficient is read strictly by Perform Calculations.
        FUZZ_CHECK(readStrict(converted->cevalue, format).has_value());
    }
    const TemperatureFields again = redisplayTemperatureFields(fields, format);
    for (const auto& [before, after] : {std::pair{fields.productTemp, again.productTemp},
                                        std::pair{fields.referenceTemp, again.referenceTemp},
                                        std::pair{fields.shownCoefficient, again.shownCoefficient}}) {
        if (after != before) {
            checkShown(after, format);
        }
    }
    FUZZ_CHECK(again.cevalue == fields.cevalue);
}

void checkCalculation(fuzz::FuzzInput& in, const NumberFormat& format) {
    TankInputs inputs;
    inputs.shape = in.pick<TankShape>(kTankShapes);
    inputs.lengthUnit = parseLengthUnit(in.choice(kLengthUnits));
    inputs.volumeUnit = parseVolumeUnit(in.choice(kVolumeUnits));
    inputs.diameter = in.text();
    inputs.length = in.text();
    inputs.level = in.text();
    inputs.productTemp = in.text();
    inputs.referenceTemp = in.text();
    inputs.cevalue = in.text();
    if (const auto m = readMeasures(inputs, format)) {
        FUZZ_CHECK(std::isfinite(m->r) && std::isfinite(m->L) && std::isfinite(m->h));
        if (const auto capacity = capacityInUnit(inputs.shape, m->r, m->L, inputs.volumeUnit)) {
            FUZZ_CHECK(std::isfinite(*capacity));
        }
    }
    if (const auto level = readLevelInInches(inputs, format)) {
        FUZZ_CHECK(std::isfinite(*level));
    }
    if (const auto net = netVolumeOf(in.raw<float>(), inputs, format)) {
        FUZZ_CHECK(std::isfinite(*net));
    }
    const std::string gross = in.text();
    const std::string capacity = in.text();
    if (const auto picture = fillPicture(inputs.shape, inputs.level, gross, capacity, format.decimal)) {
        const std::string family = pictureFamily(inputs.shape);
        bool known = false;
        for (const char* number : {"0", "10", "25", "50", "75", "90", "100"}) {
            known = known || *picture == family + number;
        }
        FUZZ_CHECK(known);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const NumberFormat format = in.format();
    switch (in.byte() % 3) {
        case 0:
            checkscaleTexts(in, format);
            break;
        case 1:
            checkTemperatureFields(in, format);
            break;
        default:
            checkCalculation(in, format);
            break;
    }
    return 0;
}
