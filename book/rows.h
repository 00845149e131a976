#pragma once

// What the table files share: a row as its columns' names and values, so that each table writes
// its records through one mapping and reads them back by the columns' names.

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/query.h"

namespace brimwell::book {

// A row's values by column, in the order a statement names them.
using Cells = std::vector<std::pair<std::string_view, QVariant>>;

// "INSERT INTO table (a, b) VALUES (?, ?)" for the cells' columns.
std::string insertInto(std::string_view table, const Cells& cells);
// "?, ?", as many as `count`.
std::string placeholders(std::size_t count);
// "a = ?, b = ?", the assignments of an UPDATE.
std::string assignments(const Cells& cells);
// "a, b".
std::string columnsOf(const Cells& cells);
QVariantList valuesOf(const Cells& cells);

QVariant optional(const std::optional<double>& value);
QVariant optional(const std::optional<std::string>& value);
QString text(const std::string& value);
QString text(std::string_view value);
// The time of a change, UTC in ISO 8601.
std::string now();

// The row's value in the named column.
std::optional<double> optionalNumber(const QSqlQuery& row, const char* column);
double number(const QSqlQuery& row, const char* column);
long long integer(const QSqlQuery& row, const char* column);
std::string textIn(const QSqlQuery& row, const char* column);
std::optional<std::string> optionalText(const QSqlQuery& row, const char* column);

// Each row the statement selects, read by `read`.
template <typename Read>
auto selectRows(const Connection& book, std::string_view sql, const QVariantList& values, Read read)
    -> Expected<std::vector<decltype(read(std::declval<const QSqlQuery&>()))>, std::string> {
    Query query(book);
    if (auto done = query.run(sql, values); !done) {
        return Unexpected(done.error());
    }
    std::vector<decltype(read(*query))> rows;
    while (query.next()) {
        rows.push_back(read(*query));
    }
    if (auto all = query.finished(); !all) {
        return Unexpected(all.error());
    }
    return rows;
}

}  // namespace brimwell::book
