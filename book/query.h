#pragma once

// One SQL statement on the book's connection, with its failures told in words a person can act
// on (see sqlfailure.h).

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <initializer_list>
#include <string>
#include <string_view>

#include "book/connection.h"
#include "book/sqlfailure.h"
#include "model/expected.h"

namespace brimwell::book {

using Done = Expected<void, std::string>;

class Query {
public:
    explicit Query(const Connection& book)
        : query_(QSqlDatabase::database(book.name, false)), path_(book.path) {}

    // Runs the statement with its values bound in order; the same statement run again is not
    // prepared again.
    Done run(std::string_view sql, std::initializer_list<QVariant> values = {}) {
        return run(sql, QVariantList(values));
    }
    Done run(std::string_view sql, const QVariantList& values) {
        if (sql != prepared_) {
            prepared_.clear();
            if (!query_.prepare(
                    QString::fromUtf8(sql.data(), static_cast<qsizetype>(sql.size())))) {
                return failure();
            }
            prepared_ = sql;
        }
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
    // What the last failure was, by SQLite's result code.
    SqlFault fault() const { return faultOf(query_.lastError()); }
    QSqlQuery& operator*() { return query_; }
    QSqlQuery* operator->() { return &query_; }

private:
    Done failure() const { return Unexpected(describe(query_.lastError(), path_)); }
    QSqlQuery query_;
    QString path_;
    std::string prepared_;
};
}  // namespace brimwell::book
