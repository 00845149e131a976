// The largest tank chart (diameter 96 inches, 32767 steps) for every shape and volume unit, saved
// to /tmp by the tank window's own saving path, against the floor of saving the same bytes through
// that path in one write, the two taking turns; then the peak memory of a process saving a 10-step
// and a 32767-step chart. Details go to standard error, the figures to standard output.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"
#include "tank/chartfile.h"

namespace {

constexpr int kRuns = 21;
constexpr std::int16_t kLargest = 32767;

brimwell::TankChartParams chartParams(brimwell::TankShape shape, brimwell::VolumeUnit unit,
                                      std::int16_t steps) {
    return {48, 240, steps, shape, unit};
}

using brimwell::bench::median;
using brimwell::bench::millis;

void check(const brimwell::SaveResult& saved) {
    if (!saved) {
        std::fprintf(stderr, "chart: %s\n", qPrintable(saved.error()));
        std::exit(1);
    }
}

brimwell::SaveResult saveChart(const brimwell::TankChartParams& params, const QString& path,
                               brimwell::FailureReporter& reporter) {
    return brimwell::saveFile(path, brimwell::tankChartWriter(params, reporter));
}

// The peak resident memory (kB) of this program run again to save one chart of `steps` steps.
long peakKb(std::int16_t steps, const QString& path) {
    const std::string count = std::to_string(steps);
    const QByteArray file = path.toLocal8Bit();
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/proc/self/exe", "chart", "--save", count.c_str(), file.constData(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "chart: the process saving %d steps failed\n", steps);
        std::exit(1);
    }
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    brimwell::CountingReporter reporter;
    if (argc == 4 && std::strcmp(argv[1], "--save") == 0) {
        const auto steps = static_cast<std::int16_t>(std::atoi(argv[2]));
        check(saveChart(
            chartParams(brimwell::TankShape::FlatEnded, brimwell::VolumeUnit::Gallons, steps),
            argv[3], reporter));
        return 0;
    }
    const QString path = QStringLiteral("/tmp/brimwell-bench-chart-%1.txt").arg(getpid());
    std::vector<double> chartTimes;  // every run of every shape and unit
    std::vector<double> floorTimes;
    std::vector<double> cpuTimes;  // to /dev/null, which the saving path writes directly
    double worstRatio = 0;
    std::fprintf(stderr, "%-26s %-14s %9s %9s %6s\n", "shape", "volume unit", "chart ms",
                 "floor ms", "ratio");
    for (std::size_t shapeIndex = 0; shapeIndex < brimwell::kTankShapes.size(); ++shapeIndex) {
        for (std::size_t unitIndex = 0; unitIndex < brimwell::kVolumeUnits.size(); ++unitIndex) {
            const auto shape = brimwell::kTankShapes[shapeIndex];
            const auto unit = brimwell::kVolumeUnits[unitIndex];
            const auto params = chartParams(static_cast<brimwell::TankShape>(shapeIndex),
                                            static_cast<brimwell::VolumeUnit>(unitIndex), kLargest);
            check(saveChart(params, path, reporter));
            QFile saved(path);
            saved.open(QIODevice::ReadOnly);
            const QByteArray bytes = saved.readAll();
            saved.close();
            // The two take turns, so that a busy moment of the machine falls on both alike.
            std::vector<double> chartRuns;
            std::vector<double> floorRuns;
            for (int i = 0; i < kRuns; ++i) {
                chartRuns.push_back(
                    millis([&] { check(saveChart(params, path, reporter)); }));
                floorRuns.push_back(millis([&] {
                    check(brimwell::saveFile(
                        path, [&](QIODevice& file) { return file.write(bytes) == bytes.size(); }));
                }));
            }
            for (int i = 0; i < kRuns; ++i) {
                cpuTimes.push_back(
                    millis([&] { check(saveChart(params, "/dev/null", reporter)); }));
            }
            const double chartMs = median(chartRuns);
            const double floorMs = median(floorRuns);
            std::fprintf(stderr, "%-26.*s %-14.*s %9.2f %9.2f %6.2f\n",
                         static_cast<int>(shape.size()), shape.data(),
                         static_cast<int>(unit.size()), unit.data(), chartMs, floorMs,
                         chartMs / floorMs);
            chartTimes.insert(chartTimes.end(), chartRuns.begin(), chartRuns.end());
            floorTimes.insert(floorTimes.end(), floorRuns.begin(), floorRuns.end());
            worstRatio = std::max(worstRatio, chartMs / floorMs);
        }
    }
    if (reporter.count != 0) {
        std::fprintf(stderr, "chart: the tank model reported %d failures\n", reporter.count);
        return 1;
    }
    const double chartMs = median(chartTimes);
    const double floorMs = median(floorTimes);
    std::fprintf(stderr, "medians of all %zu runs, %lld bytes each: chart %.2f ms, floor %.2f ms\n",
                 chartTimes.size(), static_cast<long long>(QFile(path).size()), chartMs, floorMs);
    std::fprintf(stderr,
                 "worst shape and unit: ratio %.2f; the charts to /dev/null, no disk: %.2f ms\n",
                 worstRatio, median(cpuTimes));

    std::vector<long> small;
    std::vector<long> large;
    for (int i = 0; i < 5; ++i) {
        small.push_back(peakKb(10, path));
        large.push_back(peakKb(kLargest, path));
    }
    QFile::remove(path);
    std::fprintf(stderr, "peak memory, median of 5: 10 steps %ld kB, 32767 steps %ld kB\n",
                 median(small), median(large));

    std::printf("chart time ratio: %.2f (<= 4)\n", chartMs / floorMs);
    std::printf("chart peak memory ratio, 32767 / 10 steps: %.3f (1: the same)\n",
                static_cast<double>(median(large)) / static_cast<double>(median(small)));
    return 0;
}
