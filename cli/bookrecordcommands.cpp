// brimwell-book's subcommands that record: a day, a delivery, and an import of days.

#include <QFile>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "book/changes.h"
#include "book/month.h"
#include "cli/bookcommand.h"
#include "cli/booktankoptions.h"
#include "model/geometry/calibrationchart.h"

namespace brimwell::bookcli {

using book::Day;
using book::Delivery;
using book::Store;

namespace {

// The day the request gives for TANK DATE, its sticks in `unit`, as far as it can be read without
// the book.
Expected<Day, std::string> dayOf(const Request& request, LengthUnit unit) {
    const Options& options = request.options;
    Day day;
    day.date = request.positionals.at(1);
    if (!book::isDate(day.date)) {
        return Unexpected("the date '" + day.date + "' is not a date YYYY-MM-DD");
    }
    if (auto failure = require(options, {"--stick"})) {
        return Unexpected(*failure);
    }
    std::optional<double> closing;
    auto failure =
        readNumbers(options, {{"--stick", &closing}, {"--water", &day.waterLevel}}, unit);
    if (!failure) {
        failure = readNumbers(options, {{"--temperature", &day.temperature},
                                        {"--pumped", &day.pumped},
                                        {"--meter-open", &day.meterOpen},
                                        {"--meter-close", &day.meterClose}});
    }
    if (failure) {
        return Unexpected(*failure);
    }
    day.closingLevel = *closing;
    if (const auto initials = options.values.find("--initials"); initials != options.values.end()) {
        day.initials = initials->second;
    }
    if (day.pumped && (day.meterOpen || day.meterClose)) {
        return Unexpected(std::string("--pumped and --meter-open/--meter-close: give only one"));
    }
    if (day.meterOpen.has_value() != day.meterClose.has_value()) {
        return Unexpected(std::string("--meter-open and --meter-close go together"));
    }
    if (day.pumpedVolume() < 0) {
        return Unexpected(std::string(day.pumped ? "--pumped must be 0 or above"
                                                 : "--meter-close is below --meter-open"));
    }
    if (day.waterLevel && *day.waterLevel > day.closingLevel) {
        return Unexpected(std::string("--water is above --stick"));
    }
    return day;
}

}  // namespace

Status recordDay(const Request& request, const Context& context) {
    const auto opened = openGaugedTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const auto day = dayOf(request, opened->gauged.lengthUnit);
    if (!day) {
        return context.complain(day.error(), kBookBadInput);
    }
    Store& store = *opened->store;
    const std::string& tank = opened->tank.name;
    std::optional<std::string> refused;
    bool corrected = false;
    // Checked with the day's deliveries under the lock that records it.
    const auto done = store.together([&]() -> Expected<void, std::string> {
        auto deliveries = store.deliveries(tank, day->date);
        if (!deliveries) {
            return Unexpected(deliveries.error());
        }
        Day checked = *day;
        checked.deliveries = *std::move(deliveries);
        refused = refusedDay(checked, opened->limits());
        if (refused) {
            return Unexpected(*refused);
        }
        const auto recorded = store.recordDay(tank, *day);
        if (!recorded) {
            return Unexpected(recorded.error());
        }
        corrected = *recorded;
        return {};
    });
    if (!done) {
        return context.complain(done.error(), refused ? kBookBadInput : kBookWriteFailed);
    }
    context.out << (corrected ? "corrected " : "recorded ") << day->date << '\n';
    return kBookDone;
}

namespace {

Expected<Delivery, std::string> deliveryOf(const Options& options, LengthUnit unit) {
    if (auto failure = require(options, {"--bill", "--before", "--after"})) {
        return Unexpected(*failure);
    }
    std::optional<double> bill, before, after, during;
    Delivery delivery;
    auto failure = readNumbers(options, {{"--before", &before}, {"--after", &after}}, unit);
    if (!failure) {
        failure = readNumbers(options, {{"--bill", &bill},
                                        {"--bill-temperature", &delivery.billTemperature},
                                        {"--temperature-before", &delivery.temperatureBefore},
                                        {"--temperature-after", &delivery.temperatureAfter},
                                        {"--pumped-during", &during}});
    }
    if (failure) {
        return Unexpected(*failure);
    }
    if (!(*bill > 0) || during.value_or(0) < 0) {
        return Unexpected(std::string(*bill > 0 ? "--pumped-during must be 0 or above"
                                                : "--bill must be above 0"));
    }
    delivery.billVolume = *bill;
    delivery.billNet = options.flags.contains("--bill-net");
    delivery.levelBefore = *before;
    delivery.levelAfter = *after;
    delivery.pumpedDuring = during.value_or(0);
    return delivery;
}

// "--correct N" or "--withdraw N": the day's Nth delivery, 1 being the first recorded.
Expected<std::size_t, std::string> deliveryNumber(const Options& options, std::string_view name,
                                                  std::size_t recorded) {
    const auto value = optionalNumber(options.values, name);
    if (!value) {
        return Unexpected(value.error());
    }
    if (!*value) {
        return 0;
    }
    if (**value < 1 || **value != std::floor(**value) || **value > double(recorded)) {
        return Unexpected(
            std::string(name) + ": the day has " +
            (recorded == 1 ? "1 delivery" : std::to_string(recorded) + " deliveries"));
    }
    return static_cast<std::size_t>(**value);
}

// The day's delivery that the request corrects and the one it withdraws, 0 for none, with the
// deliveries recorded on the day when it names one.
struct Replacing {
    std::vector<Delivery> recorded;
    std::size_t correct = 0;
    std::size_t withdraw = 0;
};

Expected<Replacing, Status> replacingOf(const Request& request, const GaugedTank& opened,
                                        const std::string& date, const Context& context) {
    const bool replacing = request.options.has("--correct") || request.options.has("--withdraw");
    const auto recorded =
        replacing ? opened.store->deliveries(opened.tank.name, date) : std::vector<Delivery>();
    if (!recorded) {
        return Unexpected(context.complain(recorded.error(), kBookWriteFailed));
    }
    const auto correct = deliveryNumber(request.options, "--correct", recorded->size());
    const auto withdraw = deliveryNumber(request.options, "--withdraw", recorded->size());
    if (!correct || !withdraw) {
        return Unexpected(
            context.complain(correct ? withdraw.error() : correct.error(), kBookBadInput));
    }
    return Replacing{*recorded, *correct, *withdraw};
}

// Takes back the delivery `replacing` withdraws; the request gives it no values.
Status withdrawDelivery(const Request& request, const GaugedTank& opened, const std::string& date,
                        const Replacing& replacing, const Context& context) {
    if (replacing.correct || hasAny(request.options, {"--bill", "--bill-net", "--bill-temperature",
                                                      "--before", "--after", "--temperature-before",
                                                      "--temperature-after", "--pumped-during"})) {
        return context.complain("--withdraw takes no delivery's values", kBookBadInput);
    }
    const std::size_t number = replacing.withdraw;
    if (auto done = opened.store->correctDelivery(opened.tank.name, date, number, std::nullopt);
        !done) {
        return context.complain(done.error(), kBookWriteFailed);
    }
    context.out << "withdrew delivery " << number << " of " << date << '\n';
    return kBookDone;
}

// Records the delivery, or its correction of the day's delivery `correct`, checked against its
// day, when that is recorded, under the lock that records it; what it measured against its bill.
Expected<book::DeliveryCheck, Status> writeDelivery(const GaugedTank& opened,
                                                    const std::string& date,
                                                    const Delivery& delivery, std::size_t correct,
                                                    const Context& context) {
    Store& store = *opened.store;
    const std::string& tank = opened.tank.name;
    std::optional<std::string> refused;
    std::optional<book::DeliveryCheck> check;
    const auto done = store.together([&]() -> Expected<void, std::string> {
        const auto days = store.days(tank);
        if (!days) {
            return Unexpected(days.error());
        }
        const auto found = std::find_if(days->begin(), days->end(),
                                        [&](const Day& day) { return day.date == date; });
        const auto day = found == days->end() ? std::nullopt : std::optional<Day>(*found);
        if (const auto refusal = book::deliveryRefusal(delivery, day, opened.limits())) {
            refused = refusalText(*refusal);
            return Unexpected(*refused);
        }
        check = *book::checkDelivery(delivery, opened.gauged.gauge,
                                     day ? day->waterLevel : std::nullopt,
                                     day ? day->temperature : std::nullopt);
        return correct ? store.correctDelivery(tank, date, correct, delivery)
                       : store.addDelivery(tank, date, delivery);
    });
    if (!done) {
        return Unexpected(
            context.complain(done.error(), refused ? kBookBadInput : kBookWriteFailed));
    }
    return *check;
}

}  // namespace

// Prints the delivery as the month's report shows it, measured against its bill.
Status recordDelivery(const Request& request, const Context& context) {
    const std::string& date = request.positionals.at(1);
    if (!book::isDate(date)) {
        return context.complain("the date '" + date + "' is not a date YYYY-MM-DD", kBookBadInput);
    }
    const auto opened = openGaugedTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const auto replacing = replacingOf(request, *opened, date, context);
    if (!replacing) {
        return replacing.error();
    }
    if (replacing->withdraw) {
        return withdrawDelivery(request, *opened, date, *replacing, context);
    }
    const auto read = deliveryOf(request.options, opened->gauged.lengthUnit);
    if (!read) {
        return context.complain(read.error(), kBookBadInput);
    }
    Delivery delivery = *read;
    const std::size_t correct = replacing->correct;
    if (correct) {
        delivery = book::correctedDelivery(delivery, replacing->recorded.at(correct - 1),
                                           request.options.has("--temperature-before"),
                                           request.options.has("--temperature-after"));
    }
    const auto check = writeDelivery(*opened, date, delivery, correct, context);
    if (!check) {
        return check.error();
    }
    context.out << (correct ? "corrected " : "")
                << book::deliveryText(date, *check, headingOf(*opened, book::monthOf(date)));
    return kBookDone;
}

namespace {

// A tank the import names: the unit of its sticks and what the book refuses of its days.
struct ImportTank {
    LengthUnit unit;
    book::TankLimits limits;
};
using TankOf = std::function<Expected<const ImportTank*, std::string>(const std::string& name)>;

struct ImportFile {
    std::vector<book::ImportRow> rows;
    std::vector<int> lines;  // each row's line in the file
};

// The import's header: its columns by name, and how many it has.
struct Columns {
    std::map<std::string, std::size_t> index;
    std::size_t count = 0;
};

// The file's first line, without the byte-order mark a spreadsheet may write; it names at least
// the tank, the date and the stick.
Expected<Columns, std::string> columnsOf(QFile& file, const std::string& path) {
    QByteArray headerLine = file.readLine().trimmed();
    if (headerLine.startsWith("\xEF\xBB\xBF")) {
        headerLine.remove(0, 3);
    }
    const auto header = csvFields(headerLine.toStdString(), CsvQuotes::AtFieldStart);
    Columns columns;
    for (std::size_t i = 0; header && i < header->size(); ++i) {
        columns.index[(*header)[i]] = i;
    }
    for (const char* name : {"tank", "date", "stick"}) {
        if (!columns.index.contains(name)) {
            return Unexpected(path + ": the header has no column '" + name + "'");
        }
    }
    columns.count = header->size();
    return columns;
}

// A line's day as `day` reads it, each column other than the tank and the date given as the
// option of its name (meter_open as --meter-open), and checked on its own.
Expected<book::ImportRow, std::string> rowOf(const QByteArray& bytes, const Columns& columns,
                                             const TankOf& importTank) {
    const auto fields = csvFields(std::string(bytes.endsWith('\n') ? bytes.chopped(1) : bytes),
                                  CsvQuotes::AtFieldStart);
    if (!fields) {
        return Unexpected(std::string("a quoted field is not closed"));
    }
    if (fields->size() < columns.count) {
        return Unexpected(std::string("too few fields"));
    }
    Request request{{(*fields)[columns.index.at("tank")], (*fields)[columns.index.at("date")]}, {}};
    for (const auto& [name, index] : columns.index) {
        const std::string& value = (*fields)[index];
        if (name != "tank" && name != "date" && !value.empty()) {
            std::string option = "--" + name;
            std::replace(option.begin(), option.end(), '_', '-');
            request.options.values[option] = value;
        }
    }
    const std::string& name = request.positionals[0];
    const auto tank = importTank(name);
    auto day = tank ? dayOf(request, (*tank)->unit) : Unexpected(tank.error());
    const auto refused = day ? refusedDay(*day, (*tank)->limits) : day.error();
    if (refused) {
        return Unexpected(*refused);
    }
    return book::ImportRow{name, *std::move(day)};
}

// The import's rows, all read and checked before the book is touched: each day on its own, and
// each given once.
Expected<ImportFile, std::string> importRows(const std::string& path, const TankOf& importTank) {
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return Unexpected("cannot read " + path + ": " + file.errorString().toStdString());
    }
    const auto columns = columnsOf(file, path);
    if (!columns) {
        return Unexpected(columns.error());
    }
    ImportFile rows;
    std::map<std::pair<std::string, std::string>, int> given;
    for (int line = 2; !file.atEnd(); ++line) {
        const QByteArray bytes = file.readLine();
        if (bytes.trimmed().isEmpty()) {
            continue;
        }
        auto row = rowOf(bytes, *columns, importTank);
        if (!row) {
            return Unexpected(path + " line " + std::to_string(line) + ": " + row.error());
        }
        const auto [first, added] = given.emplace(std::pair{row->tank, row->day.date}, line);
        if (!added) {
            return Unexpected(path + ": lines " + std::to_string(first->second) + " and " +
                              std::to_string(line) + " both give " + row->tank + "'s " +
                              row->day.date + "; give each day once");
        }
        rows.rows.push_back(*std::move(row));
        rows.lines.push_back(line);
    }
    return rows;
}

// The first row the book refuses with the deliveries recorded on its day.
Expected<void, std::string> checkWithDeliveries(Store& store, const std::string& path,
                                                const ImportFile& file, const TankOf& importTank) {
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
        const book::ImportRow& row = file.rows[i];
        auto deliveries = store.deliveries(row.tank, row.day.date);
        if (!deliveries) {
            return Unexpected(deliveries.error());
        }
        if (deliveries->empty()) {
            continue;
        }
        Day checked = row.day;
        checked.deliveries = *std::move(deliveries);
        if (const auto refused = refusedDay(checked, (*importTank(row.tank))->limits)) {
            return Unexpected(path + " line " + std::to_string(file.lines[i]) + ": " + *refused);
        }
    }
    return {};
}

}  // namespace

Status importDays(const Request& request, const Context& context) {
    const std::string& path = request.positionals.at(0);
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    std::map<std::string, ImportTank> tanks;
    const TankOf importTank =
        [&](const std::string& name) -> Expected<const ImportTank*, std::string> {
        if (const auto it = tanks.find(name); it != tanks.end()) {
            return &it->second;
        }
        const auto settings = store->tank(name);
        const auto tank = settings ? book::gaugedTank(*settings) : Unexpected(settings.error());
        if (!tank) {
            return Unexpected(tank.error());
        }
        const ImportTank read{tank->lengthUnit, limitsOf(*settings, *tank)};
        return &tanks.emplace(name, read).first->second;
    };
    const auto rows = importRows(path, importTank);
    if (!rows) {
        return context.complain(rows.error(), kBookBadInput);
    }
    const std::size_t total = rows->rows.size();
    std::function<void(std::size_t)> progress;
    if (context.terminal) {
        progress = [&context, total](std::size_t done) {
            context.err << "\rimport: " << done << " of " << total << " days" << std::flush;
        };
    }
    bool refused = false;
    const auto done = store->together([&]() -> Expected<void, std::string> {
        if (auto checked = checkWithDeliveries(*store, path, *rows, importTank); !checked) {
            refused = true;
            return checked;
        }
        auto written = store->importDays(rows->rows, progress);
        if (!written) {
            return Unexpected(path + ": nothing imported: " + written.error());
        }
        return written;
    });
    if (context.terminal) {
        context.err << "\r\033[K" << std::flush;
    }
    if (!done) {
        return context.complain(done.error(), refused ? kBookBadInput : kBookWriteFailed);
    }
    context.out << "imported " << total << (total == 1 ? " day\n" : " days\n");
    return kBookDone;
}

}  // namespace brimwell::bookcli
