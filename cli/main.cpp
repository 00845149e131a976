// brimwell-chart: writes a tank chart from the command line.

#include <string>

#include "cli/chartoptions.h"
#include "cli/commandoutput.h"
#include "tank/chartfile.h"
#include "tank/chartparams.h"

namespace {

constexpr std::string_view kProgram = "brimwell-chart";
constexpr int kVolumesFailed = 3;

// Names each level whose volume could not be computed, once.
class LevelNamingReporter : public brimwell::FailureReporter {
public:
    void reportFailure(std::string_view message) override {
        brimwell::complain(kProgram, message, 0);
        failed = true;
    }
    void reportLevelFailure(std::string_view level, std::string_view) override {
        if (level != lastLevel_) {
            brimwell::complain(
                kProgram, "level " + std::string(level) + " in: the volume cannot be computed", 0);
            lastLevel_ = level;
        }
        failed = true;
    }
    bool failed = false;

private:
    std::string lastLevel_;
};

int writeChart(const brimwell::ChartCommand& command) {
    using namespace brimwell;
    const auto params = deriveChartParams(command.request);
    if (!params) {
        return complain(kProgram, describeRefusal(params.error(), command.request), kBadInput);
    }
    LevelNamingReporter reporter;
    const int status = writeOutput(kProgram, command.output, tankChartWriter(*params, reporter));
    return status == kWritten && reporter.failed ? kVolumesFailed : status;
}

}  // namespace

int main(int argc, char** argv) {
    return brimwell::runCommand(kProgram, brimwell::kChartUsage, argc, argv,
                                brimwell::parseChartArguments, writeChart);
}
