#include "book/changes.h"

#include <algorithm>

namespace brimwell::book {

bool reworksDays(const TankSettings& before, const TankSettings& after) {
    const Product& was = before.product;
    const Product& is = after.product;
    return before.shape != after.shape || before.openingLevel != after.openingLevel ||
           was.correction != is.correction || was.value != is.value ||
           was.reference != is.reference || was.celsius != is.celsius;
}

bool hasCorrection(const Product& product) {
    return product.correction != Correction::Linear || product.value != 0;
}

std::vector<Day> withChange(std::vector<Day> days, const DayChange& change) {
    Day day = change.day;
    const auto at = std::find_if(days.begin(), days.end(),
                                 [&](const Day& other) { return other.date >= day.date; });
    if (at != days.end() && at->date == day.date) {
        day.deliveries = at->deliveries;
        days.erase(at);
    }
    if (change.delivery && change.replacing > 0 && change.replacing <= day.deliveries.size()) {
        day.deliveries[change.replacing - 1] = *change.delivery;
    } else if (change.delivery) {
        day.deliveries.push_back(*change.delivery);
    }
    const auto place = std::find_if(days.begin(), days.end(),
                                    [&](const Day& other) { return other.date > day.date; });
    days.insert(place, day);
    return days;
}

bool deliveryUnchanged(const DayChange& change, const std::vector<Delivery>& recorded) {
    return change.delivery && change.replacing > 0 && change.replacing <= recorded.size() &&
           recorded[change.replacing - 1] == *change.delivery;
}

bool sameAsRecorded(const DayChange& change, const Day& recorded) {
    return recorded.sameReadings(change.day) &&
           (!change.delivery || deliveryUnchanged(change, recorded.deliveries));
}

Delivery correctedDelivery(Delivery given, const Delivery& recorded, bool temperatureBeforeGiven,
                           bool temperatureAfterGiven) {
    if (!temperatureBeforeGiven) {
        given.temperatureBefore = recorded.temperatureBefore;
    }
    if (!temperatureAfterGiven) {
        given.temperatureAfter = recorded.temperatureAfter;
    }
    return given;
}

}  // namespace brimwell::book
