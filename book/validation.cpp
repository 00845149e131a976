#include "book/validation.h"

namespace brimwell::book {
namespace {

bool digits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int number(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

int daysIn(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool isDate(std::string_view text) {
    if (text.size() != 10 || text[7] != '-' || !isMonth(text.substr(0, 7)) ||
        !digits(text.substr(8))) {
        return false;
    }
    const int day = number(text.substr(8));
    return day >= 1 && day <= daysIn(number(text.substr(0, 4)), number(text.substr(5, 2)));
}

bool isMonth(std::string_view text) {
    if (text.size() != 7 || text[4] != '-' || !digits(text.substr(0, 4)) ||
        !digits(text.substr(5))) {
        return false;
    }
    const int month = number(text.substr(5));
    return number(text.substr(0, 4)) >= 1 && month >= 1 && month <= 12;
}

}  // namespace brimwell::book
