#pragma once

// A tank as brimwell-tank describes it, built once from its sizes and then asked for its
// capacity, the volume at a level and the level at a volume. Lengths are in inches and volumes
// in US gallons of 231 cubic inches, as double; the caller converts units (units.h).
//
// Every shape is computed in double precision with the true value of pi, from closed forms where
// there are some. The tank window and brimwell-chart keep their own single-precision routines
// (tankmodel.h), so their flat, hemispherical and vertical tanks may differ from these in the
// seventh significant digit.
//
// What makes a valid tank (all numbers finite):
//
//   diameter D          kSmallestSize <= D <= kLargestSize inches
//   length L            kSmallestSize <= L <= kLargestSize inches: the straight shell of a
//                       horizontal tank, heads not included, or the height of a vertical tank
//                       (which stands on a flat bottom and has no heads)
//   flat heads          no parameters
//   hemispherical       no parameters: true hemispheres of radius D/2
//   ellipsoidal         head depth A, default D/4 (the 2:1 head), a size as D is when given; the
//                       default is a depth whatever D. Any depth is half an ellipsoid: A = D/2
//                       is a hemisphere, a greater A a head deeper than the radius
//   torispherical       crown radius F·D with 0.5 <= F <= kLargestCrown, default F = 1; knuckle
//                       radius K·D with kSmallestKnuckle <= K < 0.5, default K = 0.06. F = 0.5
//                       makes a hemisphere whatever K; as K < 0.5 <= F, the knuckle is always
//                       smaller than the crown. A flatter crown than kLargestCrown turns so
//                       little that its angles no longer carry the digits its volume needs
//   conical             head depth A, a size as D is, no default
//
//   level h             0 <= h <= D (horizontal) or 0 <= h <= L (vertical), from the bottom
//   volume V            0 <= V <= capacity
//   percentage          0 to 100 of the capacity
//
// A volume lies in [0, capacity], is exactly 0 at level 0 and exactly the capacity at the top,
// and does not fall as the level rises (by more than a rounding of the capacity). A level found
// for a volume is searched to within 1e-12 of itself and so is the true one to ten significant
// digits, near empty and near full too, except where the volume is flat to its last digit over a
// wider span (near the top of heads with next to no shell): there it holds the volume to that
// digit.

#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <variant>

#include "model/expected.h"
#include "model/geometry/tankheads.h"

namespace brimwell {

// Each error names the one input at fault.
inline constexpr double kSmallestSize = 1e-6;
inline constexpr double kLargestSize = 1e9;
inline constexpr double kLargestCrown = 1000;
inline constexpr double kSmallestKnuckle = 0.001;

enum class TankError {
    Diameter,   // D
    Length,     // L
    HeadDepth,  // A of an ellipsoidal or conical head
    Crown,      // F
    Knuckle,    // K
    Capacity,   // valid sizes whose capacity cannot be computed
    Level,
    Volume,
    Percent,
};

struct FlatHeads {
    bool operator==(const FlatHeads&) const = default;
};
struct HemisphericalHeads {
    bool operator==(const HemisphericalHeads&) const = default;
};
struct EllipsoidalHeads {
    std::optional<double> depth;  // D/4 when empty

    double depthFor(double diameter) const { return depth.value_or(diameter / 4); }
    bool operator==(const EllipsoidalHeads&) const = default;
};
struct TorisphericalHeads {
    double crown = 1;       // F, the crown radius over D
    double knuckle = 0.06;  // K, the knuckle radius over D
    bool operator==(const TorisphericalHeads&) const = default;
};
struct ConicalHeads {
    double depth = 0;  // required: 0 is refused
    bool operator==(const ConicalHeads&) const = default;
};
using Heads =
    std::variant<FlatHeads, HemisphericalHeads, EllipsoidalHeads, TorisphericalHeads, ConicalHeads>;

class Tank {
public:
    // A horizontal tank with two equal heads.
    static Expected<Tank, TankError> horizontal(double diameter, double length, const Heads& heads);
    static Expected<Tank, TankError> vertical(double diameter, double height);

    double top() const { return top_; }
    double capacity() const { return capacity_; }
    Expected<double, TankError> volumeAt(double level) const;
    // The volumes at many levels, each in [0, top()], as a chart asks for them: `gallons` and
    // `bounds` are as long as `levels`. Each volume lies within its bound of what volumeAt gives at
    // its level, and is volumeAt's own where the bound is 0. Torispherical heads, whose volume is
    // an integral, are computed at every few of many rising levels only and interpolated between.
    void volumesAt(std::span<const double> levels, std::span<double> gallons,
                   std::span<double> bounds) const;
    Expected<double, TankError> levelFor(double gallons) const;

private:
    // Flat heads and vertical tanks have none.
    using AnyHead = std::variant<std::monostate, EllipsoidalHead, TorisphericalHead, ConicalHead>;
    struct Shape {
        double radius;
        double length;
        bool vertical;
        AnyHead head;
    };

    Tank(double top, double capacity, Shape shape)
        : top_(top), capacity_(capacity), shape_(std::move(shape)) {}
    static Expected<Tank, TankError> make(double top, Shape shape);
    double headAt(double level) const;
    double gallonsWith(double level, double head) const;
    double gallonsAt(double level) const { return gallonsWith(level, headAt(level)); }
    void interpolatedVolumesAt(const TorisphericalHead& head, std::span<const double> levels,
                               std::span<double> gallons, std::span<double> bounds) const;
    bool nearSeam(const TorisphericalHead& head, double from, double to) const;

    double top_;
    double capacity_;
    Shape shape_;
};

}  // namespace brimwell
