// brimwell-tank: a tank's reading, the level for a volume, and charts, from the command line.

#include <string>
#include <vector>

#include "cli/commandoutput.h"
#include "cli/tankoptions.h"
#include "cli/tankoutput.h"
#include "tank/chartfile.h"

namespace {

constexpr std::string_view kProgram = "brimwell-tank";

}  // namespace

int main(int argc, char** argv) {
    using namespace brimwell;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto command = parseTankArguments(args);
    if (!command) {
        return complain(kProgram, command.error(), kBadInput);
    }
    if (const auto status =
            answerHelpOrVersion(kProgram, kTankUsage, command->help, command->version)) {
        return *status;
    }
    const auto tank = buildTank(command->tank);
    if (!tank) {
        return complain(kProgram, tank.error(), kBadInput);
    }
    // Everything is checked before the output is touched.
    if (command->subcommand == Subcommand::Chart) {
        const auto layout = chartLayout(*tank, *command);
        if (!layout) {
            return complain(kProgram, layout.error(), kBadInput);
        }
        return writeOutput(kProgram, command->output, blockWriter([&](const ChartSink& sink) {
                               return streamLevelChart(*tank, *layout, sink);
                           }));
    }
    const auto answer = answerText(*tank, *command);
    if (!answer) {
        return complain(kProgram, answer.error(), kBadInput);
    }
    return writeOutput(kProgram, command->output,
                       blockWriter([&](const ChartSink& sink) { return sink(*answer); }));
}
