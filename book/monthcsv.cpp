#include "book/monthcsv.h"

#include "book/reportformat.h"

namespace brimwell::book {

const char* const kDeliveriesCsvHeader =
    "tank,date,volume_unit,bill,bill_net,measured_gross,measured_net,difference_gross,"
    "difference_net,corrected";
const char* const kTotalsCsvHeader =
    "tank,month,volume_unit,opening,delivered,pumped,book,closing,over_short,"
    "percent_rule,variance,limit,percent_met,"
    "short_run_rule,longest_short_run,run_shortage,short_run_met,"
    "water_rule,highest_water,days_above,water_met,month_met";

namespace {

constexpr std::size_t kRuleKinds = std::variant_size_v<Rule>;
constexpr std::size_t kFiguresPerRule = 2;

std::string optionalFixed(const std::optional<double>& value) {
    return value ? fixedText(*value) : std::string();
}

std::string yesNo(bool yes) {
    return yes ? "yes" : "no";
}

// ",name,figure,figure,met" for the month's rule of that kind, or blank fields.
std::string ruleFields(const MonthReport& report, std::size_t kind,
                       const MonthCsvHeading& heading) {
    for (const RuleVerdict& verdict : report.verdicts) {
        if (verdict.rule.index() != kind) {
            continue;
        }
        std::string fields =
            "," + csvField(ruleName(verdict.rule, heading.volumeUnit, heading.lengthUnit));
        for (std::size_t i = 0; i < kFiguresPerRule; ++i) {
            const RuleFigure* figure = i < verdict.figures.size() ? &verdict.figures[i] : nullptr;
            fields += "," + (figure ? fixedText(figure->value, figure->count ? 0 : 2) : "");
        }
        return fields + "," + yesNo(verdict.met);
    }
    return std::string(kFiguresPerRule + 2, ',');
}

}  // namespace

std::string deliveriesCsvRows(const std::vector<Day>& days, const MonthReport& report,
                              const MonthCsvHeading& heading) {
    std::string rows;
    for (std::size_t d = 0; d < report.days.size() && d < days.size(); ++d) {
        const DayFigures& day = report.days[d];
        const std::vector<Delivery>& recorded = days[d].deliveries;
        for (std::size_t i = 0; i < day.deliveries.size() && i < recorded.size(); ++i) {
            const DeliveryCheck& check = day.deliveries[i];
            const bool billNet = recorded[i].billNet;
            rows += csvField(heading.tank) + "," + day.date + "," + heading.volumeUnit + "," +
                    fixedText(billNet ? check.billNet.value_or(0) : check.billGross) + "," +
                    yesNo(billNet) + "," + fixedText(check.measured) + "," +
                    optionalFixed(check.measuredNet) + "," + fixedText(check.grossDifference) +
                    "," + optionalFixed(check.netDifference) + "," + yesNo(day.corrected) + "\n";
        }
    }
    return rows;
}

std::string totalsCsvRow(const MonthReport& report, const MonthCsvHeading& heading) {
    if (report.days.empty()) {
        return {};
    }
    const double opening = report.days.front().opening;
    std::string row = csvField(heading.tank) + "," + heading.month + "," + heading.volumeUnit;
    for (const double value : {opening, report.delivered, report.flowThrough,
                               opening + report.delivered - report.flowThrough,
                               report.days.back().closing, report.overShort}) {
        row += "," + fixedText(value);
    }
    for (std::size_t kind = 0; kind < kRuleKinds; ++kind) {
        row += ruleFields(report, kind, heading);
    }
    return row + "," + yesNo(report.met()) + "\n";
}

}  // namespace brimwell::book
