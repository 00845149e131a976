#include "book/legacyshape.h"

#include <map>
#include <span>
#include <vector>

#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

using Values = std::map<std::string, std::string, std::less<>>;

constexpr std::array<std::string_view, 2> kOrientationWords{"horizontal", "vertical"};
constexpr std::array<std::string_view, 9> kShapeOptions{
    "--orientation", "--heads",  "--head-depth", "--crown",  "--knuckle",
    "--diameter",    "--length", "--units",      "--volume"};

Expected<Values, std::string> optionsIn(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find(' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (words.size() % 2 != 0) {
        return Unexpected("'" + text + "' is not a list of options with their values");
    }
    Values values;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        const std::string& name = words[i];
        if (std::find(kShapeOptions.begin(), kShapeOptions.end(), name) == kShapeOptions.end()) {
            return Unexpected("'" + name + "' is not an option of a tank's shape");
        }
        if (!values.emplace(name, words[i + 1]).second) {
            return Unexpected(name + " is given twice");
        }
    }
    return values;
}

// Reads the options into a shape, the first failure kept.
class ShapeReader {
public:
    explicit ShapeReader(Values values) : values_(std::move(values)) {}

    template <typename T, std::size_t N>
    T word(std::string_view name, const std::array<std::string_view, N>& words, T fallback) {
        const auto it = values_.find(name);
        if (it == values_.end()) {
            return fallback;
        }
        if (const auto value = named<T>(words, it->second)) {
            return *value;
        }
        fail(std::string(name) + ": unknown value '" + it->second + "'");
        return fallback;
    }
    std::optional<double> number(std::string_view name, bool needed) {
        const auto it = values_.find(name);
        if (it == values_.end()) {
            if (needed) {
                fail(std::string(name) + " is missing");
            }
            return std::nullopt;
        }
        const auto value = readPlain(it->second);
        if (!value) {
            fail(std::string(name) + ": '" + it->second + "' is not a number");
        }
        return value;
    }
    void refuse(std::string_view name) {
        if (values_.contains(name)) {
            fail(std::string(name) + " does not apply to this tank");
        }
    }
    void fail(std::string why) {
        if (!failure_) {
            failure_ = std::move(why);
        }
    }
    const std::optional<std::string>& failure() const { return failure_; }

private:
    Values values_;
    std::optional<std::string> failure_;
};

void readHeads(ShapeReader& read, TankDescription& shape) {
    const auto index = read.word<std::size_t>("--heads", kHeadWords, 0);
    shape.heads = *headsNamed(kHeadWords.at(index));
    if (auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&shape.heads)) {
        ellipsoidal->depth = read.number("--head-depth", false);
    } else if (auto* conical = std::get_if<ConicalHeads>(&shape.heads)) {
        conical->depth = read.number("--head-depth", true).value_or(0);
    } else {
        read.refuse("--head-depth");
    }
    if (auto* dished = std::get_if<TorisphericalHeads>(&shape.heads)) {
        dished->crown = read.number("--crown", false).value_or(dished->crown);
        dished->knuckle = read.number("--knuckle", false).value_or(dished->knuckle);
    } else {
        read.refuse("--crown");
        read.refuse("--knuckle");
    }
}

}  // namespace

Expected<TankDescription, std::string> readLegacyShape(const std::string& text,
                                                      const std::optional<std::string>& chart) {
    auto values = optionsIn(text);
    if (!values) {
        return Unexpected(values.error());
    }
    ShapeReader read(*std::move(values));
    TankDescription shape;
    shape.lengthUnit = read.word("--units", kLengthUnits, LengthUnit::Inches);
    shape.volumeUnit = read.word("--volume", kVolumeWords, VolumeUnit::Gallons);
    shape.calibration = chart;
    if (chart) {
        for (const auto name : std::span(kShapeOptions).first(7)) {
            read.refuse(name);
        }
    } else {
        shape.vertical = read.word<std::size_t>("--orientation", kOrientationWords, 0) == 1;
        if (shape.vertical) {
            read.refuse("--heads");
            read.refuse("--head-depth");
            read.refuse("--crown");
            read.refuse("--knuckle");
        } else {
            readHeads(read, shape);
        }
        shape.diameter = read.number("--diameter", true).value_or(0);
        shape.length = read.number("--length", true).value_or(0);
    }
    if (read.failure()) {
        return Unexpected(*read.failure());
    }
    return shape;
}

}  // namespace brimwell::book
