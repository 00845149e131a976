#pragma once

// What went wrong in the database, told apart by SQLite's result code rather than by the words of
// its message, which change between versions and languages.

#include <string>

class QSqlError;

namespace brimwell::book {

enum class SqlFault {
    None,
    Damaged,   // the file's pages are not what SQLite wrote
    NotABook,  // not an SQLite database at all
    ReadOnly,  // the file, its folder or the medium takes no writes
    DiskFull,
    DiskError,  // the system could not read or write the file
    CannotOpen,
    Busy,  // another program held the book longer than the wait
    Other,
};

SqlFault faultOf(const QSqlError& error);

// The failure in words a person can act on, with SQLite's own words after them.
std::string describe(const QSqlError& error);

}  // namespace brimwell::book
