#include "cli/bookcommand.h"

#include <algorithm>
#include <array>

#include "cli/unitwords.h"

namespace brimwell::bookcli {

namespace {

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
                                              "--pumped-during",
                                              "--initials"};

}  // namespace

std::unique_ptr<book::Store> Context::open() const {
    auto store = book::Store::open(bookPath, access);
    if (!store) {
        complain(store.error().message, kBookWriteFailed);
        return nullptr;
    }
    return *std::move(store);
}

Status checkTankName(book::Store& store, const std::string& name, const Context& context) {
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

book::ReportHeading headingOf(const GaugedTank& opened, const std::string& month) {
    const book::TankSettings& tank = opened.tank;
    return {tank.name,
            tank.product.name,
            month,
            std::string(unitWord(opened.gauged.volumeUnit)),
            std::string(unitWord(opened.gauged.lengthUnit)),
            tank.product.celsius ? "C" : "F"};
}

std::string refusalText(const book::Refusal& refusal) {
    if (!refusal.field) {
        return refusal.reason;
    }
    return std::string(kFieldOptions[static_cast<std::size_t>(*refusal.field)]) + ": " +
           refusal.reason;
}

std::optional<std::string> refusedDay(const book::Day& day, const book::TankLimits& tank) {
    if (const auto refusal = book::dayRefusal(day, tank)) {
        return refusalText(*refusal);
    }
    if (!day.pumped && !day.meterOpen) {
        return std::string("the volume pumped is missing: give --pumped 0 if nothing was pumped");
    }
    return std::nullopt;
}

Expected<book::ReportFormat, std::string> formatOf(const Options& options) {
    constexpr std::array<std::string_view, 3> kWords{"text", "csv", "json"};
    return wordOption(options.values, "--format", kWords, book::ReportFormat::Text);
}

}  // namespace brimwell::bookcli
