#pragma once

// What brimwell-book's subcommands share: the request they run, where they write, the book and
// tank they open, and how they name what the book refuses. Only cli/'s book files include this.

#include <QString>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "book/booktank.h"
#include "book/reportformat.h"
#include "book/store.h"
#include "book/validation.h"
#include "cli/bookcli.h"
#include "cli/options.h"

namespace brimwell::bookcli {

using Status = int;

struct Context {
    std::ostream& out;
    std::ostream& err;
    bool terminal;
    QString bookPath;
    // Reading commands only read the book, so that a book that cannot be written is still read.
    book::Access access = book::Access::Write;
    PrinterSource printer;  // empty: the printed pages' own look-up

    Status complain(const std::string& message, Status status) const {
        err << "brimwell-book: " << message << '\n';
        return status;
    }
    // The book, or the reason it cannot be opened, told on standard error.
    std::unique_ptr<book::Store> open() const;
};

struct Request {
    std::vector<std::string> positionals;
    Options options;
};

// Whether the book has a tank of that name; a name it lacks is bad input, while a book that
// cannot be read is a failure of the book.
Status checkTankName(book::Store& store, const std::string& name, const Context& context);

// The book and the tank the request names first, or the status of the failure, told on standard
// error.
struct OpenedTank {
    std::unique_ptr<book::Store> store;
    book::TankSettings tank;
};
Expected<OpenedTank, Status> openTank(const Request& request, const Context& context);

// The same with the tank's gauge: its volumes and its units.
struct GaugedTank {
    std::unique_ptr<book::Store> store;
    book::TankSettings tank;
    book::BookTank gauged;

    book::TankLimits limits() const { return book::limitsOf(tank, gauged); }
};
Expected<GaugedTank, Status> openGaugedTank(const Request& request, const Context& context);

// The heading of the tank's report on `month`, YYYY-MM.
book::ReportHeading headingOf(const GaugedTank& opened, const std::string& month);

// --format: text (the default), csv or json.
Expected<book::ReportFormat, std::string> formatOf(const Options& options);

// What the book refuses, named by the option that gives the value it is about.
std::string refusalText(const book::Refusal& refusal);

// What the book refuses of a day, with the deliveries recorded on it; and a day that does not
// say what was pumped, which would count as nothing pumped.
std::optional<std::string> refusedDay(const book::Day& day, const book::TankLimits& tank);

// A subcommand: it runs the request, writes its answer on `context.out` and tells a failure on
// `context.err`; the exit status.
using Command = Status(const Request& request, const Context& context);

// The tank subcommands (booktankcommands.cpp).
Command tankAdd, tankEdit, tankList, tankShow, tankRemove;
// Recording days and deliveries, and importing days (bookrecordcommands.cpp).
Command recordDay, recordDelivery, importDays;
// The reports: month, history, export and check (bookreportcommands.cpp).
Command month, history, exportDays, checkBook;
// The site's name and address, shown or set (booksitecommand.cpp).
Command site;
// The leak test of a month or a range of days (bookleakcommand.cpp).
Command testForLeaks;
// A month's printed report and the blank daily worksheet (bookprintcommands.cpp).
Command printReport, printWorksheet;

}  // namespace brimwell::bookcli
