#include "book/month.h"

#include <cstdio>

namespace brimwell::book {

long dayNumber(const std::string& date) {
    const int year = std::stoi(date.substr(0, 4));
    const int month = std::stoi(date.substr(5, 2));
    const int day = std::stoi(date.substr(8, 2));
    const int y = year - (month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153L * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::string dateOf(long number) {
    const long z = number + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long dayOfEra = z - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long shifted = (5 * dayOfYear + 2) / 153;
    const long day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const long month = shifted < 10 ? shifted + 3 : shifted - 9;
    const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(year),
                  static_cast<int>(month), static_cast<int>(day));
    return text;
}

int daysInMonth(const std::string& month) {
    const long first = dayNumber(month + "-01");
    int days = 28;
    while (monthOf(dateOf(first + days)) == month) {
        ++days;
    }
    return days;
}

std::string previousMonth(const std::string& month) {
    return monthOf(dateOf(dayNumber(month + "-01") - 1));
}


DateRange everyDay() {
    return {"0000-01-01", "9999-12-31"};
}

DateRange monthDates(const std::string& month) {
    return {month + "-01", month + "-31"};
}

std::string monthOf(const std::string& date) {
    return date.substr(0, 7);
}

Opening openingOf(const MonthRecords& records, const TankSettings& tank) {
    if (records.before) {
        return {records.before->closingLevel, records.before->waterLevel};
    }
    return {tank.openingLevel.value_or(0), std::nullopt};
}

Expected<MonthReport, std::string> reconcileRecords(const MonthRecords& records,
                                                    const TankSettings& tank, const Gauge& gauge) {
    const Opening opening = openingOf(records, tank);
    return reconcileMonth(records.days, opening.level, opening.water, gauge, tank.rules,
                          tank.meterFactors);
}

}  // namespace brimwell::book
