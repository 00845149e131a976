#pragma once

// What the book refuses to record: a value that would keep its month from being reported, or
// that it would work out as a figure no one could trust. The command line and the window check
// what they record here, so both refuse the same; each refusal names the value and its limit.

#include <string_view>

namespace brimwell::book {

// A date written exactly YYYY-MM-DD that is a day of the calendar, year 0001 to 9999; the book
// sorts its days by this text.
bool isDate(std::string_view text);
// A month written exactly YYYY-MM.
bool isMonth(std::string_view text);

}  // namespace brimwell::book
