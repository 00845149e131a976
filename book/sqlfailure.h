#pragma once

// What went wrong in the database, told apart by SQLite's result code rather than by the words of
// its message, which change between versions and languages.

#include <string>

class QSqlError;
class QString;

namespace brimwell::book {

enum class SqlFault {
    None,
    Damaged,   // the file's pages are not what SQLite wrote
    NotABook,  // not an SQLite database at all
    ReadOnly,  // the file, its folder or the medium takes no writes
    DiskFull,
    DiskError,  // the system could not read or write the file
    CannotOpen,
    Busy,       // another program held the book longer than the wait
    Duplicate,  // a row's key, or a value that must be unique, is in the table already
    Other,
};

SqlFault faultOf(const QSqlError& error);

// Why the file system refuses to let the book at `path` be written (a read-only disk, a full
// disk, a folder that takes no new files, a read-only file), in the words of what to change.
std::string whyNotWritable(const QString& path);

// The failure of the book at `path` in words a person can act on, with SQLite's own words
// after them.
std::string describe(const QSqlError& error, const QString& path);

}  // namespace brimwell::book
