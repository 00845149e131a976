#pragma once

// What the command lines share at their end: the exit statuses, the one line on standard error,
// and writing the output to a file or to standard output.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tank/chartfile.h"

namespace brimwell {

inline constexpr int kWritten = 0;
inline constexpr int kWriteFailed = 1;
inline constexpr int kBadInput = 2;

// Writes "program: message" on standard error; returns `status`.
int complain(std::string_view program, std::string_view message, int status);

// For --help the usage and for --version the version, with kWritten; empty when neither was asked.
std::optional<int> answerHelpOrVersion(std::string_view program, std::string_view usage, bool help,
                                       bool version);

// Reads the arguments with `parse`: answers a bad command line with kBadInput and the reason on
// standard error, and --help and --version on standard output; hands any other command to `run`,
// whose status it returns.
template <typename Parse, typename Run>
int runCommand(std::string_view program, std::string_view usage, int argc, char** argv,
               const Parse& parse, const Run& run) {
    const auto command = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!command) {
        return complain(program, command.error(), kBadInput);
    }
    if (const auto status = answerHelpOrVersion(program, usage, command->help, command->version)) {
        return *status;
    }
    return run(*command);
}

// Writes to the file named, replacing it only once all is written, or to standard output when no
// file or "-" is named: kWritten, or kWriteFailed with the reason on standard error.
int writeOutput(std::string_view program, const std::optional<std::string>& output,
                const ContentWriter& writer);

}  // namespace brimwell
