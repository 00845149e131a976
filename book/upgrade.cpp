#include "book/upgrade.h"

#include "book/bookfile.h"
#include "book/legacyshape.h"
#include "book/rows.h"
#include "book/schema.h"
#include "book/tanktable.h"
#include "book/transaction.h"

namespace brimwell::book {
namespace {

// Version 2 to 3: each tank's shape, stored as brimwell-tank's options, read once into the new
// table's columns; the tank's other columns are copied as they are.
Done shapesIntoColumns(const Connection& book) {
    struct Stored {
        long long id;
        std::string name;
        std::string shape;
        std::optional<std::string> chart;
    };
    const auto tanks =
        selectRows(book, "SELECT id, name, shape, calibration FROM tanks ORDER BY id", {},
                   [](const QSqlQuery& row) {
                       return Stored{integer(row, "id"), textIn(row, "name"), textIn(row, "shape"),
                                     optionalText(row, "calibration")};
                   });
    if (!tanks) {
        return Unexpected(tanks.error());
    }
    const std::string kept =
        "id, name, product, correction, correction_value, reference, celsius, safe_fill, "
        "opening_level, created_at";
    for (const Stored& tank : *tanks) {
        const auto shape = readLegacyShape(tank.shape, tank.chart);
        if (!shape) {
            return Unexpected("the tank '" + tank.name + "' has a shape that cannot be read ('" +
                              tank.shape + "': " + shape.error() + ")");
        }
        const Cells cells = shapeCells(*shape);
        QVariantList values = valuesOf(cells);
        values << tank.id;
        if (auto moved =
                Query(book).run("INSERT INTO " + std::string(kNewTanks) + " (" + kept + ", " +
                                    columnsOf(cells) + ") SELECT " + kept + ", " +
                                    placeholders(cells.size()) + " FROM tanks WHERE id = ?",
                                values);
            !moved) {
            return moved;
        }
    }
    return {};
}

Done runAll(const Connection& book, const std::vector<std::string>& statements) {
    for (const std::string& statement : statements) {
        if (auto done = Query(book).run(statement); !done) {
            return done;
        }
    }
    return {};
}

// Version 3 to 4: the meters' calibration factors get a table of their own; a tank of an older
// book has none.
Done addMeterFactors(const Connection& book) {
    return runAll(book, sqliteSchema().meterFactors);
}

// What each step does between its statements, by the version it starts from.
Done moveRows(const Connection& book, int from) {
    switch (from) {
        case 2:
            return shapesIntoColumns(book);
        case 3:
            return addMeterFactors(book);
        default:
            return {};
    }
}

}  // namespace

// Another program may have upgraded the book while this one waited for the write lock, so the
// version is read again once the lock is held.
Expected<void, OpenFailure> upgrade(const Connection& book) {
    const std::string path = book.path.toStdString();
    const auto done = transaction(book, Lock::Write, [&]() -> Done {
        const auto version = bookVersion(book);
        if (!version) {
            return Unexpected(version.error().message);
        }
        if (*version > kSchemaVersion) {
            return Unexpected(path + " was upgraded by a newer Brimwell meanwhile");
        }
        for (int from = *version; from < kSchemaVersion; ++from) {
            const SchemaStep& step = sqliteSchema().upgrades.at(static_cast<std::size_t>(from - 1));
            auto moved = runAll(book, step.before);
            if (moved) {
                moved = moveRows(book, from);
            }
            if (moved) {
                moved = runAll(book, step.after);
            }
            if (!moved) {
                return moved;
            }
        }
        return Query(book).run("UPDATE book_meta SET value = ? WHERE name = ?",
                               {kSchemaVersion, "schema_version"});
    });
    if (!done) {
        return Unexpected(
            OpenFailure{OpenFailure::Kind::CannotOpen,
                        "cannot upgrade " + path + ": " + done.error() + "; it is left as it is"});
    }
    return {};
}

}  // namespace brimwell::book
