#pragma once

// The book's file before the store uses it: whether it is a book, a new one made, an older one
// upgraded, and the connection's settings. The store connects through these for each call.

#include <QString>
#include <string>

#include "book/connection.h"
#include "book/store.h"

namespace brimwell::book {

QString newConnectionName();
bool hasSqliteHeader(const QString& path);
// A new, empty file that only its owner may read and write.
Expected<void, OpenFailure> createPrivateFile(const QString& path);

// Registers the book's connection, not yet open. `withoutJournal` reads a book whose folder or
// disk takes no journal file; only for a book that has none (see Store::open).
void registerBook(const Connection& book, Access access, bool withoutJournal = false);
Expected<void, std::string> openConnection(const Connection& book);
// Whether the file is still a book of this version, as it was when it was opened.
Expected<void, std::string> isThisVersion(const Connection& book);
// The book's schema version, after checking that the file is a book at all.
Expected<int, OpenFailure> bookVersion(const Connection& book);

Expected<void, OpenFailure> createSchema(const Connection& book);
// Checks the file is a book this version can use; an older one is upgraded when it may be written.
Expected<void, OpenFailure> checkExisting(const Connection& book, Access access);
// SQLite's check of every page of the book, which finds a damaged page before anything is
// written beside it.
Expected<void, OpenFailure> checkPages(const Connection& book);
// Whether the book takes a write: the write lock is taken and given back. A book that cannot be
// written is told here, with its cause, before any change is begun.
Expected<void, OpenFailure> checkWritable(const Connection& book);
// Whether a journal beside the book holds changes not yet in the book's file.
bool journalHoldsChanges(const QString& path);

}  // namespace brimwell::book
