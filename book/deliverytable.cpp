#include "book/deliverytable.h"

#include "book/storecall.h"
#include "book/tanktable.h"

namespace brimwell::book {

Cells deliveryCells(const Delivery& delivery) {
    return {{"bill_volume", delivery.billVolume},
            {"bill_net", delivery.billNet ? 1 : 0},
            {"bill_temperature", optional(delivery.billTemperature)},
            {"level_before", delivery.levelBefore},
            {"level_after", delivery.levelAfter},
            {"temperature_before", optional(delivery.temperatureBefore)},
            {"temperature_after", optional(delivery.temperatureAfter)},
            {"pumped_during", delivery.pumpedDuring}};
}

Delivery deliveryFrom(const QSqlQuery& row) {
    return {number(row, "bill_volume"),
            number(row, "bill_net") != 0,
            optionalNumber(row, "bill_temperature"),
            number(row, "level_before"),
            number(row, "level_after"),
            optionalNumber(row, "temperature_before"),
            optionalNumber(row, "temperature_after"),
            number(row, "pumped_during")};
}

Done attachDeliveries(const Connection& book, long long tank, const std::string& first,
                      const std::string& last, std::vector<Day>& days) {
    Query query(book);
    if (auto done = query.run("SELECT * FROM deliveries WHERE tank_id = ? AND day >= ? AND "
                              "day <= ? ORDER BY day, id",
                              {tank, text(first), text(last)});
        !done) {
        return done;
    }
    auto day = days.begin();
    while (query.next()) {
        const std::string date = textIn(*query, "day");
        while (day != days.end() && day->date < date) {
            ++day;
        }
        if (day == days.end() || day->date != date) {
            // Left out, the delivery would show as a loss on no day at all.
            return Unexpected(date + " has a delivery but no closing stick: record the day");
        }
        day->deliveries.push_back(deliveryFrom(*query));
    }
    return query.finished();
}

Done Store::addDelivery(const std::string& tank, const std::string& date,
                        const Delivery& delivery) {
    return call(Lock::Write, [&]() -> Done {
        const auto id = tankId(book_, tank);
        if (!id) {
            return Unexpected(id.error());
        }
        Cells cells{{"tank_id", *id}, {"day", text(date)}};
        for (auto& cell : deliveryCells(delivery)) {
            cells.push_back(std::move(cell));
        }
        cells.emplace_back("recorded_at", text(now()));
        return Query(book_).run(insertInto("deliveries", cells), valuesOf(cells));
    });
}

// The delivery's earlier values go to its history, then it is replaced or withdrawn.
Done Store::correctDelivery(const std::string& tank, const std::string& date, std::size_t number,
                            const std::optional<Delivery>& replacement) {
    return call(Lock::Write, [&]() -> Done {
        const auto id = deliveryId(tank, date, number);
        if (!id) {
            return Unexpected(id.error());
        }
        const std::string columns =
            "tank_id, day, " + columnsOf(deliveryCells({})) + ", recorded_at";
        if (auto kept = Query(book_).run("INSERT INTO delivery_history (" + columns +
                                             ", changed_at, withdrawn) SELECT " + columns +
                                             ", ?, ? FROM deliveries WHERE id = ?",
                                         {text(now()), replacement ? 0 : 1, *id});
            !kept) {
            return kept;
        }
        if (!replacement) {
            return Query(book_).run("DELETE FROM deliveries WHERE id = ?", {*id});
        }
        Cells cells = deliveryCells(*replacement);
        cells.emplace_back("recorded_at", text(now()));
        QVariantList values = valuesOf(cells);
        values << *id;
        return Query(book_).run("UPDATE deliveries SET " + assignments(cells) + " WHERE id = ?",
                                values);
    });
}

// The row of the day's `number`th delivery, 1 being the first recorded.
Expected<long long, std::string> Store::deliveryId(const std::string& tank, const std::string& date,
                                                   std::size_t number) {
    const auto ids = selectForTank(
        book_, tank, "SELECT id FROM deliveries WHERE tank_id = ? AND day = ? ORDER BY id",
        {text(date)}, [](const QSqlQuery& row) { return integer(row, "id"); });
    if (!ids) {
        return Unexpected(ids.error());
    }
    if (number < 1 || number > ids->size()) {
        return Unexpected(date + " has no delivery " + std::to_string(number) + " (it has " +
                          std::to_string(ids->size()) + ")");
    }
    return (*ids)[number - 1];
}

Expected<std::vector<Delivery>, std::string> Store::deliveries(const std::string& tank,
                                                               const std::string& date) {
    return call(Lock::Read, [&] {
        return selectForTank(book_, tank,
                             "SELECT * FROM deliveries WHERE tank_id = ? AND day = ? ORDER BY id",
                             {text(date)}, deliveryFrom);
    });
}

Expected<std::vector<DeliveryCorrection>, std::string> Store::deliveryHistory(
    const std::string& tank) {
    return call(Lock::Read, [&] {
        return selectForTank(book_, tank,
                             "SELECT * FROM delivery_history WHERE tank_id = ? "
                             "ORDER BY day, changed_at, id",
                             {}, [](const QSqlQuery& row) {
                                 return DeliveryCorrection{textIn(row, "day"), deliveryFrom(row),
                                                           textIn(row, "changed_at"),
                                                           number(row, "withdrawn") != 0};
                             });
    });
}

Expected<std::vector<std::pair<std::string, Delivery>>, std::string> Store::allDeliveries(
    const std::string& tank) {
    return call(Lock::Read, [&] {
        return selectForTank(
            book_, tank, "SELECT * FROM deliveries WHERE tank_id = ? ORDER BY day, id", {},
            [](const QSqlQuery& row) { return std::pair(textIn(row, "day"), deliveryFrom(row)); });
    });
}

}  // namespace brimwell::book
