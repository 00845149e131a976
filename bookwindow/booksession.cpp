#include "bookwindow/booksession.h"

#include <algorithm>

#include "book/changes.h"
#include "book/month.h"
#include "book/monthservice.h"
#include "book/validation.h"
#include "bookreport/monthlayout.h"
#include "bookreport/reportread.h"

namespace brimwell {
namespace {

using book::DateRange;

// The entry's delivery, added, or replacing the recorded one it names; true when it replaced one.
Expected<bool, std::string> saveDelivery(book::Store& store, const std::string& name,
                                         const DayEntry& entry,
                                         const std::optional<book::Day>& recorded) {
    if (!entry.delivery) {
        return false;
    }
    if (entry.replacing == 0) {
        auto done = store.addDelivery(name, entry.day.date, *entry.delivery);
        return done ? Expected<bool, std::string>(false) : Unexpected(done.error());
    }
    if (book::deliveryUnchanged(entry, recorded ? recorded->deliveries
                                                : std::vector<book::Delivery>())) {
        return false;
    }
    auto done = store.correctDelivery(name, entry.day.date, entry.replacing, *entry.delivery);
    return done ? Expected<bool, std::string>(true) : Unexpected(done.error());
}

// The factors wanted that the stored ones lack, added to the tank `name`: a factor is only ever
// added, so one left out of `wanted` stays in the book.
Expected<void, std::string> addMeterFactors(book::Store& store, const std::string& name,
                                            const std::vector<book::MeterFactor>& stored,
                                            const std::vector<book::MeterFactor>& wanted) {
    for (const book::MeterFactor& factor : wanted) {
        if (std::find(stored.begin(), stored.end(), factor) == stored.end()) {
            if (auto added = store.addMeterFactor(name, factor); !added) {
                return added;
            }
        }
    }
    return {};
}

}  // namespace

Expected<std::unique_ptr<BookSession>, std::string> BookSession::open(const QString& path) {
    auto store = book::Store::open(path);
    if (!store) {
        return Unexpected(store.error().message);
    }
    return std::unique_ptr<BookSession>(new BookSession(*std::move(store), path));
}

Expected<std::vector<std::string>, std::string> BookSession::tankNames() {
    return store_->tankNames();
}

Expected<const BookTankView*, std::string> BookSession::tank(const std::string& name) {
    if (const auto found = tanks_.find(name); found != tanks_.end()) {
        return &found->second;
    }
    auto settings = store_->tank(name);
    if (!settings) {
        return Unexpected(settings.error());
    }
    auto tank = book::bookTank(*settings);
    if (!tank) {
        return Unexpected(tank.error());
    }
    return &tanks_.emplace(name, BookTankView{*std::move(settings), *std::move(tank)})
                .first->second;
}

Expected<void, std::string> BookSession::addTank(const book::TankSettings& settings) {
    if (auto tank = book::bookTank(settings); !tank) {
        return Unexpected(tank.error());
    }
    return store_->together([&]() -> Expected<void, std::string> {
        auto added = store_->addTank(settings);
        return added ? addMeterFactors(*store_, settings.name, {}, settings.meterFactors) : added;
    });
}

Expected<void, std::string> BookSession::updateTank(const std::string& name,
                                                    const book::TankSettings& settings) {
    if (auto tank = book::bookTank(settings); !tank) {
        return Unexpected(tank.error());
    }
    auto done = store_->together([&]() -> Expected<void, std::string> {
        const auto stored = store_->tank(name);
        if (!stored) {
            return Unexpected(stored.error());
        }
        auto updated = store_->updateTank(name, settings);
        return updated ? addMeterFactors(*store_, settings.name, stored->meterFactors,
                                         settings.meterFactors)
                       : updated;
    });
    if (done) {
        tanks_.erase(name);
    }
    return done;
}

Expected<void, std::string> BookSession::setSite(const book::Site& site) {
    if (auto refused = book::siteRefusal(site)) {
        return Unexpected(*refused);
    }
    return store_->setSite(site);
}

Expected<void, std::string> BookSession::removeTank(const std::string& name) {
    auto done = store_->removeTank(name);
    if (done) {
        tanks_.erase(name);
    }
    return done;
}

std::size_t BookSession::dayCount(const std::string& name) {
    const auto days = store_->days(name);
    return days ? days->size() : 0;
}

TankSummary BookSession::summary(const std::string& name) {
    TankSummary summary;
    summary.name = name;
    const auto view = tank(name);
    if (!view) {
        summary.problem = view.error();
        return summary;
    }
    const book::TankSettings& settings = (*view)->settings;
    const book::BookTank& gauge = (*view)->tank;
    summary.product = settings.product.name;
    summary.lengthUnit = gauge.lengthUnit;
    summary.volumeUnit = gauge.volumeUnit;
    summary.vertical = gauge.vertical;
    const auto month = book::readTankMonth(*store_, settings, gauge, std::nullopt);
    if (!month || !month->lastDay) {
        summary.problem = month ? "" : month.error();
        return summary;
    }
    const book::Day& day = *month->lastDay;
    summary.lastDate = day.date;
    auto reading = book::readingOf(day, gauge.gauge, gauge.capacity, gauge.top, settings.safeFill);
    if (reading) {
        summary.reading = *reading;
        if (!book::hasCorrection(settings.product)) {
            summary.reading->net.reset();
        }
    }
    if (!month->report) {
        summary.problem = month->report.error();
        return summary;
    }
    summary.monthFailing = !month->report->met();
    summary.waterOver = !month->report->days.empty() && month->report->days.back().waterMarked;
    return summary;
}

Expected<MonthView, std::string> BookSession::month(const std::string& name,
                                                    const std::string& month) {
    const auto view = tank(name);
    if (!view) {
        return Unexpected(view.error());
    }
    auto read = book::readTankMonth(*store_, (*view)->settings, (*view)->tank, month);
    if (!read) {
        return Unexpected(read.error());
    }
    if (!read->report) {
        return Unexpected(read->report.error());
    }
    auto leak = book::leakTest(read->records, (*view)->settings, (*view)->tank.gauge,
                               {std::nullopt, std::nullopt, book::daysInMonth(month)});
    return MonthView{*std::move(read->report), read->records.days, read->chart,
                     leak ? std::optional(*std::move(leak)) : std::nullopt};
}

std::optional<book::Day> BookSession::recordedDay(const std::string& name,
                                                  const std::string& date) {
    const auto records = dayRecords(name, date);
    if (!records || records->days.empty()) {
        return std::nullopt;
    }
    return records->days.front();
}

Expected<book::MonthRecords, std::string> BookSession::dayRecords(const std::string& name,
                                                                  const std::string& date) {
    return store_->month(name, date, date);
}

std::vector<std::string> BookSession::recordedDates(const std::string& name,
                                                    const std::string& first,
                                                    const std::string& last) {
    std::vector<std::string> dates;
    if (const auto records = store_->month(name, first, last)) {
        for (const book::Day& day : records->days) {
            dates.push_back(day.date);
        }
    }
    return dates;
}

Expected<bookreport::Document, std::string> BookSession::monthPages(
    const std::optional<std::string>& name, const std::string& month) {
    std::vector<bookreport::TankReport> tanks;
    if (name) {
        auto one = bookreport::readTankReport(*store_, *name, month);
        if (!one) {
            return Unexpected(one.error());
        }
        tanks.push_back(*std::move(one));
    } else {
        auto all = bookreport::readSiteReport(*store_, month);
        if (!all) {
            return Unexpected(all.error());
        }
        tanks = *std::move(all);
    }
    auto frame = bookreport::frameOf(*store_, path_);
    if (!frame) {
        return Unexpected(frame.error());
    }
    return bookreport::monthDocument(tanks, *frame);
}

Expected<TankHistory, std::string> BookSession::history(const std::string& name) {
    TankHistory history;
    auto done = store_->reading([&]() -> Expected<void, std::string> {
        auto days = store_->history(name);
        if (!days) {
            return Unexpected(days.error());
        }
        auto deliveries = store_->deliveryHistory(name);
        if (!deliveries) {
            return Unexpected(deliveries.error());
        }
        history = {*std::move(days), *std::move(deliveries)};
        return {};
    });
    if (!done) {
        return Unexpected(done.error());
    }
    return history;
}

Expected<book::DayFigures, std::string> BookSession::preview(const std::string& name,
                                                             const DayEntry& entry) {
    const auto view = tank(name);
    if (!view) {
        return Unexpected(view.error());
    }
    const DateRange dates = book::monthDates(book::monthOf(entry.day.date));
    auto found = store_->month(name, dates.first, dates.last);
    if (!found) {
        return Unexpected(found.error());
    }
    book::MonthRecords records = *std::move(found);
    records.days = book::withChange(std::move(records.days), entry);
    const auto report = book::reconcileRecords(records, (*view)->settings, (*view)->tank.gauge);
    if (!report) {
        return Unexpected(report.error());
    }
    for (const book::DayFigures& figures : report->days) {
        if (figures.date == entry.day.date) {
            return figures;
        }
    }
    return Unexpected(std::string("the day is not in its month"));
}

namespace {

// The day's fields as the window names them, in book::Field's order.
constexpr const char* kFieldNames[] = {
    "Closing stick",         "Water cut",           "Temperature",           "Pumped volume",
    "Meter opening total",   "Meter closing total", "Bill of lading volume", "Bill temperature",
    "Stick before",          "Stick after",         "Temperature before",    "Temperature after",
    "Pumped during delivery", "Initials"};

std::string refusalText(const book::Refusal& refusal) {
    return refusal.field ? std::string(kFieldNames[static_cast<std::size_t>(*refusal.field)]) +
                               ": " + refusal.reason
                         : refusal.reason;
}

}  // namespace

// What the book refuses of the entry, the same as the command line refuses: a value out of its
// range, a water cut above the day's or a delivery's stick.
std::optional<std::string> BookSession::refusal(const std::string& name, const DayEntry& entry,
                                                const std::optional<book::Day>& recorded) {
    const auto view = tank(name);
    if (!view) {
        return view.error();
    }
    const book::TankLimits limits = book::limitsOf((*view)->settings, (*view)->tank);
    std::vector<book::Day> days;
    if (recorded) {
        days.push_back(*recorded);
    }
    const book::Day day = book::withChange(days, entry).front();
    if (const auto refused = book::dayRefusal(day, limits)) {
        return refusalText(*refused);
    }
    if (entry.delivery) {
        if (const auto refused = book::deliveryRefusal(*entry.delivery, day, limits)) {
            return refusalText(*refused);
        }
    }
    return std::nullopt;
}

Expected<bool, std::string> BookSession::save(const std::string& name, const DayEntry& entry) {
    if (!entry.complete()) {
        return Unexpected(std::string("the entry does not read"));
    }
    if (auto figures = preview(name, entry); !figures) {
        return Unexpected(figures.error());
    }
    // Saving a recorded day unchanged, to add or correct a delivery, is no correction of it.
    const auto recorded = recordedDay(name, entry.day.date);
    if (auto refused = refusal(name, entry, recorded)) {
        return Unexpected(*refused);
    }
    bool corrected = false;
    auto done = store_->together([&]() -> Expected<void, std::string> {
        if (!recorded || !recorded->sameReadings(entry.day)) {
            const auto day = store_->recordDay(name, entry.day);
            if (!day) {
                return Unexpected(day.error());
            }
            corrected = *day;
        }
        const auto delivery = saveDelivery(*store_, name, entry, recorded);
        if (!delivery) {
            return Unexpected(delivery.error());
        }
        corrected = corrected || *delivery;
        return {};
    });
    return done ? Expected<bool, std::string>(corrected) : Unexpected(done.error());
}

Expected<void, std::string> BookSession::withdrawDelivery(const std::string& name,
                                                          const std::string& date,
                                                          std::size_t number) {
    return store_->correctDelivery(name, date, number, std::nullopt);
}

book::ImportTankOf BookSession::importTanks() {
    auto tanks = std::make_shared<std::map<std::string, book::ImportTank>>();
    return [this, tanks](const std::string& name)
               -> Expected<const book::ImportTank*, std::string> {
        if (const auto found = tanks->find(name); found != tanks->end()) {
            return &found->second;
        }
        const auto view = tank(name);
        if (!view) {
            return Unexpected(view.error());
        }
        const book::ImportTank read{(*view)->tank.lengthUnit,
                                    book::limitsOf((*view)->settings, (*view)->tank)};
        return &tanks->emplace(name, read).first->second;
    };
}

Expected<void, book::ImportFailure> BookSession::importDays(
    const book::DayImport& import, const book::ImportTankOf& tankOf,
    const std::function<void(std::size_t)>& progress) {
    return book::importChecked(*store_, import, tankOf, progress);
}

}  // namespace brimwell
