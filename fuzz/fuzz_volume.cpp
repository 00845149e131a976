// The tank model over any single-precision inputs and any shape, unit and product texts:
// VolumeAtLevel always returns a finite number after at most one report per failed step,
// NetVolume and TankCapacity return finite numbers or nothing, product selection writes
// coefficients that read back.

#include <algorithm>
#include <cmath>

#include "fuzz/fuzzinput.h"
#include "model/window/product.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"

using namespace brimwell;

namespace {

constexpr std::array<std::string_view, kProducts.size()> productNames() {
    std::array<std::string_view, kProducts.size()> names{};
    for (std::size_t i = 0; i < kProducts.size(); ++i) {
        names[i] = kProducts[i].name;
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto h = in.raw<float>();
    const auto r = in.raw<float>();
    const auto L = in.raw<float>();
    const auto shape = in.pick<TankShape>(kTankShapes);
    const auto unit = in.pick<VolumeUnit>(kVolumeUnits);

    CountingReporter reports;
    const float volume = VolumeAtLevel(h, r, L, shape, unit, reports);
    FUZZ_CHECK(std::isfinite(volume));
    // Steps 1 and 2 cannot both fail for finite inputs, nor can the volume and the unit step.
    const bool finiteInputs = std::isfinite(h) && std::isfinite(r) && std::isfinite(L);
    FUZZ_CHECK(reports.count <= (finiteInputs ? 2 : 3));
    FUZZ_CHECK(reports.count == 0 || reports.last == kCheckSelectionsMessage);
    if (h == 0 && r > 0 && std::isfinite(r) && std::isfinite(L)) {
        FUZZ_CHECK(volume == 0 && reports.count == 0);
    }
    // No state is kept between calls.
    CountingReporter again;
    FUZZ_CHECK(VolumeAtLevel(h, r, L, shape, unit, again) == volume && again.count == reports.count);

    if (const auto capacity = TankCapacity(shape, r, L)) {
        FUZZ_CHECK(std::isfinite(*capacity));
    }

    const auto gross = in.raw<float>();
    const auto T = in.raw<float>();
    const auto Ce = in.raw<float>();
    const auto Tref = in.raw<float>();
    const auto net = NetVolume(gross, T, Ce, Tref);
    if (net) {
        FUZZ_CHECK(std::isfinite(*net));
    }
    if (T == Tref && std::isfinite(T) && std::isfinite(gross) && std::isfinite(Ce)) {
        FUZZ_CHECK(net && *net == gross);
    }

    const NumberFormat format = in.format();
    const std::string product = in.choice(productNames());
    const auto tempUnit = parseTempUnit(in.choice(kTempUnits));
    if (const auto selection = selectProduct(product, tempUnit, format.decimal)) {
        const auto ce = readStrict(selection->cevalue, format);
        FUZZ_CHECK(ce && *ce > 0 && *ce < 0.01);
        if (selection->shownCoefficient) {
            FUZZ_CHECK(readStrict(*selection->shownCoefficient, format) == ce);
        }
    }
    return 0;
}
