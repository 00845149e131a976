#pragma once

// A tank's reading from a recorded day: what stands in it and the room left above it.

#include <optional>
#include <string>

#include "book/reconcile.h"
#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

struct Reading {
    double level = 0;
    double volume = 0;                // everything below the stick, water included
    double water = 0;                 // the volume below the water cut
    double product = 0;               // volume - water, gross
    std::optional<double> net;        // the product at the base temperature, with a temperature
    double ullage = 0;                // capacity - volume
    double safeFillRoom = 0;          // safeFill % of the capacity - volume, negative when over
    double fill = 0;                  // level / top, 0 to 1
    std::optional<double> waterFill;  // water cut / top
};

// `capacity` and `top` are the tank's; `safeFill` is a percent of the capacity.
Expected<Reading, std::string> readingOf(const Day& day, const Gauge& gauge, double capacity,
                                         double top, double safeFill);

}  // namespace brimwell::book
