// brimwell-tank: a tank's reading, the level for a volume, and charts, from the command line.

#include <QFile>
#include <iostream>
#include <string>
#include <vector>

#include "cli/tankoptions.h"
#include "cli/tankoutput.h"
#include "tank/chartfile.h"

namespace {

constexpr int kWritten = 0;
constexpr int kWriteFailed = 1;
constexpr int kBadInput = 2;

int complain(std::string_view message, int status) {
    std::cerr << "brimwell-tank: " << message << '\n';
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brimwell;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto command = parseTankArguments(args);
    if (!command) {
        return complain(command.error(), kBadInput);
    }
    if (command->help) {
        std::cout << kTankUsage;
        return kWritten;
    }
    if (command->version) {
        std::cout << "brimwell-tank " BRIMWELL_VERSION "\n";
        return kWritten;
    }
    const auto tank = buildTank(command->tank);
    if (!tank) {
        return complain(tank.error(), kBadInput);
    }
    // Everything is checked before the output is touched.
    ContentWriter writer;
    std::string answer;
    LevelChartLayout chart;
    if (command->subcommand == Subcommand::Chart) {
        auto layout = chartLayout(*tank, *command);
        if (!layout) {
            return complain(layout.error(), kBadInput);
        }
        chart = *std::move(layout);
        writer = blockWriter(
            [&](const ChartSink& sink) { return streamLevelChart(*tank, chart, sink); });
    } else {
        auto text = answerText(*tank, *command);
        if (!text) {
            return complain(text.error(), kBadInput);
        }
        answer = *std::move(text);
        writer = blockWriter([&](const ChartSink& sink) { return sink(answer); });
    }
    const bool toStandardOutput = !command->output || *command->output == "-";
    const auto written = toStandardOutput
                             ? writeStandardOutput(writer)
                             : saveFile(QFile::decodeName(command->output->c_str()), writer);
    if (!written) {
        const std::string target = toStandardOutput ? "standard output" : *command->output;
        return complain("cannot write " + target + ": " + written.error().toStdString(),
                        kWriteFailed);
    }
    return kWritten;
}
