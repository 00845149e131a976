#pragma once

// brimwell-book's command line: the subcommands that keep a tank book and check its months.
// Testable in-process; bookmain.cpp only hands it the arguments and the standard streams.

#include <QPrinter>
#include <QString>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace brimwell {

// Exit statuses.
inline constexpr int kBookDone = 0;
inline constexpr int kBookWriteFailed = 1;
inline constexpr int kBookBadInput = 2;
inline constexpr int kBookRuleFailed = 4;
inline constexpr int kBookInconclusive = 5;  // a leak test without a pass or a fail

// The default printer for a job of that name, or none when it is missing or takes no jobs.
using PrinterSource = std::function<std::unique_ptr<QPrinter>(const QString& jobName)>;

// Runs the command line `args` (without the program's name). `terminal`: standard error is a
// terminal, which is then shown an import's progress. `printer` finds the default printer; when
// not given, Qt's default printer unless it is missing or stopped.
int runBook(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal, PrinterSource printer = {});

// Whether the command line draws pages (report, worksheet), which needs Qt's GUI application
// and fonts where the other subcommands need only its core.
bool bookDrawsPages(const std::vector<std::string>& args);

extern const char* const kBookUsage;

}  // namespace brimwell
