#pragma once

// The printed pages' contents: a month's report of each tank, and the blank daily worksheet to
// fill in at the tank. Texts, tables and their order; no drawing.

#include <string>
#include <vector>

#include "bookreport/pagemodel.h"
#include "bookreport/reportinput.h"
#include "bookreport/reporttext.h"

namespace brimwell::bookreport {

// Each tank's month, a section each.
Document monthDocument(const std::vector<TankReport>& tanks, const ReportFrame& frame);

// The tank's blank worksheet for `month`, YYYY-MM: a row for each day, its date filled in.
Document worksheetDocument(const book::TankSettings& tank, LengthUnit lengthUnit,
                           VolumeUnit volumeUnit, const std::string& month,
                           const ReportFrame& frame);

// Parts of a tank's section (monthlayout.cpp, resultlayout.cpp).
void writeHeader(SectionWriter& out, const QString& title, const book::TankSettings& tank,
                 LengthUnit lengthUnit, VolumeUnit volumeUnit, const ReportFrame& frame);
void writeDeliveries(SectionWriter& out, const TankReport& report, const ReportFrame& frame);
void writeChecks(SectionWriter& out, const TankReport& report, const ReportFrame& frame);
void writeLeakTest(SectionWriter& out, const TankReport& report, const ReportFrame& frame);
void writeSignature(SectionWriter& out);
void writeCorrections(SectionWriter& out, const TankReport& report, const ReportFrame& frame);

// "Page footer" texts: the document's and a section's.
QString documentFooter(const ReportFrame& frame);

}  // namespace brimwell::bookreport
