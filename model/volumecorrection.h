#pragma once

// Volume correction factors (VCF) for petroleum products: the factor that turns a volume
// measured at the product's temperature into its volume at the base temperature, 60 °F or 15 °C
// (net = gross × VCF).
//
// Edition. The 1980 Petroleum Measurement Tables: API MPMS Chapter 11.1 (API Standard 2540),
// ASTM D1250-80, IP 200, for generalized products and for a given expansion coefficient:
//   6B   VCF to 60 °F from the API gravity at 60 °F
//   54B  VCF to 15 °C from the density at 15 °C
//   6C   VCF to 60 °F from a coefficient of thermal expansion per °F at 60 °F
//   54C  VCF to 15 °C from a coefficient per °C at 15 °C
//   5B   API gravity at the observed temperature to API gravity at 60 °F, then 6B
//   53B  density at the observed temperature to density at 15 °C, then 54B
// Every table uses VCF = exp(−α·ΔT·(1 + 0.8·α·ΔT)), ΔT = T − 60 °F or T − 15 °C. In 6B and 54B
// α = K0/ρ² + K1/ρ, with K0 and K1 of the product group that the base density falls in (fuel
// oils, jet fuels, gasolines), and α = A + B/ρ² in the transition zone between jet fuels and
// gasolines. An API gravity is turned into a density at 60 °F as 141.5 × 999.012 / (131.5 + API).
// The groups in 6B: fuel oils 0 to 37.0 °API, jet fuels 37.1 to 47.9, transition zone 48.0 to
// 52.0, gasolines 52.1 to 85; in 54B: gasolines 653 to 770.0 kg/m³, transition zone 770.1 to
// 787.9, jet fuels 788.0 to 838.9, fuel oils 839.0 to 1075. The 54B constants are 6B's times 1.8.
//
// Rounding, as the 1980 tables: the API gravity to 0.1, a density to 0.1 kg/m³, a coefficient to
// 0.1 × 10⁻⁶, a temperature to 0.1 °F or 0.05 °C, before anything is computed; the VCF to four
// decimals, as printed in the tables; 5B and 53B give the base gravity to 0.1 and the base
// density to 0.1 kg/m³. Values between these steps are carried at full precision.
//
// The 2004 edition (ASTM D1250-04, API MPMS 11.1-2004) computes the same physics without the
// 1980 rounding of inputs and gives five decimals, and covers wider ranges; its factors can
// differ from these in the fourth decimal, so a figure checked against a 2004-based table may
// be off by 0.0001 now and then.
//
// Hydrometers. The printed 5B and 53B tables also correct a glass hydrometer's reading for the
// expansion of its glass; these functions do not. They take the gravity or density of the
// liquid at the observed temperature, as a density meter gives it. A glass hydrometer's reading
// is to be corrected by the caller first, else far from the base temperature the base value is
// off by a few hundredths of a degree API or a few tenths of a kg/m³.
//
// Inputs outside a table's range are refused with the range in the message, never extrapolated.
//
// The tank window's linear correction, gross + gross × (Tref − T) × Ce, stays NetVolume() in
// model/product.h; a caller that offers the tables offers it beside them from there.

#include <array>
#include <string>

#include "model/expected.h"
#include "model/product.h"

namespace brimwell {

struct Range {
    double low;
    double high;
};

// The temperatures a table covers for inputs up to `upTo` (and above the band before it).
struct TemperatureBand {
    double upTo;
    Range temperature;
};

// 6B and 5B: °API at 60 °F (5B: observed), temperatures in °F; heavier products reach hotter.
inline constexpr Range kTable6BGravity{0.0, 85.0};
inline constexpr std::array<TemperatureBand, 3> kTable6BTemperatures{{
    {40.0, {0.0, 300.0}},
    {50.0, {0.0, 250.0}},
    {85.0, {0.0, 200.0}},
}};

// 54B and 53B: kg/m³ at 15 °C (53B: observed), temperatures in °C. The bands are 6B's
// restated in density and in whole degrees Celsius.
inline constexpr Range kTable54BDensity{653.0, 1075.0};
inline constexpr std::array<TemperatureBand, 3> kTable54BTemperatures{{
    {779.0, {-18.0, 90.0}},
    {824.5, {-18.0, 120.0}},
    {1075.0, {-18.0, 150.0}},
}};

// 6C: coefficient per °F, temperatures in °F.
inline constexpr Range kTable6CCoefficient{270.0e-6, 930.0e-6};
inline constexpr std::array<TemperatureBand, 3> kTable6CTemperatures{{
    {510.0e-6, {0.0, 300.0}},
    {530.0e-6, {0.0, 250.0}},
    {930.0e-6, {0.0, 200.0}},
}};

// 54C: coefficient per °C (6C's × 1.8), temperatures in °C.
inline constexpr Range kTable54CCoefficient{486.0e-6, 1674.0e-6};
inline constexpr std::array<TemperatureBand, 3> kTable54CTemperatures{{
    {918.0e-6, {-18.0, 150.0}},
    {954.0e-6, {-18.0, 120.0}},
    {1674.0e-6, {-18.0, 90.0}},
}};

// The error text names the input at fault and the range it left, e.g. "the API gravity 120 is
// outside table 6B's range 0 to 85".
using VcfResult = Expected<double, std::string>;

VcfResult vcfTable6B(double apiGravity60F, double temperatureF);
VcfResult vcfTable54B(double density15C, double temperatureC);
VcfResult vcfTable6C(double coefficientPerF, double temperatureF);
VcfResult vcfTable54C(double coefficientPerC, double temperatureC);

// A gravity or density brought to the base temperature, and the VCF at the observed temperature.
struct BaseCorrection {
    double base;  // °API at 60 °F (5B) or kg/m³ at 15 °C (53B)
    double vcf;
};

Expected<BaseCorrection, std::string> baseTable5B(double observedApiGravity, double temperatureF);
Expected<BaseCorrection, std::string> baseTable53B(double observedDensity, double temperatureC);

}  // namespace brimwell
