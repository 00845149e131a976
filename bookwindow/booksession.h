#pragma once

// The open book as its window uses it: the tanks with their gauges, each tank's last reading
// and month so far, a day's figures before it is saved, and saving it.

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bookreport/pagemodel.h"
#include "book/dayimport.h"
#include "book/reading.h"
#include "book/reconcile.h"
#include "book/store.h"
#include "book/booktank.h"
#include "book/chartcheck.h"
#include "book/leaktest.h"
#include "bookwindow/dayentry.h"

namespace brimwell {

struct BookTankView {
    book::TankSettings settings;
    book::BookTank tank;
};

struct TankSummary {
    std::string name;
    std::string product;
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    std::optional<std::string> lastDate;
    std::optional<book::Reading> reading;
    bool monthFailing = false;
    bool waterOver = false;
    bool vertical = false;
    StickForm stickForm = StickForm::Decimal;  // the window's choice, set by the window
    std::string problem;  // why the reading or the month could not be worked out
};

struct MonthView {
    book::MonthReport report;
    std::vector<book::Day> days;
    book::ChartCheck chart;
    // The month's leak test, as brimwell-book leak-test works it out; none for a month without
    // days or one the test cannot reconcile.
    std::optional<book::LeakTest> leak;
};

// Each correction of a tank's days and deliveries, with the values they replaced.
struct TankHistory {
    std::vector<book::DayCorrection> days;
    std::vector<book::DeliveryCorrection> deliveries;
};

class BookSession {
public:
    static Expected<std::unique_ptr<BookSession>, std::string> open(const QString& path);

    const QString& path() const { return path_; }
    Expected<std::vector<std::string>, std::string> tankNames();
    Expected<const BookTankView*, std::string> tank(const std::string& name);
    Expected<void, std::string> addTank(const book::TankSettings& settings);
    // Replaces the settings of the tank `name`, which may be renamed.
    Expected<void, std::string> updateTank(const std::string& name,
                                           const book::TankSettings& settings);
    // Removes a tank with nothing on record; the book keeps one with a record.
    Expected<void, std::string> removeTank(const std::string& name);
    std::size_t dayCount(const std::string& name);

    TankSummary summary(const std::string& name);
    // `month` is YYYY-MM.
    Expected<MonthView, std::string> month(const std::string& name, const std::string& month);
    std::optional<book::Day> recordedDay(const std::string& name, const std::string& date);
    // The day as recorded, if it is, and the last day recorded before it.
    Expected<book::MonthRecords, std::string> dayRecords(const std::string& name,
                                                         const std::string& date);
    // The dates recorded from `first` to `last`, YYYY-MM-DD.
    std::vector<std::string> recordedDates(const std::string& name, const std::string& first,
                                           const std::string& last);
    Expected<TankHistory, std::string> history(const std::string& name);
    // The month's printed pages (YYYY-MM) of the tank, or of every tank when none is named.
    Expected<bookreport::Document, std::string> monthPages(const std::optional<std::string>& name,
                                                           const std::string& month);

    // The day's figures as they will be once the entry is saved.
    Expected<book::DayFigures, std::string> preview(const std::string& name, const DayEntry& entry);
    // Records the day (a correction when it was recorded) and its new or corrected delivery;
    // true when it corrected the day or a delivery.
    Expected<bool, std::string> save(const std::string& name, const DayEntry& entry);
    // Takes back the day's `number`th delivery, 1 being the first recorded.
    Expected<void, std::string> withdrawDelivery(const std::string& name, const std::string& date,
                                                 std::size_t number);

    // The site the book is kept for, and the site kept, unless the book refuses it.
    Expected<book::Site, std::string> site() { return store_->site(); }
    Expected<void, std::string> setSite(const book::Site& site);

    // The import's tanks as it reads them: each tank's stick unit and limits, read once.
    book::ImportTankOf importTanks();
    // Writes the import's rows, all or none; `progress` is told the rows written now and then.
    Expected<void, book::ImportFailure> importDays(const book::DayImport& import,
                                                   const book::ImportTankOf& tankOf,
                                                   const std::function<void(std::size_t)>& progress);

private:
    std::optional<std::string> refusal(const std::string& name, const DayEntry& entry,
                                       const std::optional<book::Day>& recorded);
    BookSession(std::unique_ptr<book::Store> store, QString path)
        : store_(std::move(store)), path_(std::move(path)) {}

    std::unique_ptr<book::Store> store_;
    QString path_;
    std::map<std::string, BookTankView> tanks_;
};

}  // namespace brimwell
