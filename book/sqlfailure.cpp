#include "book/sqlfailure.h"

#include <QFileInfo>
#include <QSqlError>
#include <QStorageInfo>

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
// Extended codes, told apart whole.
constexpr int kConstraintPrimaryKey = 1555;
constexpr int kConstraintUnique = 2067;
// Less free space than the journal's index file takes is a full disk to the book.
constexpr qint64 kRoomForJournal = 64 * 1024;

}  // namespace

SqlFault faultOf(const QSqlError& error) {
    if (!error.isValid()) {
        return SqlFault::None;
    }
    bool numeric = false;
    const int extended = error.nativeErrorCode().toInt(&numeric);
    if (!numeric) {
        return SqlFault::Other;
    }
    if (extended == kConstraintUnique || extended == kConstraintPrimaryKey) {
        return SqlFault::Duplicate;
    }
    switch (extended & kPrimaryMask) {
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

std::string whyNotWritable(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    const QStorageInfo disk(folder.absoluteFilePath());
    if (disk.isReadOnly()) {
        return "it is on a read-only disk";
    }
    if (disk.bytesAvailable() < kRoomForJournal) {
        return "the disk is full";
    }
    if (!file.isReadable()) {
        return "it cannot be read (permission denied)";
    }
    if (!folder.isWritable()) {
        return "its folder takes no new files, and the book keeps its journal beside it";
    }
    if (!file.isWritable()) {
        return "the file is read-only";
    }
    return "it cannot be opened for writing";
}

std::string describe(const QSqlError& error, const QString& path) {
    const std::string words = error.text().toStdString();
    const std::string book = path.toStdString();
    switch (faultOf(error)) {
        case SqlFault::Damaged:
            return book + " is damaged (" + words + "); it is left as it is";
        case SqlFault::NotABook:
            return book + " is not a Brimwell book (" + words + ")";
        case SqlFault::ReadOnly:
        case SqlFault::CannotOpen:
        case SqlFault::DiskFull:
            return book + " cannot be written: " + whyNotWritable(path) + " (" + words + ")";
        case SqlFault::DiskError:
            // The journal's index file is made by writing into it, which fails on a full disk.
            if (QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable() < kRoomForJournal) {
                return book + " cannot be written: the disk is full (" + words + ")";
            }
            return "the disk could not read or write " + book + " (" + words + ")";
        case SqlFault::Busy:
            return "another program kept the book busy too long (" + words + "); try again";
        case SqlFault::None:
        case SqlFault::Duplicate:
        case SqlFault::Other:
            break;
    }
    return words;
}

}  // namespace brimwell::book
