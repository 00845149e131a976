// The correction of a reading: its table, temperature and value, and the options that apply to
// its table alone.

#include "cli/tankoptionparts.h"
#include "cli/unitwords.h"

namespace brimwell {
namespace tankoptions {
namespace {

using Values = OptionValues;

constexpr std::array<std::string_view, 2> kTemperatureWords{"F", "C"};  // in TempUnit's order

bool fahrenheitTable(CorrectionTable table) {
    return table == CorrectionTable::Table6B || table == CorrectionTable::Table6C;
}

// The first option given that does not apply to the table: the other tables' values first.
std::optional<std::string> notForTable(const Options& options, CorrectionTable table,
                                       const std::string& toTable) {
    for (const bool values : {true, false}) {
        for (const auto& rule : kOptionRules) {
            if (rule.tables == 0 || rule.value != values || (rule.tables & tableBit(table)) != 0 ||
                !options.has(rule.name)) {
                continue;
            }
            std::string line = std::string(rule.name) + " does not apply" + toTable;
            if (rule.name == "--reference") {
                line += fahrenheitTable(table) ? ", whose base is 60 °F" : ", whose base is 15 °C";
            } else if (rule.name == "--observed") {
                line += " (only to 6B and 54B)";
            }
            return line;
        }
    }
    return std::nullopt;
}

// The temperature scale, which must be the table's own.
Expected<TempUnit, std::string> temperatureUnit(const Values& values, CorrectionTable table,
                                                const std::string& word) {
    const auto unit =
        wordOption(values, "--temperature-unit", kTemperatureWords, TempUnit::DegreesF);
    if (!unit) {
        return unit;
    }
    const bool celsiusTable =
        table == CorrectionTable::Table54B || table == CorrectionTable::Table54C;
    if (celsiusTable && *unit == TempUnit::DegreesF) {
        return Unexpected("--temperature-unit C is needed for --correction " + word +
                          ", which takes °C");
    }
    if (fahrenheitTable(table) && *unit == TempUnit::DegreesC) {
        return Unexpected("--temperature-unit C does not apply to --correction " + word +
                          ", which takes °F");
    }
    return unit;
}

}  // namespace

Expected<std::optional<CorrectionOptions>, std::string> readCorrection(const Options& options) {
    const auto it = options.values.find("--correction");
    if (it == options.values.end()) {
        for (const auto& rule : kOptionRules) {
            if (rule.tables != 0 && options.has(rule.name)) {
                return Unexpected(std::string(rule.name) +
                                  " applies only with --correction (see --help)");
            }
        }
        return std::optional<CorrectionOptions>();
    }
    const auto table = wordOption<CorrectionTable>("--correction", it->second, kCorrectionWords);
    if (!table) {
        return Unexpected(table.error());
    }
    CorrectionOptions correction;
    correction.table = *table;
    const std::string forTable = " for --correction " + it->second;
    const std::string toTable = " to --correction " + it->second;
    const auto unit = temperatureUnit(options.values, *table, it->second);
    if (!unit) {
        return Unexpected(unit.error());
    }
    correction.unit = *unit;
    if (auto refusal = notForTable(options, *table, toTable)) {
        return Unexpected(*std::move(refusal));
    }
    correction.observed = options.has("--observed");
    correction.glassHydrometer = !options.has("--no-glass-correction");
    if (!correction.glassHydrometer && !correction.observed) {
        return Unexpected(std::string("--no-glass-correction applies only with --observed"));
    }
    const auto temperature = requiredNumber(options.values, "--temperature", forTable);
    if (!temperature) {
        return Unexpected(temperature.error());
    }
    correction.temperature = *temperature;
    const auto value = requiredNumber(options.values, correctionValueOption(*table), forTable);
    if (!value) {
        return Unexpected(value.error());
    }
    correction.value = *value;
    const auto reference = optionalNumber(options.values, "--reference");
    if (!reference) {
        return Unexpected(reference.error());
    }
    correction.reference = reference->value_or(correction.unit == TempUnit::DegreesF ? 60.0 : 15.0);
    return std::optional<CorrectionOptions>(correction);
}

}  // namespace tankoptions

std::string_view correctionValueOption(CorrectionTable table) {
    for (const auto& rule : tankoptions::kOptionRules) {
        if (rule.value && (rule.tables & tankoptions::tableBit(table)) != 0) {
            return rule.name;
        }
    }
    return {};
}

}  // namespace brimwell
