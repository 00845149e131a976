#include "bookreport/reportread.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

#include "book/booktank.h"
#include "book/chartcheck.h"
#include "book/month.h"
#include "book/monthservice.h"

namespace brimwell::bookreport {
namespace {

bool inMonth(const std::string& date, const book::DateRange& dates) {
    return date >= dates.first && date <= dates.last;
}

// The tank's corrections of the month's days and deliveries, and when the month last changed.
Expected<void, std::string> readChanges(book::Store& store, TankReport& report) {
    const book::DateRange dates = book::monthDates(report.month);
    auto days = store.history(report.tank.name);
    auto deliveries = store.deliveryHistory(report.tank.name);
    auto last = store.lastChange(report.tank.name, dates.first, dates.last);
    if (!days || !deliveries || !last) {
        return Unexpected(!days ? days.error() : !deliveries ? deliveries.error() : last.error());
    }
    std::copy_if(
        days->begin(), days->end(), std::back_inserter(report.dayCorrections),
        [&](const book::DayCorrection& change) { return inMonth(change.before.date, dates); });
    std::copy_if(
        deliveries->begin(), deliveries->end(), std::back_inserter(report.deliveryCorrections),
        [&](const book::DeliveryCorrection& change) { return inMonth(change.date, dates); });
    auto byTime = [](const auto& a, const auto& b) { return a.changedAt < b.changedAt; };
    std::stable_sort(report.dayCorrections.begin(), report.dayCorrections.end(), byTime);
    std::stable_sort(report.deliveryCorrections.begin(), report.deliveryCorrections.end(), byTime);
    report.lastChange = *std::move(last);
    return {};
}

}  // namespace

Expected<TankReport, std::string> readTankReport(book::Store& store, const std::string& tank,
                                                 const std::string& month) {
    TankReport report;
    report.month = month;
    const auto read = store.reading([&]() -> Expected<void, std::string> {
        auto settings = store.tank(tank);
        if (!settings) {
            return Unexpected(settings.error());
        }
        report.tank = *std::move(settings);
        const auto gauged = book::gaugedTank(report.tank);
        if (!gauged) {
            return Unexpected(report.tank.name + ": " + gauged.error());
        }
        report.lengthUnit = gauged->lengthUnit;
        report.volumeUnit = gauged->volumeUnit;
        auto found = book::readTankMonth(store, report.tank, *gauged, month);
        if (!found) {
            return Unexpected(found.error());
        }
        if (!found->report) {
            return Unexpected(report.tank.name + " " + month + ": " + found->report.error());
        }
        report.records = std::move(found->records);
        if (!report.records.days.empty()) {
            report.figures = *std::move(found->report);
            const auto test =
                book::leakTest(report.records, report.tank, gauged->gauge,
                               {std::nullopt, std::nullopt, book::daysInMonth(month)});
            if (test) {
                report.leakTest = *test;
            } else {
                report.leakTestProblem = test.error();
            }
            report.moreResults.push_back({"Chart check", book::chartText(found->chart)});
        }
        return readChanges(store, report);
    });
    if (!read) {
        return Unexpected(read.error());
    }
    return report;
}

Expected<std::vector<TankReport>, std::string> readSiteReport(book::Store& store,
                                                              const std::string& month) {
    std::vector<TankReport> reports;
    const auto read = store.reading([&]() -> Expected<void, std::string> {
        const auto names = store.tankNames();
        if (!names) {
            return Unexpected(names.error());
        }
        for (const std::string& name : *names) {
            auto report = readTankReport(store, name, month);
            if (!report) {
                return Unexpected(report.error());
            }
            reports.push_back(*std::move(report));
        }
        return {};
    });
    if (!read) {
        return Unexpected(read.error());
    }
    return reports;
}

Expected<ReportFrame, std::string> frameOf(book::Store& store, const QString& bookPath) {
    auto site = store.site();
    if (!site) {
        return Unexpected(site.error());
    }
    return ReportFrame{*std::move(site), QFileInfo(bookPath).fileName().toStdString(),
            QDateTime::currentDateTimeUtc()
                .toString(QStringLiteral("yyyy-MM-dd hh:mm UTC"))
                .toStdString(),
            QLocale().decimalPoint().toStdString()};
}

}  // namespace brimwell::bookreport
