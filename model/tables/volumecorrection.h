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
//
// Product groups, their constants and the temperature bands of 6B, as published with the tables
// (API Standard 2540, Volume X) and restated in a level transmitter's published manual, in its
// section on the API tables, Generalized products (Table 6B), which writes the transition zone's
// A and B as K1 and K0:
//   fuel oils        0 to 37.0 °API   K0 = 103.8720   K1 = 0.2701
//   jet fuels     37.1 to 47.9 °API   K0 = 330.3010   K1 = 0
//   transition    48.0 to 52.0 °API   A = −0.0018684  B = 1489.0670
//   gasolines     52.1 to 85.0 °API   K0 = 192.4571   K1 = 0.2438
//   0 to 300 °F up to 40.0 °API, to 250 °F from 40.1 to 50.0, to 200 °F from 50.1 to 85.0.
// 54B is computed per °C with 6B's constants times 1.8, K1 rounded to four decimals: gasolines
// K0 = 346.4228, K1 = 0.4388; transition zone A = −0.00336312, B = 2680.3206; jet fuels
// K0 = 594.5418; fuel oils K0 = 186.9696, K1 = 0.4862. Its groups are split at 770.5, 787.5 and
// 838.5 kg/m³: gasolines from 653 to below 770.5, the transition zone from 770.5 to below
// 787.5, jet fuels from 787.5 to below 838.5, fuel oils from 838.5 to 1075. These are the
// boundaries that public implementations of the 1980 54B procedure use; no public copy of the
// procedure's own text was found, and those implementations differ on which side a density on
// a boundary falls. Here it falls in the group that starts there, the heavier one, so that each
// group runs from its first value to below the next group's. (6B's groups, in steps of 0.1
// °API, leave no value on a boundary.) 54B's temperature bands (to 90 °C up to 779 kg/m³, to
// 120 °C up to 824.5, to 150 °C above) are 6B's restated in density and whole degrees Celsius;
// no public copy of the printed 54B ranges was found to confirm them.
//
// Rounding, as the 1980 tables: the API gravity to 0.1, a density to 0.1 kg/m³, a coefficient to
// 0.1 × 10⁻⁶, a temperature to 0.1 °F or 0.05 °C, before anything is computed; in 6B and 54B, α
// to 0.1 × 10⁻⁶ (seven decimals, halves up) once computed and before the exponential, as the 1980
// procedure rounds the coefficient (6B's density, from the rounded gravity, is not rounded
// itself); the VCF to four decimals, as printed in the tables; 5B and 53B give the base gravity to
// 0.1 and the base density to 0.1 kg/m³, and take its VCF from 6B or 54B. Values between these
// steps are carried at full precision, α too while 5B and 53B search for the base.
// Measurement Canada's published 54B factors for 710 and 800 kg/m³ (−40 to −19 °C, below this
// table's range; 402 cells) come out cell for cell with α so rounded; with α unrounded four are
// 0.0001 off (710 kg/m³ at −38.5 and −36.0 °C, 800 kg/m³ at −28.8 and −24.6 °C).
//
// The 2004 edition (ASTM D1250-04, API MPMS 11.1-2004) computes the same physics without the
// 1980 rounding of inputs and gives five decimals, and covers wider ranges; its factors can
// differ from these in the fourth decimal, so a figure checked against a 2004-based table may
// be off by 0.0001 now and then.
//
// 5B and 53B. The observed value rises with the base value within each product group, but steps
// at a group boundary: back (two bases give the reading, one each side) or forward (no base
// gives it exactly). The base is found in each group by bisection, and only a root inside its
// own group counts. Where two groups both have one, the root nearer the observed value wins:
// the smaller correction, which also keeps a reading taken near the base temperature in the
// group of the reading itself. Where the reading falls in a forward step, the base is the
// boundary, given as the value beside it on the side whose observed value is nearer. A reading
// whose base lies outside the table, or beyond the temperatures the table has for that base, is
// refused with the limit it passed: "at 210 °F, a base of 51.5 °API is outside table 6B, which
// goes only to 200 °F above 50 °API".
//
// Hydrometers. The printed 5B and 53B tables are entered with a glass hydrometer's reading and
// fold in the expansion of its soda-lime glass (ASTM D1298, section 11.5.1, says so of the
// printed tables; a flow computer's published function reference offers the correction for table
// 53 of 1980 "as specified in the API-2540 standard"), and so do these unless told the reading
// is the liquid's own (a density meter's). The density read is multiplied by
//   5B:  1 − 0.00001278·(T − 60) − 0.0000000062·(T − 60)²,  T in °F
//   53B: 1 − 0.000023·(t − 15) − 0.00000002·(t − 15)²,       t in °C
// before solving, the quadratics as public implementations of the 1980 procedure give them; with
// them the published 5B and 53B figures come out as printed (tests/model). At 83 °F a reading of
// 40.5 °API is the liquid's 40.55, at 135 °F 10.5 is 10.64.
//
// Inputs outside a table's range are refused with the range in the message, never extrapolated.
//
// The tank window's linear correction, gross + gross × (Tref − T) × Ce, stays NetVolume() in
// model/product.h; a caller that offers the tables offers it beside them from there.

#include <array>
#include <string>

#include "model/expected.h"
#include "model/window/product.h"

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

// What gave the observed value: a glass hydrometer, whose reading the tables correct for the
// expansion of its glass, or a density meter, whose reading is the liquid's own.
enum class ObservedWith { GlassHydrometer, DensityMeter };

Expected<BaseCorrection, std::string> baseTable5B(
    double observedApiGravity, double temperatureF,
    ObservedWith meter = ObservedWith::GlassHydrometer);
Expected<BaseCorrection, std::string> baseTable53B(
    double observedDensity, double temperatureC,
    ObservedWith meter = ObservedWith::GlassHydrometer);

}  // namespace brimwell
