#pragma once

// An older book brought up to this version.

#include "book/connection.h"
#include "book/store.h"

namespace brimwell::book {

// Brings the book up from its version to this one in one transaction: each version's step in
// turn, or none of them when one fails, and the book as it was.
Expected<void, OpenFailure> upgrade(const Connection& book);

}  // namespace brimwell::book
