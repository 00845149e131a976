#pragma once

// A tank's leak test as brimwell-book writes it: text for a person, a CSV row for a spreadsheet
// of many tanks, JSON for programs.

#include <optional>
#include <string>
#include <vector>

#include "book/leaktest.h"
#include "book/reportformat.h"
#include "model/units/units.h"

namespace brimwell::book {

struct LeakHeading {
    std::string tank;
    std::string product;
    std::string first;  // the period, YYYY-MM-DD
    std::string last;
    std::string month;  // YYYY-MM when the period is a calendar month
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    LengthUnit lengthUnit = LengthUnit::Inches;
};

struct LeakReport {
    LeakTest test;
    // The verdict of the month before, for a calendar month: two in a row without a pass ask
    // for a tightness test under most rules.
    std::optional<LeakVerdict> previous;
    // Results issued before for this period that differ from this one.
    std::vector<IssuedLeakTest> issued;
};

// The test's method as the reports name it.
extern const char* const kLeakMethod;

// "gal/h", "L/h", "m3/h", "mL/h".
std::string rateUnit(VolumeUnit unit);

std::string leakReport(const LeakReport& report, const LeakHeading& heading, ReportFormat format);

}  // namespace brimwell::book
