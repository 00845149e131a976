// brimwell-book report and worksheet: a month's pages, or the blank daily worksheet, as a PDF
// file or on the default printer.

#include <QFile>

#include "book/month.h"
#include "bookreport/monthlayout.h"
#include "bookreport/reportoutput.h"
#include "bookreport/reportread.h"
#include "cli/bookcommand.h"

namespace brimwell::bookcli {
namespace {

// --output FILE or --print, exactly one.
Expected<std::optional<QString>, std::string> destinationOf(const Options& options) {
    const bool print = options.flags.contains("--print");
    if (print == options.has("--output")) {
        return Unexpected(std::string("give --output FILE.pdf or --print"));
    }
    if (print) {
        return std::optional<QString>();
    }
    const std::string& file = options.values.at("--output");
    if (file.empty()) {
        return Unexpected(std::string("--output needs a file name"));
    }
    return std::optional<QString>(QFile::decodeName(file.c_str()));
}

Status deliver(const bookreport::Document& document, const std::optional<QString>& file,
               const Context& context) {
    if (file) {
        if (auto written = bookreport::writePdf(document, *file); !written) {
            return context.complain(written.error().toStdString(), kBookWriteFailed);
        }
        return kBookDone;
    }
    const auto printer = context.printer ? context.printer(document.title)
                                         : bookreport::defaultPrinter(document.title);
    if (!printer) {
        return context.complain(
            "nothing was printed: there is no default printer, or it is "
            "stopped",
            kBookWriteFailed);
    }
    if (auto printed = bookreport::printDocument(document, *printer); !printed) {
        return context.complain("nothing was printed: " + printed.error().toStdString(),
                                kBookWriteFailed);
    }
    return kBookDone;
}

Expected<std::string, std::string> monthOf(const std::string& month) {
    if (!book::isMonth(month)) {
        return Unexpected("the month '" + month + "' is not a month YYYY-MM");
    }
    return month;
}

Expected<std::vector<bookreport::TankReport>, std::string> oneTank(book::Store& store,
                                                                   const std::string& tank,
                                                                   const std::string& month) {
    auto report = bookreport::readTankReport(store, tank, month);
    if (!report) {
        return Unexpected(report.error());
    }
    return std::vector<bookreport::TankReport>{*std::move(report)};
}

}  // namespace

Status printReport(const Request& request, const Context& context) {
    const bool all = request.options.flags.contains("--all");
    if (request.positionals.size() != (all ? 1U : 2U)) {
        return context.complain("report: give TANK YYYY-MM, or --all YYYY-MM", kBookBadInput);
    }
    const auto month = monthOf(request.positionals.back());
    const auto file = destinationOf(request.options);
    if (!month || !file) {
        return context.complain(month ? file.error() : month.error(), kBookBadInput);
    }
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    if (!all) {
        if (const Status named = checkTankName(*store, request.positionals.front(), context);
            named != kBookDone) {
            return named;
        }
    }
    const auto tanks = all ? bookreport::readSiteReport(*store, *month)
                           : oneTank(*store, request.positionals.front(), *month);
    if (!tanks) {
        return context.complain(tanks.error(), kBookWriteFailed);
    }
    if (tanks->empty()) {
        return context.complain("the book has no tank", kBookBadInput);
    }
    const auto frame = bookreport::frameOf(*store, context.bookPath);
    if (!frame) {
        return context.complain(frame.error(), kBookWriteFailed);
    }
    return deliver(bookreport::monthDocument(*tanks, *frame), *file, context);
}

Status printWorksheet(const Request& request, const Context& context) {
    const auto month = monthOf(request.positionals.at(1));
    const auto file = destinationOf(request.options);
    if (!month || !file) {
        return context.complain(month ? file.error() : month.error(), kBookBadInput);
    }
    const auto opened = openGaugedTank(request, context);
    if (!opened) {
        return opened.error();
    }
    const auto& [store, tank, gauged] = *opened;
    const auto frame = bookreport::frameOf(*store, context.bookPath);
    if (!frame) {
        return context.complain(frame.error(), kBookWriteFailed);
    }
    return deliver(
        bookreport::worksheetDocument(tank, gauged.lengthUnit, gauged.volumeUnit, *month, *frame),
        *file, context);
}

}  // namespace brimwell::bookcli
