#pragma once

// The one way pure code fails: it returns a value or an error, never throws and never fills an
// output parameter. The error is an enum where each caller words it its own way, or a text that
// names the input at fault. Only windows turn an error into a message box, and the command-line
// tools into one line on standard error with an exit status.
//
// The part of C++23's std::expected that the project uses, so that switching to it is a rename.

#include <cassert>
#include <type_traits>
#include <utility>
#include <variant>

namespace brimwell {

template <typename E>
class Unexpected {
public:
    explicit Unexpected(E error) : error_(std::move(error)) {}
    const E& error() const& { return error_; }
    E&& error() && { return std::move(error_); }

private:
    E error_;
};

template <typename E>
Unexpected(E) -> Unexpected<E>;

template <typename T, typename E>
class [[nodiscard]] Expected {
public:
    template <typename U = T>
        requires std::is_convertible_v<U, T>
    Expected(U&& value) : state_(std::in_place_index<0>, std::forward<U>(value)) {}
    template <typename G>
    Expected(Unexpected<G> failure) : state_(std::in_place_index<1>, std::move(failure).error()) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    const T& value() const& {
        assert(has_value());
        return *std::get_if<0>(&state_);
    }
    T&& value() && {
        assert(has_value());
        return std::move(*std::get_if<0>(&state_));
    }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }

    const E& error() const {
        assert(!has_value());
        return *std::get_if<1>(&state_);
    }

private:
    std::variant<T, E> state_;
};

// An action that returns nothing when it succeeds.
template <typename E>
class [[nodiscard]] Expected<void, E> {
public:
    Expected() = default;
    template <typename G>
    Expected(Unexpected<G> failure) : error_(std::move(failure).error()), failed_(true) {}

    bool has_value() const { return !failed_; }
    explicit operator bool() const { return has_value(); }
    const E& error() const {
        assert(failed_);
        return error_;
    }

private:
    E error_{};
    bool failed_ = false;
};

}  // namespace brimwell
