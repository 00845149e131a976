#pragma once

// What brimwell-book writes and reads as text: a month's reconciliation as text, CSV or JSON, and
// days as CSV rows, which `export` writes and `import` reads back.

#include <QJsonObject>
#include <optional>
#include <string>
#include <vector>

#include "book/chartcheck.h"
#include "book/reconcile.h"
#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

enum class ReportFormat { Text, Csv, Json };

struct ReportHeading {
    std::string tank;
    std::string product;
    std::string month;  // YYYY-MM
    std::string volumeUnit;
    std::string lengthUnit;
    std::string temperatureUnit;  // F or C
};

// The chart check is the text's last line and keys of the JSON; the CSV's rows are days, and
// have no place for it.
std::string monthReport(const MonthReport& month, const ReportHeading& heading, ReportFormat format,
                        const ChartCheck& chart);

// The chart check's keys: chart_check, scale_error, scale_error_low, scale_error_high (percent,
// null when too few), chart_deliveries and chart_left_out.
void insertChartKeys(QJsonObject& json, const ChartCheck& chart);

// A rule's verdict with its figures: "1% of flow-through + 130 gallons: variance 82.80, limit
// 140.50, met".
std::string verdictText(const RuleVerdict& verdict, const ReportHeading& heading);

// One delivery's line in the text report, without the report's indent: "delivery DATE: measured
// ..., bill ... gross, difference ... gross", its net difference and temperature when it has them.
std::string deliveryText(const std::string& date, const DeliveryCheck& check,
                         const ReportHeading& heading);

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string csvField(const std::string& value);
// A figure with its decimals, right-aligned in `width` characters when it is shorter.
std::string fixedText(double value, int places = 2, std::size_t width = 0);
// The shortest text that reads back as the value; empty for none.
std::string csvNumber(const std::optional<double>& value);

// The import's columns, in the order export writes them.
extern const char* const kDayCsvHeader;
std::string dayCsvRow(const std::string& tank, const Day& day);

// A delivery's values before it was corrected or withdrawn, as `history --deliveries` writes them.
extern const char* const kDeliveryHistoryHeader;
std::string deliveryHistoryRow(const std::string& tank, const DeliveryCorrection& change);

}  // namespace brimwell::book
