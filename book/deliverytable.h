#pragma once

// The deliveries table and their history: a delivery written through one mapping and read back
// by its columns' names.

#include <string>
#include <vector>

#include "book/query.h"
#include "book/records.h"
#include "book/rows.h"

namespace brimwell::book {

// The delivery's columns, its tank, day and times aside.
Cells deliveryCells(const Delivery& delivery);
Delivery deliveryFrom(const QSqlQuery& row);

// The deliveries from `first` to `last` onto their days, each of which must be recorded.
Done attachDeliveries(const Connection& book, long long tank, const std::string& first,
                      const std::string& last, std::vector<Day>& days);

}  // namespace brimwell::book
