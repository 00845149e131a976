// The days table and their history: a day written through one mapping and read back by its
// columns' names, and the month's records.

#include <map>

#include "book/deliverytable.h"
#include "book/storecall.h"
#include "book/tanktable.h"

namespace brimwell::book {
namespace {

constexpr std::size_t kProgressEvery = 1000;

// The day's columns, its tank and time aside.
Cells dayCells(const Day& day) {
    return {{"day", text(day.date)},
            {"closing_level", day.closingLevel},
            {"water_level", optional(day.waterLevel)},
            {"temperature", optional(day.temperature)},
            {"pumped", optional(day.pumped)},
            {"meter_open", optional(day.meterOpen)},
            {"meter_close", optional(day.meterClose)},
            {"initials", day.initials.empty() ? QVariant() : text(day.initials)}};
}

Day dayFrom(const QSqlQuery& row) {
    Day day;
    day.date = textIn(row, "day");
    day.closingLevel = number(row, "closing_level");
    day.waterLevel = optionalNumber(row, "water_level");
    day.temperature = optionalNumber(row, "temperature");
    day.pumped = optionalNumber(row, "pumped");
    day.meterOpen = optionalNumber(row, "meter_open");
    day.meterClose = optionalNumber(row, "meter_close");
    day.initials = optionalText(row, "initials").value_or("");
    return day;
}

// Keeps the day's recorded values in the history, then replaces them.
Done correctDay(const Connection& book, long long tank, const Day& day) {
    Cells cells = dayCells(day);
    cells.emplace_back("recorded_at", text(now()));
    const std::string columns = "tank_id, " + columnsOf(cells);
    if (auto kept =
            Query(book).run("INSERT INTO day_history (" + columns + ", changed_at) SELECT " +
                                columns + ", ? FROM days WHERE tank_id = ? AND day = ?",
                            {text(now()), tank, text(day.date)});
        !kept) {
        return kept;
    }
    QVariantList values = valuesOf(cells);
    values << tank << text(day.date);
    return Query(book).run(
        "UPDATE days SET " + assignments(cells) + " WHERE tank_id = ? AND day = ?", values);
}

// Records days, or corrects those already recorded; an import's many days share its statements.
class DayWriter {
public:
    explicit DayWriter(const Connection& book) : book_(book), recorded_(book), insert_(book) {}

    // True when it corrected a recorded day. The same readings recorded again are no correction
    // and leave the day and its history as they were. A day given without initials keeps those
    // recorded, so that an import of a file without them corrects nothing.
    Expected<bool, std::string> write(long long tank, const Day& given) {
        Day day = given;
        if (auto done = recorded_.run("SELECT * FROM days WHERE tank_id = ? AND day = ?",
                                      {tank, text(day.date)});
            !done) {
            return Unexpected(done.error());
        }
        std::optional<Day> recorded;
        if (recorded_.next()) {
            recorded = dayFrom(*recorded_);
        } else if (auto read = recorded_.finished(); !read) {
            return Unexpected(read.error());
        }
        recorded_->finish();
        if (recorded && day.initials.empty()) {
            day.initials = recorded->initials;
        }
        if (recorded && recorded->sameReadings(day)) {
            return false;
        }
        const auto done = recorded ? correctDay(book_, tank, day) : insert(tank, day);
        if (!done) {
            return Unexpected(done.error());
        }
        return recorded.has_value();
    }

private:
    Done insert(long long tank, const Day& day) {
        Cells cells{{"tank_id", tank}};
        for (auto& cell : dayCells(day)) {
            cells.push_back(std::move(cell));
        }
        cells.emplace_back("recorded_at", text(now()));
        return insert_.run(insertInto("days", cells), valuesOf(cells));
    }

    Connection book_;
    Query recorded_;
    Query insert_;
};

Done markCorrected(const Connection& book, long long tank, std::vector<Day>& days) {
    if (days.empty()) {
        return {};
    }
    const QVariant first = text(days.front().date);
    const QVariant last = text(days.back().date);
    const auto corrected =
        selectRows(book,
                   "SELECT day FROM day_history WHERE tank_id = ? AND day >= ? AND day <= ? UNION "
                   "SELECT day FROM delivery_history WHERE tank_id = ? AND day >= ? AND day <= ?",
                   {tank, first, last, tank, first, last},
                   [](const QSqlQuery& row) { return textIn(row, "day"); });
    if (!corrected) {
        return Unexpected(corrected.error());
    }
    for (const std::string& date : *corrected) {
        for (Day& day : days) {
            day.corrected = day.corrected || day.date == date;
        }
    }
    return {};
}

}  // namespace

Expected<bool, std::string> Store::recordDay(const std::string& tank, const Day& day) {
    return call(Lock::Write, [&]() -> Expected<bool, std::string> {
        const auto id = tankId(book_, tank);
        if (!id) {
            return Unexpected(id.error());
        }
        return DayWriter(book_).write(*id, day);
    });
}

Done Store::importDays(const std::vector<ImportRow>& rows,
                       const std::function<void(std::size_t)>& progress) {
    return call(Lock::Write, [&]() -> Done {
        DayWriter writer(book_);
        std::map<std::string, long long> ids;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ImportRow& row = rows[i];
            auto id = ids.find(row.tank);
            if (id == ids.end()) {
                const auto found = tankId(book_, row.tank);
                if (!found) {
                    return Unexpected(found.error());
                }
                id = ids.emplace(row.tank, *found).first;
            }
            if (auto done = writer.write(id->second, row.day); !done) {
                return Unexpected(row.day.date + ": " + done.error());
            }
            if (progress && (i + 1) % kProgressEvery == 0) {
                progress(i + 1);
            }
        }
        return {};
    });
}

Expected<MonthRecords, std::string> Store::month(const std::string& tank, const std::string& first,
                                                 const std::string& last) {
    return call(Lock::Read, [&]() -> Expected<MonthRecords, std::string> {
        const auto id = tankId(book_, tank);
        if (!id) {
            return Unexpected(id.error());
        }
        const auto before = selectRows(
            book_, "SELECT * FROM days WHERE tank_id = ? AND day < ? ORDER BY day DESC LIMIT 1",
            {*id, text(first)}, dayFrom);
        if (!before) {
            return Unexpected(before.error());
        }
        auto days = selectRows(
            book_, "SELECT * FROM days WHERE tank_id = ? AND day >= ? AND day <= ? ORDER BY day",
            {*id, text(first), text(last)}, dayFrom);
        if (!days) {
            return Unexpected(days.error());
        }
        MonthRecords records{before->empty() ? std::nullopt : std::optional(before->front()),
                             *std::move(days)};
        auto done = attachDeliveries(book_, *id, first, last, records.days);
        if (done) {
            done = markCorrected(book_, *id, records.days);
        }
        if (!done) {
            return Unexpected(done.error());
        }
        return records;
    });
}

Expected<std::vector<DayCorrection>, std::string> Store::history(const std::string& tank) {
    return call(Lock::Read, [&] {
        return selectForTank(
            book_, tank, "SELECT * FROM day_history WHERE tank_id = ? ORDER BY day, changed_at, id",
            {}, [](const QSqlQuery& row) {
                return DayCorrection{dayFrom(row), textIn(row, "changed_at")};
            });
    });
}

Expected<std::vector<Day>, std::string> Store::days(const std::string& tank) {
    return call(Lock::Read, [&] {
        return selectForTank(book_, tank, "SELECT * FROM days WHERE tank_id = ? ORDER BY day", {},
                             dayFrom);
    });
}

}  // namespace brimwell::book
