#pragma once

// The leak-rate box rewrites itself with "##0.0###" after every edit. These rules keep typing
// in it natural: the caret keeps its place among the digits, typing the decimal point in front
// of the point the box added steps over it, and deleting one of the characters the box added
// (".0", a leading 0) steps over it instead of bringing it straight back. What is still being
// typed stays: the point alone or behind a sign, the minus of a zero (-0), and zeros typed at
// the end of up to four decimals (1.00 on the way to 1.005).

#include <cstddef>
#include <string>

#include "model/text/numbertext.h"

namespace brimwell::leak {

inline constexpr const char* kLeakRatePattern = "##0.0###";

// A text box's text (UTF-8) and its caret as a byte offset into it.
struct BoxText {
    std::string text;
    std::size_t caret = 0;
};

// What the box shows once an edit has turned `before` (what it showed) into `edited`.
BoxText settleLeakRateBox(const BoxText& before, const BoxText& edited, const NumberFormat& format);

}  // namespace brimwell::leak
