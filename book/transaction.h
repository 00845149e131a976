#pragma once

// The one place a transaction is begun, committed and rolled back.

#include <functional>

#include "book/query.h"

namespace brimwell::book {

// Runs `work` in one transaction, committed when it succeeds and rolled back when it, or the
// commit, fails: the book has all of it or none of it.
Done transaction(const Connection& book, Lock lock, const std::function<Done()>& work);

}  // namespace brimwell::book
