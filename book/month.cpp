#include "book/month.h"

namespace brimwell::book {

DateRange everyDay() {
    return {"0000-01-01", "9999-12-31"};
}

DateRange monthDates(const std::string& month) {
    return {month + "-01", month + "-31"};
}

std::string monthOf(const std::string& date) {
    return date.substr(0, 7);
}

Opening openingOf(const MonthRecords& records, const TankSettings& tank) {
    if (records.before) {
        return {records.before->closingLevel, records.before->waterLevel};
    }
    return {tank.openingLevel.value_or(0), std::nullopt};
}

Expected<MonthReport, std::string> reconcileRecords(const MonthRecords& records,
                                                    const TankSettings& tank, const Gauge& gauge) {
    const Opening opening = openingOf(records, tank);
    return reconcileMonth(records.days, opening.level, opening.water, gauge, tank.rules);
}

}  // namespace brimwell::book
