#include "book/reportformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "model/text/numbertext.h"

namespace brimwell::book {

const char* const kDayCsvHeader = "tank,date,stick,water,temperature,pumped,meter_open,meter_close";
const char* const kDeliveryHistoryHeader =
    "changed_at,change,tank,date,bill,bill_net,bill_temperature,before,after,"
    "temperature_before,temperature_after,pumped_during";

namespace {

constexpr int kVolumeDecimals = 2;
constexpr int kTemperatureDecimals = 1;
constexpr std::size_t kColumn = 12;

std::string fixed(double value, int places = kVolumeDecimals, std::size_t width = 0) {
    return fixedText(value, places, width);
}

std::string shortest(const std::optional<double>& value) {
    return csvNumber(value);
}

constexpr std::size_t kInitialsColumn = 10;

bool anyInitials(const MonthReport& month) {
    return std::any_of(month.days.begin(), month.days.end(),
                       [](const DayFigures& day) { return !day.initials.empty(); });
}

// The day's initials in their column, padded only when notes follow them.
std::string initialsCell(const DayFigures& day, bool notesFollow) {
    std::string cell = "  " + day.initials;
    if (notesFollow && cell.size() < kInitialsColumn) {
        cell.append(kInitialsColumn - cell.size(), ' ');
    }
    return cell;
}

std::string waterText(const MonthReport& month) {
    if (month.waterReadings == 0) {
        return "not measured this month";
    }
    return "measured on " + std::to_string(month.waterReadings) +
           (month.waterReadings == 1 ? " day" : " days");
}

std::string textReport(const MonthReport& month, const ReportHeading& heading,
                       const ChartCheck& chart) {
    std::string out = "tank:         " + heading.tank + "\nproduct:      " + heading.product +
                      "\nmonth:        " + heading.month + "\nvolumes in " + heading.volumeUnit +
                      ", gross, product net of water\n\n";
    out += "date      ";
    for (const char* column : {"opening", "delivered", "pumped", "book", "closing", "over/short"}) {
        out += std::string(kColumn - std::string_view(column).size(), ' ') + column;
    }
    const bool initials = anyInitials(month);
    out += initials ? "  initials\n" : "\n";
    for (const DayFigures& day : month.days) {
        out += day.date;
        for (const double value :
             {day.opening, day.delivered, day.recordedPumped, day.book, day.closing, day.overShort}) {
            out += fixed(value, kVolumeDecimals, kColumn);
        }
        std::string notes = day.corrected ? "  corrected" : "";
        notes += day.pumped != day.recordedPumped
                     ? "  pumped by the meter factor " + fixed(day.pumped)
                     : "";
        notes += day.waterMarked ? "  water " + shortest(day.water) + " " + heading.lengthUnit : "";
        out += (initials ? initialsCell(day, !notes.empty()) : "") + notes + "\n";
        for (const DeliveryCheck& check : day.deliveries) {
            out += "  " + deliveryText(day.date, check, heading);
        }
    }
    out += "\ndelivered:    " + fixed(month.delivered) +
           "\nflow-through: " + fixed(month.recordedFlowThrough) +
           (month.meterFactors ? "\ncorrected:    " + fixed(month.flowThrough) +
                                     " pumped, by the meters' factors"
                               : "") +
           "\nover/short:   " + fixed(month.overShort) + "\nwater:        " + waterText(month) +
           "\n\n";
    for (const RuleVerdict& verdict : month.verdicts) {
        out += "rule: " + verdictText(verdict, heading) + "\n";
    }
    return out + "month:        " + (month.met() ? "met" : "FAILED") +
           "\nchart check:  " + chartText(chart) + "\n";
}

std::string csvReport(const MonthReport& month) {
    std::string out =
        "date,opening,delivered,pumped,book,closing,over_short,water,corrected,water_marked,"
        "initials";
    out += month.meterFactors ? ",pumped_corrected\r\n" : "\r\n";
    for (const DayFigures& day : month.days) {
        out += day.date;
        for (const double value :
             {day.opening, day.delivered, day.recordedPumped, day.book, day.closing, day.overShort}) {
            out += "," + fixed(value);
        }
        out += "," + shortest(day.water) + (day.corrected ? ",yes" : ",no") +
               (day.waterMarked ? ",yes," : ",no,") + csvField(day.initials) +
               (month.meterFactors ? "," + fixed(day.pumped) : "") + "\r\n";
    }
    return out;
}

QJsonObject dayJson(const DayFigures& day, bool meterFactors) {
    QJsonArray deliveries;
    for (const DeliveryCheck& check : day.deliveries) {
        QJsonObject delivery{{"measured", check.measured},
                             {"bill_gross", check.billGross},
                             {"gross_difference", check.grossDifference}};
        if (check.temperature) {
            delivery["temperature"] = *check.temperature;
        }
        if (check.billNet) {
            delivery["bill_net"] = *check.billNet;
        }
        if (check.netDifference) {
            delivery["net_difference"] = *check.netDifference;
        }
        deliveries.append(delivery);
    }
    QJsonObject json{{"date", QString::fromStdString(day.date)},
                     {"opening", day.opening},
                     {"delivered", day.delivered},
                     {"pumped", day.recordedPumped},
                     {"book", day.book},
                     {"closing", day.closing},
                     {"over_short", day.overShort},
                     {"corrected", day.corrected},
                     {"water_marked", day.waterMarked},
                     {"deliveries", deliveries}};
    if (day.water) {
        json["water"] = *day.water;
    }
    if (!day.initials.empty()) {
        json["initials"] = QString::fromStdString(day.initials);
    }
    if (meterFactors) {
        json["pumped_corrected"] = day.pumped;
    }
    return json;
}

std::string jsonReport(const MonthReport& month, const ReportHeading& heading,
                       const ChartCheck& chart) {
    QJsonArray days;
    for (const DayFigures& day : month.days) {
        days.append(dayJson(day, month.meterFactors));
    }
    QJsonArray rules;
    for (const RuleVerdict& verdict : month.verdicts) {
        QJsonObject figures;
        for (const RuleFigure& figure : verdict.figures) {
            figures[QString::fromStdString(figure.label)] = figure.value;
        }
        rules.append(
            QJsonObject{{"rule", QString::fromStdString(ruleName(
                                     verdict.rule, heading.volumeUnit, heading.lengthUnit))},
                        {"figures", figures},
                        {"met", verdict.met}});
    }
    QJsonObject json{{"tank", QString::fromStdString(heading.tank)},
                           {"product", QString::fromStdString(heading.product)},
                           {"month", QString::fromStdString(heading.month)},
                           {"volume_unit", QString::fromStdString(heading.volumeUnit)},
                           {"days", days},
                           {"delivered", month.delivered},
                           {"flow_through", month.recordedFlowThrough},
                           {"over_short", month.overShort},
                           {"water_readings", month.waterReadings},
                           {"rules", rules},
                           {"met", month.met()}};
    insertChartKeys(json, chart);
    if (month.meterFactors) {
        json["flow_through_corrected"] = month.flowThrough;
    }
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

}  // namespace

std::string monthReport(const MonthReport& month, const ReportHeading& heading, ReportFormat format,
                        const ChartCheck& chart) {
    switch (format) {
        case ReportFormat::Csv:
            return csvReport(month);
        case ReportFormat::Json:
            return jsonReport(month, heading, chart);
        case ReportFormat::Text:
            break;
    }
    return textReport(month, heading, chart);
}

void insertChartKeys(QJsonObject& json, const ChartCheck& chart) {
    const auto percent = [](const std::optional<double>& value) {
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
    };
    QJsonArray leftOut;
    for (const LeftOutDelivery& each : chart.leftOut) {
        leftOut.append(QJsonObject{{"date", QString::fromStdString(each.date)},
                                   {"reason", QString::fromStdString(std::string(leftOutReason(each.reason)))}});
    }
    json["chart_check"] = QString::fromStdString(std::string(chartWord(chart.verdict)));
    json["scale_error"] = percent(chart.scaleError);
    json["scale_error_low"] = percent(chart.low);
    json["scale_error_high"] = percent(chart.high);
    json["chart_deliveries"] = chart.deliveries;
    json["chart_left_out"] = leftOut;
}

std::string verdictText(const RuleVerdict& verdict, const ReportHeading& heading) {
    std::string text = ruleName(verdict.rule, heading.volumeUnit, heading.lengthUnit) + ": ";
    for (const RuleFigure& figure : verdict.figures) {
        text += figure.label + " " + fixed(figure.value, figure.count ? 0 : kVolumeDecimals) + ", ";
    }
    return text + (verdict.met ? "met" : "FAILED");
}

std::string deliveryText(const std::string& date, const DeliveryCheck& check,
                         const ReportHeading& heading) {
    std::string text = "delivery " + date + ": measured " + fixed(check.measured) + ", bill " +
                       fixed(check.billGross) + " gross, difference " +
                       fixed(check.grossDifference) + " gross";
    if (check.netDifference) {
        text += ", " + fixed(*check.netDifference) + " net";
    }
    if (check.temperature) {
        text += ", at " + fixed(*check.temperature, kTemperatureDecimals) + " " +
                heading.temperatureUnit;
    }
    return text + "\n";
}

std::string fixedText(double value, int places, std::size_t width) {
    std::string text;
    appendFixed(text, value, places, width);
    return text;
}

std::string csvNumber(const std::optional<double>& value) {
    return value ? plainText(*value) : std::string();
}

std::string csvField(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        return value;
    }
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string deliveryHistoryRow(const std::string& tank, const DeliveryCorrection& change) {
    const Delivery& was = change.before;
    return change.changedAt + (change.withdrawn ? ",withdrawn," : ",corrected,") + csvField(tank) +
           "," + change.date + "," + shortest(was.billVolume) + (was.billNet ? ",yes," : ",no,") +
           shortest(was.billTemperature) + "," + shortest(was.levelBefore) + "," +
           shortest(was.levelAfter) + "," + shortest(was.temperatureBefore) + "," +
           shortest(was.temperatureAfter) + "," + shortest(was.pumpedDuring) + "\n";
}

std::string dayCsvRow(const std::string& tank, const Day& day) {
    return csvField(tank) + "," + day.date + "," + shortest(day.closingLevel) + "," +
           shortest(day.waterLevel) + "," + shortest(day.temperature) + "," + shortest(day.pumped) +
           "," + shortest(day.meterOpen) + "," + shortest(day.meterClose) + "\n";
}

}  // namespace brimwell::book
