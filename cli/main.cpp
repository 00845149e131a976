// brimwell-chart: writes a tank chart from the command line.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "chartoptions.h"
#include "chartparams.h"
#include "chartstream.h"

namespace {

constexpr int kBadInput = 2;
constexpr int kWriteFailed = 1;

class StderrReporter : public brimwell::FailureReporter {
public:
    void reportFailure(std::string_view message) override {
        std::cerr << "brimwell-chart: " << message << '\n';
    }
};

void writeChart(const brimwell::TankChartParams& params, brimwell::FailureReporter& reporter,
                std::ostream& out) {
    brimwell::StreamTankChart(params, reporter, [&out](std::string_view block) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        return static_cast<bool>(out);
    });
}

// Writes to a temporary file beside the target and renames it over the target only when the
// whole chart is written, so an existing file is never left half-written. A target that is a
// device or a pipe is written directly: renaming over it would replace it.
int writeChartFile(const brimwell::TankChartParams& chart, brimwell::FailureReporter& reporter,
                   const std::filesystem::path& target) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto status = fs::status(target, error);
    const bool special = fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
    std::random_device random;
    const fs::path destination =
        special ? target : fs::path(target).concat(".tmp" + std::to_string(random() % 1000000));
    bool written = false;
    {
        std::ofstream out(destination, std::ios::binary | std::ios::trunc);
        if (out) {
            writeChart(chart, reporter, out);
            out.flush();
            written = static_cast<bool>(out);
        }
    }
    if (written && !special) {
        fs::rename(destination, target, error);
    }
    if (!written || error) {
        if (!special) {
            fs::remove(destination, error);
        }
        std::cerr << "brimwell-chart: cannot write " << target.string() << '\n';
        return kWriteFailed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = brimwell::ParseChartArguments(args);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        std::cerr << "brimwell-chart: " << *problem << '\n';
        return kBadInput;
    }
    const auto& command = std::get<brimwell::ChartCommand>(parsed);
    if (command.help) {
        std::cout << brimwell::kChartUsage;
        return 0;
    }
    const auto params = brimwell::DeriveChartParams(command.request);
    if (const auto* refusal = std::get_if<brimwell::ChartRefusal>(&params)) {
        std::cerr << "brimwell-chart: " << brimwell::DescribeRefusal(*refusal, command.request) << '\n';
        return kBadInput;
    }
    StderrReporter reporter;
    const auto& chart = std::get<brimwell::TankChartParams>(params);
    if (command.output) {
        return writeChartFile(chart, reporter, *command.output);
    }
    std::ios::sync_with_stdio(false);
    std::freopen(nullptr, "wb", stdout);
    writeChart(chart, reporter, std::cout);
    std::cout.flush();
    return std::cout ? 0 : kWriteFailed;
}
