#include "cli/commandoutput.h"

#include <QFile>
#include <iostream>

namespace brimwell {

int complain(std::string_view program, std::string_view message, int status) {
    std::cerr << program << ": " << message << '\n';
    return status;
}

std::optional<int> answerHelpOrVersion(std::string_view program, std::string_view usage, bool help,
                                       bool version) {
    if (help) {
        std::cout << usage;
    } else if (version) {
        std::cout << program << " " BRIMWELL_VERSION "\n";
    } else {
        return std::nullopt;
    }
    return kWritten;
}

int writeOutput(std::string_view program, const std::optional<std::string>& output,
                const ContentWriter& writer) {
    const bool toStandardOutput = !output || *output == "-";
    const auto written = toStandardOutput ? writeStandardOutput(writer)
                                          : saveFile(QFile::decodeName(output->c_str()), writer);
    if (!written) {
        const std::string target = toStandardOutput ? "standard output" : *output;
        return complain(program, "cannot write " + target + ": " + written.error().toStdString(),
                        kWriteFailed);
    }
    return kWritten;
}

}  // namespace brimwell
