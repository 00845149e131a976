// brimwell-bench-bookwindow FILE: writes a book of 20 tanks with ten years of days each to FILE
// unless it is there, then times what the book's window does once it is on screen: opening the
// book and filling the site (each tank's last reading and its month so far), and one month.

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <cstdio>

#include "bench/timing.h"
#include "bookwindow/booksession.h"

namespace {

constexpr int kTanks = 20;
constexpr int kYears = 10;

std::string tankName(int tank) {
    return "Tank " + std::to_string(tank + 1);
}

// Days that run down from 60 in to 20 in over ten days and are filled back up.
bool writeBook(const QString& path) {
    auto store = brimwell::book::Store::open(path);
    if (!store) {
        std::fprintf(stderr, "%s\n", store.error().message.c_str());
        return false;
    }
    std::vector<brimwell::book::ImportRow> rows;
    const QDate first(2016, 1, 1);
    for (int tank = 0; tank < kTanks; ++tank) {
        brimwell::book::TankSettings settings;
        settings.name = tankName(tank);
        settings.product.name = "Regular";
        settings.shape.diameter = 96;
        settings.shape.length = 240;
        settings.openingLevel = 60;
        settings.rules = {brimwell::book::PercentRule{1, 130}};
        if (auto done = (*store)->addTank(settings); !done) {
            std::fprintf(stderr, "%s\n", done.error().c_str());
            return false;
        }
        for (QDate day = first; day < first.addYears(kYears); day = day.addDays(1)) {
            brimwell::book::Day record;
            record.date = day.toString(Qt::ISODate).toStdString();
            record.closingLevel = 60 - 4.0 * static_cast<int>(first.daysTo(day) % 10);
            record.pumped = 300;
            rows.push_back({settings.name, record});
        }
    }
    if (auto done = (*store)->importDays(rows, {}); !done) {
        std::fprintf(stderr, "%s\n", done.error().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: brimwell-bench-bookwindow FILE\n");
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    if (!QFile::exists(path) && !writeBook(path)) {
        return 1;
    }
    std::vector<double> site;
    std::vector<double> month;
    for (int run = 0; run < 5; ++run) {
        std::unique_ptr<brimwell::BookSession> session;
        site.push_back(brimwell::bench::millis([&] {
            session = *brimwell::BookSession::open(path);
            const auto names = session->tankNames();
            for (const std::string& name : *names) {
                session->summary(name);
            }
        }));
        month.push_back(
            brimwell::bench::millis([&] { (void)session->month(tankName(0), "2025-12"); }));
    }
    std::printf(
        "book window, site of %d tanks with %d years of days filled: %.1f ms (once on screen)\n",
        kTanks, kYears, brimwell::bench::median(site));
    std::printf("book window, one month reconciled: %.2f ms\n", brimwell::bench::median(month));
    return 0;
}
