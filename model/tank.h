#pragma once

// A tank as brimwell-tank describes it, built once from its sizes and then asked for its
// capacity, the volume at a level and the level at a volume. Lengths are in inches and volumes
// in US gallons of 231 cubic inches, as double; the caller converts units (units.h).
//
// Flat, hemispherical and vertical tanks are the tank window's shapes and are computed by its
// own single-precision routines (tankmodel.h), so their numbers are the window's, widened to
// double. The other heads are computed in double precision with the true value of pi.
//
// What makes a valid tank (all numbers finite):
//
//   diameter D          D > 0
//   length L            L > 0: the straight shell of a horizontal tank, heads not included,
//                       or the height of a vertical tank (which stands on a flat bottom and
//                       has no heads)
//   flat heads          no parameters
//   hemispherical       no parameters: true hemispheres of radius D/2
//   ellipsoidal         head depth A > 0, default D/4 (the 2:1 head). Any depth is half an
//                       ellipsoid: A = D/2 is a hemisphere, a greater A a head deeper than
//                       the radius
//   torispherical       crown radius F·D with F >= 0.5, default F = 1; knuckle radius K·D with
//                       0 < K < 0.5, default K = 0.06. F = 0.5 makes a hemisphere whatever K;
//                       as K < 0.5 <= F, the knuckle is always smaller than the crown
//   conical             head depth A > 0, no default
//   capacity            a finite number above 0; flat, hemispherical and vertical tanks also
//                       need D, L and the capacity within single precision, as in the window
//
//   level h             0 <= h <= D (horizontal) or 0 <= h <= L (vertical), from the bottom
//   volume V            0 <= V <= capacity
//   percentage          0 to 100 of the capacity
//
// A level found for a volume lies within 1e-6·D of the true one (1e-6·L for a vertical tank),
// as far as the window's single precision lets its shapes tell levels apart.

#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <variant>

#include "model/expected.h"
#include "model/tankheads.h"
#include "model/tankmodel.h"

namespace brimwell {

// Each error names the one input at fault.
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

struct FlatHeads {};
struct HemisphericalHeads {};
struct EllipsoidalHeads {
    std::optional<double> depth;  // D/4 when empty
};
struct TorisphericalHeads {
    double crown = 1;       // F, the crown radius over D
    double knuckle = 0.06;  // K, the knuckle radius over D
};
struct ConicalHeads {
    double depth = 0;  // required: 0 is refused
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
    // The volumes at many levels, each in [0, top()], as volumeAt gives them but faster; `gallons`
    // is as long as `levels`.
    void volumesAt(std::span<const double> levels, std::span<double> gallons) const;
    Expected<double, TankError> levelFor(double gallons) const;
    Expected<double, TankError> levelForPercent(double percent) const;

    // True for the window's shapes: their volumes are single-precision numbers.
    bool singlePrecision() const { return std::holds_alternative<WindowShape>(form_); }

private:
    struct WindowShape {
        LevelVolume gallonsAt;
        float radius;
        float length;
    };
    struct HeadedShell {
        double radius;
        double length;
        std::variant<EllipsoidalHead, TorisphericalHead, ConicalHead> head;
    };
    using Form = std::variant<WindowShape, HeadedShell>;

    static Expected<Tank, TankError> fromWindow(TankShape shape, double diameter,
                                                double length, double top);
    static Expected<Tank, TankError> withHeads(double diameter, double length, const Heads& heads);
    Tank(double top, double capacity, Form form)
        : top_(top), capacity_(capacity), form_(std::move(form)) {}
    double gallonsAt(double level) const;

    double top_;
    double capacity_;
    Form form_;
};

}  // namespace brimwell
