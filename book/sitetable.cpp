// The site the book is kept for, and when a tank's records last changed: what the printed
// pages name besides the records themselves.

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

Site Store::site() const {
    // Reading changes nothing the caller sees; the connection is only up during the call.
    auto& store = const_cast<Store&>(*this);
    Site site;
    const auto read = store.call(Lock::Read, [&]() -> Done {
        const auto rows = selectRows(
            store.book_,
            "SELECT name, value FROM book_meta WHERE name = 'site_name' OR name = 'site_address'",
            {}, [](const QSqlQuery& row) {
                return std::pair(textIn(row, "name"), textIn(row, "value"));
            });
        if (!rows) {
            return Unexpected(rows.error());
        }
        for (const auto& [name, value] : *rows) {
            (name == "site_name" ? site.name : site.address) = value;
        }
        return {};
    });
    return read ? site : Site{};
}

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
