// Every tank shape with its level search, over sizes across their whole valid range and levels
// near empty, near full and between: a volume lies in [0, capacity], is 0 at level 0 and the
// capacity at the top, does not fall as the level rises, and the level found for it lies within
// 1e-9 of the top from the level it came from, or holds it to its last digit; a chart's volumes
// lie within their bounds of the readings.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "fuzz/fuzzinput.h"
#include "model/geometry/tank.h"

using namespace brimwell;

namespace {

// A number from `low` to `high`, spread evenly over its powers of ten.
double logScaled(fuzz::FuzzInput& in, double low, double high) {
    const double fraction = in.raw<std::uint32_t>() / 4294967295.0;
    return std::min(high, std::max(low, low * std::pow(high / low, fraction)));
}

// A level in [0, top]: anywhere, or within a power of ten of the top from either end.
double level(fuzz::FuzzInput& in, double top) {
    const std::uint8_t where = in.byte();
    const double fraction = static_cast<double>(in.raw<std::uint64_t>()) / 18446744073709551616.0;
    const double edge = top * std::pow(10.0, -static_cast<double>(in.byte() % 17));
    switch (where % 3) {
        case 0:
            return top * fraction;
        case 1:
            return edge * fraction;
        default:
            return std::max(0.0, top - edge * fraction);
    }
}

Expected<Tank, TankError> tank(fuzz::FuzzInput& in) {
    const std::uint8_t shape = in.byte() % 6;
    const double diameter = logScaled(in, kSmallestSize, kLargestSize);
    const double length = logScaled(in, kSmallestSize, kLargestSize);
    const double depth = logScaled(in, kSmallestSize, kLargestSize);
    const double crown = logScaled(in, 0.5, kLargestCrown);
    const double knuckle = std::min(logScaled(in, kSmallestKnuckle, 0.5), std::nextafter(0.5, 0.0));
    switch (shape) {
        case 0:
            return Tank::vertical(diameter, length);
        case 1:
            return Tank::horizontal(diameter, length, FlatHeads{});
        case 2:
            return Tank::horizontal(diameter, length, HemisphericalHeads{});
        case 3:
            return Tank::horizontal(diameter, length, EllipsoidalHeads{depth});
        case 4:
            return Tank::horizontal(diameter, length, TorisphericalHeads{crown, knuckle});
        default:
            return Tank::horizontal(diameter, length, ConicalHeads{depth});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto built = tank(in);
    FUZZ_CHECK(built.has_value());
    const Tank& t = *built;
    const double top = t.top();
    const double capacity = t.capacity();
    FUZZ_CHECK(std::isfinite(capacity) && capacity > 0);
    FUZZ_CHECK(*t.volumeAt(0) == 0 && *t.volumeAt(top) == capacity);
    FUZZ_CHECK(*t.levelFor(0) == 0 && *t.levelFor(capacity) == top);

    double low = level(in, top);
    double high = level(in, top);
    if (high < low) {
        std::swap(low, high);
    }
    const double lowVolume = *t.volumeAt(low);
    const double highVolume = *t.volumeAt(high);
    FUZZ_CHECK(lowVolume >= 0 && highVolume <= capacity);
    // Summed from its parts a volume may stray a rounding of the capacity, never more.
    FUZZ_CHECK(highVolume >= lowVolume - 4 * std::numeric_limits<double>::epsilon() * capacity);
    // Near the top of heads with next to no shell the volume is flat to its last digit over more
    // than 1e-9 of the top: there the level found must hold the volume to that digit.
    constexpr double kRounding = 4 * std::numeric_limits<double>::epsilon();
    for (const auto& [h, v] : {std::pair{low, lowVolume}, std::pair{high, highVolume}}) {
        const double found = *t.levelFor(v);
        FUZZ_CHECK(std::fabs(found - h) <= 1e-9 * top ||
                   std::fabs(*t.volumeAt(found) - v) <= kRounding * v);
    }
    // A chart's volumes between the two levels, interpolated or not, lie within their bounds.
    std::array<double, 200> levels{};
    std::array<double, 200> gallons{};
    std::array<double, 200> bounds{};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        levels[i] =
            std::min(high, low + (high - low) * static_cast<double>(i) / (levels.size() - 1));
    }
    t.volumesAt(levels, gallons, bounds);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        FUZZ_CHECK(std::fabs(gallons[i] - *t.volumeAt(levels[i])) <= bounds[i]);
    }
    return 0;
}
