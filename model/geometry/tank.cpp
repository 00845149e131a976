#include "model/geometry/tank.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "model/geometry/levelsearch.h"
#include "model/window/tankmodel.h"

namespace brimwell {
namespace {

using std::numbers::pi;

bool isSize(double size) {
    return size >= kSmallestSize && size <= kLargestSize;
}

// A level answer is written to ten significant digits; the search closes in to a hundredth of
// the last of them, which leaves room for the roundings of the volume near the curve's flat top.
constexpr double kLevelTolerance = 1e-12;

// A chart's torispherical heads are integrated at every kAnchorRows-th level; fewer levels than
// kAnchoredRows are all integrated.
constexpr std::size_t kAnchorRows = 32;
constexpr std::size_t kAnchoredRows = 4 * kAnchorRows + 1;
// A cubic's miss is bounded by this many times its estimate, and the roundings of a sum by this
// many units in its last place.
constexpr double kSafety = 8;
// The anchors that a cubic and its bound rest on span at most a quarter of the knuckle's radius,
// and lie four times their span away from the tank's ends and the head's seams.
constexpr double kKnuckleSpans = 4;
constexpr double kSeamMargin = 4;
constexpr double kRoundings = 64;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// The fourth divided difference of five points: a cubic through four of them misses the smooth
// curve through all by about this times the product of the distances to its points.
double fourthDifference(const double* xs, const double* ys) {
    std::array<double, 5> d{ys[0], ys[1], ys[2], ys[3], ys[4]};
    for (std::size_t order = 1; order <= 4; ++order) {
        for (std::size_t k = 4; k >= order; --k) {
            d[k] = (d[k] - d[k - 1]) / (xs[k] - xs[k - order]);
        }
    }
    return std::fabs(d[4]);
}

// The cubic through four points, in Lagrange's form.
class Cubic {
public:
    Cubic(const double* xs, const double* ys) {
        for (std::size_t k = 0; k < 4; ++k) {
            xs_[k] = xs[k];
            double denominator = 1;
            for (std::size_t j = 0; j < 4; ++j) {
                denominator *= j == k ? 1 : xs[k] - xs[j];
            }
            weights_[k] = ys[k] / denominator;
        }
    }

    struct Value {
        double value;
        double miss;  // from a smooth curve whose fourth divided differences reach `difference`
    };
    Value at(double x, double difference) const {
        const std::array<double, 4> d{x - xs_[0], x - xs_[1], x - xs_[2], x - xs_[3]};
        const std::array<double, 4> terms{
            weights_[0] * d[1] * d[2] * d[3], weights_[1] * d[0] * d[2] * d[3],
            weights_[2] * d[0] * d[1] * d[3], weights_[3] * d[0] * d[1] * d[2]};
        const double sum = terms[0] + terms[1] + terms[2] + terms[3];
        const double size =
            std::fabs(terms[0]) + std::fabs(terms[1]) + std::fabs(terms[2]) + std::fabs(terms[3]);
        const double spread = std::fabs(d[0] * d[1] * d[2] * d[3]);
        return {sum, kSafety * difference * spread + kRoundings * kEpsilon * size};
    }

private:
    std::array<double, 4> xs_{};
    std::array<double, 4> weights_{};
};

Expected<TorisphericalHead, TankError> dishedHead(double radius, const TorisphericalHeads& dished) {
    if (!(dished.crown >= 0.5 && dished.crown <= kLargestCrown)) {
        return Unexpected(TankError::Crown);
    }
    if (!(dished.knuckle >= kSmallestKnuckle && dished.knuckle < 0.5)) {
        return Unexpected(TankError::Knuckle);
    }
    // F = 0.5 must give the shell's radius, not a rounding below it.
    const double crown = std::max(dished.crown * 2 * radius, radius);
    const double knuckle = std::min(dished.knuckle * 2 * radius, radius);
    return TorisphericalHead(radius, crown, knuckle);
}

template <typename Head>
Expected<Head, TankError> deepHead(double radius, double depth) {
    if (!isSize(depth)) {
        return Unexpected(TankError::HeadDepth);
    }
    return Head(radius, depth);
}

}  // namespace

Expected<Tank, TankError> Tank::horizontal(double diameter, double length, const Heads& heads) {
    if (!isSize(diameter)) {
        return Unexpected(TankError::Diameter);
    }
    if (!isSize(length)) {
        return Unexpected(TankError::Length);
    }
    const double radius = diameter / 2;
    Shape shape{radius, length, false, std::monostate()};
    if (std::holds_alternative<HemisphericalHeads>(heads)) {
        // A hemisphere is the ellipsoid as deep as the radius: π·h²·(3R − h)/6 below level h.
        shape.head = EllipsoidalHead(radius, radius);
    } else if (const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&heads)) {
        // The default depth, D/4, is a head's depth whenever D is a diameter.
        if (!ellipsoidal->depth) {
            shape.head = EllipsoidalHead(radius, diameter / 4);
        } else if (auto head = deepHead<EllipsoidalHead>(radius, *ellipsoidal->depth)) {
            shape.head = *head;
        } else {
            return Unexpected(head.error());
        }
    } else if (const auto* conical = std::get_if<ConicalHeads>(&heads)) {
        auto head = deepHead<ConicalHead>(radius, conical->depth);
        if (!head) {
            return Unexpected(head.error());
        }
        shape.head = *head;
    } else if (const auto* dished = std::get_if<TorisphericalHeads>(&heads)) {
        auto head = dishedHead(radius, *dished);
        if (!head) {
            return Unexpected(head.error());
        }
        shape.head = *head;
    }
    return make(diameter, std::move(shape));
}

Expected<Tank, TankError> Tank::vertical(double diameter, double height) {
    if (!isSize(diameter)) {
        return Unexpected(TankError::Diameter);
    }
    if (!isSize(height)) {
        return Unexpected(TankError::Length);
    }
    return make(height, Shape{diameter / 2, height, true, std::monostate()});
}

Expected<Tank, TankError> Tank::make(double top, Shape shape) {
    const double heads = std::visit(
        [](const auto& head) {
            if constexpr (std::is_same_v<std::decay_t<decltype(head)>, std::monostate>) {
                return 0.0;
            } else {
                return head.volume();
            }
        },
        shape.head);
    const double cubicInches = pi * shape.radius * shape.radius * shape.length + 2 * heads;
    const double capacity = cubicInches / kCubicInchesPerGallon;
    if (!(std::isfinite(capacity) && capacity > 0)) {
        return Unexpected(TankError::Capacity);
    }
    return Tank(top, capacity, std::move(shape));
}

Expected<double, TankError> Tank::volumeAt(double level) const {
    if (!(level >= 0 && level <= top_)) {
        return Unexpected(TankError::Level);
    }
    return gallonsAt(level);
}

void Tank::volumesAt(std::span<const double> levels, std::span<double> gallons,
                     std::span<double> bounds) const {
    const auto* dished = std::get_if<TorisphericalHead>(&shape_.head);
    const bool rising =
        std::adjacent_find(levels.begin(), levels.end(), std::greater_equal<>()) == levels.end();
    if (dished != nullptr && rising && levels.size() > kAnchoredRows) {
        interpolatedVolumesAt(*dished, levels, gallons, bounds);
        return;
    }
    std::transform(levels.begin(), levels.end(), gallons.begin(),
                   [this](double level) { return gallonsAt(level); });
    std::fill_n(bounds.begin(), levels.size(), 0.0);
}

// The head's volume is integrated at every kAnchorRows-th level (the anchors) and at the last.
// Between two anchors it is the cubic through the four anchors nearest, which misses the smooth
// curve of integrated volumes by about the curve's fourth divided difference times the product
// of the distances to the anchors; near a seam of the curve, or near the ends, where it is not
// smooth, every level is integrated.
void Tank::interpolatedVolumesAt(const TorisphericalHead& head, std::span<const double> levels,
                                 std::span<double> gallons, std::span<double> bounds) const {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row + 1 < levels.size(); row += kAnchorRows) {
        rows.push_back(row);
    }
    rows.push_back(levels.size() - 1);
    const std::size_t count = rows.size();
    std::vector<double> xs(count);
    std::vector<double> ys(count);
    for (std::size_t j = 0; j < count; ++j) {
        xs[j] = levels[rows[j]];
        ys[j] = 2 * head.volumeBelow(xs[j]);
        gallons[rows[j]] = gallonsWith(xs[j], ys[j]);
        bounds[rows[j]] = 0;
    }
    for (std::size_t j = 0; j + 1 < count; ++j) {
        const std::size_t lowest = j >= 3 ? j - 3 : 0;  // the five-anchor runs around the gap
        const std::size_t highest = std::min(j, count - 5);
        const std::size_t window = std::clamp<std::size_t>(j, 1, count - 3) - 1;
        const bool smooth = !nearSeam(head, xs[lowest], xs[highest + 4]);
        double difference = 0;
        for (std::size_t k = lowest; smooth && k <= highest; ++k) {
            difference = std::max(difference, fourthDifference(&xs[k], &ys[k]));
        }
        // The integral takes the level as its distance from the axis, which is rounded to the
        // top's last digits: near the ends the volume is that coarse, whatever the cubic.
        double slope = 0;
        for (std::size_t k = window; k < window + 3; ++k) {
            slope = std::max(slope, std::fabs(ys[k + 1] - ys[k]) / (xs[k + 1] - xs[k]));
        }
        const double coarseness = kRoundings * kEpsilon * top_ * slope;
        const Cubic cubic(&xs[window], &ys[window]);
        for (std::size_t row = rows[j] + 1; row < rows[j + 1]; ++row) {
            if (!smooth) {
                gallons[row] = gallonsAt(levels[row]);
                bounds[row] = 0;
                continue;
            }
            const auto [volume, miss] = cubic.at(levels[row], difference);
            gallons[row] = gallonsWith(levels[row], volume);
            bounds[row] =
                (miss + coarseness) / kCubicInchesPerGallon + kRoundings * kEpsilon * gallons[row];
        }
    }
}

// Whether [from, to] is too wide for a cubic to follow the head's volume, or lies near an end of
// the tank or a level where the volume changes form: a few times its width away, the volume's
// fourth derivative is still much the same across it, and so its fourth differences tell the miss.
bool Tank::nearSeam(const TorisphericalHead& head, double from, double to) const {
    const double margin = kSeamMargin * (to - from);
    const double low = from - margin;
    const double high = to + margin;
    if (low <= 0 || high >= top_ || to - from > head.knuckleRadius() / kKnuckleSpans) {
        return true;
    }
    const double axis = shape_.radius;
    return std::ranges::any_of(head.seams(), [&](double seam) {
        return (axis - seam >= low && axis - seam <= high) ||
               (axis + seam >= low && axis + seam <= high);
    });
}

Expected<double, TankError> Tank::levelFor(double gallons) const {
    if (!(gallons >= 0 && gallons <= capacity_)) {
        return Unexpected(TankError::Volume);
    }
    auto volume = [this](double level) { return gallonsAt(level); };
    return levelForVolume(volume, top_, gallons, kLevelTolerance);
}

// Both heads' volume below the level.
double Tank::headAt(double level) const {
    return std::visit(
        [level](const auto& head) {
            if constexpr (std::is_same_v<std::decay_t<decltype(head)>, std::monostate>) {
                return 0.0;
            } else {
                return 2 * head.volumeBelow(level);
            }
        },
        shape_.head);
}

// Summed from its parts the volume may stray a rounding from the closed-form capacity, and the
// heads' integrals a rounding from 0: an empty tank holds nothing, a full one its capacity, and
// no level more, so that the ullage is never below 0.
double Tank::gallonsWith(double level, double head) const {
    if (level <= 0) {
        return 0;
    }
    if (level >= top_) {
        return capacity_;
    }
    const double radius = shape_.radius;
    const double cubicInches = shape_.vertical
                                   ? pi * radius * radius * level
                                   : shape_.length * circleAreaBelow(radius, level) + head;
    return std::clamp(cubicInches / kCubicInchesPerGallon, 0.0, capacity_);
}

}  // namespace brimwell
