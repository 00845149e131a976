#include "book/sqlfailure.h"

#include <QSqlError>

namespace brimwell::book {
namespace {

// SQLite's primary result codes; an extended code keeps its primary code in the low byte.
constexpr int kPerm = 3;
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kReadOnly = 8;
constexpr int kIoError = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kNotADatabase = 26;
constexpr int kPrimaryMask = 0xff;

}  // namespace

SqlFault faultOf(const QSqlError& error) {
    if (!error.isValid()) {
        return SqlFault::None;
    }
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & kPrimaryMask;
    if (!numeric) {
        return SqlFault::Other;
    }
    switch (code) {
        case kCorrupt:
            return SqlFault::Damaged;
        case kNotADatabase:
            return SqlFault::NotABook;
        case kReadOnly:
        case kPerm:
            return SqlFault::ReadOnly;
        case kFull:
            return SqlFault::DiskFull;
        case kIoError:
            return SqlFault::DiskError;
        case kCantOpen:
            return SqlFault::CannotOpen;
        case kBusy:
        case kLocked:
            return SqlFault::Busy;
        default:
            return SqlFault::Other;
    }
}

std::string describe(const QSqlError& error) {
    const std::string words = error.text().toStdString();
    switch (faultOf(error)) {
        case SqlFault::Damaged:
            return "the book is damaged (" + words + "); it is left as it is";
        case SqlFault::NotABook:
            return "the file is not a Brimwell book (" + words + ")";
        case SqlFault::ReadOnly:
            return "the book cannot be written: it, its folder or its disk is read-only (" + words +
                   ")";
        case SqlFault::DiskFull:
            return "the disk is full (" + words + "); nothing was written";
        case SqlFault::DiskError:
            return "the disk could not read or write the book (" + words + ")";
        case SqlFault::CannotOpen:
            return "the book cannot be opened (" + words + ")";
        case SqlFault::Busy:
            return "another program kept the book busy too long (" + words + "); try again";
        case SqlFault::None:
        case SqlFault::Other:
            break;
    }
    return words;
}

}  // namespace brimwell::book
