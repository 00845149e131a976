#pragma once

// The tank book's records as the book keeps them: a tank's settings, its operating days with
// their deliveries, and the rules its months are checked against. Levels are in the tank's
// length unit, volumes in its volume unit, temperatures in its temperature unit.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/geometry/tankdescription.h"

namespace brimwell::book {

using Correction = CorrectionTable;

// The site the book is kept for, as its reports head it.
struct Site {
    std::string name;
    std::string address;  // may hold several lines
    bool operator==(const Site&) const = default;
};

// The product and its correction to the base temperature: `value` is the coefficient per degree
// (linear), the API gravity at 60 °F (6B), the density at 15 °C in kg/m³ (54B) or α (6C, 54C).
struct Product {
    std::string name;
    Correction correction = Correction::Linear;
    double value = 0;
    double reference = 60;  // linear only
    bool celsius = false;   // the temperatures' unit; 54B and 54C take °C, 6B and 6C °F
};

// The month's variance is within `percent` of the flow-through plus `allowance`.
struct PercentRule {
    double percent = 1.0;
    double allowance = 130;
    bool operator==(const PercentRule&) const = default;
};
// Fails on `days` or more consecutive short days whose shortages total at least `total`.
struct ShortRunRule {
    int days = 0;
    double total = 0;
    bool operator==(const ShortRunRule&) const = default;
};
// Marks each day whose water cut is above `limit`, a level.
struct WaterRule {
    double limit = 0;
    bool operator==(const WaterRule&) const = default;
};
using Rule = std::variant<PercentRule, ShortRunRule, WaterRule>;

// A meter's calibration factor as an inspector writes it: what the prover measured beyond what
// the meter indicated, in cubic inches per 5 gallons (1,155 in³) or in millilitres per 20 litres
// (20,000 mL); + over (the dispenser gave more than it showed), - under. It holds from `from`
// until a later factor takes over.
enum class MeterUnit { CubicInchesPer5Gallons, MillilitresPer20Litres };
struct MeterFactor {
    std::string from;  // YYYY-MM-DD
    double value = 0;
    MeterUnit unit = MeterUnit::CubicInchesPer5Gallons;
    bool operator==(const MeterFactor&) const = default;
};

struct TankSettings {
    std::string name;
    Product product;
    // The shape and its units, or the tank's own calibration chart as the text of the file it
    // came from.
    TankDescription shape;
    double safeFill = 90;
    // The stick before the book's first day, which has no day before it.
    std::optional<double> openingLevel;
    std::vector<Rule> rules;
    // In date order. The book adds a factor; it never changes or removes one.
    std::vector<MeterFactor> meterFactors;
};

struct Delivery {
    double billVolume = 0;
    bool billNet = false;  // the bill states a net volume at the base temperature
    std::optional<double> billTemperature;
    double levelBefore = 0;
    double levelAfter = 0;
    std::optional<double> temperatureBefore;
    std::optional<double> temperatureAfter;
    double pumpedDuring = 0;
    bool operator==(const Delivery&) const = default;
};

struct Day {
    std::string date;  // YYYY-MM-DD
    double closingLevel = 0;
    std::optional<double> waterLevel;
    std::optional<double> temperature;
    std::optional<double> pumped;  // or the meters' totals
    std::optional<double> meterOpen;
    std::optional<double> meterClose;
    std::vector<Delivery> deliveries;
    bool corrected = false;  // set by the book when earlier values were replaced
    std::string initials;    // of whoever read the stick; empty when not given

    // The volume pumped: the figure, or the meters' closing total less their opening total.
    double pumpedVolume() const {
        if (pumped) {
            return *pumped;
        }
        return meterOpen && meterClose ? *meterClose - *meterOpen : 0;
    }
    // The same readings by the same reader, whatever their deliveries: recording them again
    // changes nothing. Other initials are a correction, since the record keeps who read it.
    bool sameReadings(const Day& other) const {
        return closingLevel == other.closingLevel && waterLevel == other.waterLevel &&
               temperature == other.temperature && pumped == other.pumped &&
               meterOpen == other.meterOpen && meterClose == other.meterClose &&
               initials == other.initials;
    }
};

// The days of a month and the last day recorded before it, which gives the month's opening.
struct MonthRecords {
    std::optional<Day> before;
    std::vector<Day> days;
};

// An earlier version of a day, replaced at `changedAt` (UTC, ISO 8601).
struct DayCorrection {
    Day before;
    std::string changedAt;
};

// An earlier version of a delivery on `date`, replaced or withdrawn at `changedAt`.
struct DeliveryCorrection {
    std::string date;
    Delivery before;
    std::string changedAt;
    bool withdrawn = false;
};

}  // namespace brimwell::book
