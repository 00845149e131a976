#include "cli/tankoutput.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "cli/calibrationfile.h"
#include "cli/unitwords.h"
#include "model/geometry/stickreading.h"
#include "model/geometry/waterbottom.h"
#include "model/tables/volumecorrection.h"
#include "model/text/numbertext.h"
#include "tank/chartparams.h"

namespace brimwell {
namespace {

// Text shows volumes to two decimals: a fill volume this far above the capacity is the capacity
// as printed, and so a full tank.
constexpr double kHalfLastDecimal = 0.005;
constexpr std::size_t kLabelWidth = 16;
// A table's VCF as the tables print it.
constexpr int kVcfDecimals = 4;
// The linear rule's factor, to the single precision its net volume is computed in.
constexpr int kLinearVcfDigits = 7;

std::string topName(const TankDescription& tank) {
    if (tank.calibration) {
        return "calibration chart's top level";
    }
    return tank.vertical ? "height" : "diameter";
}

// `tank` is empty while it is being built.
std::string describe(TankError error, const TankDescription& options, const TankVolumes* tank) {
    const std::string sizeRange = shortestText(kSmallestSize) + " to " +
                                  shortestText(kLargestSize) +
                                  " inches, or the same length in other --units";
    switch (error) {
        case TankError::Diameter:
            return "--diameter must be from " + sizeRange;
        case TankError::Length:
            return "--length must be from " + sizeRange;
        case TankError::HeadDepth:
            return "--head-depth must be from " + sizeRange;
        case TankError::Crown:
            return "--crown must be from 0.5 to " + shortestText(kLargestCrown);
        case TankError::Knuckle:
            return "--knuckle must be from " + shortestText(kSmallestKnuckle) + " to below 0.5";
        case TankError::Capacity:
            return "the volumes of this tank cannot be computed in " +
                   std::string(unitName(options.volumeUnit)) + ": its sizes are out of range";
        case TankError::Level:
            return "--level must be from 0 to the " + topName(options) + ", " +
                   shortestText(tank ? tank->top() : options.top()) + " " +
                   std::string(unitName(options.lengthUnit));
        case TankError::Volume: {
            std::string bottom = "0";
            std::string capacity;
            if (tank) {
                bottom.clear();
                appendVolume(bottom, tank->bottomVolume());
                appendVolume(capacity, tank->capacity());
            }
            return "--fill-volume must be from " + bottom + " to the capacity, " + capacity + " " +
                   std::string(unitName(options.volumeUnit));
        }
        case TankError::Percent: {
            const double least = tank ? 100 * tank->bottomVolume() / tank->capacity() : 0;
            return "--fill-percent must be from " + shortestText(least) + " to 100";
        }
    }
    return "bad input";
}

void appendLine(std::string& out, std::string_view label, const std::string& value) {
    out.append(label).append(":");
    out.append(kLabelWidth > label.size() + 1 ? kLabelWidth - label.size() - 1 : 1, ' ');
    out.append(value).append("\n");
}

// A line of a volume with two decimals and its unit.
void appendVolumeLine(std::string& out, std::string_view label, double volume, VolumeUnit unit) {
    std::string text;
    appendFixed2(text, volume, 0);
    appendLine(out, label, text.append(" ").append(unitName(unit)));
}

// A text as the inside of a JSON string.
std::string jsonEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out.append("\\").push_back(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> code{};
            std::snprintf(code.data(), code.size(), "\\u%04x", c);
            out.append(code.data());
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// A level in text: decimals and the unit, or feet, inches and eighths.
std::string formatLevel(double level, const TankDescription& tank, LevelFormat format,
                        int decimals = kTextLevelDecimals) {
    if (format == LevelFormat::FeetInches) {
        return feetInchesText(lengthToInches(level, tank.lengthUnit));
    }
    std::string text;
    appendFixed(text, level, decimals);
    return text.append(" ").append(unitName(tank.lengthUnit));
}

// JSON members written by the caller, each followed by ", ".
class JsonMembers {
public:
    JsonMembers& text(std::string_view key, std::string_view value) {
        withKey(key).append("\"").append(value).append("\", ");
        return *this;
    }
    JsonMembers& number(std::string_view key, double value) {
        return raw(key, shortestText(value + 0.0));  // -0 is written 0
    }
    JsonMembers& volume(std::string_view key, double value) {
        appendVolume(withKey(key), value + 0.0);
        out_.append(", ");
        return *this;
    }
    JsonMembers& significant(std::string_view key, double value, int digits) {
        appendSignificant(withKey(key), value + 0.0, digits);
        out_.append(", ");
        return *this;
    }
    JsonMembers& raw(std::string_view key, std::string_view json) {
        withKey(key).append(json).append(", ");
        return *this;
    }
    // The members as a whole object.
    std::string object() const {
        std::string text = "{";
        text.append(out_, 0, out_.size() >= 2 ? out_.size() - 2 : 0);
        return text.append("}");
    }
    const std::string& members() const { return out_; }

private:
    std::string& withKey(std::string_view key) {
        return out_.append("\"").append(key).append("\": ");
    }
    std::string out_;
};

// The tank's options as given, with their defaults filled in.
std::string tankObject(const TankDescription& tank) {
    JsonMembers json;
    if (tank.calibration) {
        json.text("calibration", jsonEscaped(*tank.calibration));
        json.text("units", unitWord(tank.lengthUnit)).text("volume", unitWord(tank.volumeUnit));
        return json.object();
    }
    json.text("orientation", tank.vertical ? "vertical" : "horizontal");
    if (!tank.vertical) {
        json.text("heads", headWord(tank.heads));
    }
    json.number("diameter", tank.diameter).number("length", tank.length);
    if (const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&tank.heads)) {
        json.number("head_depth", ellipsoidal->depthFor(tank.diameter));
    } else if (const auto* conical = std::get_if<ConicalHeads>(&tank.heads)) {
        json.number("head_depth", conical->depth);
    } else if (const auto* dished = std::get_if<TorisphericalHeads>(&tank.heads)) {
        json.number("crown", dished->crown).number("knuckle", dished->knuckle);
    }
    json.text("units", unitWord(tank.lengthUnit)).text("volume", unitWord(tank.volumeUnit));
    return json.object();
}

// The members every JSON output starts with.
JsonMembers commonMembers(const TankVolumes& tank, const TankDescription& options) {
    JsonMembers json;
    json.raw("tank", tankObject(options))
        .text("length_unit", unitWord(options.lengthUnit))
        .text("volume_unit", unitWord(options.volumeUnit))
        .volume("capacity", tank.capacity());
    return json;
}

// A gross volume corrected to the base temperature; `base` is the gravity or density at the base
// temperature when the one given was observed.
struct Corrected {
    double vcf = 1;
    double net = 0;
    std::optional<double> base;
};

// The module's refusal, behind the option at fault: the temperature or the table's value.
std::string refusal(const std::string& error, const CorrectionOptions& correction) {
    const std::string_view option = error.starts_with("the temperature")
                                        ? std::string_view("--temperature")
                                        : correctionValueOption(correction.table);
    return std::string(option) + ": " + error;
}

// The tank window's rule, in double precision as the volumes are.
Expected<Corrected, std::string> linear(double gross, const CorrectionOptions& c) {
    Corrected corrected;
    corrected.vcf = 1 + (c.reference - c.temperature) * c.value;
    corrected.net = gross + gross * ((c.reference - c.temperature) * c.value);
    if (!std::isfinite(corrected.net) || !std::isfinite(corrected.vcf)) {
        return Unexpected(std::string("--coefficient: the net volume is out of range"));
    }
    return corrected;
}

Expected<Corrected, std::string> correct(double gross, const CorrectionOptions& c) {
    if (c.table == CorrectionTable::Linear) {
        return linear(gross, c);
    }
    Corrected corrected;
    if (c.observed) {
        const ObservedWith meter =
            c.glassHydrometer ? ObservedWith::GlassHydrometer : ObservedWith::DensityMeter;
        const auto found = c.table == CorrectionTable::Table6B
                               ? baseTable5B(c.value, c.temperature, meter)
                               : baseTable53B(c.value, c.temperature, meter);
        if (!found) {
            return Unexpected(refusal(found.error(), c));
        }
        corrected.base = found->base;
        corrected.vcf = found->vcf;
    } else {
        // In CorrectionTable's order; the linear rule is not a table.
        static constexpr std::array<VcfResult (*)(double, double), 5> kTables{
            nullptr, vcfTable6B, vcfTable54B, vcfTable6C, vcfTable54C};
        const VcfResult vcf = kTables[static_cast<std::size_t>(c.table)](c.value, c.temperature);
        if (!vcf) {
            return Unexpected(refusal(vcf.error(), c));
        }
        corrected.vcf = *vcf;
    }
    corrected.net = gross * corrected.vcf;
    return corrected;
}

void appendVcf(std::string& out, double vcf, CorrectionTable table) {
    if (table == CorrectionTable::Linear) {
        appendSignificant(out, vcf, kLinearVcfDigits);
    } else {
        appendFixed(out, vcf, kVcfDecimals);
    }
}

// The volumes of a reading; with a water cut the correction applies to the product alone.
struct ReadingVolumes {
    double volume = 0;
    std::optional<WaterBottom> water;
    std::optional<Corrected> corrected;

    double gross() const { return water ? water->product : volume; }
};

Expected<ReadingVolumes, std::string> readingVolumes(const TankVolumes& tank,
                                                     const TankCommand& command) {
    const auto volume = tank.volumeAt(command.level);
    if (!volume) {
        return Unexpected(describe(volume.error(), command.tank, &tank));
    }
    ReadingVolumes reading{*volume, std::nullopt, std::nullopt};
    if (command.water) {
        if (tank.levelAsWritten(*command.water) > tank.levelAsWritten(command.level)) {
            return Unexpected(
                std::string("--water must not be above --level: the water cut is at the bottom"));
        }
        const auto water = tank.volumeAt(*command.water);
        if (!water) {
            return Unexpected(std::string("--water must be from 0 to the level"));
        }
        reading.water = splitWaterBottom(*volume, *water);
    }
    if (command.correction) {
        auto found = correct(reading.gross(), *command.correction);
        if (!found) {
            return Unexpected(found.error());
        }
        reading.corrected = *found;
    }
    return reading;
}

std::string readingJson(const TankVolumes& tank, const TankCommand& command,
                        const ReadingVolumes& reading) {
    const double capacity = tank.capacity();
    JsonMembers json = commonMembers(tank, command.tank);
    json.number("level", command.level)
        .volume("volume", reading.volume)
        .volume("ullage", capacity - reading.volume)
        .number("safe_fill", command.safeFill)
        .volume("safe_fill_room", capacity * (command.safeFill / 100) - reading.volume);
    if (reading.water) {
        json.number("water_level", *command.water)
            .volume("water_volume", reading.water->water)
            .volume("product_volume", reading.water->product);
    }
    if (const auto& corrected = reading.corrected) {
        const CorrectionOptions& correction = *command.correction;
        json.text("correction", correctionWord(correction.table))
            .number("temperature", correction.temperature)
            .text("temperature_unit", correction.unit == TempUnit::DegreesF ? "F" : "C");
        if (correction.table == CorrectionTable::Linear) {
            json.number("reference", correction.reference);
        }
        if (corrected->base) {
            const bool gravity = correction.table == CorrectionTable::Table6B;
            json.number(gravity ? "api_gravity_60" : "density_15", *corrected->base);
        }
        json.number("vcf", corrected->vcf).volume("net", corrected->net);
    }
    return json.object() + "\n";
}

void appendCorrectionLines(std::string& out, const TankCommand& command,
                           const ReadingVolumes& reading) {
    const VolumeUnit unit = command.tank.volumeUnit;
    const Corrected& corrected = *reading.corrected;
    const bool gravity = command.correction->table == CorrectionTable::Table6B;
    appendVolumeLine(out, "gross volume", reading.gross(), unit);
    std::string text;
    if (corrected.base) {
        appendFixed(text, *corrected.base, 1);
        appendLine(out, gravity ? "API gravity 60" : "density 15",
                   text + (gravity ? " °API" : " kg/m³"));
        text.clear();
    }
    appendVcf(text, corrected.vcf, command.correction->table);
    appendLine(out, "vcf", text);
    appendVolumeLine(out, "net volume", corrected.net, unit);
}

Expected<std::string, std::string> readingText(const TankVolumes& tank,
                                               const TankCommand& command) {
    const auto reading = readingVolumes(tank, command);
    if (!reading) {
        return Unexpected(reading.error());
    }
    if (command.format == ChartFormat::Json) {
        return readingJson(tank, command, *reading);
    }
    const double capacity = tank.capacity();
    const double volume = reading->volume;
    const VolumeUnit unit = command.tank.volumeUnit;
    std::string out;
    appendVolumeLine(out, "capacity", capacity, unit);
    appendVolumeLine(out, "volume", volume, unit);
    appendVolumeLine(out, "ullage", capacity - volume, unit);
    appendVolumeLine(out, "safe-fill room", capacity * (command.safeFill / 100) - volume, unit);
    if (const auto& water = reading->water) {
        appendLine(out, "water level",
                   formatLevel(*command.water, command.tank, command.levelFormat));
        appendVolumeLine(out, "water volume", water->water, unit);
        appendVolumeLine(out, "product volume", water->product, unit);
    }
    if (reading->corrected) {
        appendCorrectionLines(out, command, *reading);
    }
    return out;
}

// Whether `volume` reads as `written` does as brimwell-tank writes it: with the text's two
// decimals, or as CSV and JSON write volumes.
bool writtenAs(double volume, double written) {
    std::string text;
    appendFixed2(text, written, 0);
    std::string json;
    appendVolume(json, written);
    return readPlain(text) == volume || readPlain(json) == volume;
}

// The fill volume asked for; the capacity for one that prints as the capacity, and the bottom
// volume for one that prints as that.
std::optional<double> fillVolume(const TankVolumes& tank, const TankCommand& command) {
    const auto volume = command.fillVolume;
    const double capacity = tank.capacity();
    if (volume && *volume > capacity &&
        (*volume - capacity <= kHalfLastDecimal || writtenAs(*volume, capacity))) {
        return capacity;
    }
    if (volume && *volume < tank.bottomVolume() && writtenAs(*volume, tank.bottomVolume())) {
        return tank.bottomVolume();
    }
    return volume;
}

Expected<std::string, std::string> levelText(const TankVolumes& tank, const TankCommand& command) {
    const auto fill = fillVolume(tank, command);
    const auto level = fill ? tank.levelFor(*fill) : tank.levelForPercent(*command.fillPercent);
    if (!level) {
        return Unexpected(describe(level.error(), command.tank, &tank));
    }
    const double volume = fill ? *fill : tank.capacity() * (*command.fillPercent / 100);
    if (command.format == ChartFormat::Json) {
        JsonMembers json = commonMembers(tank, command.tank);
        json.volume("volume", volume).significant("level", *level, kJsonLevelDigits);
        return json.object() + "\n";
    }
    std::string out;
    appendVolumeLine(out, "volume", volume, command.tank.volumeUnit);
    appendLine(out, "level",
               formatLevel(*level, command.tank, command.levelFormat, foundLevelDecimals(*level)));
    return out;
}

}  // namespace

Expected<TankVolumes, std::string> buildTank(const TankDescription& options) {
    if (options.calibration) {
        auto chart = loadCalibrationChart(*options.calibration);
        if (!chart) {
            return Unexpected(chart.error());
        }
        return TankVolumes(*std::move(chart), options.lengthUnit);
    }
    auto volumes = shapeVolumes(options);
    if (!volumes) {
        return Unexpected(describe(volumes.error(), options, nullptr));
    }
    return *std::move(volumes);
}

Expected<std::string, std::string> answerText(const TankVolumes& tank, const TankCommand& command) {
    return command.subcommand == Subcommand::Level ? levelText(tank, command)
                                                   : readingText(tank, command);
}

Expected<LevelChartLayout, std::string> chartLayout(const TankVolumes& tank,
                                                    const TankCommand& command) {
    const TankDescription& options = command.tank;
    if (!(command.increment > 0)) {
        return Unexpected(std::string("--increment must be above 0"));
    }
    const double steps = roundStepCount(tank.top(), command.increment);
    if (!(steps >= 1)) {
        return Unexpected("--increment must be below twice the " + topName(options) +
                          " for at least one step");
    }
    if (!(steps <= static_cast<double>(kMostSteps))) {
        return Unexpected("--increment makes more than " + std::to_string(kMostSteps) +
                          " steps across the " + topName(options));
    }
    const int decimals = decimalsOf(command.increment);
    if (decimals > kMostChartDecimals) {
        return Unexpected("--increment has more than " + std::to_string(kMostChartDecimals) +
                          " decimals, the most that a chart's levels show");
    }
    LevelChartLayout layout;
    layout.increment = command.increment;
    layout.format = command.format;
    if (layout.format == ChartFormat::Json) {
        layout.jsonMembers = commonMembers(tank, options).members();
    }
    return layout;
}

}  // namespace brimwell
