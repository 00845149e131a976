#pragma once

// How each of the store's calls reaches the book: connected for the call (see store.h), and in
// one transaction, which a call made as a part of another shares.

#include <optional>

#include "book/store.h"
#include "book/transaction.h"

namespace brimwell::book {

template <typename Work>
auto Store::call(Lock lock, const Work& work) -> decltype(work()) {
    if (users_ == 0) {
        if (auto connected = connect(); !connected) {
            return Unexpected(connected.error());
        }
    }
    ++users_;
    auto result = inTransaction_ ? work() : inTransaction(lock, work);
    if (--users_ == 0) {
        disconnect();
    }
    return result;
}

template <typename Work>
auto Store::inTransaction(Lock lock, const Work& work) -> decltype(work()) {
    std::optional<decltype(work())> result;
    inTransaction_ = true;
    const auto done = transaction(book_, lock, [&]() -> Done {
        result = work();
        if (!*result) {
            return Unexpected(result->error());
        }
        return {};
    });
    inTransaction_ = false;
    if (!done) {
        return Unexpected(done.error());
    }
    return *std::move(result);
}

}  // namespace brimwell::book
