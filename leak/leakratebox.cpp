#include "leak/leakratebox.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace brimwell::leak {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t countDigits(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), isDigit));
}

// Where the decimal point stands, or would stand in a text without one.
std::size_t pointOf(std::string_view text, std::string_view point) {
    if (const auto at = text.find(point); at != std::string_view::npos) {
        return at;
    }
    return std::min(text.find_first_of("eE"), text.size());
}

// The caret in the rewritten text: as many digits between it and the point as before.
std::size_t caretInRewrite(const BoxText& edited, std::string_view shown, std::string_view point) {
    if (edited.caret == 0) {
        return 0;
    }
    const std::string_view text = edited.text;
    const std::size_t editedPoint = pointOf(text, point);
    const std::size_t shownPoint = shown.find(point);
    if (shownPoint == std::string_view::npos) {
        return shown.size();
    }
    if (edited.caret <= editedPoint) {
        std::size_t digits = countDigits(text.substr(edited.caret, editedPoint - edited.caret));
        const std::size_t firstDigit = std::min(shown.find_first_of("0123456789"), shownPoint);
        std::size_t caret = shownPoint;
        for (; digits > 0 && caret > firstDigit; --digits) {
            --caret;
        }
        return caret;
    }
    if (text.compare(editedPoint, point.size(), point) != 0) {
        return shown.size();  // in an exponent
    }
    const std::size_t fractionStart = editedPoint + point.size();
    const std::size_t digits = countDigits(
        text.substr(fractionStart, std::max(edited.caret, fractionStart) - fractionStart));
    const std::size_t shownFraction = shownPoint + point.size();
    return shownFraction + std::min(digits, shown.size() - shownFraction);
}

// The most decimals the pattern shows.
constexpr std::size_t kMostDecimals = 4;

// The point alone, or behind a sign: a number of which only the start is typed yet.
bool isNumberBegun(std::string_view text, std::string_view point) {
    if (text.starts_with('-') || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    return text == point;
}

// How many digits stand behind the point; none in a text without one or with an exponent.
std::size_t decimalsTyped(std::string_view text, std::string_view point) {
    const std::size_t at = text.find(point);
    if (at == std::string_view::npos || text.find_first_of("eE") != std::string_view::npos) {
        return 0;
    }
    const std::string_view fraction = text.substr(at + point.size());
    return std::min(fraction.find_first_not_of("0123456789"), fraction.size());
}

// What the pattern would take away while the user is still typing: the minus of a number that
// shows as 0 (-0, -0.0), and zeros typed at the end of the decimals (the 0s of 1.00 on the way
// to 1.005).
void keepWhatIsBeingTyped(std::string& shown, const BoxText& edited, std::string_view point) {
    const std::string_view text = edited.text;
    const std::size_t first = text.find_first_not_of(" \t");
    if (first != std::string_view::npos && text[first] == '-' && !shown.starts_with('-')) {
        shown.insert(0, 1, '-');
    }
    const std::size_t typed = decimalsTyped(text, point);
    const std::size_t shownPoint = shown.find(point);
    if (edited.caret != text.size() || typed > kMostDecimals ||
        shownPoint == std::string::npos) {
        return;
    }
    const std::size_t shownDecimals = shown.size() - shownPoint - point.size();
    shown.append(typed > shownDecimals ? typed - shownDecimals : 0, '0');
}

// The box's own rewrite: the value with the pattern, keeping what is being typed; a text that
// is no number, or only the start of one, stays as it is.
BoxText rewrite(const BoxText& edited, const NumberFormat& format) {
    if (isNumberBegun(edited.text, format.decimal)) {
        return edited;
    }
    const auto value = readStrict(edited.text, format);
    if (!value) {
        return edited;
    }
    std::string shown = formatPattern(*value, kLeakRatePattern, format.decimal);
    keepWhatIsBeingTyped(shown, edited, format.decimal);
    const std::size_t caret = caretInRewrite(edited, shown, format.decimal);
    return {std::move(shown), caret};
}

// The text without the ".0" that the pattern adds to a whole number.
std::string_view typedPart(std::string_view shown, const NumberFormat& format) {
    const std::string addedFraction = format.decimal + "0";
    if (shown.size() > addedFraction.size() && shown.ends_with(addedFraction) &&
        readStrict(shown, format)) {
        shown.remove_suffix(addedFraction.size());
    }
    return shown;
}

bool isOneCharacter(std::string_view piece, std::string_view point) {
    return piece.size() == 1 || piece == point;
}

// The length of the single character that the edit deleted at the caret, if that is what it did.
std::optional<std::size_t> deletedCharacter(const BoxText& before, const BoxText& edited,
                                            std::string_view point) {
    const std::string_view old = before.text;
    const std::string_view now = edited.text;
    const std::size_t at = edited.caret;
    if (now.size() >= old.size() || at > now.size()) {
        return std::nullopt;
    }
    const std::size_t length = old.size() - now.size();
    if (old.substr(0, at) != now.substr(0, at) || old.substr(at + length) != now.substr(at) ||
        !isOneCharacter(old.substr(at, length), point)) {
        return std::nullopt;
    }
    return length;
}

// True when the edit typed the decimal point right in front of the box's point.
bool typedPointBeforePoint(const BoxText& before, const BoxText& edited, std::string_view point) {
    const std::string_view old = before.text;
    const std::string_view now = edited.text;
    if (now.size() != old.size() + point.size() || edited.caret < point.size()) {
        return false;
    }
    const std::size_t at = edited.caret - point.size();
    return now.substr(at, point.size()) == point && now.substr(0, at) == old.substr(0, at) &&
           now.substr(edited.caret) == old.substr(at) && old.substr(at).starts_with(point);
}

}  // namespace

BoxText settleLeakRateBox(const BoxText& before, const BoxText& editedBox,
                          const NumberFormat& format) {
    const BoxText edited{editedBox.text, std::min(editedBox.caret, editedBox.text.size())};
    const std::string_view point = format.decimal;
    if (typedPointBeforePoint(before, edited, point)) {
        return {before.text, edited.caret};
    }
    const auto deleted = deletedCharacter(before, edited, point);
    if (!deleted) {
        return rewrite(edited, format);
    }
    const std::size_t at = edited.caret;
    const bool backspace = before.caret == at + *deleted;
    const BoxText steppedOver{before.text, backspace ? at : at + *deleted};
    const std::string_view typed = typedPart(before.text, format);
    if (at >= typed.size()) {
        return steppedOver;
    }
    std::string rest(typed.substr(0, at));
    rest += typed.substr(std::min(at + *deleted, typed.size()));
    BoxText result = rewrite({std::move(rest), at}, format);
    return result.text == before.text ? steppedOver : result;
}

}  // namespace brimwell::leak
