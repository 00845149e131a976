#include "model/geometry/tankheads.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

namespace brimwell {
namespace {

using std::numbers::pi;

// Gauss–Legendre nodes and weights on [-1, 1], found once by Newton's method on the Legendre
// polynomial. 20 points integrate the smooth integrands below to about 1e-12 relative, well
// inside the 1e-9 the heads need, and twice as many would gain nothing.
constexpr int kPoints = 20;

struct GaussRule {
    std::array<double, kPoints> nodes;
    std::array<double, kPoints> weights;
};

// The Legendre polynomial of degree kPoints at x, and its slope there.
std::pair<double, double> legendre(double x) {
    double value = 1;
    double previous = 0;
    for (int n = 1; n <= kPoints; ++n) {
        const double older = previous;
        previous = value;
        value = ((2 * n - 1) * x * previous - (n - 1) * older) / n;
    }
    return {value, kPoints * (x * value - previous) / (x * x - 1)};
}

GaussRule makeGaussRule() {
    GaussRule rule{};
    for (int i = 0; i < kPoints; ++i) {
        double x = std::cos(pi * (i + 0.75) / (kPoints + 0.5));
        auto [value, slope] = legendre(x);
        for (int step = 0; step < 100 && std::fabs(value / slope) > 1e-16; ++step) {
            x -= value / slope;
            std::tie(value, slope) = legendre(x);
        }
        rule.nodes[i] = x;
        rule.weights[i] = 2 / ((1 - x * x) * slope * slope);
    }
    return rule;
}

template <typename F>
double integrate(const F& f, double from, double to) {
    static const GaussRule rule = makeGaussRule();
    const double middle = (from + to) / 2;
    const double half = (to - from) / 2;
    double sum = 0;
    for (int i = 0; i < kPoints; ++i) {
        sum += rule.weights[i] * f(middle + half * rule.nodes[i]);
    }
    return sum * half;
}

// The segment of a circle of `radius` under a chord `height` (≤ radius) above its lowest point.
// The half-angle comes from the height, not its cosine, which keeps low levels accurate.
double segmentArea(double radius, double height) {
    const double half = 2 * std::asin(std::sqrt(height / (2 * radius)));
    if (half < 0.1) {
        // half − sin(2·half)/2 cancels to 2·half³/3 here; its series does not.
        const double h2 = half * half;
        return radius * radius * half * h2 *
               (2.0 / 3 +
                h2 * (-2.0 / 15 + h2 * (4.0 / 315 + h2 * (-2.0 / 2835 + h2 * 4.0 / 155925))));
    }
    return radius * radius * (half - std::sin(2 * half) / 2);
}

// A head is symmetric about the horizontal plane through the axis: above it, its wetted volume
// is the whole head less the dry part, which is the mirror of a low level.
template <typename Low>
double bySymmetry(double radius, double level, double whole, const Low& lowVolume) {
    if (level <= radius) {
        return lowVolume(std::max(level, 0.0));
    }
    return whole - lowVolume(std::max(2 * radius - level, 0.0));
}

}  // namespace

double circleAreaBelow(double radius, double level) {
    return bySymmetry(radius, level, pi * radius * radius,
                      [radius](double low) { return segmentArea(radius, low); });
}

EllipsoidalHead::EllipsoidalHead(double radius, double depth) : radius_(radius), depth_(depth) {}

double EllipsoidalHead::volume() const {
    return 2 * pi / 3 * radius_ * radius_ * depth_;
}

// The head is a hemisphere stretched along the axis by depth / radius, and so is its wetted part.
double EllipsoidalHead::volumeBelow(double level) const {
    const double h = std::clamp(level, 0.0, 2 * radius_);
    return depth_ / radius_ * pi / 6 * h * h * (3 * radius_ - h);
}

ConicalHead::ConicalHead(double radius, double depth) : radius_(radius), depth_(depth) {}

double ConicalHead::volume() const {
    return pi / 3 * radius_ * radius_ * depth_;
}

double ConicalHead::volumeBelow(double level) const {
    return bySymmetry(radius_, level, volume(), [this](double low) { return lowVolume(low); });
}

// Slices across the axis are circles shrinking linearly to the apex; summing their wetted
// segments gives depth·radius²/3 · (θ − 2xy + x³·ln((1 + y)/x)), where x = cos θ and y = sin θ
// for the half-angle θ of the segment in the shell's own circle.
double ConicalHead::lowVolume(double wetted) const {
    const double x = (radius_ - wetted) / radius_;
    const double y = std::sqrt(wetted * (2 * radius_ - wetted)) / radius_;
    const double theta = std::atan2(y, x);
    double g = 0;
    if (theta < 0.1) {
        // The closed form cancels to θ⁵ here; its series does not.
        const double t2 = theta * theta;
        g = theta * t2 * t2 *
            (2.0 / 5 +
             t2 * (-2.0 / 15 + t2 * (2.0 / 105 + t2 * (-8.0 / 4725 + t2 * 188.0 / 2027025))));
    } else {
        const double tail = x > 0 ? x * x * x * std::log((1 + y) / x) : 0;
        g = theta - 2 * x * y + tail;
    }
    return depth_ * radius_ * radius_ / 3 * g;
}

namespace {

// The part of the solid that an arc sweeps lying more than s = radius − wetted below the axis: the
// slices' slivers summed along the axis. Where the level meets the slices' circles (at the angle
// `meet`) a sliver shrinks like (ρ − s)^(3/2), which no polynomial follows; with
// φ = meet − span·u² the integrand is smooth in u, also when `meet` lies just beyond the arc.
// Angles and heights come from the wetted depth, never from s, whose rounding a low level would
// not survive: the arc's circle reaches `below` under the level, 1 − cos(meet) is that over its
// bend, and a sliver's height ρ − s is `below` less bend·(1 − cos φ).
double arcVolumeBelow(const TorisphericalHead::Arc& arc, double wetted) {
    const double below = arc.beyond + wetted;  // the circle's lowest point, under the level
    const double meet = 2 * std::asin(std::sqrt(std::clamp(below / (2 * arc.bend), 0.0, 1.0)));
    if (meet <= arc.from) {
        return 0;
    }
    const double span = meet - arc.from;
    const double start = meet <= arc.to ? 0 : std::sqrt((meet - arc.to) / span);
    auto slivers = [&](double u) {
        const double phi = meet - span * u * u;
        const double cos = std::cos(phi);
        const double sin = std::sin(phi / 2);
        const double height = below - 2 * arc.bend * sin * sin;
        const double rho = arc.centre + arc.bend * cos;
        const double sliver = height > 0 ? segmentArea(rho, std::min(height, rho)) : 0;
        return sliver * arc.bend * cos * 2 * span * u;
    };
    return integrate(slivers, start, 1);
}

}  // namespace

TorisphericalHead::TorisphericalHead(double radius, double crown, double knuckle)
    : radius_(radius) {
    const double inner = radius - knuckle;  // from the axis to the knuckle's centre
    // The crown's centre lies on the axis, this far back from the shell's end.
    const double back = std::sqrt((crown - radius) * (crown + radius - 2 * knuckle));
    const double joint = std::atan2(back, inner);
    // The knuckle's circle is tangent to the shell's; the crown's reaches crown − radius beyond.
    arcs_ = {Arc{inner, knuckle, 0, joint, 0}, Arc{0, crown, joint, pi / 2, crown - radius}};
    // The whole head is twice its integrated lower half rather than its closed form, which may
    // differ by the integration's error: so the volume does not step at the axis.
    volume_ = 2 * lowVolume(radius);
}

double TorisphericalHead::volume() const {
    return volume_;
}

double TorisphericalHead::volumeBelow(double level) const {
    return bySymmetry(radius_, level, volume(), [this](double low) { return lowVolume(low); });
}

std::array<double, 3> TorisphericalHead::seams() const {
    const Arc& knuckle = arcs_[0];
    return {0, knuckle.centre + knuckle.bend * std::cos(knuckle.to), knuckle.centre - knuckle.bend};
}

double TorisphericalHead::lowVolume(double wetted) const {
    return arcVolumeBelow(arcs_[0], wetted) + arcVolumeBelow(arcs_[1], wetted);
}

}  // namespace brimwell
