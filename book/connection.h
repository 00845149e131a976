#pragma once

// The book's connection as the store and its tables pass it around.

#include <QString>

namespace brimwell::book {

// The connection by its registered name, and the file it reaches, which failures name.
struct Connection {
    QString name;
    QString path;
};

// Read: the reads see the book as one writer left it. Write: the write lock is taken before
// anything is read, so that two writers wait for each other rather than fail half-way.
enum class Lock { Read, Write };

}  // namespace brimwell::book
