#pragma once

// What a change to the book changes: whether a tank's new settings rework its recorded days,
// where a day's change puts its delivery, and when saving a day again changes nothing.

#include <cstddef>
#include <optional>
#include <vector>

#include "book/records.h"

namespace brimwell::book {

// A day to record, with a delivery that is added to it or corrects one recorded on it.
struct DayChange {
    Day day;  // without the new delivery
    std::optional<Delivery> delivery;
    // The recorded delivery that `delivery` corrects, 1 being the day's first; 0 adds it.
    std::size_t replacing = 0;
};

// Whether the recorded days' figures are worked out anew after the change: the shape or chart,
// its units, the correction or the opening stick changed.
bool reworksDays(const TankSettings& before, const TankSettings& after);

// Whether the product is corrected to the base temperature: a product without a correction has
// no net volume to show.
bool hasCorrection(const Product& product);

// The days with the change's day in its place: the deliveries recorded on it stay with it, and
// the change's delivery is added or takes the place of the one it corrects.
std::vector<Day> withChange(std::vector<Day> days, const DayChange& change);

// Whether the change's delivery repeats the recorded one it corrects, so that saving it changes
// nothing.
bool deliveryUnchanged(const DayChange& change, const std::vector<Delivery>& recorded);

// Whether saving the change would leave the recorded day as it is: the same readings, and no
// delivery or one that repeats the recorded delivery it corrects.
bool sameAsRecorded(const DayChange& change, const Day& recorded);

// A correction of `recorded` that gives `given`: the temperatures before and after that it does
// not give again are kept as recorded.
Delivery correctedDelivery(Delivery given, const Delivery& recorded, bool temperatureBeforeGiven,
                           bool temperatureAfterGiven);

}  // namespace brimwell::book
