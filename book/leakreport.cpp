#include "book/leakreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

constexpr int kRateDecimals = 4;
constexpr int kVolumeDecimals = 2;

}  // namespace

const char* const kLeakMethod =
    "statistical inventory reconciliation of this book's own records (docs/leaktest.md); the "
    "method has no third-party evaluation";

namespace {

std::string fixed(double value, int places, std::size_t width = 0) {
    std::string text;
    appendFixed(text, value, places, width);
    return text;
}

std::string rateText(const std::optional<double>& rate, const std::string& unit) {
    return rate ? fixed(*rate, kRateDecimals) + " " + unit : std::string("not worked out");
}

bool twoWithoutPass(const LeakReport& report) {
    return report.previous && *report.previous != LeakVerdict::Pass &&
           report.test.verdict != LeakVerdict::Pass;
}

std::string periodText(const LeakHeading& heading) {
    const std::string range = heading.first + " to " + heading.last;
    return heading.month.empty() ? range : heading.month + " (" + range + ")";
}

std::string issuedText(const IssuedLeakTest& issued, const std::string& unit) {
    return issued.issuedAt + ": " + std::string(verdictWord(issued.verdict)) + ", leak rate " +
           rateText(issued.rate, unit) + ", threshold " + rateText(issued.threshold, unit) +
           ", MDL " + rateText(issued.minimumDetectable, unit) + ", " +
           std::to_string(issued.usableDays) + " usable days";
}

std::string figuresText(const LeakReport& report, const LeakHeading& heading) {
    const LeakTest& test = report.test;
    const std::string unit = rateUnit(heading.volumeUnit);
    std::string rate = rateText(test.rate, unit);
    if (test.rate) {
        rate += *test.rate < 0 ? " (a gain)" : " (a loss)";
    }
    std::string out = "leak rate:        " + rate +
                      "\nthreshold:        " + rateText(test.threshold, unit) +
                      "\nMDL:              " + rateText(test.minimumDetectable, unit) +
                      " (a pass needs at most " + fixed(test.passLimit, kRateDecimals) + ")" +
                      "\nverdict:          " + std::string(verdictWord(test.verdict)) +
                      "\nusable days:      " + std::to_string(test.usableDays) + " of " +
                      std::to_string(test.periodDays) +
                      "\nstick precision:  " + plainText(test.stickPrecision) + " " +
                      std::string(unitWord(heading.lengthUnit)) +
                      "\ncorrelation:      " + fixed(test.correlation, kVolumeDecimals) +
                      "\nchart check:      " + chartText(test.chart) + "\n";
    for (const UnusableDay& day : test.unusable) {
        out += "unusable:         " + day.date + ": " + std::string(unusableReason(day.reason)) +
               "\n";
    }
    return out;
}

std::string textReport(const LeakReport& report, const LeakHeading& heading) {
    const LeakTest& test = report.test;
    std::string out = "tank:             " + heading.tank + "\nproduct:          " +
                      heading.product + "\nperiod:           " + periodText(heading) +
                      "\nvolumes:          " +
                      (test.net ? "net at the base temperature" : "gross") + ", in " +
                      std::string(unitWord(heading.volumeUnit)) + "\n\n" +
                      figuresText(report, heading);
    if (report.previous) {
        out += "previous month:   " + std::string(verdictWord(*report.previous)) + "\n";
    }
    if (twoWithoutPass(report)) {
        out += "two periods in a row without a pass: most rules then require a tightness test\n";
    }
    for (const IssuedLeakTest& issued : report.issued) {
        out += "issued before:    " + issuedText(issued, rateUnit(heading.volumeUnit)) + "\n";
    }
    out += "method:           " + std::string(kLeakMethod) + "\n\ndate        ";
    for (const std::string_view column : {"over/short", "fitted"}) {
        out += std::string(12 - column.size(), ' ') + std::string(column);
    }
    out += "\n";
    for (const LeakPoint& point : test.points) {
        out += point.date + fixed(point.cumulative, kVolumeDecimals, 14) +
               fixed(point.fitted, kVolumeDecimals, 12) + "\n";
    }
    return out;
}

QJsonValue optionalJson(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject issuedJson(const IssuedLeakTest& issued) {
    return {{"issued_at", qt(issued.issuedAt)},
            {"verdict", qt(verdictWord(issued.verdict))},
            {"leak_rate", optionalJson(issued.rate)},
            {"threshold", optionalJson(issued.threshold)},
            {"mdl", optionalJson(issued.minimumDetectable)},
            {"usable_days", issued.usableDays}};
}

std::string jsonReport(const LeakReport& report, const LeakHeading& heading) {
    const LeakTest& test = report.test;
    QJsonArray unusable;
    for (const UnusableDay& day : test.unusable) {
        unusable.append(QJsonObject{{"date", qt(day.date)},
                                    {"reason", qt(unusableReason(day.reason))}});
    }
    QJsonArray points;
    for (const LeakPoint& point : test.points) {
        points.append(QJsonObject{{"date", qt(point.date)},
                                  {"days", point.days},
                                  {"cumulative", point.cumulative},
                                  {"fitted", point.fitted}});
    }
    QJsonArray issued;
    for (const IssuedLeakTest& each : report.issued) {
        issued.append(issuedJson(each));
    }
    QJsonObject json{
        {"tank", qt(heading.tank)},
        {"product", qt(heading.product)},
        {"from", qt(heading.first)},
        {"to", qt(heading.last)},
        {"leak_rate", optionalJson(test.rate)},
        {"threshold", optionalJson(test.threshold)},
        {"mdl", optionalJson(test.minimumDetectable)},
        {"rate_unit", qt(rateUnit(heading.volumeUnit))},
        {"verdict", qt(verdictWord(test.verdict))},
        {"usable_days", test.usableDays},
        {"period_days", test.periodDays},
        {"unusable", unusable},
        {"net", test.net},
        {"stick_precision", test.stickPrecision},
        {"correlation", test.correlation},
        {"previous_verdict",
         report.previous ? QJsonValue(qt(verdictWord(*report.previous))) : QJsonValue()},
        {"tightness_test_due", twoWithoutPass(report)},
        {"issued_before", issued},
        {"points", points}};
    insertChartKeys(json, test.chart);
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

std::string csvOptional(const std::optional<double>& value) {
    return value ? fixed(*value, kRateDecimals) : std::string();
}

std::string csvReport(const LeakReport& report, const LeakHeading& heading) {
    const LeakTest& test = report.test;
    const ChartCheck& chart = test.chart;
    return "tank,from,to,leak_rate,threshold,mdl,rate_unit,verdict,usable_days,period_days,"
           "chart_check,scale_error,scale_error_low,scale_error_high\r\n" +
           csvField(heading.tank) + "," + heading.first + "," + heading.last + "," +
           csvOptional(test.rate) + "," + csvOptional(test.threshold) + "," +
           csvOptional(test.minimumDetectable) + "," + rateUnit(heading.volumeUnit) + "," +
           std::string(verdictWord(test.verdict)) + "," + std::to_string(test.usableDays) + "," +
           std::to_string(test.periodDays) + "," + std::string(chartWord(chart.verdict)) + "," +
           csvOptional(chart.scaleError) + "," + csvOptional(chart.low) + "," +
           csvOptional(chart.high) + "\r\n";
}

}  // namespace

std::string rateUnit(VolumeUnit unit) {
    switch (unit) {
        case VolumeUnit::Litres:
            return "L/h";
        case VolumeUnit::CubicMeters:
            return "m3/h";
        case VolumeUnit::Millilitres:
            return "mL/h";
        case VolumeUnit::Gallons:
            break;
    }
    return "gal/h";
}

std::string leakReport(const LeakReport& report, const LeakHeading& heading, ReportFormat format) {
    switch (format) {
        case ReportFormat::Csv:
            return csvReport(report, heading);
        case ReportFormat::Json:
            return jsonReport(report, heading);
        case ReportFormat::Text:
            break;
    }
    return textReport(report, heading);
}

}  // namespace brimwell::book
