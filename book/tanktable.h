#pragma once

// The tanks table and its rules: a tank's settings written and read back, each through one
// function, its columns as schema.h documents them.

#include <string>
#include <vector>

#include "book/query.h"
#include "book/records.h"
#include "book/rows.h"

namespace brimwell::book {

Expected<long long, std::string> tankId(const Connection& book, const std::string& name);

// The shape's columns, which an upgrade writes too.
Cells shapeCells(const TankDescription& shape);

// The tank's meter factors in date order (meterfactortable.cpp).
Expected<std::vector<MeterFactor>, std::string> readMeterFactors(const Connection& book,
                                                                 long long tank);

// Each row the statement selects for the tank, read by `read`: the tank's id is bound first,
// then `values`.
template <typename Read>
auto selectForTank(const Connection& book, const std::string& tank, std::string_view sql,
                   QVariantList values, Read read)
    -> Expected<std::vector<decltype(read(std::declval<const QSqlQuery&>()))>, std::string> {
    const auto id = tankId(book, tank);
    if (!id) {
        return Unexpected(id.error());
    }
    values.prepend(*id);
    return selectRows(book, sql, values, read);
}

}  // namespace brimwell::book
