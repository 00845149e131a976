#include "book/bookfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUrl>
#include <atomic>

#include "book/query.h"
#include "book/rows.h"
#include "book/schema.h"
#include "book/sqlfailure.h"
#include "book/transaction.h"
#include "book/upgrade.h"

namespace brimwell::book {
namespace {

// A writer waits this long for another to finish before it gives up.
constexpr int kBusyTimeoutMs = 30000;

// Why a book could not be read as one, told by SQLite's result code. A database without the
// book's tables fails with a plain error, and is some other program's file.
OpenFailure openFailure(const QSqlError& error, const std::string& path) {
    switch (faultOf(error)) {
        case SqlFault::Damaged:
            return {OpenFailure::Kind::Damaged,
                    path + " is damaged (" + error.text().toStdString() + "); it is left as it is"};
        case SqlFault::NotABook:
        case SqlFault::Other:
            return {OpenFailure::Kind::NotABook,
                    path + " is not a Brimwell book; it is left as it is"};
        case SqlFault::ReadOnly:
        case SqlFault::CannotOpen:
        case SqlFault::DiskFull:
        case SqlFault::DiskError:
            return {OpenFailure::Kind::ReadOnly, describe(error, QString::fromStdString(path))};
        default:
            return {OpenFailure::Kind::CannotOpen, describe(error, QString::fromStdString(path))};
    }
}

}  // namespace

bool hasSqliteHeader(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString newConnectionName() {
    static std::atomic<int> count{0};
    return QStringLiteral("brimwell-book-%1").arg(count++);
}

Expected<void, std::string> isThisVersion(const Connection& book) {
    Query query(book);
    if (auto done = query.run("SELECT value FROM book_meta WHERE name = 'schema_version'"); !done) {
        return done;
    }
    if (query.next() && static_cast<int>(integer(*query, "value")) == kSchemaVersion) {
        return {};
    }
    if (auto read = query.finished(); !read) {
        return read;
    }
    return Unexpected(book.path.toStdString() +
                      " is no longer the book this program opened (its version changed)");
}

// A new, empty file that only its owner may read and write.
Expected<void, OpenFailure> createPrivateFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        return Unexpected(OpenFailure{
            OpenFailure::Kind::CannotOpen,
            "cannot create " + path.toStdString() + ": " + file.errorString().toStdString()});
    }
    return {};
}

Expected<void, OpenFailure> createSchema(const Connection& book) {
    Done done;
    for (const std::string& statement : sqliteSchema().prepare) {
        if (done) {
            done = Query(book).run(statement);
        }
    }
    if (done) {
        done = transaction(book, Lock::Write, [&]() -> Done {
            for (const std::string& statement : sqliteSchema().create) {
                if (auto created = Query(book).run(statement); !created) {
                    return created;
                }
            }
            return Query(book).run("INSERT INTO book_meta (name, value) VALUES (?, ?), (?, ?)",
                                   {"mark", text(kBookMark), "schema_version", kSchemaVersion});
        });
    }
    if (!done) {
        return Unexpected(OpenFailure{OpenFailure::Kind::CannotOpen, done.error()});
    }
    return {};
}

Expected<int, OpenFailure> bookVersion(const Connection& book) {
    const std::string path = book.path.toStdString();
    Query query(book);
    const auto read = query.run("SELECT name, value FROM book_meta");
    std::optional<int> version;
    bool marked = false;
    while (read && query.next()) {
        const std::string name = textIn(*query, "name");
        marked = marked || (name == "mark" && textIn(*query, "value") == kBookMark);
        if (name == "schema_version") {
            version = static_cast<int>(integer(*query, "value"));
        }
    }
    if (!read || !query.finished()) {
        return Unexpected(openFailure(query->lastError(), path));
    }
    if (!marked || !version) {
        return Unexpected(OpenFailure{OpenFailure::Kind::NotABook,
                                      path + " is not a Brimwell book; it is left as it is"});
    }
    return *version;
}

// The file is named as a URI, so that a book deleted or moved away between two calls is reported
// rather than made again as an empty file.
void registerBook(const Connection& book, Access access, bool withoutJournal) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), book.name);
    const QUrl url = QUrl::fromLocalFile(QFileInfo(book.path).absoluteFilePath());
    QString mode =
        access == Access::Write ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro");
    if (withoutJournal) {
        mode += QStringLiteral("&immutable=1");
    }
    database.setDatabaseName(QString::fromLatin1(url.toEncoded()) + mode);
    database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

Expected<void, std::string> openConnection(const Connection& book) {
    QSqlDatabase database = QSqlDatabase::database(book.name, false);
    if (!database.open()) {
        return Unexpected(describe(database.lastError(), book.path));
    }
    return {};
}

Expected<void, OpenFailure> checkExisting(const Connection& book, Access access) {
    const std::string name = book.path.toStdString();
    const auto version = bookVersion(book);
    if (!version) {
        return Unexpected(version.error());
    }
    if (*version > kSchemaVersion) {
        return Unexpected(OpenFailure{OpenFailure::Kind::Newer,
                                      name + " was written by a newer Brimwell (book version " +
                                          std::to_string(*version) + "; this one knows up to " +
                                          std::to_string(kSchemaVersion) +
                                          "); it is left as it is"});
    }
    if (*version < 1) {
        return Unexpected(OpenFailure{OpenFailure::Kind::Damaged,
                                      name + " is damaged (book version " +
                                          std::to_string(*version) + "); it is left as it is"});
    }
    if (*version < kSchemaVersion && access == Access::Read) {
        return Unexpected(OpenFailure{OpenFailure::Kind::Older,
                                      name + " was written by an older Brimwell and is upgraded "
                                             "the first time it is written"});
    }
    return *version < kSchemaVersion ? upgrade(book) : Expected<void, OpenFailure>();
}

Expected<void, OpenFailure> checkPages(const Connection& book) {
    const QString& path = book.path;
    Query query(book);
    auto done = query.run("PRAGMA quick_check");
    std::string found;
    while (done && query.next()) {
        const std::string line = textIn(*query, "quick_check");
        if (line != "ok") {
            found += (found.empty() ? "" : "; ") + line;
        }
    }
    if (done && !query.finished()) {
        return Unexpected(openFailure(query->lastError(), path.toStdString()));
    }
    if (!done) {
        return Unexpected(
            OpenFailure{OpenFailure::Kind::CannotOpen, path.toStdString() + ": " + done.error()});
    }
    if (!found.empty()) {
        return Unexpected(
            OpenFailure{OpenFailure::Kind::Damaged,
                        path.toStdString() + " is damaged (" + found + "); it is left as it is"});
    }
    return {};
}

// An empty change, committed: its begin takes the write lock.
Expected<void, OpenFailure> checkWritable(const Connection& book) {
    if (auto taken = transaction(book, Lock::Write, [] { return Done(); }); !taken) {
        return Unexpected(OpenFailure{OpenFailure::Kind::ReadOnly, taken.error()});
    }
    return {};
}

bool journalHoldsChanges(const QString& path) {
    const QFileInfo journal(path + QStringLiteral("-wal"));
    return journal.exists() && journal.size() > 0;
}

}  // namespace brimwell::book
