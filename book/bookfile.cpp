#include "book/bookfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUrl>
#include <atomic>

#include "book/query.h"
#include "book/schema.h"
#include "book/sqlfailure.h"

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

Expected<void, std::string> isThisVersion(const QString& connection, const QString& path) {
    Query query(connection);
    if (auto done = query.run("SELECT value FROM book_meta WHERE name = 'schema_version'"); !done) {
        return done;
    }
    if (query.next() && query->value(0).toInt() == kSchemaVersion) {
        return {};
    }
    if (auto read = query.finished(); !read) {
        return read;
    }
    return Unexpected(path.toStdString() +
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

Expected<void, OpenFailure> createSchema(const QString& connection) {
    const auto fail = [](const std::string& error) {
        return Unexpected(OpenFailure{OpenFailure::Kind::CannotOpen, error});
    };
    for (const std::string_view statement : sqliteSchema().prepare) {
        if (auto done = Query(connection).run(std::string(statement).c_str()); !done) {
            return fail(done.error());
        }
    }
    auto done = Query(connection).run(sqliteSchema().beginWrite.data());
    for (const std::string_view statement : sqliteSchema().create) {
        if (done) {
            done = Query(connection).run(std::string(statement).c_str());
        }
    }
    if (done) {
        done = Query(connection)
                   .run("INSERT INTO book_meta (name, value) VALUES (?, ?), (?, ?)",
                        {"mark",
                         QString::fromLatin1(kBookMark.data(),
                                             static_cast<qsizetype>(kBookMark.size())),
                         "schema_version", kSchemaVersion});
    }
    if (done) {
        done = Query(connection).run("COMMIT");
    }
    if (!done) {
        (void)Query(connection).run("ROLLBACK");
        return fail(done.error());
    }
    return {};
}

namespace {

// The book's schema version, after checking that the file is a book at all.
Expected<int, OpenFailure> bookVersion(const QString& connection, const std::string& path) {
    Query query(connection);
    const auto read = query.run("SELECT name, value FROM book_meta");
    std::optional<int> version;
    bool marked = false;
    while (read && query.next()) {
        const QString name = query->value(0).toString();
        marked =
            marked || (name == "mark" && query->value(1).toString().toStdString() == kBookMark);
        if (name == "schema_version") {
            version = query->value(1).toInt();
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

// Brings an older book to this version in one transaction.
// Another program may have upgraded it while this one waited for the write lock, so the
// version is read again once the lock is held.
Expected<void, OpenFailure> upgrade(const QString& connection, const std::string& path) {
    auto done = Query(connection).run(sqliteSchema().beginWrite.data());
    const auto version = bookVersion(connection, path);
    if (done && !version) {
        done = Unexpected(version.error().message);
    } else if (done && *version > kSchemaVersion) {
        done = Unexpected(path + " was upgraded by a newer Brimwell meanwhile");
    }
    for (int from = version ? *version : kSchemaVersion; done && from < kSchemaVersion; ++from) {
        for (const std::string_view statement : sqliteSchema().upgrades[from - 1]) {
            if (done) {
                done = Query(connection).run(std::string(statement).c_str());
            }
        }
    }
    if (done) {
        done = Query(connection)
                   .run("UPDATE book_meta SET value = ? WHERE name = ?",
                        {kSchemaVersion, "schema_version"});
    }
    if (done) {
        done = Query(connection).run("COMMIT");
    }
    if (!done) {
        (void)Query(connection).run("ROLLBACK");
        return Unexpected(
            OpenFailure{OpenFailure::Kind::CannotOpen, "cannot upgrade the book: " + done.error()});
    }
    return {};
}

}  // namespace

// The file is named as a URI, so that a book deleted or moved away between two calls is reported
// rather than made again as an empty file.
void registerBook(const QString& connection, const QString& path, Access access,
                  bool withoutJournal) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    QString mode =
        access == Access::Write ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro");
    if (withoutJournal) {
        mode += QStringLiteral("&immutable=1");
    }
    database.setDatabaseName(QString::fromLatin1(url.toEncoded()) + mode);
    database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

Expected<void, std::string> openConnection(const QString& connection, const QString& path) {
    QSqlDatabase database = QSqlDatabase::database(connection, false);
    if (!database.open()) {
        return Unexpected(describe(database.lastError(), path));
    }
    return {};
}

Expected<void, OpenFailure> checkExisting(const QString& connection, const QString& path,
                                          Access access) {
    const std::string name = path.toStdString();
    const auto version = bookVersion(connection, name);
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
        return Unexpected(OpenFailure{OpenFailure::Kind::ReadOnly,
                                      name + " was written by an older Brimwell and is upgraded "
                                             "the first time it is written"});
    }
    return *version < kSchemaVersion ? upgrade(connection, name) : Expected<void, OpenFailure>();
}

Expected<void, OpenFailure> checkPages(const QString& connection, const QString& path) {
    Query query(connection);
    auto done = query.run("PRAGMA quick_check");
    std::string found;
    while (done && query.next()) {
        const std::string line = query->value(0).toString().toStdString();
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

Expected<void, OpenFailure> checkWritable(const QString& connection, const QString& path) {
    Query query(connection);
    if (!query.run(sqliteSchema().beginWrite.data())) {
        return Unexpected(openFailure(query->lastError(), path.toStdString()));
    }
    (void)Query(connection).run("ROLLBACK");
    return {};
}

bool journalHoldsChanges(const QString& path) {
    const QFileInfo journal(path + QStringLiteral("-wal"));
    return journal.exists() && journal.size() > 0;
}

}  // namespace brimwell::book
