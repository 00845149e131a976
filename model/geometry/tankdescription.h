#pragma once

// A tank as a person describes it, before anything is computed from it: its shape and sizes in
// their own length unit, or its own calibration chart, and the units its volumes are in; and a
// product's correction to the base temperature. Plain data, read from a command line, a window
// or the book, and turned into volumes by tankVolumesOf.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/expected.h"
#include "model/geometry/tank.h"
#include "model/geometry/tankvolumes.h"
#include "model/units/units.h"

namespace brimwell {

// Lengths in `lengthUnit`, a head's depth too; a default the model fills in stays empty.
struct TankDescription {
    bool vertical = false;
    Heads heads = FlatHeads{};  // flat for a vertical tank
    double diameter = 0;
    double length = 0;  // the straight shell, or the height of a vertical tank
    LengthUnit lengthUnit = LengthUnit::Inches;
    VolumeUnit volumeUnit = VolumeUnit::Gallons;
    // The tank's own calibration chart stands for the shape: levels in lengthUnit, volumes in
    // volumeUnit. On a command line this is the chart's file; in the book, the chart's text.
    std::optional<std::string> calibration;

    double top() const { return vertical ? length : diameter; }
    bool operator==(const TankDescription&) const = default;
};

// The volumes of a described shape (its calibration, if any, aside): the tank's refusal of a
// size, or of a capacity too large for the volume unit, names the size at fault.
Expected<TankVolumes, TankError> shapeVolumes(const TankDescription& tank);

enum class CorrectionTable { Linear, Table6B, Table54B, Table6C, Table54C };

// The tables' names wherever they are written or read, in the enum's order.
inline constexpr std::array<std::string_view, 5> kCorrectionWords{"linear", "6B", "54B", "6C",
                                                                  "54C"};
// The heads' names, in the order of Heads' alternatives.
inline constexpr std::array<std::string_view, 5> kHeadWords{"flat", "hemispherical",
                                                            "ellipsoidal", "torispherical",
                                                            "conical"};

std::string_view correctionWord(CorrectionTable table);
std::optional<CorrectionTable> correctionNamed(std::string_view word);
std::string_view headWord(const Heads& heads);
std::optional<Heads> headsNamed(std::string_view word);

// A reading's correction to the base temperature, as given, its defaults filled in. The
// temperatures are in `unit`, which 6B and 6C take in °F and 54B and 54C in °C.
struct CorrectionOptions {
    CorrectionTable table = CorrectionTable::Linear;
    double temperature = 0;
    TempUnit unit = TempUnit::DegreesF;
    // The coefficient per degree of `unit` (linear), the API gravity (6B), the density in kg/m³
    // (54B), or α per °F (6C) or per °C (54C).
    double value = 0;
    double reference = 60;        // linear only: 60 °F or 15 °C unless given
    bool observed = false;        // 6B, 54B: the gravity or density was read at `temperature`
    bool glassHydrometer = true;  // observed: read on a glass hydrometer, not a density meter
};

}  // namespace brimwell
