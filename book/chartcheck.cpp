#include "book/chartcheck.h"

#include <cmath>

#include "book/changes.h"
#include "book/leaktest.h"
#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

constexpr int kPercentDecimals = 2;

std::string percentText(double value) {
    std::string text;
    appendFixed(text, value, kPercentDecimals);
    return text;
}

// Why the check cannot take the delivery, if it cannot.
std::optional<ChartLeftOut> leftOutFor(const Delivery& delivery, const DeliveryCheck& check,
                                       bool net) {
    if (delivery.levelAfter <= delivery.levelBefore) {
        return ChartLeftOut::NoSticks;
    }
    if (net && (!check.netDifference || !check.billNet)) {
        return ChartLeftOut::NoTemperature;
    }
    return std::nullopt;
}

}  // namespace

ChartCheck chartScale(const std::vector<ChartDelivery>& deliveries) {
    ChartCheck check;
    check.deliveries = static_cast<int>(deliveries.size());
    if (check.deliveries < kLeastChartDeliveries) {
        return check;
    }
    const double n = check.deliveries;
    double meanBill = 0;
    double meanDifference = 0;
    for (const ChartDelivery& each : deliveries) {
        meanBill += each.bill / n;
        meanDifference += each.difference / n;
    }
    double sxx = 0;
    double sxy = 0;
    for (const ChartDelivery& each : deliveries) {
        sxx += (each.bill - meanBill) * (each.bill - meanBill);
        sxy += (each.bill - meanBill) * (each.difference - meanDifference);
    }
    if (!(sxx > 0) || !std::isfinite(sxx) || !std::isfinite(sxy)) {
        return check;  // bills all of one size say nothing of a scale
    }
    const double slope = sxy / sxx;
    const double intercept = meanDifference - slope * meanBill;
    double residuals = 0;
    for (const ChartDelivery& each : deliveries) {
        const double residual = each.difference - intercept - slope * each.bill;
        residuals += residual * residual;
    }
    const int freedom = check.deliveries - 2;
    const double standardError = std::sqrt(residuals / freedom / sxx);
    const double half = thresholdMultiplier(freedom, 1) * standardError;
    check.scaleError = 100 * slope;
    check.low = 100 * (slope - half);
    check.high = 100 * (slope + half);
    const bool excludesZero = *check.low > 0 || *check.high < 0;
    check.verdict = std::abs(*check.scaleError) > kChartErrorLimit && excludesZero
                        ? ChartVerdict::Flagged
                        : ChartVerdict::Ok;
    return check;
}

ChartCheck chartCheck(const MonthRecords& records, const MonthReport& month,
                      const TankSettings& tank) {
    const bool net = hasCorrection(tank.product);
    std::vector<ChartDelivery> used;
    std::vector<LeftOutDelivery> leftOut;
    for (std::size_t i = 0; i < records.days.size() && i < month.days.size(); ++i) {
        const Day& day = records.days[i];
        for (std::size_t k = 0; k < day.deliveries.size(); ++k) {
            const DeliveryCheck& figures = month.days[i].deliveries.at(k);
            if (const auto reason = leftOutFor(day.deliveries[k], figures, net)) {
                leftOut.push_back({day.date, *reason});
            } else if (net) {
                used.push_back({*figures.billNet, *figures.netDifference});
            } else {
                used.push_back({figures.billGross, figures.grossDifference});
            }
        }
    }
    ChartCheck check = chartScale(used);
    check.net = net;
    check.leftOut = std::move(leftOut);
    return check;
}

std::string_view chartWord(ChartVerdict verdict) {
    switch (verdict) {
        case ChartVerdict::Ok:
            return "ok";
        case ChartVerdict::Flagged:
            return "flagged";
        case ChartVerdict::TooFew:
            break;
    }
    return "too few deliveries";
}

std::string_view leftOutReason(ChartLeftOut reason) {
    return reason == ChartLeftOut::NoSticks ? "no sticks before and after it"
                                            : "no temperature for its net volume";
}

std::string chartText(const ChartCheck& check) {
    std::string text(chartWord(check.verdict));
    if (check.scaleError) {
        text += ", scale error " + percentText(*check.scaleError) + " % (95 % interval " +
                percentText(*check.low) + " to " + percentText(*check.high) + ")";
    }
    text += ", " + std::to_string(check.deliveries) +
            (check.deliveries == 1 ? " delivery" : " deliveries") +
            (check.net ? " net" : " gross");
    if (check.verdict == ChartVerdict::TooFew) {
        text += check.deliveries < kLeastChartDeliveries
                    ? " (it takes " + std::to_string(kLeastChartDeliveries) + ")"
                    : " (all billed alike)";
    }
    for (std::size_t i = 0; i < check.leftOut.size(); ++i) {
        text += (i == 0 ? "; left out " : ", ") + check.leftOut[i].date + ": " +
                std::string(leftOutReason(check.leftOut[i].reason));
    }
    return text;
}

}  // namespace brimwell::book
