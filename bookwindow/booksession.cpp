#include "bookwindow/booksession.h"

#include <algorithm>

#include "book/validation.h"

namespace brimwell {
namespace {

constexpr const char* kAfterEveryDay = "9999-12-31";

Expected<book::MonthReport, std::string> reconcile(const book::MonthRecords& records,
                                                   const BookTankView& view) {
    const double opening =
        records.before ? records.before->closingLevel : view.settings.openingLevel.value_or(0);
    const auto water = records.before ? records.before->waterLevel : std::nullopt;
    return book::reconcileMonth(records.days, opening, water, view.tank.gauge, view.settings.rules);
}

// The month's days with the entry's day in its place, keeping the deliveries recorded on it.
std::vector<book::Day> withEntry(std::vector<book::Day> days, const DayEntry& entry) {
    book::Day day = entry.day;
    const auto at = std::find_if(days.begin(), days.end(),
                                 [&](const book::Day& other) { return other.date >= day.date; });
    if (at != days.end() && at->date == day.date) {
        day.deliveries = at->deliveries;
        days.erase(at);
    }
    if (entry.delivery && entry.replacing > 0 && entry.replacing <= day.deliveries.size()) {
        day.deliveries[entry.replacing - 1] = *entry.delivery;
    } else if (entry.delivery) {
        day.deliveries.push_back(*entry.delivery);
    }
    const auto place = std::find_if(days.begin(), days.end(),
                                    [&](const book::Day& other) { return other.date > day.date; });
    days.insert(place, day);
    return days;
}

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
    const auto& deliveries = recorded ? recorded->deliveries : std::vector<book::Delivery>();
    if (entry.replacing <= deliveries.size() &&
        deliveries[entry.replacing - 1] == *entry.delivery) {
        return false;
    }
    auto done = store.correctDelivery(name, entry.day.date, entry.replacing, *entry.delivery);
    return done ? Expected<bool, std::string>(true) : Unexpected(done.error());
}

}  // namespace

// The same tank, however its options were written ("--heads" first or last, a default crown
// written out or left out).
bool sameShape(const book::TankSettings& before, const book::TankSettings& after) {
    const auto was = bookTank(before);
    const auto is = bookTank(after);
    if (!was || !is) {
        return false;
    }
    const TankOptions& a = was->shape;
    const TankOptions& b = is->shape;
    return a.vertical == b.vertical && a.heads == b.heads && a.diameter == b.diameter &&
           a.length == b.length && a.lengthUnit == b.lengthUnit && a.volumeUnit == b.volumeUnit;
}

bool reworksDays(const book::TankSettings& before, const book::TankSettings& after) {
    const book::Product& was = before.product;
    const book::Product& is = after.product;
    return !sameShape(before, after) || before.calibration != after.calibration ||
           before.openingLevel != after.openingLevel || was.correction != is.correction ||
           was.value != is.value || was.reference != is.reference || was.celsius != is.celsius;
}

bool sameAsRecorded(const DayEntry& entry, const book::Day& recorded) {
    if (!recorded.sameReadings(entry.day)) {
        return false;
    }
    if (!entry.delivery) {
        return true;
    }
    return entry.replacing > 0 && entry.replacing <= recorded.deliveries.size() &&
           recorded.deliveries[entry.replacing - 1] == *entry.delivery;
}

std::string monthOf(const std::string& date) {
    return date.substr(0, 7);
}

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
    auto tank = bookTank(*settings);
    if (!tank) {
        return Unexpected(tank.error());
    }
    return &tanks_.emplace(name, BookTankView{*std::move(settings), *std::move(tank)})
                .first->second;
}

Expected<void, std::string> BookSession::addTank(const book::TankSettings& settings) {
    if (auto tank = bookTank(settings); !tank) {
        return Unexpected(tank.error());
    }
    return store_->addTank(settings);
}

Expected<void, std::string> BookSession::updateTank(const std::string& name,
                                                    const book::TankSettings& settings) {
    if (auto tank = bookTank(settings); !tank) {
        return Unexpected(tank.error());
    }
    auto done = store_->updateTank(name, settings);
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
    summary.product = (*view)->settings.product.name;
    summary.vertical = (*view)->tank.vertical;
    const auto last = store_->month(name, kAfterEveryDay, kAfterEveryDay);
    if (!last || !last->before) {
        summary.problem = last ? "" : last.error();
        return summary;
    }
    const book::Day& day = *last->before;
    summary.lastDate = day.date;
    const BookTank& gauge = (*view)->tank;
    auto reading =
        book::readingOf(day, gauge.gauge, gauge.capacity, gauge.top, (*view)->settings.safeFill);
    if (reading) {
        summary.reading = *reading;
        // A product without a correction has no net volume to show.
        const book::Product& product = (*view)->settings.product;
        if (product.correction == book::Correction::Linear && product.value == 0) {
            summary.reading->net.reset();
        }
    }
    const auto month = this->month(name, monthOf(day.date));
    if (!month) {
        summary.problem = month.error();
        return summary;
    }
    summary.monthFailing = !month->report.met();
    summary.waterOver = !month->report.days.empty() && month->report.days.back().waterMarked;
    return summary;
}

Expected<MonthView, std::string> BookSession::month(const std::string& name,
                                                    const std::string& month) {
    const auto view = tank(name);
    if (!view) {
        return Unexpected(view.error());
    }
    auto records = store_->month(name, month + "-01", month + "-31");
    if (!records) {
        return Unexpected(records.error());
    }
    if (records->days.empty()) {
        return MonthView{};  // a month without a day has no figures, and meets no rule
    }
    auto report = reconcile(*records, **view);
    if (!report) {
        return Unexpected(report.error());
    }
    return MonthView{*std::move(report), records->days};
}

std::optional<book::Day> BookSession::recordedDay(const std::string& name,
                                                  const std::string& date) {
    const auto records = store_->month(name, date, date);
    if (!records || records->days.empty()) {
        return std::nullopt;
    }
    return records->days.front();
}

Expected<book::DayFigures, std::string> BookSession::preview(const std::string& name,
                                                             const DayEntry& entry) {
    const auto view = tank(name);
    if (!view) {
        return Unexpected(view.error());
    }
    const std::string month = monthOf(entry.day.date);
    auto found = store_->month(name, month + "-01", month + "-31");
    if (!found) {
        return Unexpected(found.error());
    }
    book::MonthRecords records = *std::move(found);
    records.days = withEntry(std::move(records.days), entry);
    const auto report = reconcile(records, **view);
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
    "Pumped during delivery"};

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
    const BookTank& gauged = (*view)->tank;
    const book::TankLimits limits{gauged.top, (*view)->settings.product.celsius, gauged.gauge,
                                  gauged.lengthUnit};
    std::vector<book::Day> days;
    if (recorded) {
        days.push_back(*recorded);
    }
    const book::Day day = withEntry(days, entry).front();
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

}  // namespace brimwell
