#pragma once

// What the book refuses to record: a value that would keep its month from being reported, or
// that it would work out as a figure no one could trust. The command line and the window check
// what they record here, so both refuse the same; each refusal names the value and its limit.

#include <optional>
#include <string>
#include <string_view>

#include "book/reconcile.h"
#include "book/records.h"
#include "model/units/units.h"

namespace brimwell::book {

// A date written exactly YYYY-MM-DD that is a day of the calendar, year 0001 to 9999; the book
// sorts its days by this text.
bool isDate(std::string_view text);
// A month written exactly YYYY-MM.
bool isMonth(std::string_view text);

struct Range {
    double low = 0;
    double high = 0;
};
// Far above any tank's day, yet small enough that no month's sum of them overflows.
inline constexpr Range kVolumeRange{0, 1e9};  // pumped, a bill, pumped during a delivery
inline constexpr Range kMeterRange{0, 1e12};  // a meter's total
inline constexpr Range kFahrenheitRange{-60, 300};
inline constexpr Range kCelsiusRange{-50, 150};
inline constexpr Range kPercentRange{0, 100};

// The recorded value a refusal is about.
enum class Field {
    Stick,
    Water,
    Temperature,
    Pumped,
    MeterOpen,
    MeterClose,
    Bill,
    BillTemperature,
    Before,
    After,
    TemperatureBefore,
    TemperatureAfter,
    PumpedDuring,
    Initials,
};

struct Refusal {
    std::optional<Field> field;  // none when it is the day or the delivery as a whole
    std::string reason;          // "1e+308 is outside 0 to 1000000000"
};

// Initials take at most this many characters: letters A to Z, digits and dots, with a hyphen or
// a space between two of them ("J.K.", "AB-2", "M L").
inline constexpr std::size_t kInitialsLength = 8;
// Why the initials cannot be kept, naming what they may hold; none when they can (or are empty).
std::optional<std::string> initialsRefusal(std::string_view initials);

// A site's name holding a control character, or its address one other than a line feed; none
// when the site can be kept.
std::optional<std::string> siteRefusal(const Site& site);

// What the checks need of the tank: its highest stick, its temperatures' unit and its gauge.
struct TankLimits {
    double top = 0;
    bool celsius = false;
    Gauge gauge;
    // The sticks' unit, in which a stick written as the top is written (writtenAsTop).
    std::optional<LengthUnit> unit;
};

// The first thing about the day that the book refuses: a value outside its range, a water cut
// above the stick or above a stick of one of the day's deliveries (`day.deliveries`, the ones
// recorded on it), or anything else that keeps the day from being worked out.
std::optional<Refusal> dayRefusal(const Day& day, const TankLimits& tank);

// The same for a delivery on `day`, when that day is recorded (its own deliveries not needed).
std::optional<Refusal> deliveryRefusal(const Delivery& delivery, const std::optional<Day>& day,
                                       const TankLimits& tank);

// The tank's name holding a control character, its opening stick outside the tank whose highest
// stick is `top`, or a rule's figure outside its range; none when the settings can be kept.
std::optional<std::string> tankRefusal(const TankSettings& tank, double top);

}  // namespace brimwell::book
