// The parts of a tank's month after its worksheet: its deliveries, its totals and checks, its
// leak test, the signature and the corrections' appendix.

#include <algorithm>

#include "book/leakreport.h"
#include "book/reportformat.h"
#include "bookreport/monthlayout.h"

namespace brimwell::bookreport {
namespace {

constexpr int kVolumePlaces = 2;
constexpr int kRatePlaces = 4;
constexpr int kTemperaturePlaces = 1;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

book::ReportHeading headingOf(const TankReport& report) {
    return {report.tank.name,
            report.tank.product.name,
            report.month,
            std::string(unitWord(report.volumeUnit)),
            std::string(unitWord(report.lengthUnit)),
            report.tank.product.celsius ? "C" : "F"};
}

QString optionalFixed(const std::optional<double>& value, int places, const QString& decimal) {
    return value ? fixedText(*value, places, decimal) : QString();
}

QString rateText(const std::optional<double>& rate, const TankReport& report,
                 const QString& decimal) {
    return rate ? fixedText(*rate, kRatePlaces, decimal) + " " +
                      qs(book::rateUnit(report.volumeUnit))
                : QObject::tr("not worked out");
}

bool deliveryCorrected(const TankReport& report, const std::string& date) {
    return std::any_of(report.deliveryCorrections.begin(), report.deliveryCorrections.end(),
                       [&](const book::DeliveryCorrection& change) { return change.date == date; });
}

QString dayValues(const book::Day& day, const QString& decimal) {
    QStringList values{QObject::tr("stick %1").arg(readingText(day.closingLevel, decimal))};
    if (day.waterLevel) {
        values << QObject::tr("water %1").arg(readingText(day.waterLevel, decimal));
    }
    if (day.temperature) {
        values << QObject::tr("temperature %1").arg(readingText(day.temperature, decimal));
    }
    if (day.pumped) {
        values << QObject::tr("pumped %1").arg(readingText(day.pumped, decimal));
    }
    if (day.meterOpen || day.meterClose) {
        values << QObject::tr("meters %1 to %2")
                      .arg(readingText(day.meterOpen, decimal),
                           readingText(day.meterClose, decimal));
    }
    if (!day.initials.empty()) {
        values << QObject::tr("read by %1").arg(qs(day.initials));
    }
    return values.join(QStringLiteral(", "));
}

QString deliveryValues(const book::Delivery& delivery, const QString& decimal) {
    QString bill = QObject::tr("bill %1 %2")
                       .arg(readingText(delivery.billVolume, decimal),
                            delivery.billNet ? QObject::tr("net") : QObject::tr("gross"));
    if (delivery.billTemperature) {
        bill += QObject::tr(" at %1").arg(readingText(delivery.billTemperature, decimal));
    }
    QStringList values{bill, QObject::tr("sticks %1 to %2")
                                 .arg(readingText(delivery.levelBefore, decimal),
                                      readingText(delivery.levelAfter, decimal))};
    if (delivery.temperatureBefore || delivery.temperatureAfter) {
        values << QObject::tr("temperatures %1 and %2")
                      .arg(readingText(delivery.temperatureBefore, decimal),
                           readingText(delivery.temperatureAfter, decimal));
    }
    values << QObject::tr("pumped during %1").arg(readingText(delivery.pumpedDuring, decimal));
    return values.join(QStringLiteral(", "));
}

}  // namespace

void writeDeliveries(SectionWriter& out, const TankReport& report, const ReportFrame& frame) {
    if (!report.figures) {
        return;
    }
    const QString decimal = qs(frame.decimal);
    const QString v = shortUnit(report.volumeUnit);
    const QString t = report.tank.product.celsius ? QStringLiteral("°C") : QStringLiteral("°F");
    std::vector<Column> columns{{"", "Date", "", 1.35, false}, {"", "Bill\ngross", v},
                                {"", "Bill\nnet", v},          {"", "Measured\nby sticks", v},
                                {"", "Difference\ngross", v},  {"", "Difference\nnet", v},
                                {"", "Temperature", t},        {"", "Notes", "", 2, false}};
    out.space();
    out.heading(QObject::tr("Deliveries, each measured by its sticks against its bill"));
    const int table = out.table(std::move(columns));
    out.head(table);
    bool any = false;
    for (const book::DayFigures& day : report.figures->days) {
        for (const book::DeliveryCheck& check : day.deliveries) {
            const bool corrected = deliveryCorrected(report, day.date);
            out.row(table,
                    {qs(day.date), fixedText(check.billGross, kVolumePlaces, decimal),
                     optionalFixed(check.billNet, kVolumePlaces, decimal),
                     fixedText(check.measured, kVolumePlaces, decimal),
                     fixedText(check.grossDifference, kVolumePlaces, decimal),
                     optionalFixed(check.netDifference, kVolumePlaces, decimal),
                     optionalFixed(check.temperature, kTemperaturePlaces, decimal),
                     corrected ? QObject::tr("corrected") : QString()},
                    corrected);
            any = true;
        }
    }
    if (!any) {
        out.text(QObject::tr("No delivery this month."));
    }
}

void writeChecks(SectionWriter& out, const TankReport& report, const ReportFrame& frame) {
    const QString decimal = qs(frame.decimal);
    out.space();
    out.heading(QObject::tr("The month's totals and check"));
    if (!report.figures) {
        out.text(QObject::tr("No day is recorded in this month."));
    } else {
        const book::MonthReport& month = *report.figures;
        const QString unit = qs(std::string(unitWord(report.volumeUnit)));
        out.text(QObject::tr("Delivered per bills: %1 %4    Pumped (flow-through): %2 %4    "
                             "Over/short: %3 %4    Water measured on %5 of the days")
                     .arg(fixedText(month.delivered, kVolumePlaces, decimal),
                          fixedText(month.flowThrough, kVolumePlaces, decimal),
                          fixedText(month.overShort, kVolumePlaces, decimal), unit)
                     .arg(month.waterReadings));
        for (const book::RuleVerdict& verdict : month.verdicts) {
            out.text(QObject::tr("Check: %1")
                         .arg(localized(book::verdictText(verdict, headingOf(report)), decimal)));
        }
        if (month.meterFactors) {
            out.text(QObject::tr("Pumped as the meters recorded it: %1 %2, corrected above by "
                                 "their calibration factors")
                         .arg(fixedText(month.recordedFlowThrough, kVolumePlaces, decimal), unit));
        }
        out.text(month.met() ? QObject::tr("Month: met") : QObject::tr("Month: FAILED"));
    }
    out.text(
        QObject::tr("Two months in a row that fail the check must be reported to the "
                    "regulator."));
}

void writeLeakTest(SectionWriter& out, const TankReport& report, const ReportFrame& frame) {
    const QString decimal = qs(frame.decimal);
    out.space();
    out.heading(QObject::tr("Leak test"));
    if (!report.leakTest) {
        out.text(report.leakTestProblem.empty()
                     ? QObject::tr("No leak test: no day is recorded in this month.")
                     : QObject::tr("No leak test: %1").arg(qs(report.leakTestProblem)));
    } else {
        const book::LeakTest& test = *report.leakTest;
        out.text(QObject::tr("Leak rate: %1    Threshold: %2    MDL: %3")
                     .arg(rateText(test.rate, report, decimal),
                          rateText(test.threshold, report, decimal),
                          rateText(test.minimumDetectable, report, decimal)));
        out.text(QObject::tr("Verdict: %1    Usable days: %2 of %3")
                     .arg(qs(std::string(book::verdictWord(test.verdict))))
                     .arg(test.usableDays)
                     .arg(test.periodDays));
        out.text(QObject::tr("Method: %1").arg(QString::fromUtf8(book::kLeakMethod)));
    }
    for (const LabelledLine& line : report.moreResults) {
        out.text(qs(line.label) + QStringLiteral(": ") + localized(line.text, decimal));
    }
}

void writeSignature(SectionWriter& out) {
    out.space(1);
    out.section().lines.push_back({Line::Kind::Signature,
                                   {QObject::tr("Operator's signature"), QObject::tr("Date")},
                                   -1,
                                   false,
                                   2.5});
}

void writeCorrections(SectionWriter& out, const TankReport& report, const ReportFrame& frame) {
    const QString decimal = qs(frame.decimal);
    out.space();
    out.heading(QObject::tr("Corrections: the values each replaced, and when"));
    if (report.dayCorrections.empty() && report.deliveryCorrections.empty()) {
        out.text(QObject::tr("No record of this month was corrected."));
        return;
    }
    const int table = out.table({{"", "Changed at", "UTC", 2.6, false},
                                 {"", "Date", "", 1.2, false},
                                 {"", "Record", "", 1.4, false},
                                 {"", "Earlier values", "", 9, false}});
    out.head(table);
    for (const book::DayCorrection& change : report.dayCorrections) {
        out.row(table, {recordedTime(change.changedAt), qs(change.before.date), QObject::tr("day"),
                        dayValues(change.before, decimal)});
    }
    for (const book::DeliveryCorrection& change : report.deliveryCorrections) {
        out.row(table,
                {recordedTime(change.changedAt), qs(change.date),
                 change.withdrawn ? QObject::tr("delivery withdrawn") : QObject::tr("delivery"),
                 deliveryValues(change.before, decimal)});
    }
}

}  // namespace brimwell::bookreport
