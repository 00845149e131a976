// brimwell-chart: writes a tank chart from the command line.

#include <QFile>
#include <iostream>
#include <string>
#include <vector>

#include "cli/chartoptions.h"
#include "tank/chartfile.h"
#include "tank/chartparams.h"

namespace {

constexpr int kWritten = 0;
constexpr int kWriteFailed = 1;
constexpr int kBadInput = 2;
constexpr int kVolumesFailed = 3;

void complain(std::string_view message) { std::cerr << "brimwell-chart: " << message << '\n'; }

// Names each level whose volume could not be computed, once.
class LevelNamingReporter : public brimwell::FailureReporter {
public:
    void reportFailure(std::string_view message) override {
        complain(message);
        failed = true;
    }
    void reportLevelFailure(std::string_view level, std::string_view) override {
        if (level != lastLevel_) {
            complain("level " + std::string(level) + " in: the volume cannot be computed");
            lastLevel_ = level;
        }
        failed = true;
    }
    bool failed = false;

private:
    std::string lastLevel_;
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto command = brimwell::parseChartArguments(args);
    if (!command) {
        complain(command.error());
        return kBadInput;
    }
    if (command->help) {
        std::cout << brimwell::kChartUsage;
        return kWritten;
    }
    if (command->version) {
        std::cout << "brimwell-chart " BRIMWELL_VERSION "\n";
        return kWritten;
    }
    const auto params = brimwell::deriveChartParams(command->request);
    if (!params) {
        complain(brimwell::describeRefusal(params.error(), command->request));
        return kBadInput;
    }
    LevelNamingReporter reporter;
    const auto writer = brimwell::tankChartWriter(*params, reporter);
    const bool toStandardOutput = !command->output || *command->output == "-";
    const auto written = toStandardOutput
                             ? brimwell::writeStandardOutput(writer)
                             : brimwell::saveFile(QFile::decodeName(command->output->c_str()), writer);
    if (!written) {
        const std::string target = toStandardOutput ? "standard output" : *command->output;
        complain("cannot write " + target + ": " + written.error().toStdString());
        return kWriteFailed;
    }
    return reporter.failed ? kVolumesFailed : kWritten;
}
