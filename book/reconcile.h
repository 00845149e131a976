#pragma once

// The book's arithmetic: each day's book inventory and over/short, each delivery measured
// against its bill, and a month's flow-through, cumulative over/short and the verdict of each
// rule. Volumes are gross volumes of product net of water, in the tank's volume unit.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

// What the book needs of a tank: the volume below a level (its geometry or its calibration
// chart) and the factor that corrects a volume at a temperature to the base temperature. Each
// error is one line naming what is wrong.
struct Gauge {
    std::function<Expected<double, std::string>(double level)> volumeAt;
    std::function<Expected<double, std::string>(double temperature)> vcf;

    // The product between the water cut and the stick level: the volume at the stick less the
    // water's.
    Expected<double, std::string> productAt(double level, std::optional<double> water) const;
};

struct DeliveryCheck {
    double measured = 0;                // after - before + pumped during the delivery
    std::optional<double> temperature;  // volume-weighted, when both readings have one
    double billGross = 0;
    std::optional<double> billNet;
    double grossDifference = 0;  // measured - bill, negative when short
    std::optional<double> netDifference;
    std::optional<double> measuredNet;  // at the base temperature, when it has a temperature
};

// The delivery on a day whose water cut is `water`; `dayTemperature` stands in for a missing
// delivery temperature when a net bill must be turned into gross.
Expected<DeliveryCheck, std::string> checkDelivery(const Delivery& delivery, const Gauge& gauge,
                                                   std::optional<double> water,
                                                   std::optional<double> dayTemperature);

struct DayFigures {
    std::string date;
    double opening = 0;
    double delivered = 0;  // gross, per the bills
    double pumped = 0;          // corrected by the meters' factor of the day
    double recordedPumped = 0;  // as the meters recorded it
    bool meterFactor = false;   // a meter factor is in effect on the day
    double book = 0;            // opening + delivered - pumped
    double closing = 0;
    double overShort = 0;     // closing - book, negative when short
    double cumulative = 0;    // the month's over/short through this day
    double pumpedToDate = 0;  // the month's flow-through through this day
    std::optional<double> water;
    bool waterMarked = false;  // above a water rule's limit
    bool corrected = false;
    std::string initials;  // of whoever read the stick; empty when not given
    std::vector<DeliveryCheck> deliveries;
};

struct RuleFigure {
    std::string label;
    double value = 0;
    bool count = false;  // a number of days rather than a volume or a level
};

struct RuleVerdict {
    Rule rule;
    std::vector<RuleFigure> figures;
    bool met = true;
};

struct MonthReport {
    std::vector<DayFigures> days;
    double delivered = 0;
    double flowThrough = 0;  // the volume pumped, corrected by the meters' factors
    double recordedFlowThrough = 0;
    bool meterFactors = false;  // a meter factor is in effect on a day of the month
    double overShort = 0;    // cumulative
    int waterReadings = 0;   // the days with a water cut; inventory control asks for one a month
    std::vector<RuleVerdict> verdicts;

    bool met() const;  // never for a month without days
};

// The month's days in order; `openingLevel` is the stick at the start of the first (the day
// before's closing stick, or the book's opening stick) and `openingWater` its water cut. Each
// day's pumped volume is corrected by the meter factor in effect on it. A month without days, or
// with a figure too large to be a number, is an error, never a report.
Expected<MonthReport, std::string> reconcileMonth(const std::vector<Day>& days, double openingLevel,
                                                  std::optional<double> openingWater,
                                                  const Gauge& gauge, const std::vector<Rule>& rules,
                                                  const std::vector<MeterFactor>& factors = {});

// The variance a percent rule allows on a flow-through: percent of it plus the allowance.
double percentLimit(const PercentRule& rule, double flowThrough);

// The rule's name in the volume and length unit words given: "1% of flow-through + 130 gallons".
std::string ruleName(const Rule& rule, std::string_view volumeUnit, std::string_view lengthUnit);

}  // namespace brimwell::book
