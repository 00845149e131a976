#include "book/validation.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "model/geometry/stickreading.h"
#include "model/text/numbertext.h"

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

bool inside(double value, Range range) {
    return value >= range.low && value <= range.high;  // false for NaN too
}

// As a person writes it, but with an exponent where the digits would run on: 1e+308.
std::string valueText(double value) {
    return std::abs(value) < 1e15 ? plainText(value) : shortestText(value);
}

// "1e+308 is outside 0 to 1000000000", or for a level "121 is outside the tank (0 to 120)".
std::string outside(double value, Range range, bool level = false) {
    const std::string limits = plainText(range.low) + " to " + plainText(range.high);
    return valueText(value) + " is outside " + (level ? "the tank (" + limits + ")" : limits);
}

using Values = std::initializer_list<std::pair<Field, std::optional<double>>>;

std::optional<Refusal> checkRanges(Values values, Range range, bool levels = false) {
    for (const auto& [field, value] : values) {
        if (value && !inside(*value, range)) {
            return Refusal{field, outside(*value, range, levels)};
        }
    }
    return std::nullopt;
}

Range temperatures(bool celsius) {
    return celsius ? kCelsiusRange : kFahrenheitRange;
}

// "the stick before delivery 2 (10)"
std::string deliveryStick(const char* which, std::size_t number, double level) {
    return std::string("the stick ") + which + " delivery " + std::to_string(number) + " (" +
           plainText(level) + ")";
}

bool controlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // C0 and DEL, and C1 as UTF-8 writes it: C2 80 to C2 9F.
        if (byte < 0x20 || byte == 0x7F ||
            (byte == 0xC2 && i + 1 < text.size() &&
             static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
             static_cast<unsigned char>(text[i + 1]) <= 0x9F)) {
            return true;
        }
    }
    return false;
}

bool initialsCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
}

}  // namespace

std::optional<std::string> initialsRefusal(std::string_view initials) {
    bool fits = initials.size() <= kInitialsLength;
    for (std::size_t i = 0; fits && i < initials.size(); ++i) {
        const bool between = i > 0 && i + 1 < initials.size() && initialsCharacter(initials[i - 1]);
        fits = initialsCharacter(initials[i]) ||
               ((initials[i] == '-' || initials[i] == ' ') && between);
    }
    if (fits) {
        return std::nullopt;
    }
    return "'" + std::string(initials) + "' are not initials: at most " +
           std::to_string(kInitialsLength) +
           " letters A to Z, digits and dots, with a hyphen or a space between two of them";
}

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

// The level as the book reads it: a stick written as the top, rounded above it, is the top.
std::optional<double> asLevel(std::optional<double> level, const TankLimits& tank) {
    return level && writtenAsTop(*level, tank.top, tank.unit) ? std::optional(tank.top) : level;
}

std::optional<Refusal> dayRefusal(const Day& written, const TankLimits& tank) {
    Day day = written;
    day.closingLevel = *asLevel(day.closingLevel, tank);
    day.waterLevel = asLevel(day.waterLevel, tank);
    for (Delivery& delivery : day.deliveries) {
        delivery.levelBefore = *asLevel(delivery.levelBefore, tank);
        delivery.levelAfter = *asLevel(delivery.levelAfter, tank);
    }
    if (auto refused = initialsRefusal(day.initials)) {
        return Refusal{Field::Initials, *refused};
    }
    if (auto refused =
            checkRanges({{Field::Stick, day.closingLevel}, {Field::Water, day.waterLevel}},
                        {0, tank.top}, true)) {
        return refused;
    }
    auto refused = checkRanges({{Field::Temperature, day.temperature}}, temperatures(tank.celsius));
    if (!refused) {
        refused = checkRanges({{Field::Pumped, day.pumped}}, kVolumeRange);
    }
    if (!refused) {
        refused = checkRanges(
            {{Field::MeterOpen, day.meterOpen}, {Field::MeterClose, day.meterClose}}, kMeterRange);
    }
    if (refused) {
        return refused;
    }
    if (day.waterLevel) {
        const double water = *day.waterLevel;
        if (water > day.closingLevel) {
            return Refusal{Field::Water, plainText(water) + " is above the stick (" +
                                             plainText(day.closingLevel) + ")"};
        }
        for (std::size_t i = 0; i < day.deliveries.size(); ++i) {
            const Delivery& delivery = day.deliveries[i];
            if (water > delivery.levelBefore || water > delivery.levelAfter) {
                const bool before = water > delivery.levelBefore;
                return Refusal{Field::Water, plainText(water) + " is above " +
                                                 deliveryStick(before ? "before" : "after", i + 1,
                                                               before ? delivery.levelBefore
                                                                      : delivery.levelAfter)};
            }
        }
    }
    const auto month = reconcileMonth({day}, day.closingLevel, day.waterLevel, tank.gauge, {});
    if (!month) {
        return Refusal{std::nullopt, month.error()};
    }
    return std::nullopt;
}

std::optional<Refusal> deliveryRefusal(const Delivery& written, const std::optional<Day>& day,
                                       const TankLimits& tank) {
    Delivery delivery = written;
    delivery.levelBefore = *asLevel(delivery.levelBefore, tank);
    delivery.levelAfter = *asLevel(delivery.levelAfter, tank);
    if (auto refused = checkRanges(
            {{Field::Before, delivery.levelBefore}, {Field::After, delivery.levelAfter}},
            {0, tank.top}, true)) {
        return refused;
    }
    auto refused = checkRanges({{Field::BillTemperature, delivery.billTemperature},
                                {Field::TemperatureBefore, delivery.temperatureBefore},
                                {Field::TemperatureAfter, delivery.temperatureAfter}},
                               temperatures(tank.celsius));
    if (!refused) {
        refused = checkRanges(
            {{Field::Bill, delivery.billVolume}, {Field::PumpedDuring, delivery.pumpedDuring}},
            kVolumeRange);
    }
    if (refused) {
        return refused;
    }
    const std::optional<double> water = day ? day->waterLevel : std::nullopt;
    for (const auto& [field, level] :
         {std::pair{Field::Before, delivery.levelBefore}, {Field::After, delivery.levelAfter}}) {
        if (water && level < *water) {
            return Refusal{field, plainText(level) + " is below the day's water cut (" +
                                      plainText(*water) + ")"};
        }
    }
    const auto check =
        checkDelivery(delivery, tank.gauge, water, day ? day->temperature : std::nullopt);
    if (!check) {
        return Refusal{std::nullopt, check.error()};
    }
    return std::nullopt;
}

std::optional<std::string> siteRefusal(const Site& site) {
    if (controlCharacter(site.name)) {
        return std::string("the site's name holds a control character (a line feed, a tab...)");
    }
    std::string lines = site.address;
    std::replace(lines.begin(), lines.end(), '\n', ' ');
    if (controlCharacter(lines)) {
        return std::string(
            "the site's address holds a control character other than a line end (a tab...)");
    }
    return std::nullopt;
}

std::optional<std::string> tankRefusal(const TankSettings& tank, double top) {
    if (controlCharacter(tank.name)) {
        return std::string("the tank's name holds a control character (a line feed, a tab...)");
    }
    if (tank.openingLevel && !inside(*tank.openingLevel, {0, top})) {
        return "the opening stick " + outside(*tank.openingLevel, {0, top}, true);
    }
    // The percent rule's limit is a figure of the month: it must stay a number.
    for (const Rule& rule : tank.rules) {
        if (const auto* percent = std::get_if<PercentRule>(&rule)) {
            if (!inside(percent->percent, kPercentRange)) {
                return "the percent " + outside(percent->percent, kPercentRange);
            }
            if (!inside(percent->allowance, kVolumeRange)) {
                return "the allowance " + outside(percent->allowance, kVolumeRange);
            }
        }
    }
    return std::nullopt;
}

}  // namespace brimwell::book
