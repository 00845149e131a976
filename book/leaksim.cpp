#include "book/leaksim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace brimwell::book::sim {
namespace {

constexpr double kDiameter = 96;
constexpr double kLength = 324;
constexpr double kSales = 1000;  // gal a day
constexpr double kSalesSd = 300;
constexpr double kWeekendSales = 300;
constexpr double kWeekendSalesSd = 100;
constexpr double kRefillBelow = 1.0 / 3;  // of the capacity
constexpr double kFillTo = 0.9;
constexpr double kBillSd = 0.003;  // relative
constexpr double kEighth = 0.125;  // in
constexpr double kTailFreedom = 3;
constexpr double kDriftCorrelation = 0.7;
constexpr double kDriftSd = 3;  // gal
constexpr double kBusySales = 3500;
constexpr double kBusySalesSd = 0.3;  // relative
constexpr std::array<double, 2> kBusyRefillBelow{0.4, 0.45};
constexpr std::array<double, 2> kBusyFillTo{0.5, 0.9};

TankDescription shape(double diameter = kDiameter) {
    TankDescription shape;
    shape.diameter = diameter;
    shape.length = kLength;
    return shape;
}

// YYYY-MM-DD of the `index`th day of 2026 (0 is January 1st); -1 is 2025-12-31.
std::string dateIn2026(int index) {
    if (index < 0) {
        return "2025-12-31";
    }
    constexpr std::array<int, 12> kMonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    while (month < 11 && index >= kMonthDays[month]) {
        index -= kMonthDays[month++];
    }
    char text[48];
    std::snprintf(text, sizeof text, "2026-%02d-%02d", month + 1, index + 1);
    return text;
}

}  // namespace

TankSettings simulatedTank(double chartDiameter) {
    TankSettings tank;
    tank.name = "simulated";
    tank.shape = shape(chartDiameter);
    return tank;
}

Simulator::Simulator(NoiseModel model, std::uint64_t seed)
    : model_(model), random_(seed), volumes_(*shapeVolumes(shape())) {}

// Marsaglia's polar method on 53-bit uniforms: the same numbers from every standard library.
double Simulator::normal() {
    if (spareNormal_) {
        const double spare = *spareNormal_;
        spareNormal_.reset();
        return spare;
    }
    auto uniform = [this] { return static_cast<double>(random_() >> 11) * 0x1p-53; };
    double u = 0;
    double v = 0;
    double s = 0;
    do {
        u = 2 * uniform() - 1;
        v = 2 * uniform() - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    const double scale = std::sqrt(-2 * std::log(s) / s);
    spareNormal_ = v * scale;
    return u * scale;
}

double Simulator::readingError(const Arm& arm) {
    if (model_ == NoiseModel::Even) {
        return arm.readingError * normal();
    }
    // Student's t with 3 degrees of freedom has variance 3: scaled to the arm's sd.
    double chiSquare = 0;
    for (int i = 0; i < kTailFreedom; ++i) {
        const double z = normal();
        chiSquare += z * z;
    }
    const double t = normal() / std::sqrt(chiSquare / kTailFreedom);
    return arm.readingError * t / std::sqrt(kTailFreedom / (kTailFreedom - 2));
}

// The stick a person reads for `volume`: the true level, a reading error, to the nearest 1/8 in.
double Simulator::stick(double volume, const Arm& arm) {
    const double level = volumes_.levelFor(std::clamp(volume, 0.0, volumes_.capacity())).value();
    const double read = std::round((level + readingError(arm)) / kEighth) * kEighth;
    return std::clamp(read, 0.0, kDiameter);
}

MonthRecords Simulator::days(const Arm& arm, int count) {
    const double capacity = volumes_.capacity();
    auto uniform = [this] { return static_cast<double>(random_() >> 11) * 0x1p-53; };
    double volume = capacity * (kRefillBelow + (kFillTo - kRefillBelow) * uniform());
    const bool weekends = model_ == NoiseModel::WeekendsHeavyTails;
    // The drift's stationary start and its innovations, AR(1).
    double drift = weekends ? kDriftSd * normal() : 0;
    const double innovation = kDriftSd * std::sqrt(1 - kDriftCorrelation * kDriftCorrelation);
    const int weekday = static_cast<int>(uniform() * 7);
    // The next refill's trigger and target, shares of the capacity.
    auto between = [&](const std::array<double, 2>& range) {
        return range[0] + (range[1] - range[0]) * uniform();
    };
    double refillBelow = arm.busy ? between(kBusyRefillBelow) : kRefillBelow;
    double fillTo = arm.busy ? between(kBusyFillTo) : kFillTo;
    MonthRecords records;
    Day before;
    before.date = dateIn2026(-1);
    before.closingLevel = stick(volume + drift, arm);
    before.pumped = kSales;
    records.before = before;
    for (int i = 0; i < count; ++i) {
        Day day;
        day.date = dateIn2026(i);
        if (volume < capacity * refillBelow) {
            const double delivered = capacity * fillTo - volume;
            Delivery delivery;
            delivery.billVolume = std::round(delivered * (1 + kBillSd * normal()));
            delivery.levelBefore = stick(volume + drift, arm);
            volume += delivered;
            delivery.levelAfter = stick(volume + drift, arm);
            day.deliveries.push_back(delivery);
            refillBelow = arm.busy ? between(kBusyRefillBelow) : kRefillBelow;
            fillTo = arm.busy ? between(kBusyFillTo) : kFillTo;
        }
        const bool weekend = weekends && (weekday + i) % 7 >= 5;
        // Weekdays carry the weekend's shortfall, so that a week sells 7,000 gal either way.
        const double mean = arm.busy  ? kBusySales
                            : !weekends ? kSales
                            : weekend   ? kWeekendSales
                                        : (7 * kSales - 2 * kWeekendSales) / 5;
        const double sd = arm.busy ? kBusySales * kBusySalesSd
                          : weekend ? kWeekendSalesSd
                                    : kSalesSd;
        const double sold = std::clamp(mean + sd * normal(), 0.0, volume);
        volume -= sold;
        volume = std::max(volume - arm.leak * 24, 0.0);
        if (weekends) {
            drift = kDriftCorrelation * drift + innovation * normal();
        }
        day.pumped = std::round(sold * (1 + arm.meterError) * 10) / 10;
        day.closingLevel = stick(volume + drift, arm);
        records.days.push_back(day);
    }
    return records;
}

}  // namespace brimwell::book::sim
