// The tank book at the size of a busy site's decade: 100 tanks with 10 years of days each.
// Prints the import time, the size of the book, and the time of a month's report (target:
// under 50 ms), both through brimwell-book's own code and for the query and arithmetic alone,
// and the time of opening the book for writing (which checks every page) and for reading.

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sstream>

#include "bench/timing.h"
#include "book/store.h"
#include "cli/bookcli.h"

namespace {

constexpr int kTanks = 100;
constexpr int kYears = 10;
constexpr int kRuns = 21;

std::string tankName(int i) {
    return "T" + std::to_string(i);
}

// A tank that loses a little every day, with a delivery-sized rise every ninth.
std::vector<brimwell::book::ImportRow> decade(const std::string& tank) {
    std::vector<brimwell::book::ImportRow> rows;
    const QDate first(2015, 1, 1);
    for (QDate day = first; day < first.addYears(kYears); day = day.addDays(1)) {
        const auto index = first.daysTo(day);
        brimwell::book::Day record;
        record.date = day.toString(Qt::ISODate).toStdString();
        record.closingLevel = 30 + static_cast<double>(index % 9) * 6;
        record.pumped = 290;
        record.waterLevel = 0.5;
        rows.push_back({tank, record});
    }
    return rows;
}

int run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    return brimwell::runBook(args, out, err, false);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brimwell;
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.book").toStdString();
    for (int i = 0; i < kTanks; ++i) {
        run({"--book", path, "tank", "add", tankName(i), "--opening", "40", "--diameter", "96",
             "--length", "240", "--short-days", "5", "--short-total", "100"});
    }
    std::size_t days = 0;
    double importMs = 0;
    {
        auto store = book::Store::open(QString::fromStdString(path));
        if (!store) {
            std::fprintf(stderr, "%s\n", store.error().message.c_str());
            return 1;
        }
        for (int i = 0; i < kTanks; ++i) {
            const auto rows = decade(tankName(i));
            days += rows.size();
            importMs += bench::millis([&] { (void)(*store)->importDays(rows, {}); });
        }
    }
    std::printf(
        "book import: %.0f ms for %zu days of %d tanks, %.1f us a day, a transaction a "
        "tank\n",
        importMs, days, kTanks, importMs * 1000 / static_cast<double>(days));
    std::printf("book size: %.1f MB\n",
                static_cast<double>(QFileInfo(QString::fromStdString(path)).size()) / 1e6);
    std::vector<double> command;
    for (int i = 0; i < kRuns; ++i) {
        command.push_back(bench::millis([&] {
            run({"--book", path, "month", tankName(i * 7 % kTanks), "2021-06"});
        }));
    }
    // Opening for writing checks every page of the book (SQLite's quick check); for reading it
    // does not.
    std::vector<double> openWrite;
    std::vector<double> openRead;
    for (int i = 0; i < 5; ++i) {
        openWrite.push_back(bench::millis(
            [&] { (void)book::Store::open(QString::fromStdString(path), book::Access::Write); }));
        openRead.push_back(bench::millis(
            [&] { (void)book::Store::open(QString::fromStdString(path), book::Access::Read); }));
    }
    auto store = book::Store::open(QString::fromStdString(path));
    std::vector<double> query;
    for (int i = 0; i < kRuns && store; ++i) {
        query.push_back(bench::millis(
            [&] { (void)(*store)->month(tankName(i * 7 % kTanks), "2021-06-01", "2021-06-31"); }));
    }
    std::printf(
        "book month report: %.2f ms, median of %d, opening the book and writing the "
        "text (target under 50 ms)\n",
        bench::median(command), kRuns);
    std::printf("book open for writing: %.1f ms, median of 5, with the check of every page\n",
                bench::median(openWrite));
    std::printf("book open for reading: %.1f ms, median of 5\n", bench::median(openRead));
    std::printf("book month query: %.2f ms, the month's records alone\n",
                query.empty() ? 0.0 : bench::median(query));
    return 0;
}
