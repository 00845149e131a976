// brimwell-book's reports: a month's figures, the days' and deliveries' earlier values, the days
// as import reads them, and the check of every stored record.

#include <array>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "book/monthcsv.h"
#include "book/monthservice.h"
#include "cli/bookcommand.h"
#include "cli/unitwords.h"

namespace brimwell::bookcli {

using book::BookTank;
using book::Day;
using book::ReportFormat;
using book::Store;
using book::TankSettings;

namespace {

// Each record of the tank that the book would refuse today, as "TANK DATE: reason".
Expected<std::vector<std::string>, std::string> refusedRecords(Store& store,
                                                               const TankSettings& tank,
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
    const book::TankLimits limits = book::limitsOf(tank, gauged);
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

// The month's deliveries or totals of the tank: its rows, none when it has no day in the month;
// or the status of the failure, told on standard error.
Expected<std::string, Status> monthRows(Store& store, const std::string& name,
                                        const std::string& month, bool deliveries,
                                        const Context& context) {
    const auto tank = store.tank(name);
    if (!tank) {
        return Unexpected(context.complain(tank.error(), kBookWriteFailed));
    }
    const auto gauged = book::gaugedTank(*tank);
    if (!gauged) {
        return Unexpected(context.complain(name + ": " + gauged.error(), kBookBadInput));
    }
    const auto read = book::readTankMonth(store, *tank, *gauged, month);
    if (!read) {
        return Unexpected(context.complain(read.error(), kBookWriteFailed));
    }
    if (read->records.days.empty()) {
        return std::string();
    }
    if (!read->report) {
        return Unexpected(context.complain(name + ": " + read->report.error(), kBookBadInput));
    }
    const book::MonthCsvHeading heading{name, month, std::string(unitWord(gauged->volumeUnit)),
                                        std::string(unitWord(gauged->lengthUnit))};
    return deliveries ? book::deliveriesCsvRows(read->records.days, *read->report, heading)
                      : book::totalsCsvRow(*read->report, heading);
}

// export --deliveries or --totals --month YYYY-MM: the month's rows of the tank or of every tank,
// written once all are worked out.
Status exportMonth(Store& store, const std::vector<std::string>& names, const Request& request,
                   const Context& context) {
    const auto& flags = request.options.flags;
    const bool deliveries = flags.contains("--deliveries");
    if (deliveries && flags.contains("--totals")) {
        return context.complain("--deliveries and --totals: give only one", kBookBadInput);
    }
    const auto month = request.options.values.find("--month");
    if (month == request.options.values.end() || !book::isMonth(month->second)) {
        return context.complain(
            std::string(deliveries ? "--deliveries" : "--totals") + " needs --month YYYY-MM",
            kBookBadInput);
    }
    std::string rows = deliveries ? book::kDeliveriesCsvHeader : book::kTotalsCsvHeader;
    rows += '\n';
    for (const std::string& name : names) {
        const auto tankRows = monthRows(store, name, month->second, deliveries, context);
        if (!tankRows) {
            return tankRows.error();
        }
        rows += *tankRows;
    }
    context.out << rows;
    return kBookDone;
}

}  // namespace

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
    context.out << book::monthReport(*report, headingOf(*opened, month), *format, read->chart);
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
        context.out << book::kDeliveryHistoryHeader << '\n';
        for (const book::DeliveryCorrection& change : *changes) {
            context.out << book::deliveryHistoryRow(tank, change);
        }
        return kBookDone;
    }
    const auto corrections = store->history(tank);
    if (!corrections) {
        return context.complain(corrections.error(), kBookWriteFailed);
    }
    // The day's columns as export writes them, then who read the stick.
    context.out << "changed_at," << book::kDayCsvHeader << ",initials\n";
    for (const book::DayCorrection& correction : *corrections) {
        std::string row = book::dayCsvRow(tank, correction.before);
        row.pop_back();
        context.out << correction.changedAt << ',' << row << ','
                    << book::csvField(correction.before.initials) << '\n';
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
    if (request.options.flags.contains("--deliveries") ||
        request.options.flags.contains("--totals")) {
        return exportMonth(*store, *names, request, context);
    }
    if (request.options.has("--month")) {
        return context.complain("--month goes with --deliveries or --totals", kBookBadInput);
    }
    // Written once every day is read: a book that fails part-way gives no rows at all.
    std::ostringstream rows;
    rows << book::kDayCsvHeader << '\n';
    for (const std::string& name : *names) {
        const auto days = store->days(name);
        if (!days) {
            return context.complain(days.error(), kBookWriteFailed);
        }
        for (const Day& day : *days) {
            rows << book::dayCsvRow(name, day);
        }
    }
    context.out << rows.str();
    return kBookDone;
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
        return context.complain(
            context.bookPath.toStdString() + " is damaged; restore it from a copy",
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
        const auto gauged = book::bookTank(*tank);
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

}  // namespace brimwell::bookcli
