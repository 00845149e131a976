#include "book/tanktable.h"

#include <array>

#include "book/storecall.h"

namespace brimwell::book {
namespace {

constexpr std::array<std::string_view, 2> kOrientationWords{"horizontal", "vertical"};

// Runs the statement, which selects the named tank, and stands on its row.
Done onTankRow(Query& query, std::string_view sql, const std::string& name) {
    auto done = query.run(sql, {text(name)});
    if (done && !query.next()) {
        done = query.finished();
        if (done) {
            done = Unexpected("no tank named '" + name + "' in the book");
        }
    }
    return done;
}

// Every column of the tanks table but its id and the time it was made.
Cells tankCells(const TankSettings& tank) {
    const Product& product = tank.product;
    Cells cells{{"name", text(tank.name)},
                {"product", text(product.name)},
                {"correction", text(correctionWord(product.correction))},
                {"correction_value", product.value},
                {"reference", product.reference},
                {"celsius", product.celsius ? 1 : 0}};
    for (auto& cell : shapeCells(tank.shape)) {
        cells.push_back(std::move(cell));
    }
    cells.emplace_back("safe_fill", tank.safeFill);
    cells.emplace_back("opening_level", optional(tank.openingLevel));
    return cells;
}

// The enum value the column's word names, or why there is none.
template <typename T, std::size_t N>
Expected<T, std::string> wordIn(const QSqlQuery& row, const char* column,
                                const std::array<std::string_view, N>& words) {
    const std::string word = textIn(row, column);
    if (const auto value = named<T>(words, word)) {
        return *value;
    }
    return Unexpected(std::string(column) + " '" + word + "' is none the book knows");
}

Expected<double, std::string> neededNumber(const QSqlQuery& row, const char* column) {
    const auto value = optionalNumber(row, column);
    if (!value) {
        return Unexpected(std::string(column) + " is missing");
    }
    return *value;
}

Expected<Heads, std::string> headsFrom(const QSqlQuery& row) {
    const auto index = wordIn<std::size_t>(row, "heads", kHeadWords);
    if (!index) {
        return Unexpected(index.error());
    }
    Heads heads = *headsNamed(kHeadWords.at(*index));
    if (auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&heads)) {
        ellipsoidal->depth = optionalNumber(row, "head_depth");
    } else if (auto* conical = std::get_if<ConicalHeads>(&heads)) {
        const auto depth = neededNumber(row, "head_depth");
        if (!depth) {
            return Unexpected(depth.error());
        }
        conical->depth = *depth;
    } else if (auto* dished = std::get_if<TorisphericalHeads>(&heads)) {
        const auto crown = neededNumber(row, "crown");
        const auto knuckle = neededNumber(row, "knuckle");
        if (!crown || !knuckle) {
            return Unexpected(!crown ? crown.error() : knuckle.error());
        }
        *dished = TorisphericalHeads{*crown, *knuckle};
    }
    return heads;
}

Expected<TankDescription, std::string> shapeFrom(const QSqlQuery& row) {
    const auto orientation = wordIn<std::size_t>(row, "orientation", kOrientationWords);
    const auto heads = headsFrom(row);
    const auto lengthUnit = wordIn<LengthUnit>(row, "length_unit", kLengthUnits);
    const auto volumeUnit = wordIn<VolumeUnit>(row, "volume_unit", kVolumeWords);
    for (const std::string* why :
         {orientation ? nullptr : &orientation.error(), heads ? nullptr : &heads.error(),
          lengthUnit ? nullptr : &lengthUnit.error(), volumeUnit ? nullptr : &volumeUnit.error()}) {
        if (why) {
            return Unexpected(*why);
        }
    }
    return TankDescription{
        *orientation == 1, *heads,      number(row, "diameter"),         number(row, "length"),
        *lengthUnit,       *volumeUnit, optionalText(row, "calibration")};
}

// The tank's settings but its rules.
Expected<TankSettings, std::string> tankFrom(const QSqlQuery& row) {
    TankSettings tank;
    tank.name = textIn(row, "name");
    const std::string correction = textIn(row, "correction");
    const auto table = correctionNamed(correction);
    if (!table) {
        return Unexpected(tank.name + " has a correction of an unknown kind '" + correction + "'");
    }
    auto shape = shapeFrom(row);
    if (!shape) {
        return Unexpected(tank.name + "'s stored shape: " + shape.error());
    }
    tank.product = {textIn(row, "product"), *table, number(row, "correction_value"),
                    number(row, "reference"), number(row, "celsius") != 0};
    tank.shape = *std::move(shape);
    tank.safeFill = number(row, "safe_fill");
    tank.openingLevel = optionalNumber(row, "opening_level");
    return tank;
}

Done insertRules(const Connection& book, long long tank, const std::vector<Rule>& rules) {
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
        if (auto done = Query(book).run(
                "INSERT INTO rules (tank_id, ordinal, kind, value1, value2) VALUES (?, ?, ?, ?, ?)",
                {tank, ordinal++, kind, first, second});
            !done) {
            return done;
        }
    }
    return {};
}

Expected<std::vector<Rule>, std::string> readRules(const Connection& book, long long tank) {
    Query query(book);
    if (auto done = query.run(
            "SELECT kind, value1, value2 FROM rules WHERE tank_id = ? ORDER BY ordinal", {tank});
        !done) {
        return Unexpected(done.error());
    }
    std::vector<Rule> rules;
    while (query.next()) {
        const std::string kind = textIn(*query, "kind");
        const double first = number(*query, "value1");
        const double second = number(*query, "value2");
        if (kind == "percent") {
            rules.emplace_back(PercentRule{first, second});
        } else if (kind == "short-run") {
            rules.emplace_back(ShortRunRule{static_cast<int>(first), second});
        } else if (kind == "water") {
            rules.emplace_back(WaterRule{first});
        } else {
            return Unexpected("the book holds a rule of an unknown kind '" + kind + "'");
        }
    }
    if (auto all = query.finished(); !all) {
        return Unexpected(all.error());
    }
    return rules;
}

// The one way a tank is written: a new row, or the row `id` replaced; its rules with it.
Done writeTank(const Connection& book, std::optional<long long> id, const TankSettings& tank) {
    Cells cells = tankCells(tank);
    Query query(book);
    Done done;
    if (id) {
        QVariantList values = valuesOf(cells);
        values << *id;
        done = query.run("UPDATE tanks SET " + assignments(cells) + " WHERE id = ?", values);
    } else {
        cells.emplace_back("created_at", text(now()));
        done = query.run(insertInto("tanks", cells), valuesOf(cells));
    }
    if (!done) {
        return query.fault() == SqlFault::Duplicate
                   ? Unexpected("a tank named '" + tank.name + "' is already in the book")
                   : done;
    }
    const auto row = id ? Expected<long long, std::string>(*id) : tankId(book, tank.name);
    if (!row) {
        return Unexpected(row.error());
    }
    if (auto cleared = Query(book).run("DELETE FROM rules WHERE tank_id = ?", {*row}); !cleared) {
        return cleared;
    }
    return insertRules(book, *row, tank.rules);
}

// The one way a tank is read.
Expected<TankSettings, std::string> readTank(const Connection& book, const std::string& name) {
    Query query(book);
    if (auto found = onTankRow(query, "SELECT * FROM tanks WHERE name = ?", name); !found) {
        return Unexpected(found.error());
    }
    auto tank = tankFrom(*query);
    if (!tank) {
        return tank;
    }
    auto rules = readRules(book, integer(*query, "id"));
    if (!rules) {
        return Unexpected(rules.error());
    }
    auto factors = readMeterFactors(book, integer(*query, "id"));
    if (!factors) {
        return Unexpected(factors.error());
    }
    TankSettings settings = *std::move(tank);
    settings.rules = *std::move(rules);
    settings.meterFactors = *std::move(factors);
    return settings;
}

}  // namespace

Expected<long long, std::string> tankId(const Connection& book, const std::string& name) {
    Query query(book);
    if (auto found = onTankRow(query, "SELECT id FROM tanks WHERE name = ?", name); !found) {
        return Unexpected(found.error());
    }
    return integer(*query, "id");
}

Cells shapeCells(const TankDescription& shape) {
    std::optional<double> depth;
    std::optional<double> crown;
    std::optional<double> knuckle;
    if (const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&shape.heads)) {
        depth = ellipsoidal->depth;
    } else if (const auto* conical = std::get_if<ConicalHeads>(&shape.heads)) {
        depth = conical->depth;
    } else if (const auto* dished = std::get_if<TorisphericalHeads>(&shape.heads)) {
        crown = dished->crown;
        knuckle = dished->knuckle;
    }
    return {{"orientation", text(kOrientationWords.at(shape.vertical ? 1 : 0))},
            {"heads", text(headWord(shape.heads))},
            {"head_depth", optional(depth)},
            {"crown", optional(crown)},
            {"knuckle", optional(knuckle)},
            {"diameter", shape.diameter},
            {"length", shape.length},
            {"length_unit", text(unitWord(shape.lengthUnit))},
            {"volume_unit", text(unitWord(shape.volumeUnit))},
            {"calibration", optional(shape.calibration)}};
}

Done Store::addTank(const TankSettings& tank) {
    return call(Lock::Write, [&] { return writeTank(book_, std::nullopt, tank); });
}

Done Store::updateTank(const std::string& name, const TankSettings& tank) {
    return call(Lock::Write, [&]() -> Done {
        const auto id = tankId(book_, name);
        return id ? writeTank(book_, *id, tank) : Unexpected(id.error());
    });
}

// Only a tank with nothing on record goes: the book is a legal record, and a tank's days,
// deliveries and their history stay in it.
Done Store::removeTank(const std::string& name) {
    return call(Lock::Write, [&]() -> Done {
        const auto id = tankId(book_, name);
        if (!id) {
            return Unexpected(id.error());
        }
        Query count(book_);
        auto done = count.run(
            "SELECT (SELECT COUNT(*) FROM days WHERE tank_id = ?) AS days, "
            "(SELECT COUNT(*) FROM day_history WHERE tank_id = ?) + "
            "(SELECT COUNT(*) FROM deliveries WHERE tank_id = ?) + "
            "(SELECT COUNT(*) FROM delivery_history WHERE tank_id = ?) + "
            "(SELECT COUNT(*) FROM meter_factors WHERE tank_id = ?) AS others",
            {*id, *id, *id, *id, *id});
        if (done && !count.next()) {
            done = count.finished();
        }
        if (!done) {
            return done;
        }
        const long long days = integer(*count, "days");
        if (days > 0) {
            return Unexpected(name + " has " + std::to_string(days) +
                              (days == 1 ? " recorded day" : " recorded days") +
                              "; a tank with recorded days is kept in the book");
        }
        if (integer(*count, "others") > 0) {
            return Unexpected(
                name + " has deliveries or meter factors on record; a tank with a record is kept "
                       "in the book");
        }
        for (const char* sql :
             {"DELETE FROM rules WHERE tank_id = ?", "DELETE FROM tanks WHERE id = ?"}) {
            if (auto deleted = Query(book_).run(sql, {*id}); !deleted) {
                return deleted;
            }
        }
        return {};
    });
}

Expected<std::vector<std::string>, std::string> Store::tankNames() {
    return call(Lock::Read, [&] {
        return selectRows(book_, "SELECT name FROM tanks ORDER BY name", {},
                          [](const QSqlQuery& row) { return textIn(row, "name"); });
    });
}

Expected<TankSettings, std::string> Store::tank(const std::string& name) {
    return call(Lock::Read, [&] { return readTank(book_, name); });
}

}  // namespace brimwell::book
