#pragma once

// One SQL statement on the book's connection, with its failures told in words a person can act
// on (see sqlfailure.h).

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <initializer_list>
#include <string>

#include "book/sqlfailure.h"
#include "model/expected.h"

namespace brimwell::book {

using Done = Expected<void, std::string>;

class Query {
public:
    explicit Query(const QString& connection)
        : query_(QSqlDatabase::database(connection, false)), connection_(connection) {}

    // Runs the statement with its values bound in order; a statement run again is not
    // prepared again.
    Done run(const char* sql, std::initializer_list<QVariant> values = {}) {
        return run(sql, QVariantList(values));
    }
    Done run(const char* sql, const QVariantList& values) {
        if (sql != prepared_ && !query_.prepare(QString::fromLatin1(sql))) {
            return failure();
        }
        prepared_ = sql;
        for (const QVariant& value : values) {
            query_.addBindValue(value);
        }
        if (!query_.exec()) {
            return failure();
        }
        return {};
    }
    // The next row: false at the end of the rows, and also when reading one failed, which
    // `finished` then tells apart. A damaged page ends the rows early like this, so every
    // loop over rows asks `finished` before it takes what it read for the whole result.
    bool next() { return query_.next(); }
    Done finished() const { return query_.lastError().isValid() ? failure() : Done(); }
    QSqlQuery& operator*() { return query_; }
    QSqlQuery* operator->() { return &query_; }

private:
    Done failure() const { return Unexpected(describe(query_.lastError(), bookPath())); }
    // The book's file, from the connection's URI (see registerBook).
    QString bookPath() const {
        const QString uri = QSqlDatabase::database(connection_, false).databaseName();
        return QUrl(uri.section('?', 0, 0)).toLocalFile();
    }
    QSqlQuery query_;
    QString connection_;
    const char* prepared_ = nullptr;
};
}  // namespace brimwell::book
