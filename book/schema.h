#pragma once

// The book's schema, the one place its definitions live: per database engine, the statements
// that create the current version and those that bring each older version up to the next. The
// queries themselves (the table files: tanktable, daytable, deliverytable) are in SQL that SQLite
// and PostgreSQL both run.
//
// A tank's shape has columns of its own (version 3; before, brimwell-tank's options as text):
//   orientation   'horizontal' or 'vertical'
//   heads         kHeadWords: 'flat', 'hemispherical', 'ellipsoidal', 'torispherical',
//                 'conical'; 'flat' for a vertical tank
//   head_depth    an ellipsoidal head's depth when given, a conical head's depth; NULL otherwise
//   crown         a torispherical head's crown radius over the diameter; NULL for other heads
//   knuckle       a torispherical head's knuckle radius over the diameter; NULL for other heads
//   diameter      in length_unit, as is the straight shell's `length` (a vertical tank's height)
//   length_unit   kLengthUnits: 'inches', 'feet', 'millimeters', 'centimeters', 'meters'
//   volume_unit   kVolumeWords: 'gallons', 'litres', 'cubic-meters', 'millilitres'
//   calibration   the text of the tank's own chart, which then stands for the shape (levels in
//                 length_unit, volumes in volume_unit); NULL for a tank gauged by its shape
// The product's correction is the word of kCorrectionWords with its value, and `reference` the
// linear correction's base temperature; `celsius` 1 when its temperatures are in °C.
//
// A day's `initials` (version 4), in days and day_history, are those of whoever read the stick,
// NULL when not given. The site's name and address are rows of book_meta, `site_name` and
// `site_address`, absent when not given.
//
// A meter's calibration factor (version 4), one row per factor, never changed: `effective` the
// day it takes effect (YYYY-MM-DD, one factor a day per tank), `factor` as the inspector wrote it
// in `unit`, 'in3/5gal' or 'mL/20L' (meterfactor.h).

#include <string>
#include <string_view>
#include <vector>

namespace brimwell::book {

// The version this program writes. A book of a higher version is refused, never altered.
inline constexpr int kSchemaVersion = 4;

// What tells a book from any other database: a row of book_meta.
inline constexpr std::string_view kBookMark = "brimwell book";

// Version 3's tanks table while version 2's is read into it.
inline constexpr std::string_view kNewTanks = "tanks_v3";

// From one version to the next: the statements before the rows are moved (which is code of its
// own, see upgrade.cpp) and those after.
struct SchemaStep {
    std::vector<std::string> before;
    std::vector<std::string> after;
};

struct Schema {
    // Run on a new, empty book before its tables are created, outside any transaction.
    std::vector<std::string> prepare;
    std::vector<std::string> create;  // the current version, from nothing
    // upgrades[v - 1]: from version v to v + 1.
    std::vector<SchemaStep> upgrades;
    std::string_view beginWrite;  // starts a transaction that writes, taking the write lock
};

const Schema& sqliteSchema();

}  // namespace brimwell::book
