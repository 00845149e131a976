// brimwell-book's tank subcommands: add, list, edit, show and remove.

#include <optional>
#include <string>
#include <vector>

#include "book/changes.h"
#include "book/meterfactor.h"
#include "book/month.h"
#include "cli/bookcommand.h"
#include "cli/booktankoptions.h"
#include "cli/tankoptions.h"
#include "cli/unitwords.h"
#include "model/text/numbertext.h"

namespace brimwell::bookcli {

using book::Day;
using book::Store;
using book::TankSettings;

namespace {

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

// tank edit NAME --meter-factor VALUE --from DATE: the factor in the book's own unit, a sign
// before it or none for over.
Status addMeterFactor(const Request& request, const Context& context) {
    const Options& options = request.options;
    if (options.values.size() != 2 || !options.flags.empty() || !options.has("--from")) {
        return context.complain("--meter-factor takes --from YYYY-MM-DD and no other option",
                                kBookBadInput);
    }
    Options number;
    const std::string& value = options.values.at("--meter-factor");
    number.values.emplace("--meter-factor", value.starts_with('+') ? value.substr(1) : value);
    std::optional<double> factor;
    if (auto failure = readNumbers(number, {{"--meter-factor", &factor}})) {
        return context.complain(*failure, kBookBadInput);
    }
    const auto opened = openTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const book::MeterFactor added{options.values.at("--from"), *factor,
                                  book::meterUnitFor(opened->tank.shape.volumeUnit)};
    if (auto refused = book::meterFactorRefusal(added, opened->tank.meterFactors)) {
        return context.complain(*refused, kBookBadInput);
    }
    if (auto done = opened->store->addMeterFactor(opened->tank.name, added); !done) {
        return context.complain(done.error(), kBookWriteFailed);
    }
    context.out << "meter factor " << plainText(added.value) << " "
                << book::meterUnitWord(added.unit) << " from " << added.from << '\n';
    return kBookDone;
}

}  // namespace

Status tankAdd(const Request& request, const Context& context) {
    TankSettings blank;
    blank.name = request.positionals.at(0);
    const auto tank = settingsOf(request.options, true, blank);
    if (!tank) {
        return context.complain(tank.error(), kBookBadInput);
    }
    if (auto checked = book::bookTank(*tank); !checked) {
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

// The options given replace the stored ones; the days stay as recorded and are worked out anew,
// so a change that leaves one of them outside the tank is refused.
Status tankEdit(const Request& request, const Context& context) {
    if (hasAny(request.options, {"--meter-factor", "--from"})) {
        return addMeterFactor(request, context);
    }
    const auto opened = openTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const auto tank = settingsOf(request.options, false, opened->tank);
    if (!tank) {
        return context.complain(tank.error(), kBookBadInput);
    }
    const auto changed = book::bookTank(*tank);
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
            if (auto refused = daysRefused(records->days, book::limitsOf(*tank, *changed))) {
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

Status tankShow(const Request& request, const Context& context) {
    const auto opened = openTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const TankSettings& tank = opened->tank;
    const book::Product& product = tank.product;
    std::string text = "name:        " + tank.name +
                       "\nshape:       " + shapeOptionsText(tank.shape) +
                       "\nproduct:     " + product.name + "\ncorrection:  ";
    const bool linear = product.correction == book::Correction::Linear;
    if (!book::hasCorrection(product)) {
        text += "none";
    } else {
        text += std::string(correctionWord(product.correction)) + " " + plainText(product.value) +
                (linear ? " from " + plainText(product.reference) : "");
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
    for (const book::MeterFactor& factor : tank.meterFactors) {
        text += "meter:       " + std::string(factor.value > 0 ? "+" : "") +
                plainText(factor.value) + " " + std::string(book::meterUnitWord(factor.unit)) +
                " from " + factor.from + "\n";
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
        kept = !records || !records->days.empty() || !history->empty() ||
               !opened->tank.meterFactors.empty();
        return store.removeTank(name);
    });
    if (!done) {
        return context.complain(done.error(), kept ? kBookBadInput : kBookWriteFailed);
    }
    return kBookDone;
}

}  // namespace brimwell::bookcli
