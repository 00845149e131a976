// The meters' calibration factors: each added with the day it takes effect, never changed.

#include "book/meterfactor.h"
#include "book/rows.h"
#include "book/storecall.h"
#include "book/tanktable.h"

namespace brimwell::book {

Expected<std::vector<MeterFactor>, std::string> readMeterFactors(const Connection& book,
                                                                 long long tank) {
    const auto rows = selectRows(
        book, "SELECT effective, factor, unit FROM meter_factors WHERE tank_id = ? ORDER BY effective",
        {tank}, [](const QSqlQuery& row) {
            return std::pair{MeterFactor{textIn(row, "effective"), number(row, "factor")},
                             meterUnitOf(textIn(row, "unit"))};
        });
    if (!rows) {
        return Unexpected(rows.error());
    }
    std::vector<MeterFactor> factors;
    for (const auto& [factor, unit] : *rows) {
        if (!unit || meterFactorRefusal(MeterFactor{factor.from, factor.value, *unit}, {})) {
            return Unexpected("a meter factor of " + factor.from + " cannot be read");
        }
        factors.push_back({factor.from, factor.value, *unit});
    }
    return factors;
}

Done Store::addMeterFactor(const std::string& tank, const MeterFactor& factor) {
    return call(Lock::Write, [&]() -> Done {
        const auto id = tankId(book_, tank);
        if (!id) {
            return Unexpected(id.error());
        }
        const auto existing = readMeterFactors(book_, *id);
        if (!existing) {
            return Unexpected(existing.error());
        }
        if (auto refused = meterFactorRefusal(factor, *existing)) {
            return Unexpected(*refused);
        }
        const Cells cells{{"tank_id", *id},
                          {"effective", text(factor.from)},
                          {"factor", factor.value},
                          {"unit", text(meterUnitWord(factor.unit))},
                          {"recorded_at", text(now())}};
        return Query(book_).run(insertInto("meter_factors", cells), valuesOf(cells));
    });
}

}  // namespace brimwell::book
