// When a tank's records last changed: the time the printed pages give beside the records.

#include "book/storecall.h"
#include "book/tanktable.h"

namespace brimwell::book {
namespace {

// Each table of records and the column that holds the time a row was written.
constexpr std::pair<const char*, const char*> kChangeTimes[]{
    {"recorded_at", "days"},
    {"recorded_at", "deliveries"},
    {"changed_at", "day_history"},
    {"changed_at", "delivery_history"},
};

}  // namespace

Expected<std::string, std::string> Store::lastChange(const std::string& tank,
                                                     const std::string& first,
                                                     const std::string& last) {
    return call(Lock::Read, [&]() -> Expected<std::string, std::string> {
        const auto id = tankId(book_, tank);
        if (!id) {
            return Unexpected(id.error());
        }
        QVariantList values;
        std::string parts;
        for (const auto& [column, table] : kChangeTimes) {
            parts += std::string(parts.empty() ? "" : " UNION ALL ") + "SELECT MAX(" + column +
                     ") AS changed FROM " + table + " WHERE tank_id = ? AND day >= ? AND day <= ?";
            values << *id << text(first) << text(last);
        }
        // A meter factor in effect by the month's last day changes the month's figures too.
        parts += " UNION ALL SELECT MAX(recorded_at) AS changed FROM meter_factors WHERE "
                 "tank_id = ? AND effective <= ?";
        values << *id << text(last);
        const auto times =
            selectRows(book_, "SELECT MAX(changed) AS changed FROM (" + parts + ") AS changes",
                       values, [](const QSqlQuery& row) { return optionalText(row, "changed"); });
        if (!times) {
            return Unexpected(times.error());
        }
        return times->empty() || !times->front() ? std::string() : *times->front();
    });
}

}  // namespace brimwell::book
