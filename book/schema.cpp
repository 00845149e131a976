#include "book/schema.h"

namespace brimwell::book {
namespace {

// Version 3: the shape in columns of its own (see schema.h).
constexpr std::string_view kTankColumns =
    " (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, product TEXT NOT NULL, "
    "correction TEXT NOT NULL, correction_value DOUBLE PRECISION NOT NULL, "
    "reference DOUBLE PRECISION NOT NULL, celsius INTEGER NOT NULL, "
    "orientation TEXT NOT NULL, heads TEXT NOT NULL, head_depth DOUBLE PRECISION, "
    "crown DOUBLE PRECISION, knuckle DOUBLE PRECISION, diameter DOUBLE PRECISION NOT NULL, "
    "length DOUBLE PRECISION NOT NULL, length_unit TEXT NOT NULL, volume_unit TEXT NOT NULL, "
    "calibration TEXT, safe_fill DOUBLE PRECISION NOT NULL, opening_level DOUBLE PRECISION, "
    "created_at TEXT NOT NULL)";

// Version 2: a corrected or withdrawn delivery keeps its earlier values here.
constexpr std::string_view kDeliveryHistory =
    "CREATE TABLE delivery_history (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
    "REFERENCES tanks (id), day TEXT NOT NULL, bill_volume DOUBLE PRECISION NOT NULL, "
    "bill_net INTEGER NOT NULL, bill_temperature DOUBLE PRECISION, "
    "level_before DOUBLE PRECISION NOT NULL, level_after DOUBLE PRECISION NOT NULL, "
    "temperature_before DOUBLE PRECISION, temperature_after DOUBLE PRECISION, "
    "pumped_during DOUBLE PRECISION NOT NULL, recorded_at TEXT NOT NULL, "
    "changed_at TEXT NOT NULL, withdrawn INTEGER NOT NULL)";
constexpr std::string_view kDeliveryHistoryIndex =
    "CREATE INDEX delivery_history_by_day ON delivery_history (tank_id, day)";

// Version 3: each leak test issued, with its time.
constexpr std::string_view kLeakTests =
    "CREATE TABLE leak_tests (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
    "REFERENCES tanks (id), first_day TEXT NOT NULL, last_day TEXT NOT NULL, "
    "issued_at TEXT NOT NULL, verdict TEXT NOT NULL "
    "CHECK (verdict IN ('pass', 'fail', 'inconclusive', 'no analysis')), "
    "leak_rate DOUBLE PRECISION, "
    "threshold DOUBLE PRECISION, mdl DOUBLE PRECISION, usable_days INTEGER NOT NULL)";
constexpr std::string_view kLeakTestsIndex =
    "CREATE INDEX leak_tests_by_period ON leak_tests (tank_id, first_day, last_day)";

// Version 4: the meters' calibration factors.
constexpr std::string_view kMeterFactors =
    "CREATE TABLE meter_factors (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
    "REFERENCES tanks (id), effective TEXT NOT NULL, factor DOUBLE PRECISION NOT NULL, "
    "unit TEXT NOT NULL CHECK (unit IN ('in3/5gal', 'mL/20L')), recorded_at TEXT NOT NULL, "
    "UNIQUE (tank_id, effective))";

std::string createTable(std::string_view name, std::string_view columns) {
    return std::string("CREATE TABLE ").append(name).append(columns);
}

}  // namespace

// A PostgreSQL set would differ in its key columns (BIGINT GENERATED ALWAYS AS IDENTITY) and
// start writes with a plain BEGIN.
const Schema& sqliteSchema() {
    static const Schema schema{
        // The journal in a write-ahead log: readers never wait for a writer, and a writer
        // killed mid-change leaves the book as it was. It stays with the file.
        {"PRAGMA journal_mode = WAL"},
        {
            "CREATE TABLE book_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
            createTable("tanks", kTankColumns),
            "CREATE TABLE rules (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
            "REFERENCES tanks (id), ordinal INTEGER NOT NULL, kind TEXT NOT NULL, "
            "value1 DOUBLE PRECISION NOT NULL, value2 DOUBLE PRECISION NOT NULL)",
            "CREATE TABLE days (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
            "REFERENCES tanks (id), day TEXT NOT NULL, closing_level DOUBLE PRECISION NOT NULL, "
            "water_level DOUBLE PRECISION, temperature DOUBLE PRECISION, "
            "pumped DOUBLE PRECISION, meter_open DOUBLE PRECISION, meter_close DOUBLE PRECISION, "
            "recorded_at TEXT NOT NULL, initials TEXT, UNIQUE (tank_id, day))",
            "CREATE TABLE day_history (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
            "REFERENCES tanks (id), day TEXT NOT NULL, closing_level DOUBLE PRECISION NOT NULL, "
            "water_level DOUBLE PRECISION, temperature DOUBLE PRECISION, "
            "pumped DOUBLE PRECISION, meter_open DOUBLE PRECISION, meter_close DOUBLE PRECISION, "
            "recorded_at TEXT NOT NULL, changed_at TEXT NOT NULL, initials TEXT)",
            "CREATE INDEX day_history_by_day ON day_history (tank_id, day)",
            "CREATE TABLE deliveries (id INTEGER PRIMARY KEY, tank_id INTEGER NOT NULL "
            "REFERENCES tanks (id), day TEXT NOT NULL, bill_volume DOUBLE PRECISION NOT NULL, "
            "bill_net INTEGER NOT NULL, bill_temperature DOUBLE PRECISION, "
            "level_before DOUBLE PRECISION NOT NULL, level_after DOUBLE PRECISION NOT NULL, "
            "temperature_before DOUBLE PRECISION, temperature_after DOUBLE PRECISION, "
            "pumped_during DOUBLE PRECISION NOT NULL, recorded_at TEXT NOT NULL)",
            "CREATE INDEX deliveries_by_day ON deliveries (tank_id, day)",
            std::string(kDeliveryHistory),
            std::string(kDeliveryHistoryIndex),
            std::string(kLeakTests),
            std::string(kLeakTestsIndex),
            std::string(kMeterFactors),
        },
        {
            {{std::string(kDeliveryHistory), std::string(kDeliveryHistoryIndex)}, {}},
            // The tanks table made again, as SQLite changes a column's constraints. The other
            // tables' references name `tanks`, which the new table is then called.
            {{createTable(kNewTanks, kTankColumns)},
             {"DROP TABLE tanks",
              std::string("ALTER TABLE ").append(kNewTanks).append(" RENAME TO tanks"),
              std::string(kLeakTests), std::string(kLeakTestsIndex)}},
            // Version 4: the initials' columns are added by code (upgrade.cpp), then the meter
            // factors get their table.
            {{}, {std::string(kMeterFactors)}},
        },
        "BEGIN IMMEDIATE",
    };
    return schema;
}

}  // namespace brimwell::book
