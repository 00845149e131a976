// The printed month of a site of 100 tanks, each with a month of days and three deliveries:
// the time to read it from the book, lay it out and write it as PDF, through the command line's
// own code (target: under 10 s), and the PDF's pages.

#include <QDate>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <sstream>

#include "bench/timing.h"
#include "book/store.h"
#include "cli/bookcli.h"

namespace {

constexpr int kTanks = 100;
constexpr int kRuns = 3;

int run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = brimwell::runBook(args, out, err, false);
    if (status != 0) {
        std::fprintf(stderr, "%s", err.str().c_str());
    }
    return status;
}

// March 2026 of the tank: 1000 gallons a day, a delivery on the 5th, 15th and 25th.
std::vector<brimwell::book::ImportRow> month(const std::string& tank) {
    std::vector<brimwell::book::ImportRow> rows;
    for (int day = 1; day <= 31; ++day) {
        brimwell::book::Day record;
        record.date = QDate(2026, 3, day).toString(Qt::ISODate).toStdString();
        record.closingLevel = day % 10 == 5 ? 70 : 60 - day % 10;
        record.pumped = 1000;
        rows.push_back({tank, record});
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brimwell;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {  // drawn offscreen, as brimwell-book does
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath("site.book").toStdString();
    std::vector<book::ImportRow> rows;
    for (int i = 0; i < kTanks; ++i) {
        const std::string tank = "T" + std::to_string(i);
        run({"--book", path, "tank", "add", tank, "--opening", "60", "--diameter", "96", "--length",
             "324"});
        const auto days = month(tank);
        rows.insert(rows.end(), days.begin(), days.end());
    }
    {
        // The days in one change; the book is closed again before the command line opens it.
        const auto store = book::Store::open(QString::fromStdString(path));
        if (!store || !(*store)->importDays(rows, {})) {
            std::fprintf(stderr, "the bench's book could not be written\n");
            return 1;
        }
    }
    for (int i = 0; i < kTanks; ++i) {
        for (const char* day : {"05", "15", "25"}) {
            run({"--book", path, "delivery", "T" + std::to_string(i), std::string("2026-03-") + day,
                 "--bill", "3000", "--before", "40", "--after", "68"});
        }
    }
    const std::string pdf = dir.filePath("site.pdf").toStdString();
    std::vector<double> times;
    int status = 0;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(bench::millis([&] {
            status |= run({"--book", path, "report", "--all", "2026-03", "--output", pdf});
        }));
    }
    std::printf("book report, a 100-tank site's month as PDF: %.2f s (target: under 10 s)\n",
                bench::median(times) / 1000);
    return status;
}
