#pragma once

// The book window's texts of recorded values and worked-out figures, in the user's notation.

#include <QString>
#include <optional>
#include <string>

#include "book/booktank.h"
#include "book/chartcheck.h"
#include "book/leaktest.h"
#include "book/reconcile.h"

namespace brimwell {

QString fromStd(const std::string& text);
// A recorded value as the user's notation writes it back exactly, so that saving it unchanged
// changes nothing.
QString exactText(double value);
QString optionalText(const std::optional<double>& value);
// "measured 2990.00 against a bill of 3000.00 gross: short 10.00 (net -9.80)".
QString deliveryText(const book::DeliveryCheck& check);
QString ruleText(const book::Rule& rule, const book::BookTank& tank);
// The rule, "met" or "FAILED", and its figures.
QString verdictText(const book::RuleVerdict& verdict, const book::BookTank& tank);
// The month as a whole: "Month: met", or "Month: FAILED (" and the rules it failed ")".
// "Leak test: pass; leak rate 0.0123 gal/h, threshold 0.0670, MDL 0.1340; 30 of 31 days
// usable"; the figures not worked out when the days leave none.
QString leakTestText(const book::LeakTest& test, VolumeUnit unit);
QString chartCheckText(const book::ChartCheck& check);

QString monthVerdictText(const book::MonthReport& month, const book::BookTank& tank);

}  // namespace brimwell
