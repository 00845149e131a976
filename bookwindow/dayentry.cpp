#include "bookwindow/dayentry.h"

#include <cmath>
#include <string_view>

#include "book/validation.h"
#include "bookwindow/tankentry.h"
#include "model/geometry/stickreading.h"

namespace brimwell {

bool blank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

Expected<double, std::string> readUserNumber(const std::string& text, const NumberFormat& format) {
    if (!format.group.empty() && format.group != format.decimal &&
        text.find(format.group) != std::string::npos) {
        return Unexpected("'" + text + "' has a '" + format.group + "': write the decimal with '" +
                          format.decimal + "' and no group separator");
    }
    const auto value = text.find_first_of("0123456789") == std::string::npos
                           ? std::nullopt
                           : readStrict(text, format);
    if (!value || !std::isfinite(*value)) {
        return Unexpected("'" + text + "' is not a number");
    }
    return *value;
}

namespace {

class Reader {
public:
    Reader(DayEntry& entry, LengthUnit unit, double top, const NumberFormat& format)
        : entry_(entry), unit_(unit), top_(top), format_(format) {}

    std::optional<double> number(DayField field, const std::string& text) {
        if (blank(text)) {
            return std::nullopt;
        }
        const auto value = readUserNumber(text, format_);
        if (!value) {
            problem(field, value.error());
            return std::nullopt;
        }
        return *value;
    }
    std::optional<double> level(DayField field, const std::string& text) {
        if (blank(text)) {
            return std::nullopt;
        }
        const auto value = readUserStick(text, unit_, format_);
        if (!value) {
            problem(field, value.error());
            return std::nullopt;
        }
        if (*value < 0) {
            problem(field, "must be 0 or above");
            return std::nullopt;
        }
        if (*value > top_) {
            std::string reason = "above the tank's top of ";
            appendPlain(reason, top_);
            problem(field, reason);
            return std::nullopt;
        }
        return *value;
    }
    std::optional<double> needed(DayField field, std::optional<double> value,
                                 const std::string& text) {
        if (blank(text)) {
            entry_.missing.push_back({field, "needed"});
        }
        return value;
    }
    void missing(DayField field, std::string reason) {
        entry_.missing.push_back({field, std::move(reason)});
    }
    void problem(DayField field, std::string reason) {
        entry_.problems.push_back({field, std::move(reason)});
    }

private:
    DayEntry& entry_;
    LengthUnit unit_;
    double top_;
    const NumberFormat& format_;
};

bool anyDeliveryText(const DayTexts& texts) {
    return !blank(texts.bill) || !blank(texts.billTemperature) || !blank(texts.before) ||
           !blank(texts.after) || !blank(texts.pumpedDuring);
}

void readDelivery(const DayTexts& texts, Reader& read, DayEntry& entry) {
    const auto bill =
        read.needed(DayField::Bill, read.number(DayField::Bill, texts.bill), texts.bill);
    const auto before =
        read.needed(DayField::Before, read.level(DayField::Before, texts.before), texts.before);
    const auto after =
        read.needed(DayField::After, read.level(DayField::After, texts.after), texts.after);
    const auto billTemperature = read.number(DayField::BillTemperature, texts.billTemperature);
    const auto during = read.number(DayField::PumpedDuring, texts.pumpedDuring);
    if (bill && !(*bill > 0)) {
        read.problem(DayField::Bill, "the bill must be above 0");
    }
    if (during && *during < 0) {
        read.problem(DayField::PumpedDuring, "must be 0 or above");
    }
    if (before && after && *after < *before) {
        read.problem(DayField::After, "the stick after is below the stick before");
    }
    if (!bill || !before || !after) {
        return;
    }
    book::Delivery delivery;
    delivery.billVolume = *bill;
    delivery.billNet = texts.billNet;
    delivery.billTemperature = billTemperature;
    delivery.levelBefore = *before;
    delivery.levelAfter = *after;
    delivery.pumpedDuring = during.value_or(0);
    entry.delivery = delivery;
}

// A blank pumped volume is not a 0: the day says what was pumped, if only that nothing was.
void checkPumped(const book::Day& day, const DayTexts& texts, Reader& read) {
    if (!day.pumped && !day.meterOpen && !day.meterClose) {
        if (texts.meterOpenCarried) {
            read.missing(DayField::MeterClose, "type the closing total, or the volume pumped");
        } else {
            read.missing(DayField::Pumped, "type 0 if nothing was pumped");
        }
    } else if (day.pumped && (day.meterOpen || day.meterClose)) {
        read.problem(DayField::Pumped, "give the volume pumped or the meters, not both");
    } else if (day.meterOpen.has_value() != day.meterClose.has_value()) {
        read.problem(day.meterOpen ? DayField::MeterClose : DayField::MeterOpen,
                     "the meters' totals go together");
    } else if (day.pumped && *day.pumped < 0) {
        read.problem(DayField::Pumped, "must be 0 or above");
    } else if (day.pumpedVolume() < 0) {
        read.problem(DayField::MeterClose, "the closing total is below the opening total");
    }
}

}  // namespace

std::string userStickText(double level, LengthUnit unit, StickForm form,
                          const NumberFormat& format) {
    const bool inFeet = unit == LengthUnit::Inches || unit == LengthUnit::Feet;
    if (form == StickForm::FeetInches && inFeet && std::isfinite(level) && level >= 0) {
        const double inches = lengthToInches(level, unit);
        const double eighths = inches * 8;
        if (eighths == std::round(eighths)) {
            std::string text = feetInchesText(inches);
            if (const auto back = readStickLevel(text, unit); back && *back == level) {
                return text;
            }
        }
    }
    return editableText(level, format);
}

Expected<double, std::string> readUserStick(const std::string& text, LengthUnit unit,
                                            const NumberFormat& format) {
    if (format.decimal == ".") {
        return readStickLevel(text, unit);
    }
    if (text.find('.') != std::string::npos) {
        std::string reason = "write the decimal with '";
        reason.append(format.decimal).append("'");
        return Unexpected(std::move(reason));
    }
    // Built a character at a time: GCC 12 warns falsely on an in-place replace at -O2.
    std::string dotted;
    const std::string_view decimal = format.decimal;
    for (std::size_t i = 0; i < text.size();) {
        if (!decimal.empty() && std::string_view(text).substr(i).starts_with(decimal)) {
            dotted += '.';
            i += decimal.size();
        } else {
            dotted += text[i++];
        }
    }
    return readStickLevel(dotted, unit);
}

DayEntry readDayEntry(const DayTexts& texts, LengthUnit unit, double top,
                      const NumberFormat& format) {
    DayEntry entry;
    Reader read(entry, unit, top, format);
    book::Day& day = entry.day;
    day.date = texts.date;
    const auto stick =
        read.needed(DayField::Stick, read.level(DayField::Stick, texts.stick), texts.stick);
    day.closingLevel = stick.value_or(0);
    day.waterLevel = read.level(DayField::Water, texts.water);
    day.temperature = read.number(DayField::Temperature, texts.temperature);
    const std::size_t unread = entry.problems.size();
    day.pumped = read.number(DayField::Pumped, texts.pumped);
    if (!texts.meterOpenCarried || !blank(texts.meterClose)) {
        day.meterOpen = read.number(DayField::MeterOpen, texts.meterOpen);
    }
    day.meterClose = read.number(DayField::MeterClose, texts.meterClose);
    // What was pumped is judged once all three of its texts read.
    const bool pumpedRead = entry.problems.size() == unread;
    if (stick && day.waterLevel && *day.waterLevel > *stick) {
        read.problem(DayField::Water, "the water cut is above the stick");
    }
    if (pumpedRead) {
        checkPumped(day, texts, read);
    }
    const auto first = texts.initials.find_first_not_of(" \t");
    day.initials =
        first == std::string::npos
            ? std::string()
            : texts.initials.substr(first, texts.initials.find_last_not_of(" \t") + 1 - first);
    if (const auto refused = book::initialsRefusal(day.initials)) {
        read.problem(DayField::Initials, *refused);
    }
    if (anyDeliveryText(texts)) {
        readDelivery(texts, read, entry);
    }
    return entry;
}

}  // namespace brimwell
