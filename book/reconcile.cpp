#include "book/reconcile.h"

#include <cmath>
#include <string>

#include "book/meterfactor.h"
#include "model/geometry/waterbottom.h"
#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

using Figures = Expected<std::optional<double>, std::string>;

// The delivery's temperature: the tank's contents after it taken as a volume-weighted mix of
// what was there and what came in.
std::optional<double> mixedTemperature(const Delivery& delivery, double before, double after) {
    if (!delivery.temperatureBefore || !delivery.temperatureAfter || after == before) {
        return std::nullopt;
    }
    return (after * *delivery.temperatureAfter - before * *delivery.temperatureBefore) /
           (after - before);
}

std::string withDate(const std::string& date, const std::string& error) {
    return date + ": " + error;
}

RuleVerdict percentVerdict(const PercentRule& rule, const MonthReport& month) {
    const double limit = percentLimit(rule, month.flowThrough);
    const double variance = std::abs(month.overShort);
    return {rule, {{"variance", variance}, {"limit", limit}}, variance <= limit};
}

// Every run of consecutive short days at least `days` long counts with its whole shortage.
RuleVerdict shortRunVerdict(const ShortRunRule& rule, const MonthReport& month) {
    double worst = 0;
    int longest = 0;
    int length = 0;
    double shortage = 0;
    for (std::size_t i = 0; i <= month.days.size(); ++i) {
        if (i < month.days.size() && month.days[i].overShort < 0) {
            ++length;
            shortage -= month.days[i].overShort;
            continue;
        }
        longest = std::max(longest, length);
        if (length >= rule.days) {
            worst = std::max(worst, shortage);
        }
        length = 0;
        shortage = 0;
    }
    const bool failed = longest >= rule.days && worst >= rule.total;
    return {rule,
            {{"longest run of short days", static_cast<double>(longest), true},
             {"largest shortage of a run that long", worst}},
            !failed};
}

RuleVerdict waterVerdict(const WaterRule& rule, MonthReport& month) {
    double highest = 0;
    int marked = 0;
    for (DayFigures& day : month.days) {
        if (day.water && *day.water > rule.limit) {
            day.waterMarked = true;
            ++marked;
        }
        highest = std::max(highest, day.water.value_or(0));
    }
    return {rule,
            {{"highest water", highest}, {"days above", static_cast<double>(marked), true}},
            marked == 0};
}

Expected<DayFigures, std::string> dayFigures(const Day& day, double opening, const Gauge& gauge,
                                             const std::optional<MeterFactor>& factor) {
    DayFigures figures;
    figures.date = day.date;
    figures.opening = opening;
    figures.recordedPumped = day.pumpedVolume();
    figures.meterFactor = factor.has_value();
    figures.pumped =
        factor ? figures.recordedPumped * (1 + meterShare(*factor)) : figures.recordedPumped;
    figures.water = day.waterLevel;
    figures.corrected = day.corrected;
    figures.initials = day.initials;
    for (const Delivery& delivery : day.deliveries) {
        auto check = checkDelivery(delivery, gauge, day.waterLevel, day.temperature);
        if (!check) {
            return Unexpected(withDate(day.date, check.error()));
        }
        figures.delivered += check->billGross;
        figures.deliveries.push_back(*check);
    }
    const auto closing = gauge.productAt(day.closingLevel, day.waterLevel);
    if (!closing) {
        return Unexpected(withDate(day.date, closing.error()));
    }
    figures.closing = *closing;
    figures.book = figures.opening + figures.delivered - figures.pumped;
    figures.overShort = figures.closing - figures.book;
    return figures;
}

// The first figure of the day, or of the month's sums through it, that is not a number: a
// figure shown blank or as inf would read as a result.
std::optional<std::string> tooLarge(const DayFigures& day) {
    std::vector<std::pair<const char*, double>> figures{
        {"the opening", day.opening},           {"the volume delivered", day.delivered},
        {"the pumped volume", day.pumped},      {"the book inventory", day.book},
        {"the closing volume", day.closing},    {"the over/short", day.overShort},
        {"the flow-through", day.pumpedToDate}, {"the cumulative over/short", day.cumulative}};
    for (const DeliveryCheck& check : day.deliveries) {
        figures.insert(figures.end(),
                       {{"a delivery's measured volume", check.measured},
                        {"a delivery's temperature", check.temperature.value_or(0)},
                        {"a delivery's net bill", check.billNet.value_or(0)},
                        {"a delivery's difference", check.grossDifference},
                        {"a delivery's net difference", check.netDifference.value_or(0)}});
    }
    for (const auto& [name, value] : figures) {
        if (!std::isfinite(value)) {
            return withDate(day.date, std::string(name) + " is too large to work out");
        }
    }
    return std::nullopt;
}

}  // namespace

Expected<double, std::string> Gauge::productAt(double level, std::optional<double> water) const {
    const auto total = volumeAt(level);
    if (!total || !water) {
        return total;
    }
    if (*water > level) {
        return Unexpected(std::string("the water cut is above the stick level"));
    }
    const auto below = volumeAt(*water);
    if (!below) {
        return below;
    }
    return splitWaterBottom(*total, *below).product;
}

Expected<DeliveryCheck, std::string> checkDelivery(const Delivery& delivery, const Gauge& gauge,
                                                   std::optional<double> water,
                                                   std::optional<double> dayTemperature) {
    const auto before = gauge.productAt(delivery.levelBefore, water);
    const auto after = gauge.productAt(delivery.levelAfter, water);
    if (!before || !after) {
        return Unexpected("delivery: " + (before ? after.error() : before.error()));
    }
    DeliveryCheck check;
    check.measured = *after - *before + delivery.pumpedDuring;
    check.temperature = mixedTemperature(delivery, *before, *after);
    const auto billTemperature = delivery.billTemperature ? delivery.billTemperature
                                 : check.temperature      ? check.temperature
                                                          : dayTemperature;
    std::optional<double> billVcf;
    if (billTemperature) {
        const auto vcf = gauge.vcf(*billTemperature);
        if (!vcf) {
            return Unexpected("delivery: " + vcf.error());
        }
        billVcf = *vcf;
    }
    if (delivery.billNet && !billVcf) {
        return Unexpected(
            std::string("delivery: a net bill needs a temperature, the bill's or the delivery's"));
    }
    check.billGross = delivery.billNet ? delivery.billVolume / *billVcf : delivery.billVolume;
    if (billVcf) {
        check.billNet = delivery.billNet ? delivery.billVolume : delivery.billVolume * *billVcf;
    }
    check.grossDifference = check.measured - check.billGross;
    if (check.temperature && check.billNet) {
        const auto vcf = gauge.vcf(*check.temperature);
        if (!vcf) {
            return Unexpected("delivery: " + vcf.error());
        }
        check.measuredNet = check.measured * *vcf;
        check.netDifference = *check.measuredNet - *check.billNet;
    }
    return check;
}

double percentLimit(const PercentRule& rule, double flowThrough) {
    return rule.percent / 100 * flowThrough + rule.allowance;
}

bool MonthReport::met() const {
    if (days.empty()) {
        return false;  // nothing was checked
    }
    for (const RuleVerdict& verdict : verdicts) {
        if (!verdict.met) {
            return false;
        }
    }
    return true;
}

Expected<MonthReport, std::string> reconcileMonth(const std::vector<Day>& days, double openingLevel,
                                                  std::optional<double> openingWater,
                                                  const Gauge& gauge, const std::vector<Rule>& rules,
                                                  const std::vector<MeterFactor>& factors) {
    const auto opening = gauge.productAt(openingLevel, openingWater);
    if (!opening) {
        return Unexpected("the opening stick: " + opening.error());
    }
    if (days.empty()) {
        return Unexpected(std::string("no day is recorded in the month"));
    }
    MonthReport month;
    double previousClosing = *opening;
    for (const Day& day : days) {
        auto figures = dayFigures(day, previousClosing, gauge, factorOn(factors, day.date));
        if (!figures) {
            return Unexpected(figures.error());
        }
        previousClosing = figures->closing;
        month.delivered += figures->delivered;
        month.flowThrough += figures->pumped;
        month.recordedFlowThrough += figures->recordedPumped;
        month.meterFactors = month.meterFactors || figures->meterFactor;
        month.overShort += figures->overShort;
        month.waterReadings += day.waterLevel ? 1 : 0;
        month.days.push_back(*std::move(figures));
        month.days.back().cumulative = month.overShort;
        month.days.back().pumpedToDate = month.flowThrough;
        if (auto error = tooLarge(month.days.back())) {
            return Unexpected(*error);
        }
    }
    if (!std::isfinite(month.delivered)) {
        return Unexpected(std::string("the month's volume delivered is too large to work out"));
    }
    for (const Rule& rule : rules) {
        if (const auto* percent = std::get_if<PercentRule>(&rule)) {
            month.verdicts.push_back(percentVerdict(*percent, month));
        } else if (const auto* run = std::get_if<ShortRunRule>(&rule)) {
            month.verdicts.push_back(shortRunVerdict(*run, month));
        } else {
            month.verdicts.push_back(waterVerdict(std::get<WaterRule>(rule), month));
        }
        for (const RuleFigure& figure : month.verdicts.back().figures) {
            if (!std::isfinite(figure.value)) {
                return Unexpected("the rule's " + figure.label + " is too large to work out");
            }
        }
    }
    return month;
}

std::string ruleName(const Rule& rule, std::string_view volumeUnit, std::string_view lengthUnit) {
    std::string name;
    if (const auto* percent = std::get_if<PercentRule>(&rule)) {
        appendPlain(name, percent->percent);
        name.append("% of flow-through + ");
        appendPlain(name, percent->allowance);
        return name.append(" ").append(volumeUnit);
    }
    if (const auto* run = std::get_if<ShortRunRule>(&rule)) {
        name = std::to_string(run->days) + " consecutive short days totalling ";
        appendPlain(name, run->total);
        return name.append(" ").append(volumeUnit);
    }
    name = "water cut above ";
    appendPlain(name, std::get<WaterRule>(rule).limit);
    return name.append(" ").append(lengthUnit);
}

}  // namespace brimwell::book
