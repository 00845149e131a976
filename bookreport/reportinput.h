#pragma once

// What a month's printed report shows of one tank, read from the book in one read transaction
// (reportread.h), and what the pages of a site share.

#include <optional>
#include <string>
#include <vector>

#include "book/leaktest.h"
#include "book/reconcile.h"
#include "book/records.h"
#include "model/units/units.h"

namespace brimwell::bookreport {

// A result line printed after the leak test: "label: text".
struct LabelledLine {
    std::string label;
    std::string text;
};

struct TankReport {
    book::TankSettings tank;
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    std::string month;  // YYYY-MM
    book::MonthRecords records;
    // The month's figures; empty when the month has no recorded day.
    std::optional<book::MonthReport> figures;
    std::optional<book::LeakTest> leakTest;
    std::string leakTestProblem;  // why the recorded month gave no leak test
    // Further checks' results, printed after the leak test.
    std::vector<LabelledLine> moreResults;
    // The month's corrections, the earliest first.
    std::vector<book::DayCorrection> dayCorrections;
    std::vector<book::DeliveryCorrection> deliveryCorrections;
    std::string lastChange;  // UTC, ISO 8601; empty when the month has no record
};

// What every page's header and footer name.
struct ReportFrame {
    book::Site site;
    std::string bookFile;       // the book's file name, without its folder
    std::string printedAt;      // "YYYY-MM-DD hh:mm UTC"
    std::string decimal = ".";  // the user's decimal separator
};

}  // namespace brimwell::bookreport
