#pragma once

// A CSV of days as the book imports it: a header naming the columns tank, date and stick and any
// of water, temperature, pumped, meter_open, meter_close (as `export` writes them) and initials
// (other columns are passed over), then a day a line. Sticks are read as written (75.625, 6'3-5/8"),
// numbers with "." as the point. Every row is read and checked before the book is touched, and
// then written in one change, so an import lands whole or not at all; a fault names its line.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/records.h"
#include "book/store.h"
#include "book/validation.h"
#include "model/expected.h"
#include "model/units/units.h"

namespace brimwell::book {

// What reading a tank's days needs of it.
struct ImportTank {
    LengthUnit unit = LengthUnit::Inches;
    TankLimits limits;
};
// The tank of that name, or why the book has none.
using ImportTankOf = std::function<Expected<const ImportTank*, std::string>(const std::string&)>;

class DayImport {
public:
    // The import of a file whose first line is `header`; the fault names a column missing.
    static Expected<DayImport, std::string> start(std::string_view header);

    // Reads the file's next line, a day or a blank line; the fault begins "line N: ".
    Expected<void, std::string> readLine(std::string_view line, const ImportTankOf& tankOf);

    const std::vector<ImportRow>& rows() const { return rows_; }
    // The first row the book refuses with the deliveries recorded on its day, given each tank's
    // deliveries by date; "line N: " and the reason.
    std::optional<std::string> refusalWith(
        const std::map<std::string, std::multimap<std::string, Delivery>>& deliveries,
        const ImportTankOf& tankOf) const;

private:
    explicit DayImport(std::map<std::string, std::size_t> columns)
        : columns_(std::move(columns)) {}

    std::map<std::string, std::size_t> columns_;
    std::size_t width_ = 0;  // the fields a line has at least
    int line_ = 1;           // the header's
    std::vector<ImportRow> rows_;
    std::vector<int> lines_;
    std::map<std::pair<std::string, std::string>, int> given_;  // each tank's day, by its line
};

// Why an import was not written: a row the book refuses, or the book's own failure.
struct ImportFailure {
    bool refused = false;
    std::string message;
};

// Writes the rows in one change, checking them with the deliveries recorded on their days under
// the lock that writes them; `progress` is told the rows written now and then.
Expected<void, ImportFailure> importChecked(Store& store, const DayImport& import,
                                            const ImportTankOf& tankOf,
                                            const std::function<void(std::size_t)>& progress);

}  // namespace brimwell::book
