#pragma once

// The tank editor's texts read as a tank of the book: its shape and units or its chart, its
// product and correction, its rules; each field that does not read named with the reason.

#include <string>
#include <vector>

#include "book/records.h"
#include "model/geometry/tankdescription.h"
#include "model/text/numbertext.h"

namespace brimwell {

enum class TankField {
    Name,
    HeadDepth,
    Diameter,
    Length,
    Product,
    CorrectionValue,
    SafeFill,
    Opening,
    Percent,
    Allowance,
    ShortDays,
    ShortTotal,
    WaterLimit,
    Crown,
    Knuckle,
    Reference,
};

struct TankTexts {
    std::string name;
    bool vertical = false;
    std::string heads = "flat";  // a word of kHeadWords
    std::string headDepth, diameter, length;
    std::string crown, knuckle;  // torispherical only; the defaults when empty
    std::string units = "inches", volume = "gallons";
    // A calibration chart's text, which stands for the shape when it is not empty.
    std::string calibration;
    std::string product;
    int correction = -1;  // -1 none, else book::Correction
    std::string correctionValue;
    std::string reference;  // linear only; 60 °F or 15 °C when empty
    bool celsius = false;
    std::string safeFill = "90", opening = "0";
    std::string percent = "1", allowance, shortDays, shortTotal, waterLimit;
};

struct TankProblem {
    TankField field;
    std::string reason;
};

struct TankEntry {
    book::TankSettings settings;
    std::vector<TankProblem> problems;
};

// `defaultAllowance` stands in for an empty allowance.
TankEntry readTankEntry(const TankTexts& texts, const NumberFormat& format,
                        double defaultAllowance);

// The shortest text that reads back as `value`, never in exponent form, in `format`'s notation.
std::string editableText(double value, const NumberFormat& format);

// A stored tank's texts for editing, its numbers in the notation `format`.
TankTexts tankTexts(const book::TankSettings& tank, const NumberFormat& format);

}  // namespace brimwell
