#include "cli/bookcli.h"

#include <QFile>
#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/defaultbook.h"
#include "cli/bookcommand.h"
#include "cli/booktankoptions.h"
#include "cli/options.h"

namespace brimwell {

namespace {

using bookcli::Context;
using bookcli::Request;

bool isReading(std::string_view words) {
    return words == "tank list" || words == "tank show" || words == "month" || words == "history" ||
           words == "export" || words == "check" || words == "report" || words == "worksheet";
}

struct Subcommand {
    std::string_view words;  // "tank add"
    std::size_t positionals;
    std::size_t optionalPositionals;
    std::vector<std::string_view> known;
    std::vector<std::string_view> flags;
    bookcli::Command* run;
};

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> all{
        {"tank add", 1, 0, bookcli::tankOptions(), {}, bookcli::tankAdd},
        {"tank edit", 1, 0, bookcli::tankOptions({"--name", "--meter-factor", "--from"}), {}, bookcli::tankEdit},
        {"tank list", 0, 0, {}, {}, bookcli::tankList},
        {"tank show", 1, 0, {}, {}, bookcli::tankShow},
        {"tank remove", 1, 0, {}, {}, bookcli::tankRemove},
        {"day",
         2,
         0,
         {"--stick", "--water", "--temperature", "--pumped", "--meter-open", "--meter-close",
          "--initials"},
         {},
         bookcli::recordDay},
        {"delivery",
         2,
         0,
         {"--bill", "--bill-temperature", "--before", "--after", "--temperature-before",
          "--temperature-after", "--pumped-during", "--correct", "--withdraw"},
         {"--bill-net"},
         bookcli::recordDelivery},
        {"import", 1, 0, {}, {}, bookcli::importDays},
        {"month", 2, 0, {"--format"}, {}, bookcli::month},
        {"history", 1, 0, {}, {"--deliveries"}, bookcli::history},
        {"export", 0, 1, {"--month"}, {"--deliveries", "--totals"}, bookcli::exportDays},
        {"site", 0, 0, {"--name", "--address"}, {}, bookcli::site},
        {"check", 0, 0, {}, {}, bookcli::checkBook},
        {"leak-test", 1, 1, {"--from", "--to", "--format"}, {}, bookcli::testForLeaks},
        {"report", 1, 1, {"--output"}, {"--all", "--print"}, bookcli::printReport},
        {"worksheet", 2, 0, {"--output"}, {"--print"}, bookcli::printWorksheet},
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

bool bookDrawsPages(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    if (!takeBook(args) || args.empty()) {
        return false;
    }
    return args.front() == "report" || args.front() == "worksheet";
}

int runBook(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
            bool terminal, PrinterSource printer) {
    std::vector<std::string> args = arguments;
    Context context{out, err, terminal, {}, book::Access::Write, std::move(printer)};
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
    // A flag may stand among the positionals: report --all YYYY-MM.
    std::vector<std::string> flags;
    for (; i < rest.size() && request.positionals.size() < most; ++i) {
        const bool flag = std::find(subcommand->flags.begin(), subcommand->flags.end(), rest[i]) !=
                          subcommand->flags.end();
        if (!flag && rest[i].starts_with("--")) {
            break;
        }
        (flag ? flags : request.positionals).push_back(rest[i]);
    }
    flags.insert(flags.end(), rest.begin() + i, rest.end());
    auto options = readOptions(flags, subcommand->known, subcommand->flags);
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
    if (isReading(subcommand->words) ||
        (subcommand->words == "site" && request.options.values.empty())) {
        context.access = book::Access::Read;
    }
    return subcommand->run(request, context);
}

}  // namespace brimwell
