#include "book/dayimport.h"

#include <set>

#include "model/geometry/calibrationchart.h"
#include "model/geometry/stickreading.h"
#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

// The columns of a day, named as in book::Field's order as far as a day goes.
constexpr const char* kColumns[] = {"stick", "water", "temperature", "pumped", "meter_open",
                                    "meter_close"};

std::string lineText(int line) {
    return "line " + std::to_string(line) + ": ";
}

std::string refusalText(const Refusal& refusal) {
    if (refusal.field == Field::Initials) {
        return "initials: " + refusal.reason;
    }
    const auto field = refusal.field ? static_cast<std::size_t>(*refusal.field) : std::size(kColumns);
    return field < std::size(kColumns) ? std::string(kColumns[field]) + ": " + refusal.reason
                                       : refusal.reason;
}

// What the book refuses of the day with the deliveries it holds, and a day that does not say what
// was pumped, which would count as nothing pumped.
std::optional<std::string> refusedDay(const Day& day, const TankLimits& limits) {
    if (const auto refusal = dayRefusal(day, limits)) {
        return refusalText(*refusal);
    }
    if (!day.pumped && !day.meterOpen) {
        return std::string("the volume pumped is missing: give pumped 0 if nothing was pumped");
    }
    return std::nullopt;
}

class Fields {
public:
    Fields(const std::vector<std::string>& fields, const std::map<std::string, std::size_t>& columns)
        : fields_(fields), columns_(columns) {}

    std::string text(const char* column) const {
        const auto found = columns_.find(column);
        return found == columns_.end() ? std::string() : fields_[found->second];
    }
    Expected<std::optional<double>, std::string> level(const char* column, LengthUnit unit) const {
        const std::string value = text(column);
        if (value.empty()) {
            return std::optional<double>();
        }
        const auto read = readStickLevel(value, unit);
        if (!read) {
            return Unexpected(std::string(column) + ": " + read.error());
        }
        return std::optional<double>(*read);
    }
    Expected<std::optional<double>, std::string> number(const char* column) const {
        const std::string value = text(column);
        if (value.empty()) {
            return std::optional<double>();
        }
        const auto read = readPlain(value);
        if (!read) {
            return Unexpected(std::string(column) + ": '" + value + "' is not a number");
        }
        return std::optional<double>(*read);
    }

private:
    const std::vector<std::string>& fields_;
    const std::map<std::string, std::size_t>& columns_;
};

Expected<Day, std::string> dayOf(const Fields& fields, LengthUnit unit) {
    Day day;
    day.date = fields.text("date");
    if (!isDate(day.date)) {
        return Unexpected("the date '" + day.date + "' is not a date YYYY-MM-DD");
    }
    if (fields.text("stick").empty()) {
        return Unexpected(std::string("the stick is missing"));
    }
    std::optional<double> stick;
    const std::pair<const char*, std::optional<double>*> levels[] = {{"stick", &stick},
                                                                     {"water", &day.waterLevel}};
    for (const auto& [column, place] : levels) {
        const auto read = fields.level(column, unit);
        if (!read) {
            return Unexpected(read.error());
        }
        *place = *read;
    }
    const std::pair<const char*, std::optional<double>*> numbers[] = {
        {"temperature", &day.temperature},
        {"pumped", &day.pumped},
        {"meter_open", &day.meterOpen},
        {"meter_close", &day.meterClose}};
    for (const auto& [column, place] : numbers) {
        const auto read = fields.number(column);
        if (!read) {
            return Unexpected(read.error());
        }
        *place = *read;
    }
    day.closingLevel = *stick;
    day.initials = fields.text("initials");
    if (day.pumped && (day.meterOpen || day.meterClose)) {
        return Unexpected(std::string("pumped and meter_open/meter_close: give only one"));
    }
    if (day.meterOpen.has_value() != day.meterClose.has_value()) {
        return Unexpected(std::string("meter_open and meter_close go together"));
    }
    if (day.pumpedVolume() < 0) {
        return Unexpected(std::string(day.pumped ? "pumped must be 0 or above"
                                                 : "meter_close is below meter_open"));
    }
    if (day.waterLevel && *day.waterLevel > day.closingLevel) {
        return Unexpected(std::string("water is above stick"));
    }
    return day;
}

}  // namespace

Expected<DayImport, std::string> DayImport::start(std::string_view header) {
    if (header.starts_with("\xEF\xBB\xBF")) {
        header.remove_prefix(3);  // the byte-order mark a spreadsheet may write
    }
    if (header.ends_with('\n')) {
        header.remove_suffix(1);
    }
    const auto names = csvFields(header, CsvQuotes::AtFieldStart);
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; names && i < names->size(); ++i) {
        columns.emplace((*names)[i], i);
    }
    for (const char* name : {"tank", "date", "stick"}) {
        if (!columns.contains(name)) {
            return Unexpected("the header has no column '" + std::string(name) + "'");
        }
    }
    DayImport import(std::move(columns));
    import.width_ = names->size();
    return import;
}

Expected<void, std::string> DayImport::readLine(std::string_view line, const ImportTankOf& tankOf) {
    const int number = ++line_;
    if (line.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return {};
    }
    if (line.ends_with('\n')) {
        line.remove_suffix(1);
    }
    const auto fields = csvFields(line, CsvQuotes::AtFieldStart);
    if (!fields) {
        return Unexpected(lineText(number) + "a quoted field is not closed");
    }
    if (fields->size() < width_) {
        return Unexpected(lineText(number) + "too few fields");
    }
    const Fields row(*fields, columns_);
    const std::string name = row.text("tank");
    const auto tank = tankOf(name);
    if (!tank) {
        return Unexpected(lineText(number) + tank.error());
    }
    const auto day = dayOf(row, (*tank)->unit);
    const auto refused = day ? refusedDay(*day, (*tank)->limits) : day.error();
    if (refused) {
        return Unexpected(lineText(number) + *refused);
    }
    const auto [first, added] = given_.emplace(std::pair{name, day->date}, number);
    if (!added) {
        return Unexpected("lines " + std::to_string(first->second) + " and " +
                          std::to_string(number) + " both give " + name + "'s " + day->date +
                          "; give each day once");
    }
    rows_.push_back({name, *day});
    lines_.push_back(number);
    return {};
}

std::optional<std::string> DayImport::refusalWith(
    const std::map<std::string, std::multimap<std::string, Delivery>>& deliveries,
    const ImportTankOf& tankOf) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ImportRow& row = rows_[i];
        const auto tank = deliveries.find(row.tank);
        if (tank == deliveries.end()) {
            continue;
        }
        Day checked = row.day;
        for (auto [at, end] = tank->second.equal_range(row.day.date); at != end; ++at) {
            checked.deliveries.push_back(at->second);
        }
        if (checked.deliveries.empty()) {
            continue;
        }
        if (const auto refused = refusedDay(checked, (*tankOf(row.tank))->limits)) {
            return lineText(lines_[i]) + *refused;
        }
    }
    return std::nullopt;
}

Expected<void, ImportFailure> importChecked(Store& store, const DayImport& import,
                                            const ImportTankOf& tankOf,
                                            const std::function<void(std::size_t)>& progress) {
    std::optional<std::string> refused;
    const auto done = store.together([&]() -> Expected<void, std::string> {
        std::set<std::string> tanks;
        for (const ImportRow& row : import.rows()) {
            tanks.insert(row.tank);
        }
        std::map<std::string, std::multimap<std::string, Delivery>> deliveries;
        for (const std::string& tank : tanks) {
            auto recorded = store.allDeliveries(tank);
            if (!recorded) {
                return Unexpected(recorded.error());
            }
            auto& byDate = deliveries[tank];
            for (auto& [date, delivery] : *recorded) {
                byDate.emplace(std::move(date), std::move(delivery));
            }
        }
        refused = import.refusalWith(deliveries, tankOf);
        if (refused) {
            return Unexpected(*refused);
        }
        return store.importDays(import.rows(), progress);
    });
    if (!done) {
        return Unexpected(ImportFailure{refused.has_value(), done.error()});
    }
    return {};
}

}  // namespace brimwell::book
