#pragma once

// The day's entry form read as the book's records: each text in the user's number notation,
// stick levels as operators write them, and each field that does not read named with the reason.

#include <optional>
#include <string>
#include <vector>

#include "book/changes.h"
#include "book/records.h"
#include "model/expected.h"
#include "model/text/numbertext.h"
#include "model/units/units.h"

namespace brimwell {

// In the order of the daily worksheet, which is the form's tab order.
enum class DayField {
    Stick,
    Water,
    Temperature,
    Pumped,
    MeterOpen,
    MeterClose,
    Initials,  // of whoever read the stick, closing the day's readings
    Bill,
    BillTemperature,
    Before,
    After,
    PumpedDuring,
};

struct DayTexts {
    std::string date;  // YYYY-MM-DD
    std::string stick, water, temperature, pumped, meterOpen, meterClose;
    // The meter's opening total is the day before's closing total, carried and left as it was:
    // until the day's closing total is typed it is no reading of the day.
    bool meterOpenCarried = false;
    std::string initials;
    std::string bill;
    bool billNet = false;
    std::string billTemperature, before, after, pumpedDuring;
};

struct FieldProblem {
    DayField field;
    std::string reason;
};

// The day and its delivery as the form reads them.
struct DayEntry : book::DayChange {
    std::vector<FieldProblem> problems;  // texts that do not read, or read out of range
    std::vector<FieldProblem> missing;   // needed but empty, and what to type

    bool complete() const { return problems.empty() && missing.empty(); }
};

// `top` is the tank's highest stick, in `unit`.
DayEntry readDayEntry(const DayTexts& texts, LengthUnit unit, double top,
                      const NumberFormat& format);

// A level typed in the user's notation: 75,625 where the decimal is a comma.
Expected<double, std::string> readUserStick(const std::string& text, LengthUnit unit,
                                            const NumberFormat& format);

// How a tank's sticks are shown: as decimals in its length unit, or in feet, inches and eighths.
enum class StickForm { Decimal, FeetInches };

// A recorded level as the form shows it: in feet, inches and eighths when the tank's sticks are
// written so and the level is a whole number of eighths that reads back exactly, else as the
// shortest decimal in the user's notation that does. Saved unchanged, it changes nothing.
std::string userStickText(double level, LengthUnit unit, StickForm form,
                          const NumberFormat& format);

// A finite number typed in the user's notation, with at least one digit: a lone separator is not
// a 0. A group separator is refused, wherever it stands: in a comma notation 1.234 is as likely
// a decimal typed with a point as a thousand, and the book takes neither on a guess.
Expected<double, std::string> readUserNumber(const std::string& text, const NumberFormat& format);

// True for a field left empty or holding blanks only.
bool blank(const std::string& text);

}  // namespace brimwell
