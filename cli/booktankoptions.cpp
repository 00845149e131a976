#include "cli/booktankoptions.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <variant>

#include "book/booktank.h"
#include "cli/tankoptions.h"
#include "cli/tankoutput.h"

namespace brimwell::bookcli {

namespace {

using book::TankSettings;

constexpr std::string_view kGeometry[] = {
    "--orientation", "--heads",  "--head-depth", "--crown",  "--knuckle",
    "--diameter",    "--length", "--units",      "--volume", "--calibration"};
constexpr std::string_view kCorrectionOptions[] = {
    "--correction", "--coefficient", "--reference",       "--api-gravity",
    "--density",    "--alpha",       "--temperature-unit"};

// The tank's shape as brimwell-tank reads its options, with a calibration chart's text in place
// of its file, as the book keeps it.
Expected<TankDescription, std::string> shapeOf(const Options& options) {
    std::vector<std::string> args{"level", "--fill-percent", "0"};
    for (const auto name : kGeometry) {
        if (const auto it = options.values.find(name); it != options.values.end()) {
            args.insert(args.end(), {std::string(name), it->second});
        }
    }
    auto command = parseTankArguments(args);
    if (!command) {
        return Unexpected(command.error());
    }
    TankDescription shape = command->tank;
    if (auto built = buildTank(shape); !built) {
        return Unexpected(built.error());
    }
    if (shape.calibration) {
        QFile file(QFile::decodeName(shape.calibration->c_str()));
        if (!file.open(QIODevice::ReadOnly)) {
            return Unexpected("--calibration: cannot read " + *shape.calibration);
        }
        shape.calibration = file.readAll().toStdString();
    }
    return shape;
}

// The product: brimwell-tank's correction options, validated by its own reading of them.
Expected<book::Product, std::string> productOf(const Options& options) {
    book::Product product;
    product.name = options.values.contains("--product") ? options.values.at("--product") : "";
    if (!options.has("--correction")) {
        for (const auto name : kCorrectionOptions) {
            if (options.has(name)) {
                return Unexpected(std::string(name) + " applies only with --correction");
            }
        }
        return product;
    }
    std::vector<std::string> args{"reading", "--diameter", "1", "--length", "1", "--level", "0"};
    for (const auto name : kCorrectionOptions) {
        if (const auto it = options.values.find(name); it != options.values.end()) {
            args.insert(args.end(), {std::string(name), it->second});
        }
    }
    const bool celsius = options.values.contains("--temperature-unit") &&
                         options.values.at("--temperature-unit") == "C";
    args.insert(args.end(), {"--temperature", celsius ? "15" : "60"});
    const auto command = parseTankArguments(args);
    if (!command) {
        return Unexpected(command.error());
    }
    const CorrectionOptions& correction = *command->correction;
    product.correction = correction.table;
    product.value = correction.value;
    product.reference = correction.reference;
    product.celsius = correction.unit == TempUnit::DegreesC;
    return product;
}

Expected<std::vector<book::Rule>, std::string> rulesOf(const Options& options, VolumeUnit unit,
                                                       LengthUnit lengthUnit) {
    std::vector<book::Rule> rules;
    const bool noPercent =
        options.values.contains("--percent") && options.values.at("--percent") == "none";
    std::optional<double> percent, allowance, days, total, water;
    if (auto failure = readNumbers(
            options,
            {{"--allowance", &allowance}, {"--short-days", &days}, {"--short-total", &total}})) {
        return Unexpected(*failure);
    }
    if (!noPercent) {
        if (auto failure = readNumbers(options, {{"--percent", &percent}})) {
            return Unexpected(*failure);
        }
        if (percent.value_or(0) < 0 || allowance.value_or(0) < 0) {
            return Unexpected(std::string("--percent and --allowance must be 0 or above"));
        }
        rules.emplace_back(book::PercentRule{percent.value_or(1.0),
                                             allowance.value_or(book::defaultAllowance(unit))});
    } else if (allowance) {
        return Unexpected(std::string("--allowance does not apply with --percent none"));
    }
    if (days.has_value() != total.has_value()) {
        return Unexpected(std::string(days ? "--short-total" : "--short-days") +
                          " is missing: the run rule takes both");
    }
    if (days) {
        if (!(*days >= 1 && *days == std::floor(*days) && *days <= 366) || *total < 0) {
            return Unexpected(std::string("--short-days must be a whole number of days from 1"));
        }
        rules.emplace_back(book::ShortRunRule{static_cast<int>(*days), *total});
    }
    if (auto failure = readNumbers(options, {{"--water-limit", &water}}, lengthUnit)) {
        return Unexpected(*failure);
    }
    if (water) {
        rules.emplace_back(book::WaterRule{*water});
    }
    return rules;
}

// An edit's rules: each kind whose options are given is replaced by `given`'s rule of that kind
// (none with --percent none), the others stay as they are.
std::vector<book::Rule> mergedRules(const std::vector<book::Rule>& stored,
                                    const std::vector<book::Rule>& given, const Options& options) {
    const std::array<bool, std::variant_size_v<book::Rule>> replaced{
        hasAny(options, {"--percent", "--allowance"}),
        hasAny(options, {"--short-days", "--short-total"}), options.has("--water-limit")};
    std::vector<book::Rule> rules;
    for (const book::Rule& rule : stored) {
        if (!replaced.at(rule.index())) {
            rules.push_back(rule);
        }
    }
    for (const book::Rule& rule : given) {
        if (replaced.at(rule.index())) {
            rules.push_back(rule);
        }
    }
    return rules;
}

// The tank's shape, product and rules as the options give them; `adding` reads them all, an
// edit only those the options name, the stored ones standing for the rest.
Expected<void, std::string> readTankParts(const Options& options, bool adding, TankSettings& tank,
                                          TankDescription& units) {
    bool newUnits = false;
    if (adding || std::any_of(std::begin(kGeometry), std::end(kGeometry),
                              [&](std::string_view name) { return options.has(name); })) {
        auto shape = shapeOf(options);
        if (!shape) {
            return Unexpected(shape.error());
        }
        // The stored sticks and volumes are in the old units: they are given again in the new.
        if (!adding &&
            (shape->lengthUnit != units.lengthUnit || shape->volumeUnit != units.volumeUnit)) {
            if (!options.has("--opening")) {
                return Unexpected(std::string(
                    "the units change: give --opening, and the rules, in the new units"));
            }
            newUnits = true;
        }
        tank.shape = *shape;
        units = *shape;
    }
    if (adding || options.has("--product") ||
        std::any_of(std::begin(kCorrectionOptions), std::end(kCorrectionOptions),
                    [&](std::string_view name) { return options.has(name); })) {
        auto product = productOf(options);
        if (!product) {
            return Unexpected(product.error());
        }
        const std::string name = options.has("--product") ? product->name : tank.product.name;
        tank.product = options.has("--correction") || adding ? *product : tank.product;
        tank.product.name = name;
    }
    const bool rulesGiven = hasAny(
        options, {"--percent", "--allowance", "--short-days", "--short-total", "--water-limit"});
    if (adding || newUnits || rulesGiven) {
        auto rules = rulesOf(options, units.volumeUnit, units.lengthUnit);
        if (!rules) {
            return Unexpected(rules.error());
        }
        tank.rules =
            adding || newUnits ? *std::move(rules) : mergedRules(tank.rules, *rules, options);
    }
    return {};
}

}  // namespace

std::optional<std::string> readNumbers(
    const Options& options,
    std::initializer_list<std::pair<std::string_view, std::optional<double>*>> into,
    std::optional<LengthUnit> levels) {
    for (const auto& [name, place] : into) {
        auto value = levels ? optionalStick(options.values, name, *levels)
                            : optionalNumber(options.values, name);
        if (!value) {
            return value.error();
        }
        *place = *value;
    }
    return std::nullopt;
}

std::optional<std::string> require(const Options& options,
                                   std::initializer_list<std::string_view> names) {
    for (const auto name : names) {
        if (!options.has(name)) {
            return std::string(name) + " is missing (see --help)";
        }
    }
    return std::nullopt;
}

bool hasAny(const Options& options, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view name) { return options.has(name); });
}

std::vector<std::string_view> tankOptions(std::initializer_list<std::string_view> more) {
    std::vector<std::string_view> options(more);
    options.insert(options.end(), std::begin(kGeometry), std::end(kGeometry));
    options.insert(options.end(), std::begin(kCorrectionOptions), std::end(kCorrectionOptions));
    options.insert(options.end(),
                   {"--product", "--safe-fill", "--opening", "--percent", "--allowance",
                    "--short-days", "--short-total", "--water-limit"});
    return options;
}

Expected<TankSettings, std::string> settingsOf(const Options& options, bool adding,
                                               TankSettings tank) {
    TankDescription units = adding ? TankDescription{} : tank.shape;
    if (auto read = readTankParts(options, adding, tank, units); !read) {
        return Unexpected(read.error());
    }
    std::optional<double> safeFill;
    if (auto failure = readNumbers(options, {{"--safe-fill", &safeFill}})) {
        return Unexpected(*failure);
    }
    std::optional<double> opening;
    if (auto failure = readNumbers(options, {{"--opening", &opening}}, units.lengthUnit)) {
        return Unexpected(*failure);
    }
    tank.openingLevel = opening ? opening : tank.openingLevel;
    if (auto failure = adding ? require(options, {"--opening"}) : std::nullopt) {
        return Unexpected(*failure);
    }
    tank.safeFill = safeFill.value_or(tank.safeFill);
    if (!(tank.safeFill >= 0 && tank.safeFill <= 100)) {
        return Unexpected(std::string("--safe-fill must be from 0 to 100"));
    }
    tank.name = options.has("--name") ? options.values.at("--name") : tank.name;
    if (tank.name.empty()) {
        return Unexpected(std::string("the tank's name is empty"));
    }
    return tank;
}

}  // namespace brimwell::bookcli
