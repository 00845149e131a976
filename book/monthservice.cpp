#include "book/monthservice.h"

#include "book/month.h"

namespace brimwell::book {
namespace {

// The last day of the records read up to the book's last possible day.
std::optional<Day> lastOf(const MonthRecords& records) {
    return records.days.empty() ? records.before : std::optional<Day>(records.days.back());
}

}  // namespace

Expected<TankMonth, std::string> readTankMonth(Store& store, const TankSettings& tank,
                                               const BookTank& gauged,
                                               const std::optional<std::string>& month) {
    TankMonth found;
    const auto read = store.reading([&]() -> Expected<void, std::string> {
        const std::string last = everyDay().last;
        const auto latest = store.month(tank.name, last, last);
        if (!latest) {
            return Unexpected(latest.error());
        }
        found.lastDay = lastOf(*latest);
        if (!month && !found.lastDay) {
            return {};
        }
        found.month = month ? *month : monthOf(found.lastDay->date);
        const DateRange dates = monthDates(found.month);
        auto records = store.month(tank.name, dates.first, dates.last);
        if (!records) {
            return Unexpected(records.error());
        }
        found.records = *std::move(records);
        return {};
    });
    if (!read) {
        return Unexpected(read.error());
    }
    if (!found.records.days.empty()) {
        found.report = reconcileRecords(found.records, tank, gauged.gauge);
        if (found.report) {
            found.chart = chartCheck(found.records, *found.report, tank);
        }
    }
    return found;
}

}  // namespace brimwell::book
