// The 1980 volume correction tables over any inputs: 6B, 54B, 6C and 54C give a VCF from 0.5 to
// 1.5 or refuse; 5B and 53B, from a glass hydrometer or a density meter, give a base inside the
// table with the VCF that table gives it, or refuse. A refusal is a message, never a NaN, and a
// reading inside the table's ranges is only refused for a base outside the table.

#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/fuzzinput.h"
#include "model/tables/volumecorrection.h"

using namespace brimwell;

namespace {

// The raw bytes of a double, or a value spread over the range and a tenth of it each side.
double pick(fuzz::FuzzInput& in, bool raw, Range range) {
    if (raw) {
        return in.raw<double>();
    }
    const double span = range.high - range.low;
    return range.low - span / 10 + span * 1.2 * in.raw<std::uint16_t>() / 65535.0;
}

bool inside(double value, Range range) {
    return value >= range.low && value <= range.high;
}

void checkRefusal(const std::string& error) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(fuzz::containsNoNanOrInf(error));
    FUZZ_CHECK(error.find("settle") == std::string::npos);
}

void checkVcf(const VcfResult& vcf) {
    if (vcf) {
        FUZZ_CHECK(*vcf >= 0.5 && *vcf <= 1.5);
    } else {
        checkRefusal(vcf.error());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const int table = in.byte() % 4;  // 5B and 6B, 53B and 54B, 6C, 54C
    const std::uint8_t flags = in.byte();
    const bool fahrenheit = table % 2 == 0;
    const Range temperatures = fahrenheit ? Range{0.0, 300.0} : Range{-18.0, 150.0};
    switch (table) {
        case 0:
        case 1: {
            const Range values = fahrenheit ? kTable6BGravity : kTable54BDensity;
            const double value = pick(in, (flags & 2) != 0, values);
            const double temperature = pick(in, (flags & 4) != 0, temperatures);
            const auto meter =
                (flags & 1) != 0 ? ObservedWith::DensityMeter : ObservedWith::GlassHydrometer;
            const auto base = fahrenheit ? baseTable5B(value, temperature, meter)
                                         : baseTable53B(value, temperature, meter);
            if (base) {
                FUZZ_CHECK(inside(base->base, values));
                const auto vcf = fahrenheit ? vcfTable6B(base->base, temperature)
                                            : vcfTable54B(base->base, temperature);
                FUZZ_CHECK(vcf && *vcf == base->vcf);
                checkVcf(vcf);
            } else {
                checkRefusal(base.error());
                // Inside the reading's ranges only the base can be refused.
                if (inside(value, values) && inside(temperature, temperatures)) {
                    FUZZ_CHECK(base.error().starts_with("at "));
                }
            }
            checkVcf(fahrenheit ? vcfTable6B(value, temperature) : vcfTable54B(value, temperature));
            break;
        }
        default: {  // 6C and 54C
            const Range values = fahrenheit ? kTable6CCoefficient : kTable54CCoefficient;
            const double value = pick(in, (flags & 2) != 0, values);
            const double temperature = pick(in, (flags & 4) != 0, temperatures);
            checkVcf(fahrenheit ? vcfTable6C(value, temperature) : vcfTable54C(value, temperature));
            break;
        }
    }
    return 0;
}
