#pragma once

// The book on disk: an SQLite database reached through Qt SQL. Every change is one transaction
// that takes the write lock first, so two programs writing at once wait for each other (up to
// the busy timeout) rather than fail, and a program killed mid-change leaves the book as it was.
// A file that is not a book, or is damaged, or was written by a newer version, is reported and
// left untouched.

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

struct ImportRow {
    std::string tank;
    Day day;
};

// The days of a month and the last day recorded before it, which gives the month's opening.
struct MonthRecords {
    std::optional<Day> before;
    std::vector<Day> days;
};

// How opening a book failed: the message names the file and what is wrong with it.
struct OpenFailure {
    enum class Kind { CannotOpen, NotABook, Damaged, Newer } kind;
    std::string message;
};

class Store {
public:
    // The book at `path`, created (readable by its owner only) when no file is there.
    static Expected<std::unique_ptr<Store>, OpenFailure> open(const QString& path);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    Expected<void, std::string> addTank(const TankSettings& tank);
    // Replaces the tank's settings, its name too; its days stay as recorded.
    Expected<void, std::string> updateTank(const std::string& name, const TankSettings& tank);
    Expected<void, std::string> removeTank(const std::string& name);
    Expected<std::vector<std::string>, std::string> tankNames();
    Expected<TankSettings, std::string> tank(const std::string& name);

    // Records the day, or corrects it keeping its earlier values; true when it corrected one.
    Expected<bool, std::string> recordDay(const std::string& tank, const Day& day);
    Expected<void, std::string> addDelivery(const std::string& tank, const std::string& date,
                                            const Delivery& delivery);
    // Replaces the day's `number`th delivery (1 is the first recorded), or withdraws it when
    // there is no replacement; its earlier values are kept with the time of the change.
    Expected<void, std::string> correctDelivery(const std::string& tank, const std::string& date,
                                                std::size_t number,
                                                const std::optional<Delivery>& replacement);
    // Runs the changes as one: all of them are written or none.
    Expected<void, std::string> together(
        const std::function<Expected<void, std::string>()>& changes) {
        return inWrite(changes);
    }
    // All rows or none; `progress` is told the rows written so far now and then.
    Expected<void, std::string> importDays(const std::vector<ImportRow>& rows,
                                           const std::function<void(std::size_t)>& progress);

    // Dates as YYYY-MM-DD, `first` to `last` inclusive, with their deliveries.
    Expected<MonthRecords, std::string> month(const std::string& tank, const std::string& first,
                                              const std::string& last);
    Expected<std::vector<DayCorrection>, std::string> history(const std::string& tank);
    // The day's deliveries in the order they were recorded, its day recorded or not.
    Expected<std::vector<Delivery>, std::string> deliveries(const std::string& tank,
                                                            const std::string& date);
    Expected<std::vector<DeliveryCorrection>, std::string> deliveryHistory(const std::string& tank);
    Expected<std::vector<Day>, std::string> days(const std::string& tank);

private:
    explicit Store(QString connection) : connection_(std::move(connection)) {}
    Expected<long long, std::string> deliveryId(const std::string& tank, const std::string& date,
                                                std::size_t number);
    Expected<void, std::string> inWrite(const std::function<Expected<void, std::string>()>& change);

    QString connection_;
    bool writing_ = false;
};

}  // namespace brimwell::book
