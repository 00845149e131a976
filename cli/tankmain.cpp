// brimwell-tank: a tank's reading, the level for a volume, and charts, from the command line.

#include <string>

#include "cli/commandoutput.h"
#include "cli/tankoptions.h"
#include "cli/tankoutput.h"
#include "tank/chartfile.h"

namespace {

constexpr std::string_view kProgram = "brimwell-tank";

int answerCommand(const brimwell::TankCommand& command) {
    using namespace brimwell;
    const auto tank = buildTank(command.tank);
    if (!tank) {
        return complain(kProgram, tank.error(), kBadInput);
    }
    // Everything is checked before the output is touched.
    if (command.subcommand == Subcommand::Chart) {
        const auto layout = chartLayout(*tank, command);
        if (!layout) {
            return complain(kProgram, layout.error(), kBadInput);
        }
        return writeOutput(kProgram, command.output, blockWriter([&](const ChartSink& sink) {
                               return streamLevelChart(*tank, *layout, sink);
                           }));
    }
    const auto answer = answerText(*tank, command);
    if (!answer) {
        return complain(kProgram, answer.error(), kBadInput);
    }
    return writeOutput(kProgram, command.output,
                       blockWriter([&](const ChartSink& sink) { return sink(*answer); }));
}

}  // namespace

int main(int argc, char** argv) {
    return brimwell::runCommand(kProgram, brimwell::kTankUsage, argc, argv,
                                brimwell::parseTankArguments, answerCommand);
}
