#pragma once

// Simulated tank books for the leak test's evaluation (bench/leaksim.cpp): a 10,000 gal
// horizontal tank, 96 × 324 in with flat heads, read by stick once a day and refilled when it
// falls below a third. docs/leaktest.md describes the two noise models.

#include <cstdint>
#include <random>
#include <string>

#include "book/booktank.h"
#include "book/records.h"

namespace brimwell::book::sim {

enum class NoiseModel {
    // Sales normal, 1,000 gal a day with sd 300; each reading's error normal.
    Even,
    // Quiet weekends (300 gal, sd 100, the weekdays busier for the same weekly sales), readings'
    // errors Student-t with 3 degrees of freedom, and a day-to-day correlated volume error such
    // as an uncorrected product temperature gives (AR(1), 0.7 from one day to the next, sd 3 gal).
    WeekendsHeavyTails,
};

struct Arm {
    std::string name;
    double leak = 0;          // gal/h, out of the tank and unrecorded
    double readingError = 0;  // the sd of a stick reading's error before rounding to 1/8 in
    // What the meters record beyond what they pump, a share: 0.002 for a meter 0.2 % high.
    double meterError = 0;
    // A busy tank: 3,500 gal sold a day (sd 30 %), refilled below 40 to 45 % of the capacity to
    // 50 to 90 %, drawn anew for each delivery, so that a month has deliveries of many sizes.
    bool busy = false;
};

// The book's tank as the simulation describes it: gross volumes, no correction. The book's chart
// may be of another diameter than the tank the sticks are read in.
TankSettings simulatedTank(double chartDiameter = 96);

// Days of one tank from a seed: each starts the tank anew at a level between a third and nine
// tenths full.
class Simulator {
public:
    Simulator(NoiseModel model, std::uint64_t seed);

    // `count` days from 2026-01-01, and the day before them, 2025-12-31, with its close.
    MonthRecords days(const Arm& arm, int count);

private:
    double normal();
    double readingError(const Arm& arm);
    double stick(double volume, const Arm& arm);

    NoiseModel model_;
    std::mt19937_64 random_;
    TankVolumes volumes_;
    std::optional<double> spareNormal_;
};

}  // namespace brimwell::book::sim
