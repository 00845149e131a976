#pragma once

// The book on disk: an SQLite database reached through Qt SQL. Every change is one transaction
// that takes the write lock first, so two programs writing at once wait for each other (up to
// the busy timeout) rather than fail, and a program killed mid-change leaves the book as it was.
// A file that is not a book, or is damaged, or was written by a newer version, is reported and
// left untouched.
//
// The database is connected only while a call runs, and disconnected before it returns. SQLite
// locks the book with POSIX advisory locks, and those belong to the process: when anything else
// in the process (a file dialog's icon and type lookup, a file watcher, a later feature) opens
// and closes one of the book's files, every lock the process holds on it is gone, and another
// program then takes the book for unused and deletes its write-ahead log under the connection.
// Between calls this process holds no lock, so nothing it opens can drop one. A call never runs
// an event loop, so no dialog opens while the connection is up; `progress` callbacks must not
// run one either.

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "book/connection.h"
#include "book/leaktest.h"
#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

struct ImportRow {
    std::string tank;
    Day day;
};

enum class Access { Write, Read };

// How opening a book failed: the message names the file and what is wrong with it.
struct OpenFailure {
    // ReadOnly: the book may be read but the file system takes no writes to it. Older: a book
    // of an older version, opened for reading, which it is upgraded before.
    enum class Kind { CannotOpen, NotABook, Damaged, Newer, Older, ReadOnly } kind;
    std::string message;
};

class Store {
public:
    // The book at `path`. For writing it is created (readable by its owner only) when no file is
    // there, upgraded when an older version wrote it, and its pages are checked first, so that
    // nothing is written into a damaged book. For reading it is only read: a book on a read-only
    // disk or in a folder that takes no new files can be read still.
    static Expected<std::unique_ptr<Store>, OpenFailure> open(const QString& path,
                                                              Access access = Access::Write);
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
        const std::function<Expected<void, std::string>()>& changes);
    // Runs the reads as one: they see the book as one writer left it.
    Expected<void, std::string> reading(const std::function<Expected<void, std::string>()>& reads);
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
    // Keeps a leak test's result as issued now.
    Expected<void, std::string> keepLeakTest(const std::string& tank, const IssuedLeakTest& test);
    // The results issued for the period `first` to `last`, the earliest first.
    Expected<std::vector<IssuedLeakTest>, std::string> issuedLeakTests(const std::string& tank,
                                                                       const std::string& first,
                                                                       const std::string& last);
    // Adds a meter factor to the tank; a factor on a date that has one, or of an impossible
    // size, is refused (meterfactor.h). Reading the tank gives its factors.
    Expected<void, std::string> addMeterFactor(const std::string& tank, const MeterFactor& factor);
    // Every delivery of the tank with its date, in the order of the days and of their recording.
    Expected<std::vector<std::pair<std::string, Delivery>>, std::string> allDeliveries(
        const std::string& tank);
    Expected<std::vector<Day>, std::string> days(const std::string& tank);
    // The site the book is kept for; empty texts when not given.
    Expected<Site, std::string> site();
    // An empty name or address removes it.
    Expected<void, std::string> setSite(const Site& site);
    // When the records of `first` to `last` last changed (a day or delivery recorded, corrected
    // or withdrawn), UTC in ISO 8601; empty when the tank has no record in that range.
    Expected<std::string, std::string> lastChange(const std::string& tank, const std::string& first,
                                                  const std::string& last);
    // SQLite's check of the whole book, its indexes too: each problem found, none when whole.
    Expected<std::vector<std::string>, std::string> integrityProblems();

private:
    Store(QString connection, QString path) : book_{std::move(connection), std::move(path)} {}
    Expected<void, OpenFailure> prepare(bool exists, Access access);
    // Runs the work on the connected book, in a transaction of its own unless it is a part of
    // one under way (see storecall.h).
    template <typename Work>
    auto call(Lock lock, const Work& work) -> decltype(work());
    template <typename Work>
    auto inTransaction(Lock lock, const Work& work) -> decltype(work());
    Expected<void, std::string> connect();
    void disconnect();
    Expected<long long, std::string> deliveryId(const std::string& tank, const std::string& date,
                                                std::size_t number);

    Connection book_;
    int users_ = 0;  // the calls under way that use the connection, a change's parts among them
    bool inTransaction_ = false;
};

}  // namespace brimwell::book
