// The leak tests issued: each result printed or exported, with its time.

#include "book/rows.h"
#include "book/storecall.h"
#include "book/tanktable.h"

namespace brimwell::book {
namespace {

IssuedLeakTest issuedFrom(const QSqlQuery& row) {
    const std::string verdict = textIn(row, "verdict");
    LeakVerdict read = LeakVerdict::NoAnalysis;
    for (const LeakVerdict each : {LeakVerdict::Pass, LeakVerdict::Fail, LeakVerdict::Inconclusive,
                                   LeakVerdict::NoAnalysis}) {
        read = verdictWord(each) == verdict ? each : read;
    }
    return {textIn(row, "first_day"),
            textIn(row, "last_day"),
            textIn(row, "issued_at"),
            read,
            optionalNumber(row, "leak_rate"),
            optionalNumber(row, "threshold"),
            optionalNumber(row, "mdl"),
            static_cast<int>(integer(row, "usable_days"))};
}

}  // namespace

Done Store::keepLeakTest(const std::string& tank, const IssuedLeakTest& test) {
    return call(Lock::Write, [&]() -> Done {
        const auto id = tankId(book_, tank);
        if (!id) {
            return Unexpected(id.error());
        }
        const Cells cells{{"tank_id", *id},
                          {"first_day", text(test.first)},
                          {"last_day", text(test.last)},
                          {"issued_at", text(test.issuedAt.empty() ? now() : test.issuedAt)},
                          {"verdict", text(verdictWord(test.verdict))},
                          {"leak_rate", optional(test.rate)},
                          {"threshold", optional(test.threshold)},
                          {"mdl", optional(test.minimumDetectable)},
                          {"usable_days", test.usableDays}};
        return Query(book_).run(insertInto("leak_tests", cells), valuesOf(cells));
    });
}

Expected<std::vector<IssuedLeakTest>, std::string> Store::issuedLeakTests(
    const std::string& tank, const std::string& first, const std::string& last) {
    return call(Lock::Read, [&] {
        return selectForTank(book_, tank,
                             "SELECT * FROM leak_tests WHERE tank_id = ? AND first_day = ? AND "
                             "last_day = ? ORDER BY issued_at, id",
                             {text(first), text(last)}, issuedFrom);
    });
}

}  // namespace brimwell::book
