// brimwell-book leak-test: the statistical leak test of a tank's month, or of a range of days.

#include "book/leakreport.h"
#include "book/leaktest.h"
#include "book/month.h"
#include "cli/bookcommand.h"
#include "cli/booktankoptions.h"

namespace brimwell::bookcli {
namespace {

// The period asked for: a calendar month, or --from and --to.
struct Period {
    std::string month;  // empty for a range
    std::string first;
    std::string last;
    int days = 0;
};

Expected<Period, std::string> periodOf(const Request& request) {
    const Options& options = request.options;
    const bool range = options.has("--from") || options.has("--to");
    if (range == (request.positionals.size() > 1)) {
        return Unexpected(std::string("give the month YYYY-MM, or --from DATE --to DATE"));
    }
    if (!range) {
        const std::string& month = request.positionals.at(1);
        if (!book::isMonth(month)) {
            return Unexpected("the month '" + month + "' is not a month YYYY-MM");
        }
        return Period{month, month + "-01", month + "-" + std::to_string(book::daysInMonth(month)),
                      book::daysInMonth(month)};
    }
    if (auto missing = require(options, {"--from", "--to"})) {
        return Unexpected(*missing);
    }
    const std::string& first = options.values.at("--from");
    const std::string& last = options.values.at("--to");
    for (const std::string& date : {first, last}) {
        if (!book::isDate(date)) {
            return Unexpected("the date '" + date + "' is not a date YYYY-MM-DD");
        }
    }
    if (last < first) {
        return Unexpected(std::string("--to must not come before --from"));
    }
    return Period{"", first, last,
                  static_cast<int>(book::dayNumber(last) - book::dayNumber(first) + 1)};
}

// The period's records, and for a calendar month the month's before, read as one.
struct PeriodRecords {
    book::MonthRecords period;
    book::MonthRecords previous;
};

Expected<PeriodRecords, std::string> readPeriod(book::Store& store, const std::string& tank,
                                                const Period& period) {
    PeriodRecords read;
    const auto done = store.reading([&]() -> Expected<void, std::string> {
        auto records = store.month(tank, period.first, period.last);
        if (!records) {
            return Unexpected(records.error());
        }
        read.period = *std::move(records);
        if (period.month.empty()) {
            return {};
        }
        const book::DateRange before = book::monthDates(book::previousMonth(period.month));
        auto previous = store.month(tank, before.first, before.last);
        if (!previous) {
            return Unexpected(previous.error());
        }
        read.previous = *std::move(previous);
        return {};
    });
    if (!done) {
        return Unexpected(done.error());
    }
    return read;
}

// The verdict of the month before, when the book holds days of it.
std::optional<book::LeakVerdict> previousVerdict(const PeriodRecords& records,
                                                 const GaugedTank& opened,
                                                 const std::string& month) {
    if (month.empty() || records.previous.days.empty()) {
        return std::nullopt;
    }
    const std::string previous = book::previousMonth(month);
    const auto test = book::leakTest(records.previous, opened.tank, opened.gauged.gauge,
                                     {std::nullopt, std::nullopt, book::daysInMonth(previous)});
    return test ? std::optional(test->verdict) : std::optional(book::LeakVerdict::NoAnalysis);
}

// Keeps the result as issued now, unless the last issued for the period says the same; the
// results issued before that differ from it.
Expected<std::vector<book::IssuedLeakTest>, std::string> issue(book::Store& store,
                                                               const std::string& tank,
                                                               const book::LeakTest& test,
                                                               const Period& period) {
    std::vector<book::IssuedLeakTest> differing;
    const auto done = store.together([&]() -> Expected<void, std::string> {
        const auto issued = store.issuedLeakTests(tank, period.first, period.last);
        if (!issued) {
            return Unexpected(issued.error());
        }
        for (const book::IssuedLeakTest& each : *issued) {
            if (!book::sameResult(each, test)) {
                differing.push_back(each);
            }
        }
        if (!issued->empty() && book::sameResult(issued->back(), test)) {
            return {};
        }
        return store.keepLeakTest(tank, book::issuedForm(test, period.first, period.last));
    });
    if (!done) {
        return Unexpected(done.error());
    }
    return differing;
}

Status statusOf(book::LeakVerdict verdict) {
    switch (verdict) {
        case book::LeakVerdict::Pass:
            return kBookDone;
        case book::LeakVerdict::Fail:
            return kBookRuleFailed;
        case book::LeakVerdict::Inconclusive:
        case book::LeakVerdict::NoAnalysis:
            break;
    }
    return kBookInconclusive;
}

}  // namespace

Status testForLeaks(const Request& request, const Context& context) {
    const auto period = periodOf(request);
    const auto format = formatOf(request.options);
    if (!period || !format) {
        return context.complain(period ? format.error() : period.error(), kBookBadInput);
    }
    const auto opened = openGaugedTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const book::TankSettings& tank = opened->tank;
    const auto records = readPeriod(*opened->store, tank.name, *period);
    if (!records) {
        return context.complain(records.error(), kBookWriteFailed);
    }
    if (records->period.days.empty()) {
        return context.complain(tank.name + " has no day recorded from " + period->first +
                                    " to " + period->last,
                                kBookBadInput);
    }
    auto test = book::leakTest(records->period, tank, opened->gauged.gauge,
                               {std::nullopt, std::nullopt, period->days});
    if (!test) {
        return context.complain(test.error(), kBookBadInput);
    }
    auto issued = issue(*opened->store, tank.name, *test, *period);
    if (!issued) {
        return context.complain(issued.error(), kBookWriteFailed);
    }
    const book::LeakReport report{*test, previousVerdict(*records, *opened, period->month),
                                  *std::move(issued)};
    const book::LeakHeading heading{tank.name,
                                    tank.product.name,
                                    period->first,
                                    period->last,
                                    period->month,
                                    opened->gauged.volumeUnit,
                                    opened->gauged.lengthUnit};
    context.out << book::leakReport(report, heading, *format);
    return statusOf(test->verdict);
}

}  // namespace brimwell::bookcli
