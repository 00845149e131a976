#include "book/store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <algorithm>
#include <array>
#include <atomic>
#include <initializer_list>
#include <map>

#include "book/bookfile.h"
#include "book/legacyshape.h"
#include "book/query.h"
#include "book/schema.h"
#include "book/sqlfailure.h"

namespace brimwell::book {
namespace {

constexpr std::size_t kProgressEvery = 1000;

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

std::optional<double> optional(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

std::string now() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
}

constexpr const char* kDayColumns =
    "day, closing_level, water_level, temperature, pumped, meter_open, meter_close";

// A day read from the columns kDayColumns names, starting at `from`.
Day dayFrom(const QSqlQuery& query, int from = 0) {
    Day day;
    day.date = query.value(from).toString().toStdString();
    day.closingLevel = query.value(from + 1).toDouble();
    day.waterLevel = optional(query.value(from + 2));
    day.temperature = optional(query.value(from + 3));
    day.pumped = optional(query.value(from + 4));
    day.meterOpen = optional(query.value(from + 5));
    day.meterClose = optional(query.value(from + 6));
    return day;
}

constexpr const char* kDeliveryColumns =
    "bill_volume, bill_net, bill_temperature, level_before, level_after, temperature_before, "
    "temperature_after, pumped_during";

// A delivery read from the columns kDeliveryColumns names, starting at `from`.
Delivery deliveryFrom(const QSqlQuery& query, int from = 0) {
    return {query.value(from).toDouble(),     query.value(from + 1).toInt() != 0,
            optional(query.value(from + 2)),  query.value(from + 3).toDouble(),
            query.value(from + 4).toDouble(), optional(query.value(from + 5)),
            optional(query.value(from + 6)),  query.value(from + 7).toDouble()};
}

// The values of the columns kDeliveryColumns names.
QVariantList deliveryValues(const Delivery& delivery) {
    return {delivery.billVolume,
            delivery.billNet ? 1 : 0,
            optional(delivery.billTemperature),
            delivery.levelBefore,
            delivery.levelAfter,
            optional(delivery.temperatureBefore),
            optional(delivery.temperatureAfter),
            delivery.pumpedDuring};
}

Expected<long long, std::string> tankId(const QString& connection, const std::string& name) {
    Query query(connection);
    if (auto done = query.run("SELECT id FROM tanks WHERE name = ?", {text(name)}); !done) {
        return Unexpected(done.error());
    }
    if (!query.next()) {
        if (auto read = query.finished(); !read) {
            return Unexpected(read.error());
        }
        return Unexpected("no tank named '" + name + "' in the book");
    }
    return query->value(0).toLongLong();
}

// Each row the statement selects for the tank, read by `read`: the tank's id is bound first,
// then `values`.
template <typename Read>
auto selectForTank(const QString& connection, const std::string& tank, const std::string& sql,
                   QVariantList values, Read read)
    -> Expected<std::vector<decltype(read(std::declval<const QSqlQuery&>()))>, std::string> {
    const auto id = tankId(connection, tank);
    if (!id) {
        return Unexpected(id.error());
    }
    values.prepend(*id);
    Query query(connection);
    if (auto done = query.run(sql.c_str(), values); !done) {
        return Unexpected(done.error());
    }
    std::vector<decltype(read(*query))> rows;
    while (query.next()) {
        rows.push_back(read(*query));
    }
    if (auto all = query.finished(); !all) {
        return Unexpected(all.error());
    }
    return rows;
}

// Keeps the day's recorded values in the history, then replaces them.
Done correctDay(const QString& connection, long long tank, const Day& day) {
    if (auto kept =
            Query(connection)
                .run("INSERT INTO day_history (tank_id, day, closing_level, water_level, "
                     "temperature, "
                     "pumped, meter_open, meter_close, recorded_at, changed_at) SELECT tank_id, "
                     "day, "
                     "closing_level, water_level, temperature, pumped, meter_open, meter_close, "
                     "recorded_at, ? FROM days WHERE tank_id = ? AND day = ?",
                     {text(now()), tank, text(day.date)});
        !kept) {
        return kept;
    }
    return Query(connection)
        .run(
            "UPDATE days SET closing_level = ?, water_level = ?, temperature = ?, pumped = ?, "
            "meter_open = ?, meter_close = ?, recorded_at = ? WHERE tank_id = ? AND day = ?",
            {day.closingLevel, optional(day.waterLevel), optional(day.temperature),
             optional(day.pumped), optional(day.meterOpen), optional(day.meterClose), text(now()),
             tank, text(day.date)});
}

// Records days, or corrects those already recorded; an import's many days share its statements.
class DayWriter {
public:
    explicit DayWriter(const QString& connection)
        : connection_(connection), recorded_(connection), insert_(connection) {}

    // True when it corrected a recorded day. The same readings recorded again are no correction
    // and leave the day and its history as they were.
    Expected<bool, std::string> write(long long tank, const Day& day) {
        static const std::string kRecordedDay =
            std::string("SELECT ") + kDayColumns + " FROM days WHERE tank_id = ? AND day = ?";
        if (auto done = recorded_.run(kRecordedDay.c_str(), {tank, text(day.date)}); !done) {
            return Unexpected(done.error());
        }
        std::optional<Day> recorded;
        if (recorded_.next()) {
            recorded = dayFrom(*recorded_);
        } else if (auto read = recorded_.finished(); !read) {
            return Unexpected(read.error());
        }
        recorded_->finish();
        if (recorded && recorded->sameReadings(day)) {
            return false;
        }
        const auto done = recorded ? correctDay(connection_, tank, day) : insert(tank, day);
        if (!done) {
            return Unexpected(done.error());
        }
        return recorded.has_value();
    }

private:
    Done insert(long long tank, const Day& day) {
        return insert_.run(
            "INSERT INTO days (tank_id, day, closing_level, water_level, temperature, pumped, "
            "meter_open, meter_close, recorded_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {tank, text(day.date), day.closingLevel, optional(day.waterLevel),
             optional(day.temperature), optional(day.pumped), optional(day.meterOpen),
             optional(day.meterClose), text(now())});
    }

    QString connection_;
    Query recorded_;
    Query insert_;
};

// The tanks table's columns from name to opening_level, in that order.
QVariantList tankValues(const TankSettings& tank) {
    const Product& product = tank.product;
    return {text(tank.name),
            text(product.name),
            text(std::string(correctionWord(product.correction))),
            product.value,
            product.reference,
            product.celsius ? 1 : 0,
            text(legacyShapeText(tank.shape)),
            tank.shape.calibration ? QVariant(text(*tank.shape.calibration))
                                   : QVariant(QMetaType::fromType<QString>()),
            tank.safeFill,
            optional(tank.openingLevel)};
}

Done nameTaken(const Done& failed, const std::string& name) {
    return failed.error().find("UNIQUE") != std::string::npos
               ? Unexpected("a tank named '" + name + "' is already in the book")
               : failed;
}

Done insertRules(const QString& connection, long long tank, const std::vector<Rule>& rules) {
    int ordinal = 0;
    for (const Rule& rule : rules) {
        const char* kind = "percent";
        double first = 0;
        double second = 0;
        if (const auto* percent = std::get_if<PercentRule>(&rule)) {
            first = percent->percent;
            second = percent->allowance;
        } else if (const auto* run = std::get_if<ShortRunRule>(&rule)) {
            kind = "short-run";
            first = run->days;
            second = run->total;
        } else {
            kind = "water";
            first = std::get<WaterRule>(rule).limit;
        }
        if (auto done = Query(connection)
                            .run("INSERT INTO rules (tank_id, ordinal, kind, value1, value2) "
                                 "VALUES (?, ?, ?, ?, ?)",
                                 {tank, ordinal++, kind, first, second});
            !done) {
            return done;
        }
    }
    return {};
}

Expected<std::vector<Rule>, std::string> readRules(const QString& connection, long long tank) {
    Query query(connection);
    if (auto done = query.run(
            "SELECT kind, value1, value2 FROM rules WHERE tank_id = ? ORDER BY ordinal", {tank});
        !done) {
        return Unexpected(done.error());
    }
    std::vector<Rule> rules;
    while (query.next()) {
        const QString kind = query->value(0).toString();
        const double first = query->value(1).toDouble();
        const double second = query->value(2).toDouble();
        if (kind == "percent") {
            rules.emplace_back(PercentRule{first, second});
        } else if (kind == "short-run") {
            rules.emplace_back(ShortRunRule{static_cast<int>(first), second});
        } else if (kind == "water") {
            rules.emplace_back(WaterRule{first});
        } else {
            return Unexpected("the book holds a rule of an unknown kind '" + kind.toStdString() +
                              "'");
        }
    }
    if (auto all = query.finished(); !all) {
        return Unexpected(all.error());
    }
    return rules;
}

// The deliveries from `first` to `last` onto their days, each of which must be recorded.
Done attachDeliveries(const QString& connection, long long tank, const std::string& first,
                      const std::string& last, std::vector<Day>& days) {
    Query query(connection);
    if (auto done = query.run((std::string("SELECT day, ") + kDeliveryColumns +
                               " FROM deliveries WHERE tank_id = ? AND day >= ? AND day <= ? "
                               "ORDER BY day, id")
                                  .c_str(),
                              {tank, text(first), text(last)});
        !done) {
        return done;
    }
    auto day = days.begin();
    while (query.next()) {
        const std::string date = query->value(0).toString().toStdString();
        while (day != days.end() && day->date < date) {
            ++day;
        }
        if (day == days.end() || day->date != date) {
            // Left out, the delivery would show as a loss on no day at all.
            return Unexpected(date + " has a delivery but no closing stick: record the day");
        }
        day->deliveries.push_back(deliveryFrom(*query, 1));
    }
    return query.finished();
}

Done markCorrected(const QString& connection, long long tank, std::vector<Day>& days) {
    if (days.empty()) {
        return {};
    }
    Query query(connection);
    const QVariant first = text(days.front().date);
    const QVariant last = text(days.back().date);
    if (auto done = query.run(
            "SELECT day FROM day_history WHERE tank_id = ? AND day >= ? AND day <= ? UNION "
            "SELECT day FROM delivery_history WHERE tank_id = ? AND day >= ? AND day <= ?",
            {tank, first, last, tank, first, last});
        !done) {
        return done;
    }
    while (query.next()) {
        const std::string date = query->value(0).toString().toStdString();
        for (Day& day : days) {
            day.corrected = day.corrected || day.date == date;
        }
    }
    if (auto all = query.finished(); !all) {
        return all;
    }
    return {};
}

}  // namespace

Store::~Store() {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

// Connects for the call and checks that the file is still this version's book: another program
// may have replaced or upgraded it since the last call.
Expected<void, std::string> Store::connect() {
    if (auto opened = openConnection(connection_, path_); !opened) {
        return opened;
    }
    auto current = isThisVersion(connection_, path_);
    if (!current) {
        disconnect();
    }
    return current;
}

void Store::disconnect() {
    QSqlDatabase::database(connection_, false).close();
}

template <typename Work>
auto Store::inRead(const Work& work) -> decltype(work()) {
    if (inTransaction_) {
        return work();
    }
    if (auto begun = Query(connection_).run("BEGIN"); !begun) {
        return Unexpected(begun.error());
    }
    inTransaction_ = true;
    auto result = work();
    inTransaction_ = false;
    (void)Query(connection_).run(result ? "COMMIT" : "ROLLBACK");
    return result;
}

template <typename Work>
auto Store::withBook(const Work& work) -> decltype(work()) {
    if (users_ == 0) {
        if (auto connected = connect(); !connected) {
            return Unexpected(connected.error());
        }
    }
    ++users_;
    auto result = work();
    if (--users_ == 0) {
        disconnect();
    }
    return result;
}

Done Store::inWrite(const std::function<Done()>& change) {
    if (inTransaction_) {
        return change();  // a part of the change already under way
    }
    if (auto begun = Query(connection_).run(sqliteSchema().beginWrite.data()); !begun) {
        return begun;
    }
    inTransaction_ = true;
    auto done = change();
    inTransaction_ = false;
    if (done) {
        done = Query(connection_).run("COMMIT");
    }
    if (!done) {
        (void)Query(connection_).run("ROLLBACK");
    }
    return done;
}

Expected<std::unique_ptr<Store>, OpenFailure> Store::open(const QString& path, Access access) {
    const bool exists = QFileInfo::exists(path);
    if (exists && !hasSqliteHeader(path)) {
        const bool readable = QFile(path).open(QIODevice::ReadOnly);
        return Unexpected(
            OpenFailure{readable ? OpenFailure::Kind::NotABook : OpenFailure::Kind::CannotOpen,
                        path.toStdString() +
                            (readable ? " is not a Brimwell book (not an SQLite database)"
                                      : " cannot be read") +
                            "; it is left as it is"});
    }
    if (!exists && access == Access::Read) {
        return Unexpected(OpenFailure{OpenFailure::Kind::CannotOpen,
                                      "there is no book at " + path.toStdString()});
    }
    if (!exists) {
        if (auto created = createPrivateFile(path); !created) {
            return Unexpected(created.error());
        }
    }
    std::unique_ptr<Store> store(new Store(newConnectionName(), path));
    auto ready = store->prepare(exists, access);
    if (!ready) {
        if (!exists) {
            store.reset();
            QFile::remove(path);
        }
        return Unexpected(ready.error());
    }
    return store;
}

// A reader that can make no journal beside the book (a read-only disk, a folder that takes no
// new files) reads the file as it stands, which is the whole book only while no journal holds
// changes; with such a journal the failure stands.
Expected<void, OpenFailure> Store::prepare(bool exists, Access access) {
    const auto ready = [&](bool withoutJournal) -> Expected<void, OpenFailure> {
        registerBook(connection_, path_, access, withoutJournal);
        if (auto connected = openConnection(connection_, path_); !connected) {
            return Unexpected(OpenFailure{OpenFailure::Kind::CannotOpen, connected.error()});
        }
        auto checked =
            exists ? checkExisting(connection_, path_, access) : createSchema(connection_);
        if (checked && exists && access == Access::Write) {
            checked = checkPages(connection_, path_);
        }
        if (checked && access == Access::Write) {
            checked = checkWritable(connection_, path_);
        }
        disconnect();
        return checked;
    };
    auto done = ready(false);
    if (!done && done.error().kind == OpenFailure::Kind::ReadOnly && access == Access::Read) {
        if (journalHoldsChanges(path_)) {
            return Unexpected(OpenFailure{
                OpenFailure::Kind::ReadOnly,
                path_.toStdString() + " cannot be read here: changes wait in its journal, and " +
                    whyNotWritable(path_) + "; open it once where it can be written"});
        }
        QSqlDatabase::removeDatabase(connection_);
        done = ready(true);
    }
    return done;
}

Done Store::together(const std::function<Done()>& changes) {
    return withBook([&] { return inWrite(changes); });
}

Done Store::reading(const std::function<Done()>& reads) {
    return withBook([&] { return inRead(reads); });
}

Done Store::addTank(const TankSettings& tank) {
    return withBook([&]() -> Done {
        return inWrite([&]() -> Done {
            QVariantList values = tankValues(tank);
            values << text(now());
            auto done = Query(connection_)
                            .run(
                                "INSERT INTO tanks (name, product, correction, correction_value, "
                                "reference, celsius, "
                                "shape, calibration, safe_fill, opening_level, created_at) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                                values);
            if (!done) {
                return nameTaken(done, tank.name);
            }
            const auto id = tankId(connection_, tank.name);
            return id ? insertRules(connection_, *id, tank.rules) : Unexpected(id.error());
        });
    });
}

Done Store::updateTank(const std::string& name, const TankSettings& tank) {
    return withBook([&]() -> Done {
        return inWrite([&]() -> Done {
            const auto id = tankId(connection_, name);
            if (!id) {
                return Unexpected(id.error());
            }
            QVariantList values = tankValues(tank);
            values << *id;
            auto done =
                Query(connection_)
                    .run(
                        "UPDATE tanks SET name = ?, product = ?, correction = ?, correction_value "
                        "= ?, "
                        "reference = ?, celsius = ?, shape = ?, calibration = ?, safe_fill = ?, "
                        "opening_level = ? WHERE id = ?",
                        values);
            if (!done) {
                return nameTaken(done, tank.name);
            }
            if (auto cleared = Query(connection_).run("DELETE FROM rules WHERE tank_id = ?", {*id});
                !cleared) {
                return cleared;
            }
            return insertRules(connection_, *id, tank.rules);
        });
    });
}

// Only a tank with nothing on record goes: the book is a legal record, and a tank's days,
// deliveries and their history stay in it.
Done Store::removeTank(const std::string& name) {
    return withBook([&]() -> Done {
        return inWrite([&]() -> Done {
            const auto id = tankId(connection_, name);
            if (!id) {
                return Unexpected(id.error());
            }
            Query count(connection_);
            if (auto done = count.run("SELECT (SELECT COUNT(*) FROM days WHERE tank_id = ?), "
                                      "(SELECT COUNT(*) FROM day_history WHERE tank_id = ?) + "
                                      "(SELECT COUNT(*) FROM deliveries WHERE tank_id = ?) + "
                                      "(SELECT COUNT(*) FROM delivery_history WHERE tank_id = ?)",
                                      {*id, *id, *id, *id});
                !done) {
                return done;
            }
            if (!count->next()) {
                return Unexpected(count->lastError().text().toStdString());
            }
            const long long days = count->value(0).toLongLong();
            if (days > 0) {
                return Unexpected(name + " has " + std::to_string(days) +
                                  (days == 1 ? " recorded day" : " recorded days") +
                                  "; a tank with recorded days is kept in the book");
            }
            if (count->value(1).toLongLong() > 0) {
                return Unexpected(name +
                                  " has deliveries on record; a tank with a record is kept in "
                                  "the book");
            }
            for (const char* sql :
                 {"DELETE FROM rules WHERE tank_id = ?", "DELETE FROM tanks WHERE id = ?"}) {
                if (auto done = Query(connection_).run(sql, {*id}); !done) {
                    return done;
                }
            }
            return {};
        });
    });
}

Expected<std::vector<std::string>, std::string> Store::tankNames() {
    return withBook([&]() -> Expected<std::vector<std::string>, std::string> {
        Query query(connection_);
        if (auto done = query.run("SELECT name FROM tanks ORDER BY name"); !done) {
            return Unexpected(done.error());
        }
        std::vector<std::string> names;
        while (query.next()) {
            names.push_back(query->value(0).toString().toStdString());
        }
        if (auto all = query.finished(); !all) {
            return Unexpected(all.error());
        }
        return names;
    });
}

Expected<TankSettings, std::string> Store::tank(const std::string& name) {
    return withBook([&] {
        return inRead([&]() -> Expected<TankSettings, std::string> {
            Query query(connection_);
            if (auto done = query.run(
                    "SELECT id, product, correction, correction_value, reference, celsius, shape, "
                    "safe_fill, opening_level, calibration FROM tanks WHERE name = ?",
                    {text(name)});
                !done) {
                return Unexpected(done.error());
            }
            if (!query.next()) {
                if (auto read = query.finished(); !read) {
                    return Unexpected(read.error());
                }
                return Unexpected("no tank named '" + name + "' in the book");
            }
            TankSettings tank;
            tank.name = name;
            tank.product.name = query->value(1).toString().toStdString();
            const std::string correction = query->value(2).toString().toStdString();
            const auto table = correctionNamed(correction);
            if (!table) {
                return Unexpected(name + " has a correction of an unknown kind '" + correction +
                                  "'");
            }
            tank.product.correction = *table;
            tank.product.value = query->value(3).toDouble();
            tank.product.reference = query->value(4).toDouble();
            tank.product.celsius = query->value(5).toInt() != 0;
            const QVariant chart = query->value(9);
            auto shape = readLegacyShape(query->value(6).toString().toStdString(),
                                         chart.isNull() ? std::nullopt
                                                        : std::optional(chart.toString().toStdString()));
            if (!shape) {
                return Unexpected("the tank's stored shape: " + shape.error());
            }
            tank.shape = *std::move(shape);
            tank.safeFill = query->value(7).toDouble();
            tank.openingLevel = optional(query->value(8));
            auto rules = readRules(connection_, query->value(0).toLongLong());
            if (!rules) {
                return Unexpected(rules.error());
            }
            tank.rules = *std::move(rules);
            return tank;
        });
    });
}

Expected<bool, std::string> Store::recordDay(const std::string& tank, const Day& day) {
    return withBook([&]() -> Expected<bool, std::string> {
        bool corrected = false;
        auto done = inWrite([&]() -> Done {
            const auto id = tankId(connection_, tank);
            if (!id) {
                return Unexpected(id.error());
            }
            const auto recorded = DayWriter(connection_).write(*id, day);
            if (!recorded) {
                return Unexpected(recorded.error());
            }
            corrected = *recorded;
            return {};
        });
        if (!done) {
            return Unexpected(done.error());
        }
        return corrected;
    });
}

Done Store::addDelivery(const std::string& tank, const std::string& date,
                        const Delivery& delivery) {
    return withBook([&]() -> Done {
        return inWrite([&]() -> Done {
            const auto id = tankId(connection_, tank);
            if (!id) {
                return Unexpected(id.error());
            }
            QVariantList values{*id, text(date)};
            values << deliveryValues(delivery) << text(now());
            return Query(connection_)
                .run((std::string("INSERT INTO deliveries (tank_id, day, ") + kDeliveryColumns +
                      ", recorded_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                         .c_str(),
                     values);
        });
    });
}

Done Store::correctDelivery(const std::string& tank, const std::string& date, std::size_t number,
                            const std::optional<Delivery>& replacement) {
    return withBook([&]() -> Done {
        return inWrite([&]() -> Done {
            const auto id = deliveryId(tank, date, number);
            if (!id) {
                return Unexpected(id.error());
            }
            auto done = Query(connection_)
                            .run((std::string("INSERT INTO delivery_history (tank_id, day, ") +
                                  kDeliveryColumns + ", recorded_at, changed_at, withdrawn) " +
                                  "SELECT tank_id, day, " + kDeliveryColumns +
                                  ", recorded_at, ?, ? FROM deliveries WHERE id = ?")
                                     .c_str(),
                                 {text(now()), replacement ? 0 : 1, *id});
            if (!done) {
                return done;
            }
            if (!replacement) {
                return Query(connection_).run("DELETE FROM deliveries WHERE id = ?", {*id});
            }
            QVariantList values = deliveryValues(*replacement);
            values << text(now()) << *id;
            return Query(connection_)
                .run(
                    "UPDATE deliveries SET bill_volume = ?, bill_net = ?, bill_temperature = ?, "
                    "level_before = ?, level_after = ?, temperature_before = ?, "
                    "temperature_after = ?, pumped_during = ?, recorded_at = ? WHERE id = ?",
                    values);
        });
    });
}

// The row of the day's `number`th delivery, 1 being the first recorded.
Expected<long long, std::string> Store::deliveryId(const std::string& tank, const std::string& date,
                                                   std::size_t number) {
    const auto ids = selectForTank(
        connection_, tank, "SELECT id FROM deliveries WHERE tank_id = ? AND day = ? ORDER BY id",
        {text(date)}, [](const QSqlQuery& row) { return row.value(0).toLongLong(); });
    if (!ids) {
        return Unexpected(ids.error());
    }
    if (number < 1 || number > ids->size()) {
        return Unexpected(date + " has no delivery " + std::to_string(number) + " (it has " +
                          std::to_string(ids->size()) + ")");
    }
    return (*ids)[number - 1];
}

Done Store::importDays(const std::vector<ImportRow>& rows,
                       const std::function<void(std::size_t)>& progress) {
    return withBook([&]() -> Done {
        return inWrite([&]() -> Done {
            DayWriter writer(connection_);
            std::map<std::string, long long> ids;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const ImportRow& row = rows[i];
                auto id = ids.find(row.tank);
                if (id == ids.end()) {
                    const auto found = tankId(connection_, row.tank);
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
    });
}

Expected<MonthRecords, std::string> Store::month(const std::string& tank, const std::string& first,
                                                 const std::string& last) {
    return withBook([&] {
        return inRead([&]() -> Expected<MonthRecords, std::string> {
            const auto id = tankId(connection_, tank);
            if (!id) {
                return Unexpected(id.error());
            }
            MonthRecords records;
            Query before(connection_);
            if (auto done =
                    before.run((std::string("SELECT ") + kDayColumns +
                                " FROM days WHERE tank_id = ? AND day < ? ORDER BY day DESC "
                                "LIMIT 1")
                                   .c_str(),
                               {*id, text(first)});
                !done) {
                return Unexpected(done.error());
            }
            if (before.next()) {
                records.before = dayFrom(*before);
            } else if (auto read = before.finished(); !read) {
                return Unexpected(read.error());
            }
            Query days(connection_);
            if (auto done = days.run((std::string("SELECT ") + kDayColumns +
                                      " FROM days WHERE tank_id = ? AND day >= ? AND day <= ? "
                                      "ORDER BY day")
                                         .c_str(),
                                     {*id, text(first), text(last)});
                !done) {
                return Unexpected(done.error());
            }
            while (days.next()) {
                records.days.push_back(dayFrom(*days));
            }
            auto done = days.finished();
            if (done) {
                done = attachDeliveries(connection_, *id, first, last, records.days);
            }
            if (done) {
                done = markCorrected(connection_, *id, records.days);
            }
            if (!done) {
                return Unexpected(done.error());
            }
            return records;
        });
    });
}

Expected<std::vector<DayCorrection>, std::string> Store::history(const std::string& tank) {
    return withBook([&] {
        return inRead([&]() -> Expected<std::vector<DayCorrection>, std::string> {
            return selectForTank(
                connection_, tank,
                std::string("SELECT ") + kDayColumns +
                    ", changed_at FROM day_history WHERE tank_id = ? "
                    "ORDER BY day, changed_at, id",
                {}, [](const QSqlQuery& row) {
                    return DayCorrection{dayFrom(row), row.value(7).toString().toStdString()};
                });
        });
    });
}

Expected<std::vector<Delivery>, std::string> Store::deliveries(const std::string& tank,
                                                               const std::string& date) {
    return withBook([&] {
        return inRead([&]() -> Expected<std::vector<Delivery>, std::string> {
            return selectForTank(connection_, tank,
                                 std::string("SELECT ") + kDeliveryColumns +
                                     " FROM deliveries WHERE tank_id = ? AND day = ? ORDER BY id",
                                 {text(date)},
                                 [](const QSqlQuery& row) { return deliveryFrom(row); });
        });
    });
}

Expected<std::vector<DeliveryCorrection>, std::string> Store::deliveryHistory(
    const std::string& tank) {
    return withBook([&] {
        return inRead([&]() -> Expected<std::vector<DeliveryCorrection>, std::string> {
            return selectForTank(connection_, tank,
                                 std::string("SELECT ") + kDeliveryColumns +
                                     ", day, changed_at, withdrawn FROM delivery_history "
                                     "WHERE tank_id = ? ORDER BY day, changed_at, id",
                                 {}, [](const QSqlQuery& row) {
                                     return DeliveryCorrection{
                                         row.value(8).toString().toStdString(), deliveryFrom(row),
                                         row.value(9).toString().toStdString(),
                                         row.value(10).toInt() != 0};
                                 });
        });
    });
}

Expected<std::vector<Day>, std::string> Store::days(const std::string& tank) {
    return withBook([&] {
        return inRead([&]() -> Expected<std::vector<Day>, std::string> {
            return selectForTank(
                connection_, tank,
                std::string("SELECT ") + kDayColumns + " FROM days WHERE tank_id = ? ORDER BY day",
                {}, [](const QSqlQuery& row) { return dayFrom(row); });
        });
    });
}

Expected<std::vector<std::pair<std::string, Delivery>>, std::string> Store::allDeliveries(
    const std::string& tank) {
    return withBook([&] {
        return selectForTank(connection_, tank,
                             std::string("SELECT day, ") + kDeliveryColumns +
                                 " FROM deliveries WHERE tank_id = ? ORDER BY day, id",
                             {}, [](const QSqlQuery& row) {
                                 return std::pair(row.value(0).toString().toStdString(),
                                                  deliveryFrom(row, 1));
                             });
    });
}

Expected<std::vector<std::string>, std::string> Store::integrityProblems() {
    return withBook([&]() -> Expected<std::vector<std::string>, std::string> {
        Query query(connection_);
        if (auto done = query.run("PRAGMA integrity_check"); !done) {
            return Unexpected(done.error());
        }
        std::vector<std::string> problems;
        while (query.next()) {
            const std::string line = query->value(0).toString().toStdString();
            if (line != "ok") {
                problems.push_back(line);
            }
        }
        if (auto all = query.finished(); !all) {
            problems.push_back(all.error());
        }
        return problems;
    });
}

}  // namespace brimwell::book
