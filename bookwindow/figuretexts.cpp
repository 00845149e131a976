#include "bookwindow/figuretexts.h"

#include <QLocale>
#include <QObject>
#include <cmath>

#include "book/leakreport.h"
#include "bookwindow/bookmodels.h"
#include "bookwindow/tankentry.h"
#include "host/usernumberformat.h"
#include "model/units/units.h"

namespace brimwell {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QString exactText(double value) {
    return QString::fromStdString(editableText(value, userNumberFormat()));
}

QString optionalText(const std::optional<double>& value) {
    return value ? exactText(*value) : QString();
}

QString deliveryText(const book::DeliveryCheck& check) {
    QString text = QObject::tr("measured %1 against a bill of %2 gross: %3 %4")
                       .arg(volumeText(check.measured), volumeText(check.billGross),
                            check.grossDifference < 0 ? QObject::tr("short") : QObject::tr("over"),
                            volumeText(std::abs(check.grossDifference)));
    if (check.netDifference) {
        text += QObject::tr(" (net %1)").arg(volumeText(*check.netDifference));
    }
    return text;
}

QString ruleText(const book::Rule& rule, const book::BookTank& tank) {
    return fromStd(book::ruleName(rule, unitWord(tank.volumeUnit), unitWord(tank.lengthUnit)));
}

QString verdictText(const book::RuleVerdict& verdict, const book::BookTank& tank) {
    QString text = ruleText(verdict.rule, tank) + ": " +
                   (verdict.met ? QObject::tr("met") : QObject::tr("FAILED"));
    for (const book::RuleFigure& figure : verdict.figures) {
        text += "; " + fromStd(figure.label) + " " +
                (figure.count ? QString::number(figure.value) : volumeText(figure.value));
    }
    return text;
}

QString leakTestText(const book::LeakTest& test, VolumeUnit unit) {
    constexpr int kRatePlaces = 4;
    const auto rate = [](const std::optional<double>& value) {
        return value ? QLocale().toString(*value, 'f', kRatePlaces) : QObject::tr("not worked out");
    };
    return QObject::tr("Leak test: %1; leak rate %2 %3, threshold %4, MDL %5; %6 of %7 days usable")
        .arg(fromStd(std::string(book::verdictWord(test.verdict))), rate(test.rate),
             fromStd(book::rateUnit(unit)), rate(test.threshold), rate(test.minimumDetectable))
        .arg(test.usableDays)
        .arg(test.periodDays);
}

QString chartCheckText(const book::ChartCheck& check) {
    return QObject::tr("Chart check: %1").arg(fromStd(book::chartText(check)));
}

QString monthVerdictText(const book::MonthReport& month, const book::BookTank& tank) {
    if (month.days.empty()) {
        return QObject::tr("Month: no days recorded");
    }
    QStringList failed;
    for (const book::RuleVerdict& verdict : month.verdicts) {
        if (!verdict.met) {
            failed << ruleText(verdict.rule, tank);
        }
    }
    return failed.isEmpty() ? QObject::tr("Month: met")
                            : QObject::tr("Month: FAILED (%1)").arg(failed.join(QStringLiteral("; ")));
}

}  // namespace brimwell
