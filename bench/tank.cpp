// brimwell-tank's figures. A CSV chart of a flat 96 by 324 inch tank in 1,000,000 steps (1,000,001
// levels), saved to /tmp through the project's file writer, against saving the same bytes through
// it in one write, the two taking turns; the same chart for each of the other heads against the
// flat tank's, again taking turns; the peak memory of the installed-to-be command writing
// such a chart of 1,000 and of 1,000,000 steps; and the time of one `level` answer for each head,
// in-process; and a calibration chart of 100,000 rows read from its file, and a million lookups
// in it. Details go to standard error, the figures to standard output.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "cli/calibrationfile.h"
#include "cli/tankoptions.h"
#include "cli/tankoutput.h"
#include "tank/chartfile.h"

namespace {

constexpr int kChartRuns = 11;
constexpr int kHeadChartRuns = 7;
constexpr int kAnswerRuns = 2001;
constexpr int kCalibrationRows = 100'000;
constexpr int kCalibrationRuns = 11;
constexpr int kLookups = 1'000'000;

using brimwell::bench::median;
using brimwell::bench::millis;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "tank: %s\n", why.c_str());
    std::exit(1);
}

void check(const brimwell::SaveResult& saved) {
    if (!saved) {
        fail(saved.error().toStdString());
    }
}

brimwell::TankCommand command(const std::vector<std::string>& args) {
    auto parsed = brimwell::parseTankArguments(args);
    if (!parsed) {
        fail(parsed.error());
    }
    return *std::move(parsed);
}

brimwell::TankVolumes tankOf(const brimwell::TankCommand& command) {
    auto tank = brimwell::buildTank(command.tank);
    if (!tank) {
        fail(tank.error());
    }
    return *std::move(tank);
}

std::vector<std::string> chartArgs(const std::string& increment, const std::string& output,
                                   const std::vector<std::string>& heads = {}) {
    std::vector<std::string> args{"chart",   "--diameter", "96",  "--length", "324", "--increment",
                                  increment, "--format",   "csv", "--output", output};
    args.insert(args.end(), heads.begin(), heads.end());
    return args;
}

// Writes the million-step CSV chart of a tank with these heads to `path`.
std::function<void()> millionStepChart(const std::vector<std::string>& heads,
                                       const std::string& path) {
    const auto chart = command(chartArgs("0.000096", path, heads));
    const auto tank = tankOf(chart);
    const auto layout = brimwell::chartLayout(tank, chart);
    if (!layout || brimwell::chartRows(tank, layout->increment) != 1'000'001) {
        fail("not a chart of a million steps");
    }
    const auto writer = brimwell::blockWriter([tank, layout = *layout](const auto& sink) {
        return brimwell::streamLevelChart(tank, layout, sink);
    });
    const QString qpath = QString::fromStdString(path);
    return [writer, qpath] { check(brimwell::saveFile(qpath, writer)); };
}

// The peak resident memory (kB) of brimwell-tank writing the chart of this increment.
long peakKb(const std::string& increment, const std::string& path) {
    const auto args = chartArgs(increment, path);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(BRIMWELL_TANK)};
        for (const auto& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(BRIMWELL_TANK, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fail("brimwell-tank failed on the chart of increment " + increment);
    }
    return usage.ru_maxrss;
}

// A chart of a vertical tank 120 inches tall, a row every 0.0012 inch, levels and volumes to 6
// decimals.
std::string calibrationChart() {
    std::string text = "level,volume\r\n";
    for (int row = 0; row < kCalibrationRows; ++row) {
        const double level = 120.0 * row / (kCalibrationRows - 1);
        text += std::to_string(level) + "," + std::to_string(level * 36.5) + "\r\n";
    }
    return text;
}

struct CalibrationFigures {
    double loadMs = 0;
    double lookupMs = 0;
};

CalibrationFigures calibrationFigures(const std::string& path) {
    const std::string text = calibrationChart();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size())) {
        fail("cannot write the calibration chart");
    }
    file.close();
    std::vector<double> loads;
    for (int i = 0; i < kCalibrationRuns; ++i) {
        loads.push_back(millis([&] {
            if (!brimwell::loadCalibrationChart(path)) {
                fail("the calibration chart does not read");
            }
        }));
    }
    const auto chart = brimwell::loadCalibrationChart(path);
    QFile::remove(QString::fromStdString(path));
    // Levels spread over the chart in an order that defeats the cache's guess.
    std::vector<double> levels(kLookups);
    for (int i = 0; i < kLookups; ++i) {
        levels[static_cast<std::size_t>(i)] =
            chart->top() * static_cast<double>((i * 7919L) % kLookups) / kLookups;
    }
    double sum = 0;
    const double lookupMs = millis([&] {
        for (const double level : levels) {
            sum += *chart->volumeAt(level);
        }
    });
    std::fprintf(stderr,
                 "calibration chart of %d rows, %zu bytes: load %.2f ms (median of %d); %d "
                 "lookups %.1f ms (sum %.6g)\n",
                 kCalibrationRows, text.size(), median(loads), kCalibrationRuns, kLookups, lookupMs,
                 sum);
    return {median(loads), lookupMs};
}

}  // namespace

int main() {
    const std::string path = "/tmp/brimwell-bench-tank-" + std::to_string(getpid()) + ".csv";
    const QString qpath = QString::fromStdString(path);

    // First, while this process is small: a child's peak counts this process's memory at the fork.
    std::vector<long> small;
    std::vector<long> large;
    for (int i = 0; i < 3; ++i) {
        small.push_back(peakKb("0.096", path));
        large.push_back(peakKb("0.000096", path));
    }

    // 96 / 0.000096 is 1,000,000 steps.
    const auto chart = command(chartArgs("0.000096", path));
    const auto tank = tankOf(chart);
    const auto layout = brimwell::chartLayout(tank, chart);
    if (!layout || brimwell::chartRows(tank, layout->increment) != 1'000'001) {
        fail("not a chart of a million steps");
    }
    const auto writer = brimwell::blockWriter([&](const brimwell::ChartSink& sink) {
        return brimwell::streamLevelChart(tank, *layout, sink);
    });
    check(brimwell::saveFile(qpath, writer));
    QFile saved(qpath);
    saved.open(QIODevice::ReadOnly);
    const QByteArray bytes = saved.readAll();
    saved.close();
    std::vector<double> chartRuns;
    std::vector<double> floorRuns;
    for (int i = 0; i < kChartRuns; ++i) {
        chartRuns.push_back(millis([&] { check(brimwell::saveFile(qpath, writer)); }));
        floorRuns.push_back(millis([&] {
            check(brimwell::saveFile(
                qpath, [&](QIODevice& file) { return file.write(bytes) == bytes.size(); }));
        }));
    }
    const double toNull = median(
        std::vector<double>{millis([&] { check(brimwell::saveFile("/dev/null", writer)); }),
                            millis([&] { check(brimwell::saveFile("/dev/null", writer)); }),
                            millis([&] { check(brimwell::saveFile("/dev/null", writer)); })});
    const double chartMs = median(chartRuns);
    const double floorMs = median(floorRuns);
    std::fprintf(stderr,
                 "csv chart of 1000001 levels, %lld bytes, median of %d: chart %.1f ms, same bytes "
                 "%.1f ms; to /dev/null, no disk: %.1f ms\n",
                 static_cast<long long>(bytes.size()), kChartRuns, chartMs, floorMs, toNull);

    const std::vector<std::vector<std::string>> chartHeads = {
        {"--heads", "hemispherical"},
        {"--heads", "ellipsoidal"},
        {"--heads", "torispherical"},
        {"--heads", "conical", "--head-depth", "30"}};
    const auto flatChart = millionStepChart({}, path);
    std::vector<std::pair<std::string, double>> headRatios;
    for (const auto& heads : chartHeads) {
        const auto headChart = millionStepChart(heads, path);
        std::vector<double> flatRuns;
        std::vector<double> headRuns;
        for (int i = 0; i < kHeadChartRuns; ++i) {
            flatRuns.push_back(millis(flatChart));
            headRuns.push_back(millis(headChart));
        }
        std::fprintf(
            stderr, "csv chart of 1000001 levels, %s heads: %.1f ms, flat %.1f ms (median of %d)\n",
            heads[1].c_str(), median(headRuns), median(flatRuns), kHeadChartRuns);
        headRatios.emplace_back(heads[1], median(headRuns) / median(flatRuns));
    }
    QFile::remove(qpath);

    const char* const heads[][4] = {{"flat"},
                                    {"hemispherical"},
                                    {"ellipsoidal"},
                                    {"torispherical"},
                                    {"conical", "--head-depth", "30"}};
    double slowest = 0;
    for (const auto& head : heads) {
        std::vector<std::string> args{"level", "--diameter",    "96",   "--length",
                                      "324",   "--fill-volume", "4000", "--heads"};
        for (const char* word : head) {
            if (word) {
                args.emplace_back(word);
            }
        }
        const auto level = command(args);
        const auto levelTank = tankOf(level);
        std::vector<double> runs;
        for (int i = 0; i < kAnswerRuns; ++i) {
            runs.push_back(millis([&] {
                if (!brimwell::answerText(levelTank, level)) {
                    fail("no level");
                }
            }));
        }
        std::fprintf(stderr, "level answer, %s heads: %.4f ms (median of %d)\n", head[0],
                     median(runs), kAnswerRuns);
        slowest = std::max(slowest, median(runs));
    }

    std::printf("tank chart time ratio, csv of 1000001 levels against its bytes: %.2f (<= 4)\n",
                chartMs / floorMs);
    for (const auto& [headName, ratio] : headRatios) {
        std::printf(
            "tank chart time ratio, csv of 1000001 levels, %s heads against flat: %.2f (<= 3)\n",
            headName.c_str(), ratio);
    }
    std::printf("tank chart peak memory, 1000 steps: %ld kB (flat in the level count)\n",
                median(small));
    std::printf("tank chart peak memory, 1000000 steps: %ld kB (flat in the level count)\n",
                median(large));
    std::printf("tank level answer, slowest heads: %.4f ms (< 1)\n", slowest);
    const auto calibration = calibrationFigures(path);
    std::printf("tank calibration chart load, %d rows: %.2f ms (< 100)\n", kCalibrationRows,
                calibration.loadMs);
    std::printf("tank calibration lookups, %d volumes at levels: %.1f ms\n", kLookups,
                calibration.lookupMs);
    return 0;
}
