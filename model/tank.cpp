#include "model/tank.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/levelsearch.h"
#include "model/tankmodel.h"

namespace brimwell {
namespace {

using std::numbers::pi;

bool isSize(double size) {
    return size >= kSmallestSize && size <= kLargestSize;
}

// A level answer lies within 1e-9 of the top; the search closes in ten times tighter, which
// leaves room for the roundings of the volume near the curve's flat ends.
constexpr double kLevelTolerance = 1e-10;

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
        auto head = deepHead<EllipsoidalHead>(radius, ellipsoidal->depth.value_or(radius / 2));
        if (!head) {
            return Unexpected(head.error());
        }
        shape.head = *head;
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

void Tank::volumesAt(std::span<const double> levels, std::span<double> gallons) const {
    std::transform(levels.begin(), levels.end(), gallons.begin(),
                   [this](double level) { return gallonsAt(level); });
}

Expected<double, TankError> Tank::levelFor(double gallons) const {
    if (!(gallons >= 0 && gallons <= capacity_)) {
        return Unexpected(TankError::Volume);
    }
    auto volume = [this](double level) { return gallonsAt(level); };
    return levelForVolume(volume, top_, gallons, kLevelTolerance * top_);
}

Expected<double, TankError> Tank::levelForPercent(double percent) const {
    if (!(percent >= 0 && percent <= 100)) {
        return Unexpected(TankError::Percent);
    }
    return levelFor(capacity_ * (percent / 100));
}

double Tank::cubicInchesAt(double level) const {
    const double radius = shape_.radius;
    if (shape_.vertical) {
        return pi * radius * radius * level;
    }
    const double heads = std::visit(
        [level](const auto& head) {
            if constexpr (std::is_same_v<std::decay_t<decltype(head)>, std::monostate>) {
                return 0.0;
            } else {
                return head.volumeBelow(level);
            }
        },
        shape_.head);
    return shape_.length * circleAreaBelow(radius, level) + 2 * heads;
}

// Summed from its parts the volume may stray a rounding from the closed-form capacity, and the
// heads' integrals a rounding from 0: an empty tank holds nothing, a full one its capacity, and
// no level more, so that the ullage is never below 0.
double Tank::gallonsAt(double level) const {
    if (level <= 0) {
        return 0;
    }
    if (level >= top_) {
        return capacity_;
    }
    return std::clamp(cubicInchesAt(level) / kCubicInchesPerGallon, 0.0, capacity_);
}

}  // namespace brimwell
