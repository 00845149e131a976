#include "book/store.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

#include "book/bookfile.h"
#include "book/rows.h"
#include "book/storecall.h"

namespace brimwell::book {

Store::~Store() {
    QSqlDatabase::database(book_.name, false).close();
    QSqlDatabase::removeDatabase(book_.name);
}

// Connects for the call and checks that the file is still this version's book: another program
// may have replaced or upgraded it since the last call.
Expected<void, std::string> Store::connect() {
    if (auto opened = openConnection(book_); !opened) {
        return opened;
    }
    auto current = isThisVersion(book_);
    if (!current) {
        disconnect();
    }
    return current;
}

void Store::disconnect() {
    QSqlDatabase::database(book_.name, false).close();
}

Expected<std::unique_ptr<Store>, OpenFailure> Store::open(const QString& path, Access access) {
    const bool exists = QFileInfo::exists(path);
    if (exists && !hasSqliteHeader(path)) {
        const bool readable = QFile(path).open(QIODevice::ReadOnly);
        return Unexpected(
            OpenFailure{readable ? OpenFailure::Kind::NotABook : OpenFailure::Kind::CannotOpen,
                        path.toStdString() +
                            (readable ? " is not a Brimwell book (not an SQLite database)"
                                      : " cannot be read") +
                            "; it is left as it is"});
    }
    if (!exists && access == Access::Read) {
        return Unexpected(OpenFailure{OpenFailure::Kind::CannotOpen,
                                      "there is no book at " + path.toStdString()});
    }
    if (!exists) {
        if (auto created = createPrivateFile(path); !created) {
            return Unexpected(created.error());
        }
    }
    std::unique_ptr<Store> store(new Store(newConnectionName(), path));
    auto ready = store->prepare(exists, access);
    if (!ready) {
        if (!exists) {
            store.reset();
            QFile::remove(path);
        }
        return Unexpected(ready.error());
    }
    return store;
}

// A reader that can make no journal beside the book (a read-only disk, a folder that takes no
// new files) reads the file as it stands, which is the whole book only while no journal holds
// changes; with such a journal the failure stands.
Expected<void, OpenFailure> Store::prepare(bool exists, Access access) {
    const auto ready = [&](bool withoutJournal) -> Expected<void, OpenFailure> {
        registerBook(book_, access, withoutJournal);
        if (auto connected = openConnection(book_); !connected) {
            return Unexpected(OpenFailure{OpenFailure::Kind::CannotOpen, connected.error()});
        }
        auto checked = exists ? checkExisting(book_, access) : createSchema(book_);
        if (checked && exists && access == Access::Write) {
            checked = checkPages(book_);
        }
        if (checked && access == Access::Write) {
            checked = checkWritable(book_);
        }
        disconnect();
        return checked;
    };
    auto done = ready(false);
    if (!done && done.error().kind == OpenFailure::Kind::ReadOnly && access == Access::Read) {
        if (journalHoldsChanges(book_.path)) {
            return Unexpected(OpenFailure{
                OpenFailure::Kind::ReadOnly,
                book_.path.toStdString() +
                    " cannot be read here: changes wait in its journal, and " +
                    whyNotWritable(book_.path) + "; open it once where it can be written"});
        }
        QSqlDatabase::removeDatabase(book_.name);
        done = ready(true);
    }
    return done;
}

Done Store::together(const std::function<Done()>& changes) {
    return call(Lock::Write, changes);
}

Done Store::reading(const std::function<Done()>& reads) {
    return call(Lock::Read, reads);
}

Expected<std::vector<std::string>, std::string> Store::integrityProblems() {
    return call(Lock::Read, [&]() -> Expected<std::vector<std::string>, std::string> {
        Query query(book_);
        if (auto done = query.run("PRAGMA integrity_check"); !done) {
            return Unexpected(done.error());
        }
        std::vector<std::string> problems;
        while (query.next()) {
            const std::string line = textIn(*query, "integrity_check");
            if (line != "ok") {
                problems.push_back(line);
            }
        }
        if (auto all = query.finished(); !all) {
            problems.push_back(all.error());
        }
        return problems;
    });
}

}  // namespace brimwell::book
