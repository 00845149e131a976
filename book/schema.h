#pragma once

// The book's schema, the one place its definitions live: per database engine, the statements
// that create the current version and those that bring each older version up to the next. The
// queries themselves (store.cpp) are in SQL that SQLite and PostgreSQL both run.

#include <string_view>
#include <vector>

namespace brimwell::book {

// The version this program writes. A book of a higher version is refused, never altered.
inline constexpr int kSchemaVersion = 2;

// What tells a book from any other database: a row of book_meta.
inline constexpr std::string_view kBookMark = "brimwell book";

struct Schema {
    // Run on a new, empty book before its tables are created, outside any transaction.
    std::vector<std::string_view> prepare;
    std::vector<std::string_view> create;  // the current version, from nothing
    // upgrades[v - 1]: the statements from version v to v + 1.
    std::vector<std::vector<std::string_view>> upgrades;
    std::string_view beginWrite;  // starts a transaction that writes, taking the write lock
};

const Schema& sqliteSchema();

}  // namespace brimwell::book
