#pragma once

// A product's factor to the base temperature at a temperature in the product's unit.

#include <string>

#include "book/records.h"
#include "model/expected.h"

namespace brimwell::book {

// Linear: 1 + (reference - temperature) × coefficient, the tank window's rule. The tables:
// model/volumecorrection.h, whose refusal names the input and the table's range.
Expected<double, std::string> productVcf(const Product& product, double temperature);

}  // namespace brimwell::book
