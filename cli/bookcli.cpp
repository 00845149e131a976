#include "cli/bookcli.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>

#include "book/correction.h"
#include "book/changes.h"
#include "book/defaultbook.h"
#include "book/month.h"
#include "book/monthservice.h"
#include "book/store.h"
#include "book/validation.h"
#include "book/reportformat.h"
#include "book/booktank.h"
#include "cli/options.h"
#include "cli/tankoptions.h"
#include "cli/tankoutput.h"
#include "cli/unitwords.h"
#include "model/geometry/calibrationchart.h"
#include "model/geometry/stickreading.h"
#include "model/window/numbertext.h"

namespace brimwell {

const char* const kBookUsage =
    "Usage: brimwell-book [--book FILE] SUBCOMMAND ...\n"
    "       brimwell-book tank add NAME TANK --opening H [PRODUCT] [RULES]\n"
    "       brimwell-book tank edit NAME [--name NEW] [TANK] [--opening H] [PRODUCT] [RULES]\n"
    "       brimwell-book tank list | tank show NAME | tank remove NAME\n"
    "       brimwell-book day TANK DATE --stick H [--water W] [--temperature T]\n"
    "                     (--pumped V | --meter-open A --meter-close B)\n"
    "       brimwell-book delivery TANK DATE --bill V [--bill-net] [--bill-temperature T]\n"
    "                     --before H --after H [--temperature-before T --temperature-after T]\n"
    "                     [--pumped-during V] [--correct N]\n"
    "       brimwell-book delivery TANK DATE --withdraw N\n"
    "       brimwell-book import FILE\n"
    "       brimwell-book month TANK YYYY-MM [--format text|csv|json]\n"
    "       brimwell-book history TANK [--deliveries]\n"
    "       brimwell-book export [TANK]\n"
    "       brimwell-book check\n"
    "       brimwell-book --help | --version\n"
    "       brimwell-book [--book FILE]         opens the book's window\n"
    "\n"
    "The book is an SQLite file, by default in the user's data folder; --book FILE names another.\n"
    "A new book is readable by its owner only. DATE is written exactly YYYY-MM-DD, one\n"
    "operating day.\n"
    "\n"
    "TANK is brimwell-tank's shape: --diameter D --length L [--orientation horizontal|vertical]\n"
    "  [--heads ...] [--head-depth A] [--crown F --knuckle K] [--units U] [--volume V], or\n"
    "  --calibration FILE, the tank's own chart, which the book keeps. Levels are in --units,\n"
    "  as a stick is read (75.625, 75 5/8 in inches, 6'3-5/8\"), volumes in --volume.\n"
    "  --opening H    the stick before the book's first day\n"
    "  --safe-fill P  percent of the capacity, default 90\n"
    "PRODUCT: --product NAME and brimwell-tank's correction without --temperature:\n"
    "  --correction linear --coefficient CE [--reference R] | 6B --api-gravity G |\n"
    "  54B --density D | 6C|54C --alpha A; --temperature-unit F|C. Default: no correction.\n"
    "RULES, each month is checked against all that are given:\n"
    "  --percent P --allowance A  |variance| within P % of the flow-through plus A (default\n"
    "                 1.0 and 130 gallons, converted to the volume unit: 492.1 litres);\n"
    "                 --percent none drops this rule\n"
    "  --short-days N --short-total X  fails on N or more consecutive short days whose\n"
    "                 shortages total at least X\n"
    "  --water-limit W  marks, and fails, each day whose water cut is above W\n"
    "\n"
    "tank edit  replaces what its options give: the shape (all of it), the product name, the\n"
    "         correction (all of it), each kind of rule given, the opening, the safe fill;\n"
    "         --name renames. A change of units takes --opening and the rules again. The\n"
    "         days stay as recorded and are worked out anew from the changed tank\n"
    "tank remove  removes a tank with nothing on record; one with recorded days is kept\n"
    "day      records a day's closing stick, or corrects a recorded day: its earlier values\n"
    "         are kept with the time of the change (see history); give --pumped 0 if\n"
    "         nothing was pumped. The water cut lies under the day's deliveries: it may\n"
    "         not be above a delivery's stick before or after\n"
    "delivery records a delivery on a day and prints it measured against its bill;\n"
    "         --correct N replaces the day's Nth delivery (1 the first recorded; its\n"
    "         temperatures before and after stay unless given) and\n"
    "         --withdraw N takes it back, each keeping its earlier values (see history)\n"
    "history  the days' earlier values, or with --deliveries the deliveries'\n"
    "import   a CSV of days with the header tank,date,stick and any of water,temperature,\n"
    "         pumped,meter_open,meter_close, each day once and each with its pumped\n"
    "         volume or meters; all rows or none are written\n"
    "month    each day's book inventory (opening + delivered - pumped) and over/short\n"
    "         (closing - book), each delivery checked, the flow-through, the cumulative\n"
    "         over/short and each rule's figures and verdict\n"
    "export   every day of the tank (or of all tanks) as import reads them\n"
    "check    SQLite's check of every page, then each stored record the book would refuse\n"
    "         today, named by tank and date (exit 4 when it lists any)\n"
    "\n"
    "Numbers are read with \".\" as the decimal point. Sticks and water cuts are 0 to the\n"
    "tank's height; volumes pumped, billed and pumped during a delivery 0 to 1000000000;\n"
    "meter totals 0 to 1000000000000; temperatures -60 to 300 F or -50 to 150 C; --percent\n"
    "0 to 100 and --allowance 0 to 1000000000. A record the month could not work out is\n"
    "refused.\n"
    "Exit status: 0 done; 1 the book could not be opened, read or written, or is damaged;\n"
    "2 bad input, nothing written; 4 the month fails a rule (check: records found).\n";

namespace {

using book::BookTank;
using book::bookTank;
using book::Day;
using book::defaultAllowance;
using book::Delivery;
using book::dayCsvRow;
using book::deliveryHistoryRow;
using book::kDayCsvHeader;
using book::kDeliveryHistoryHeader;
using book::limitsOf;
using book::monthReport;
using book::ReportFormat;
using book::ReportHeading;
using book::Store;
using book::TankSettings;
using Status = int;

constexpr std::string_view kGeometry[] = {
    "--orientation", "--heads",  "--head-depth", "--crown",  "--knuckle",
    "--diameter",    "--length", "--units",      "--volume", "--calibration"};
constexpr std::string_view kCorrectionOptions[] = {
    "--correction", "--coefficient", "--reference",       "--api-gravity",
    "--density",    "--alpha",       "--temperature-unit"};

struct Context {
    std::ostream& out;
    std::ostream& err;
    bool terminal;
    QString bookPath;
    // Reading commands only read the book, so that a book that cannot be written is still read.
    book::Access access = book::Access::Write;

    Status complain(const std::string& message, Status status) const {
        err << "brimwell-book: " << message << '\n';
        return status;
    }
    // The book, or the reason it cannot be opened, told on standard error.
    std::unique_ptr<Store> open() const {
        auto store = Store::open(bookPath, access);
        if (!store) {
            complain(store.error().message, kBookWriteFailed);
            return nullptr;
        }
        return *std::move(store);
    }
};

struct Request {
    std::vector<std::string> positionals;
    Options options;
};

// Reads each named option into its place; the first error, if any.
std::optional<std::string> readNumbers(
    const Options& options,
    std::initializer_list<std::pair<std::string_view, std::optional<double>*>> into,
    std::optional<LengthUnit> levels = {}) {
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
        rules.emplace_back(
            book::PercentRule{percent.value_or(1.0), allowance.value_or(defaultAllowance(unit))});
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

// The option that gives each book::Field, in its order.
constexpr std::string_view kFieldOptions[] = {"--stick",
                                              "--water",
                                              "--temperature",
                                              "--pumped",
                                              "--meter-open",
                                              "--meter-close",
                                              "--bill",
                                              "--bill-temperature",
                                              "--before",
                                              "--after",
                                              "--temperature-before",
                                              "--temperature-after",
                                              "--pumped-during"};

std::string refusalText(const book::Refusal& refusal) {
    if (!refusal.field) {
        return refusal.reason;
    }
    return std::string(kFieldOptions[static_cast<std::size_t>(*refusal.field)]) + ": " +
           refusal.reason;
}

// What the book refuses of a day, with the deliveries recorded on it; and a day that does not
// say what was pumped, which would count as nothing pumped.
std::optional<std::string> refusedDay(const Day& day, const book::TankLimits& tank) {
    if (const auto refusal = book::dayRefusal(day, tank)) {
        return refusalText(*refusal);
    }
    if (!day.pumped && !day.meterOpen) {
        return std::string("the volume pumped is missing: give --pumped 0 if nothing was pumped");
    }
    return std::nullopt;
}

bool hasAny(const Options& options, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view name) { return options.has(name); });
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
        if (!adding && (shape->lengthUnit != units.lengthUnit ||
                        shape->volumeUnit != units.volumeUnit)) {
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

// The tank's settings as the options give them; see readTankParts.
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

Status tankAdd(const Request& request, const Context& context) {
    TankSettings blank;
    blank.name = request.positionals.at(0);
    const auto tank = settingsOf(request.options, true, blank);
    if (!tank) {
        return context.complain(tank.error(), kBookBadInput);
    }
    if (auto checked = bookTank(*tank); !checked) {
        return context.complain(checked.error(), kBookBadInput);
    }
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    if (auto done = store->addTank(*tank); !done) {
        return context.complain(done.error(), kBookWriteFailed);
    }
    return kBookDone;
}

Status tankList(const Request&, const Context& context) {
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    const auto names = store->tankNames();
    if (!names) {
        return context.complain(names.error(), kBookWriteFailed);
    }
    for (const auto& name : *names) {
        context.out << name << '\n';
    }
    return kBookDone;
}

// The book and the tank the request names first, or the status of the failure, told on standard
// error.
struct OpenedTank {
    std::unique_ptr<Store> store;
    TankSettings tank;
};

// Whether the book has a tank of that name; a name it lacks is bad input, while a book that
// cannot be read is a failure of the book.
Status checkTankName(Store& store, const std::string& name, const Context& context) {
    const auto names = store.tankNames();
    if (!names) {
        return context.complain(names.error(), kBookWriteFailed);
    }
    if (std::find(names->begin(), names->end(), name) == names->end()) {
        return context.complain("no tank named '" + name + "' in the book", kBookBadInput);
    }
    return kBookDone;
}

Expected<OpenedTank, Status> openTank(const Request& request, const Context& context) {
    auto store = context.open();
    if (!store) {
        return Unexpected(kBookWriteFailed);
    }
    const std::string& name = request.positionals.at(0);
    if (const Status named = checkTankName(*store, name, context); named != kBookDone) {
        return Unexpected(named);
    }
    auto tank = store->tank(name);
    if (!tank) {
        return Unexpected(context.complain(tank.error(), kBookWriteFailed));
    }
    return OpenedTank{std::move(store), *std::move(tank)};
}

// The recorded days the tank cannot work out, the first few named with their reasons.
std::optional<std::string> daysRefused(const std::vector<Day>& days, const book::TankLimits& tank) {
    constexpr std::size_t kNamed = 3;
    std::string named;
    std::size_t count = 0;
    for (const Day& day : days) {
        if (const auto refusal = book::dayRefusal(day, tank)) {
            if (++count <= kNamed) {
                named += (count > 1 ? "; " : "") + day.date + ": " + refusalText(*refusal);
            }
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    if (count > kNamed) {
        named += "; and " + std::to_string(count - kNamed) + " more days";
    }
    return "the changed tank cannot work out its recorded days: " + named;
}

// The options given replace the stored ones; the days stay as recorded and are worked out anew,
// so a change that leaves one of them outside the tank is refused.
Status tankEdit(const Request& request, const Context& context) {
    const auto opened = openTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const auto tank = settingsOf(request.options, false, opened->tank);
    if (!tank) {
        return context.complain(tank.error(), kBookBadInput);
    }
    const auto changed = bookTank(*tank);
    if (!changed) {
        return context.complain(changed.error(), kBookBadInput);
    }
    Store& store = *opened->store;
    bool writing = false;
    const auto done = store.together([&]() -> Expected<void, std::string> {
        if (book::reworksDays(opened->tank, *tank)) {
            const book::DateRange all = book::everyDay();
            const auto records = store.month(opened->tank.name, all.first, all.last);
            if (!records) {
                return Unexpected(records.error());
            }
            if (auto refused = daysRefused(records->days, limitsOf(*tank, *changed))) {
                return Unexpected(*refused);
            }
        }
        writing = true;
        return store.updateTank(opened->tank.name, *tank);
    });
    if (!done) {
        return context.complain(done.error(), writing ? kBookWriteFailed : kBookBadInput);
    }
    context.out << "changed " << tank->name << '\n';
    return kBookDone;
}

// The same with the tank's gauge: its volumes and its units.
struct GaugedTank {
    std::unique_ptr<Store> store;
    TankSettings tank;
    BookTank gauged;

    book::TankLimits limits() const { return limitsOf(tank, gauged); }
};

Expected<GaugedTank, Status> openGaugedTank(const Request& request, const Context& context) {
    auto opened = openTank(request, context);
    if (!opened) {
        return Unexpected(opened.error());
    }
    OpenedTank taken = *std::move(opened);
    auto gauge = book::gaugedTank(taken.tank);
    if (!gauge) {
        return Unexpected(context.complain(gauge.error(), kBookBadInput));
    }
    return GaugedTank{std::move(taken.store), std::move(taken.tank), *std::move(gauge)};
}

// The heading of the tank's report on `month`, YYYY-MM.
ReportHeading headingOf(const GaugedTank& opened, const std::string& month) {
    const TankSettings& tank = opened.tank;
    return {tank.name,
            tank.product.name,
            month,
            std::string(unitWord(opened.gauged.volumeUnit)),
            std::string(unitWord(opened.gauged.lengthUnit)),
            tank.product.celsius ? "C" : "F"};
}

Status tankShow(const Request& request, const Context& context) {
    const auto opened = openTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const TankSettings& tank = opened->tank;
    const book::Product& product = tank.product;
    std::string text = "name:        " + tank.name + "\nshape:       " + shapeOptionsText(tank.shape) +
                       "\nproduct:     " + product.name + "\ncorrection:  ";
    const bool linear = product.correction == book::Correction::Linear;
    if (!book::hasCorrection(product)) {
        text += "none";
    } else {
        text += std::string(correctionWord(product.correction)) + " " +
                plainText(product.value) + (linear ? " from " + plainText(product.reference) : "");
    }
    text += product.celsius ? " (°C)\nsafe fill:   " : " (°F)\nsafe fill:   ";
    appendPlain(text, tank.safeFill);
    text += " %\nopening:     ";
    appendPlain(text, tank.openingLevel.value_or(0));
    text += "\n";
    const auto volume = std::string(unitWord(tank.shape.volumeUnit));
    const auto length = std::string(unitWord(tank.shape.lengthUnit));
    for (const book::Rule& rule : tank.rules) {
        text += "rule:        " + book::ruleName(rule, volume, length) + "\n";
    }
    context.out << text;
    return kBookDone;
}

// A tank with a record is kept: the book refuses to remove it, which is bad input here.
Status tankRemove(const Request& request, const Context& context) {
    const auto opened = openTank(request, context);
    if (!opened) {
        return opened.error();
    }
    Store& store = *opened->store;
    const std::string& name = opened->tank.name;
    bool kept = false;
    const auto done = store.together([&]() -> Expected<void, std::string> {
        const auto history = store.deliveryHistory(name);
        if (!history) {
            return Unexpected(history.error());
        }
        // All its days with their deliveries; a delivery still waiting for its day fails it.
        const book::DateRange all = book::everyDay();
        const auto records = store.month(name, all.first, all.last);
        kept = !records || !records->days.empty() || !history->empty();
        return store.removeTank(name);
    });
    if (!done) {
        return context.complain(done.error(), kept ? kBookBadInput : kBookWriteFailed);
    }
    return kBookDone;
}

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

Status withdrawDelivery(Store& store, const std::string& tank, const std::string& date,
                        std::size_t number, const Context& context) {
    if (auto done = store.correctDelivery(tank, date, number, std::nullopt); !done) {
        return context.complain(done.error(), kBookWriteFailed);
    }
    context.out << "withdrew delivery " << number << " of " << date << '\n';
    return kBookDone;
}

Status recordDelivery(const Request& request, const Context& context) {
    const std::string& date = request.positionals.at(1);
    if (!book::isDate(date)) {
        return context.complain("the date '" + date + "' is not a date YYYY-MM-DD", kBookBadInput);
    }
    const auto opened = openGaugedTank(request, context);
    if (!opened) {
        return opened.error();
    }
    // Named one by one, since the changes below capture them.
    const std::unique_ptr<Store>& store = opened->store;
    const TankSettings& tank = opened->tank;
    const BookTank& gauged = opened->gauged;
    const bool replacing = request.options.has("--correct") || request.options.has("--withdraw");
    const auto recorded =
        replacing ? store->deliveries(tank.name, date) : std::vector<book::Delivery>();
    if (!recorded) {
        return context.complain(recorded.error(), kBookWriteFailed);
    }
    const auto correct = deliveryNumber(request.options, "--correct", recorded->size());
    const auto withdraw = deliveryNumber(request.options, "--withdraw", recorded->size());
    if (!correct || !withdraw) {
        return context.complain(correct ? withdraw.error() : correct.error(), kBookBadInput);
    }
    if (*withdraw) {
        if (*correct || hasAny(request.options, {"--bill", "--bill-net", "--bill-temperature",
                                                 "--before", "--after", "--temperature-before",
                                                 "--temperature-after", "--pumped-during"})) {
            return context.complain("--withdraw takes no delivery's values", kBookBadInput);
        }
        return withdrawDelivery(*store, tank.name, date, *withdraw, context);
    }
    const auto read = deliveryOf(request.options, gauged.lengthUnit);
    if (!read) {
        return context.complain(read.error(), kBookBadInput);
    }
    book::Delivery delivery = *read;
    if (*correct) {
        delivery = book::correctedDelivery(delivery, recorded->at(*correct - 1),
                                           request.options.has("--temperature-before"),
                                           request.options.has("--temperature-after"));
    }
    // Checked against its day, when that is recorded, under the lock that records it.
    std::optional<std::string> refused;
    std::optional<book::DeliveryCheck> check;
    const auto done = store->together([&]() -> Expected<void, std::string> {
        const auto days = store->days(tank.name);
        if (!days) {
            return Unexpected(days.error());
        }
        const auto found = std::find_if(days->begin(), days->end(),
                                        [&](const Day& day) { return day.date == date; });
        const auto day = found == days->end() ? std::nullopt : std::optional<Day>(*found);
        if (const auto refusal = book::deliveryRefusal(delivery, day, opened->limits())) {
            refused = refusalText(*refusal);
            return Unexpected(*refused);
        }
        check = *book::checkDelivery(delivery, gauged.gauge, day ? day->waterLevel : std::nullopt,
                                     day ? day->temperature : std::nullopt);
        return *correct ? store->correctDelivery(tank.name, date, *correct, delivery)
                        : store->addDelivery(tank.name, date, delivery);
    });
    if (!done) {
        return context.complain(done.error(), refused ? kBookBadInput : kBookWriteFailed);
    }
    book::DayFigures day;
    day.date = date;
    day.deliveries.push_back(*check);
    book::MonthReport single;
    single.days.push_back(day);
    const std::string report =
        monthReport(single, headingOf(*opened, date.substr(0, 7)), ReportFormat::Text);
    const auto start = report.find("  delivery");
    context.out << (*correct ? "corrected " : "")
                << report.substr(start + 2, report.find('\n', start) - start - 1);
    return kBookDone;
}

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

// The import's rows, all read and checked before the book is touched: each day on its own, and
// each given once.
Expected<ImportFile, std::string> importRows(const std::string& path, const TankOf& importTank) {
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return Unexpected("cannot read " + path + ": " + file.errorString().toStdString());
    }
    QByteArray headerLine = file.readLine().trimmed();
    if (headerLine.startsWith("\xEF\xBB\xBF")) {
        headerLine.remove(0, 3);  // the byte-order mark a spreadsheet may write
    }
    const auto header = csvFields(headerLine.toStdString(), CsvQuotes::AtFieldStart);
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; header && i < header->size(); ++i) {
        columns[(*header)[i]] = i;
    }
    for (const char* name : {"tank", "date", "stick"}) {
        if (!columns.contains(name)) {
            return Unexpected(path + ": the header has no column '" + name + "'");
        }
    }
    ImportFile rows;
    std::map<std::pair<std::string, std::string>, int> given;
    for (int line = 2; !file.atEnd(); ++line) {
        const QByteArray bytes = file.readLine();
        if (bytes.trimmed().isEmpty()) {
            continue;
        }
        const auto fields = csvFields(std::string(bytes.endsWith('\n') ? bytes.chopped(1) : bytes),
                                      CsvQuotes::AtFieldStart);
        if (!fields) {
            return Unexpected(path + " line " + std::to_string(line) +
                              ": a quoted field is not closed");
        }
        if (fields->size() < header->size()) {
            return Unexpected(path + " line " + std::to_string(line) + ": too few fields");
        }
        Request request{{(*fields)[columns.at("tank")], (*fields)[columns.at("date")]}, {}};
        for (const auto& [name, index] : columns) {
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
            return Unexpected(path + " line " + std::to_string(line) + ": " + *refused);
        }
        const auto [first, added] = given.emplace(std::pair{name, day->date}, line);
        if (!added) {
            return Unexpected(path + ": lines " + std::to_string(first->second) + " and " +
                              std::to_string(line) + " both give " + name + "'s " + day->date +
                              "; give each day once");
        }
        rows.rows.push_back({name, *std::move(day)});
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
    context.out << "imported " << total << " days\n";
    return kBookDone;
}

Expected<ReportFormat, std::string> formatOf(const Options& options) {
    constexpr std::array<std::string_view, 3> kWords{"text", "csv", "json"};
    return wordOption(options.values, "--format", kWords, ReportFormat::Text);
}

Status month(const Request& request, const Context& context) {
    const std::string& month = request.positionals.at(1);
    if (!book::isMonth(month)) {
        return context.complain("the month '" + month + "' is not a month YYYY-MM", kBookBadInput);
    }
    const auto format = formatOf(request.options);
    if (!format) {
        return context.complain(format.error(), kBookBadInput);
    }
    const auto opened = openGaugedTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const auto& [store, tank, gauged] = *opened;
    const auto read = book::readTankMonth(*store, tank, gauged, month);
    if (!read) {
        return context.complain(read.error(), kBookWriteFailed);
    }
    if (read->records.days.empty()) {
        return context.complain(tank.name + " has no day recorded in " + month, kBookBadInput);
    }
    const auto& report = read->report;
    if (!report) {
        return context.complain(report.error(), kBookBadInput);
    }
    context.out << monthReport(*report, headingOf(*opened, month), *format);
    return report->met() ? kBookDone : kBookRuleFailed;
}

Status history(const Request& request, const Context& context) {
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    const std::string& tank = request.positionals.at(0);
    if (const Status named = checkTankName(*store, tank, context); named != kBookDone) {
        return named;
    }
    if (request.options.flags.contains("--deliveries")) {
        const auto changes = store->deliveryHistory(tank);
        if (!changes) {
            return context.complain(changes.error(), kBookWriteFailed);
        }
        context.out << kDeliveryHistoryHeader << '\n';
        for (const book::DeliveryCorrection& change : *changes) {
            context.out << deliveryHistoryRow(tank, change);
        }
        return kBookDone;
    }
    const auto corrections = store->history(tank);
    if (!corrections) {
        return context.complain(corrections.error(), kBookWriteFailed);
    }
    context.out << "changed_at," << kDayCsvHeader << '\n';
    for (const book::DayCorrection& correction : *corrections) {
        context.out << correction.changedAt << ',' << dayCsvRow(tank, correction.before);
    }
    return kBookDone;
}

Status exportDays(const Request& request, const Context& context) {
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    if (!request.positionals.empty()) {
        if (const Status named = checkTankName(*store, request.positionals[0], context);
            named != kBookDone) {
            return named;
        }
    }
    auto names = request.positionals.empty() ? store->tankNames()
                                             : std::vector<std::string>{request.positionals[0]};
    if (!names) {
        return context.complain(names.error(), kBookWriteFailed);
    }
    // Written once every day is read: a book that fails part-way gives no rows at all.
    std::ostringstream rows;
    rows << kDayCsvHeader << '\n';
    for (const std::string& name : *names) {
        const auto days = store->days(name);
        if (!days) {
            return context.complain(days.error(), kBookWriteFailed);
        }
        for (const Day& day : *days) {
            rows << dayCsvRow(name, day);
        }
    }
    context.out << rows.str();
    return kBookDone;
}

// Each record of the tank that the book would refuse today, as "TANK DATE: reason".
Expected<std::vector<std::string>, std::string> refusedRecords(Store& store, const TankSettings& tank,
                                                               const BookTank& gauged) {
    const auto read = store.days(tank.name);
    const auto deliveries = store.allDeliveries(tank.name);
    if (!read || !deliveries) {
        return Unexpected(read ? deliveries.error() : read.error());
    }
    std::vector<Day> days = *read;
    std::map<std::string, Day*> byDate;
    for (Day& day : days) {
        byDate[day.date] = &day;
    }
    std::vector<std::string> found;
    for (const auto& [date, delivery] : *deliveries) {
        if (const auto day = byDate.find(date); day != byDate.end()) {
            day->second->deliveries.push_back(delivery);
        } else {
            found.push_back(tank.name + " " + date +
                            ": a delivery without the day's closing stick; record the day");
        }
    }
    const book::TankLimits limits = limitsOf(tank, gauged);
    for (const Day& day : days) {
        const std::string where = tank.name + " " + day.date + ": ";
        if (!book::isDate(day.date)) {
            found.push_back(where + "the date is not written YYYY-MM-DD, so no month counts it");
        } else if (auto refused = refusedDay(day, limits)) {
            found.push_back(where + *refused);
        }
    }
    return found;
}

// SQLite's check of every page and index, then every stored row that the book would refuse
// today, each named so that it can be corrected.
Status checkBook(const Request&, const Context& context) {
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    const auto damage = store->integrityProblems();
    if (!damage) {
        return context.complain(damage.error(), kBookWriteFailed);
    }
    for (const std::string& problem : *damage) {
        context.out << "damaged: " << problem << '\n';
    }
    if (!damage->empty()) {
        return context.complain(context.bookPath.toStdString() +
                                    " is damaged; restore it from a copy",
                                kBookWriteFailed);
    }
    const auto names = store->tankNames();
    if (!names) {
        return context.complain(names.error(), kBookWriteFailed);
    }
    std::size_t refused = 0;
    for (const std::string& name : *names) {
        const auto tank = store->tank(name);
        if (!tank) {
            return context.complain(tank.error(), kBookWriteFailed);
        }
        const auto gauged = bookTank(*tank);
        if (!gauged) {
            context.out << name << ": " << gauged.error() << " (its days are not checked)\n";
            ++refused;
            continue;
        }
        const auto found = refusedRecords(*store, *tank, *gauged);
        if (!found) {
            return context.complain(found.error(), kBookWriteFailed);
        }
        for (const std::string& line : *found) {
            context.out << line << '\n';
        }
        refused += found->size();
    }
    context.out << "pages: whole\nrecords the book would refuse today: " << refused << '\n';
    return refused == 0 ? kBookDone : kBookRuleFailed;
}

bool isReading(std::string_view words) {
    return words == "tank list" || words == "tank show" || words == "month" ||
           words == "history" || words == "export" || words == "check";
}

struct Subcommand {
    std::string_view words;  // "tank add"
    std::size_t positionals;
    std::size_t optionalPositionals;
    std::vector<std::string_view> known;
    std::vector<std::string_view> flags;
    Status (*run)(const Request&, const Context&);
};

// The options that describe a tank, as tank add and tank edit take them, and `more`.
std::vector<std::string_view> tankOptions(std::initializer_list<std::string_view> more = {}) {
    std::vector<std::string_view> options(more);
    options.insert(options.end(), std::begin(kGeometry), std::end(kGeometry));
    options.insert(options.end(), std::begin(kCorrectionOptions), std::end(kCorrectionOptions));
    options.insert(options.end(),
                   {"--product", "--safe-fill", "--opening", "--percent", "--allowance",
                    "--short-days", "--short-total", "--water-limit"});
    return options;
}

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> all{
        {"tank add", 1, 0, tankOptions(), {}, tankAdd},
        {"tank edit", 1, 0, tankOptions({"--name"}), {}, tankEdit},
        {"tank list", 0, 0, {}, {}, tankList},
        {"tank show", 1, 0, {}, {}, tankShow},
        {"tank remove", 1, 0, {}, {}, tankRemove},
        {"day",
         2,
         0,
         {"--stick", "--water", "--temperature", "--pumped", "--meter-open", "--meter-close"},
         {},
         recordDay},
        {"delivery",
         2,
         0,
         {"--bill", "--bill-temperature", "--before", "--after", "--temperature-before",
          "--temperature-after", "--pumped-during", "--correct", "--withdraw"},
         {"--bill-net"},
         recordDelivery},
        {"import", 1, 0, {}, {}, importDays},
        {"month", 2, 0, {"--format"}, {}, month},
        {"history", 1, 0, {}, {"--deliveries"}, history},
        {"export", 0, 1, {}, {}, exportDays},
        {"check", 0, 0, {}, {}, checkBook},
    };
    return all;
}

// The subcommand its first words name, and the rest of the arguments.
std::pair<const Subcommand*, std::vector<std::string>> findSubcommand(
    const std::vector<std::string>& args) {
    for (const Subcommand& subcommand : subcommands()) {
        const bool two = subcommand.words.find(' ') != std::string_view::npos;
        const std::string words = two && args.size() >= 2 ? args[0] + " " + args[1]
                                  : args.empty()          ? ""
                                                          : args[0];
        if (words == subcommand.words) {
            return {&subcommand, {args.begin() + (two ? 2 : 1), args.end()}};
        }
    }
    return {nullptr, args};
}

// "--book FILE" or "--book=FILE" anywhere on the line, taken out of it.
Expected<std::optional<std::string>, std::string> takeBook(std::vector<std::string>& args) {
    std::optional<std::string> book;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool joined = args[i].starts_with("--book=");
        if (args[i] != "--book" && !joined) {
            continue;
        }
        if (book) {
            return Unexpected(std::string("--book is given twice"));
        }
        if (!joined && i + 1 == args.size()) {
            return Unexpected(std::string("--book needs a file name"));
        }
        book = joined ? args[i].substr(7) : args[i + 1];
        args.erase(args.begin() + i, args.begin() + i + (joined ? 1 : 2));
        --i;
    }
    if (book && book->empty()) {
        return Unexpected(std::string("--book needs a file name"));
    }
    return book;
}

}  // namespace

int runBook(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
            bool terminal) {
    std::vector<std::string> args = arguments;
    Context context{out, err, terminal, {}};
    const auto book = takeBook(args);
    if (!book) {
        return context.complain(book.error(), kBookBadInput);
    }
    context.bookPath = *book ? QFile::decodeName((*book)->c_str()) : book::defaultBookPath();
    const auto [subcommand, rest] = findSubcommand(args);
    if (!subcommand) {
        const auto general = readOptions(args, {});
        if (args.empty() || (general && general->help)) {
            out << kBookUsage;
            return kBookDone;
        }
        if (general && general->version) {
            out << "brimwell-book " << BRIMWELL_VERSION << '\n';
            return kBookDone;
        }
        if (args[0] == "tank") {
            return context.complain("tank needs add, edit, list, show or remove (see --help)",
                                    kBookBadInput);
        }
        return context.complain("unknown subcommand '" + args[0] + "' (see --help)", kBookBadInput);
    }
    Request request;
    std::size_t i = 0;
    const std::size_t most = subcommand->positionals + subcommand->optionalPositionals;
    for (; i < rest.size() && request.positionals.size() < most && !rest[i].starts_with("--");
         ++i) {
        request.positionals.push_back(rest[i]);
    }
    auto options =
        readOptions({rest.begin() + i, rest.end()}, subcommand->known, subcommand->flags);
    if (!options) {
        return context.complain(options.error(), kBookBadInput);
    }
    if (options->help) {
        out << kBookUsage;
        return kBookDone;
    }
    if (request.positionals.size() < subcommand->positionals) {
        return context.complain(std::string(subcommand->words) + ": " +
                                    (subcommand->words == "import" ? "the file" : "the tank") +
                                    " is missing (see --help)",
                                kBookBadInput);
    }
    request.options = *std::move(options);
    if (isReading(subcommand->words)) {
        context.access = book::Access::Read;
    }
    return subcommand->run(request, context);
}

}  // namespace brimwell
