#pragma once

// One line of a tank chart being written: a character buffer reused from line to line that grows
// only when a line outgrows it, so that numbers are written straight into place.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "fixed2.h"
#include "numbertext.h"

namespace brimwell {

class ChartLine {
public:
    // A stretch of the line, by position, so that it survives the buffer growing.
    struct Span {
        std::size_t start = 0;
        std::size_t length = 0;
    };

    void clear() { length_ = 0; }

    void put(std::string_view text) {
        text.copy(room(text.size()), text.size());
        length_ += text.size();
    }

    // A piece of the chart's layout: a copy of known size, which compiles to a store or two.
    template <std::size_t N>
    void put(const char (&literal)[N]) {
        std::memcpy(room(N - 1), literal, N - 1);
        length_ += N - 1;
    }

    // The chart's number form, right-aligned in `width`.
    Span putFixed2(double value, std::size_t width) {
        const std::size_t start = length_;
        char* const at = room(std::max(width, kFixed2FastLength));
        if (const char* end = writeFixed2Fast(at, value, width)) {
            length_ += static_cast<std::size_t>(end - at);
        } else {
            std::string text;
            appendFixed2(text, value, width);
            put(text);
        }
        return {start, length_ - start};
    }

    // Writes again what the line already holds at `span`. A number's text is copied whole with
    // one move of known size, what lies beyond it being overwritten next.
    void putCopy(Span span) {
        char* const at = room(std::max(span.length, kFixed2FastLength));
        const char* from = buffer_.data() + span.start;
        if (span.length <= kFixed2FastLength) {
            std::memmove(at, from, kFixed2FastLength);
        } else {
            std::memmove(at, from, span.length);
        }
        length_ += span.length;
    }

    // Valid until the line changes.
    std::string_view text() const { return {buffer_.data(), length_}; }

private:
    // Where the next `count` characters go, the buffer grown to hold them.
    char* room(std::size_t count) {
        if (length_ + count > buffer_.size()) {
            buffer_.resize(std::max(2 * buffer_.size(), length_ + count));
        }
        return buffer_.data() + length_;
    }

    std::string buffer_ = std::string(256, ' ');
    std::size_t length_ = 0;
};

}  // namespace brimwell
