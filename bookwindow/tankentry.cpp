#include "bookwindow/tankentry.h"

#include <cmath>
#include <optional>

#include "bookwindow/dayentry.h"

namespace brimwell {
namespace {

class Reader {
public:
    Reader(TankEntry& entry, const NumberFormat& format) : entry_(entry), format_(format) {}

    // A number at or above `least`; nothing for an empty text unless it is needed.
    std::optional<double> number(TankField field, const std::string& text, double least,
                                 bool needed) {
        if (blank(text)) {
            if (needed) {
                problem(field, "needed");
            }
            return std::nullopt;
        }
        const auto value = readUserNumber(text, format_);
        if (!value) {
            problem(field, value.error());
            return std::nullopt;
        }
        if (*value < least) {
            std::string reason = "must be ";
            appendPlain(reason, least);
            problem(field, reason + " or above");
            return std::nullopt;
        }
        return *value;
    }
    void problem(TankField field, std::string reason) {
        entry_.problems.push_back({field, std::move(reason)});
    }

private:
    TankEntry& entry_;
    const NumberFormat& format_;
};

// A torispherical head's crown and knuckle, each when given.
void readDishing(const TankTexts& texts, Reader& read, TorisphericalHeads& heads) {
    if (const auto crown = read.number(TankField::Crown, texts.crown, 0, false)) {
        heads.crown = *crown;
    }
    if (const auto knuckle = read.number(TankField::Knuckle, texts.knuckle, 0, false)) {
        heads.knuckle = *knuckle;
    }
}

TankDescription shapeOf(const TankTexts& texts, Reader& read) {
    TankDescription shape;
    shape.lengthUnit = named<LengthUnit>(kLengthUnits, texts.units).value_or(LengthUnit::Inches);
    shape.volumeUnit = named<VolumeUnit>(kVolumeWords, texts.volume).value_or(VolumeUnit::Gallons);
    if (!texts.calibration.empty()) {
        shape.calibration = texts.calibration;
        return shape;
    }
    shape.diameter = read.number(TankField::Diameter, texts.diameter, 0, true).value_or(0);
    shape.length = read.number(TankField::Length, texts.length, 0, true).value_or(0);
    const auto depth = read.number(TankField::HeadDepth, texts.headDepth, 0, false);
    shape.vertical = texts.vertical;
    if (!texts.vertical) {
        shape.heads = headsNamed(texts.heads).value_or(FlatHeads{});
    }
    if (auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&shape.heads)) {
        ellipsoidal->depth = depth;
    } else if (auto* conical = std::get_if<ConicalHeads>(&shape.heads)) {
        conical->depth = depth.value_or(0);
    } else if (auto* dished = std::get_if<TorisphericalHeads>(&shape.heads)) {
        readDishing(texts, read, *dished);
    }
    return shape;
}

void readProduct(const TankTexts& texts, Reader& read, book::Product& product) {
    product.name = texts.product;
    product.celsius = texts.celsius;
    product.reference = texts.celsius ? 15 : 60;
    if (texts.correction < 0) {
        return;
    }
    product.correction = static_cast<book::Correction>(texts.correction);
    const auto value = read.number(TankField::CorrectionValue, texts.correctionValue, 0, true);
    product.value = value.value_or(0);
    if (product.correction == book::Correction::Linear) {
        const auto reference = read.number(TankField::Reference, texts.reference, -1e9, false);
        product.reference = reference.value_or(product.reference);
    }
}

void readRules(const TankTexts& texts, Reader& read, double defaultAllowance,
               std::vector<book::Rule>& rules) {
    const auto percent = read.number(TankField::Percent, texts.percent, 0, false);
    const auto allowance = read.number(TankField::Allowance, texts.allowance, 0, false);
    if (percent) {
        rules.emplace_back(book::PercentRule{*percent, allowance.value_or(defaultAllowance)});
    }
    const auto days = read.number(TankField::ShortDays, texts.shortDays, 1, false);
    const auto total = read.number(TankField::ShortTotal, texts.shortTotal, 0, days.has_value());
    if (days && *days != std::floor(*days)) {
        read.problem(TankField::ShortDays, "a whole number of days");
    } else if (days && total) {
        rules.emplace_back(book::ShortRunRule{static_cast<int>(*days), *total});
    }
    if (!days && total) {
        read.problem(TankField::ShortDays, "needed with a short-run total");
    }
}

}  // namespace

TankEntry readTankEntry(const TankTexts& texts, const NumberFormat& format,
                        double defaultAllowance) {
    TankEntry entry;
    Reader read(entry, format);
    book::TankSettings& tank = entry.settings;
    tank.name = texts.name;
    if (blank(texts.name)) {
        read.problem(TankField::Name, "needed");
    }
    tank.shape = shapeOf(texts, read);
    readProduct(texts, read, tank.product);
    const auto safeFill = read.number(TankField::SafeFill, texts.safeFill, 0, true);
    if (safeFill && *safeFill > 100) {
        read.problem(TankField::SafeFill, "a percent from 0 to 100");
    }
    tank.safeFill = safeFill.value_or(90);
    const LengthUnit unit = tank.shape.lengthUnit;
    if (blank(texts.opening)) {
        read.problem(TankField::Opening, "needed");
    } else if (const auto opening = readUserStick(texts.opening, unit, format); !opening) {
        read.problem(TankField::Opening, opening.error());
    } else {
        tank.openingLevel = *opening;
    }
    readRules(texts, read, defaultAllowance, tank.rules);
    if (!blank(texts.waterLimit)) {
        if (const auto limit = readUserStick(texts.waterLimit, unit, format)) {
            tank.rules.emplace_back(book::WaterRule{*limit});
        } else {
            read.problem(TankField::WaterLimit, limit.error());
        }
    }
    return entry;
}

// The shortest text that reads back as `value`, never in exponent form, in `format`'s notation.
std::string editableText(double value, const NumberFormat& format) {
    std::string text = plainText(value);
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, format.decimal);
    }
    return text;
}

namespace {

void fillShapeTexts(const TankDescription& shape, const NumberFormat& format, TankTexts& texts) {
    texts.vertical = shape.vertical;
    texts.heads = headWord(shape.heads);
    texts.diameter = editableText(shape.diameter, format);
    texts.length = editableText(shape.length, format);
    if (const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&shape.heads);
        ellipsoidal && ellipsoidal->depth) {
        texts.headDepth = editableText(*ellipsoidal->depth, format);
    } else if (const auto* conical = std::get_if<ConicalHeads>(&shape.heads)) {
        texts.headDepth = editableText(conical->depth, format);
    } else if (const auto* dished = std::get_if<TorisphericalHeads>(&shape.heads)) {
        texts.crown = editableText(dished->crown, format);
        texts.knuckle = editableText(dished->knuckle, format);
    }
    texts.units = unitWord(shape.lengthUnit);
    texts.volume = unitWord(shape.volumeUnit);
}

void fillRuleTexts(const std::vector<book::Rule>& rules, const NumberFormat& format,
                   TankTexts& texts) {
    texts.percent.clear();
    for (const book::Rule& rule : rules) {
        if (const auto* percent = std::get_if<book::PercentRule>(&rule)) {
            texts.percent = editableText(percent->percent, format);
            texts.allowance = editableText(percent->allowance, format);
        } else if (const auto* run = std::get_if<book::ShortRunRule>(&rule)) {
            texts.shortDays = std::to_string(run->days);
            texts.shortTotal = editableText(run->total, format);
        } else {
            texts.waterLimit = editableText(std::get<book::WaterRule>(rule).limit, format);
        }
    }
}

}  // namespace

TankTexts tankTexts(const book::TankSettings& tank, const NumberFormat& format) {
    TankTexts texts;
    texts.name = tank.name;
    fillShapeTexts(tank.shape, format, texts);
    texts.calibration = tank.shape.calibration.value_or("");
    const book::Product& product = tank.product;
    texts.product = product.name;
    texts.celsius = product.celsius;
    const bool corrected = product.correction != book::Correction::Linear || product.value != 0;
    texts.correction = corrected ? static_cast<int>(product.correction) : -1;
    if (corrected) {
        texts.correctionValue = editableText(product.value, format);
    }
    if (product.correction == book::Correction::Linear &&
        product.reference != (product.celsius ? 15 : 60)) {
        texts.reference = editableText(product.reference, format);
    }
    texts.safeFill = editableText(tank.safeFill, format);
    texts.opening = editableText(tank.openingLevel.value_or(0), format);
    fillRuleTexts(tank.rules, format, texts);
    return texts;
}

}  // namespace brimwell
