#include "model/tank.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <numbers>

#include "model/levelsearch.h"

namespace brimwell {
namespace {

using AnyHead = std::variant<EllipsoidalHead, TorisphericalHead, ConicalHead>;

bool isPositive(double size) {
    return std::isfinite(size) && size > 0;
}

// The window's routines report arithmetic failures as they go; sizes that Tank accepted and
// levels inside the tank give none.
class IgnoredFailures : public FailureReporter {
public:
    void reportFailure(std::string_view) override {}
};

Expected<AnyHead, TankError> makeHead(double radius, const Heads& heads) {
    if (const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&heads)) {
        const double depth = ellipsoidal->depth.value_or(radius / 2);
        if (!isPositive(depth)) {
            return Unexpected(TankError::HeadDepth);
        }
        return AnyHead(EllipsoidalHead(radius, depth));
    }
    if (const auto* conical = std::get_if<ConicalHeads>(&heads)) {
        if (!isPositive(conical->depth)) {
            return Unexpected(TankError::HeadDepth);
        }
        return AnyHead(ConicalHead(radius, conical->depth));
    }
    const auto& dished = *std::get_if<TorisphericalHeads>(&heads);
    if (!(std::isfinite(dished.crown) && dished.crown >= 0.5)) {
        return Unexpected(TankError::Crown);
    }
    if (!(dished.knuckle > 0 && dished.knuckle < 0.5)) {
        return Unexpected(TankError::Knuckle);
    }
    // F = 0.5 must give the shell's radius, not a rounding below it.
    const double crown = std::max(dished.crown * 2 * radius, radius);
    const double knuckle = std::min(dished.knuckle * 2 * radius, radius);
    return AnyHead(TorisphericalHead(radius, crown, knuckle));
}

double headVolume(const AnyHead& head) {
    return std::visit([](const auto& h) { return h.volume(); }, head);
}

}  // namespace

Expected<Tank, TankError> Tank::horizontal(double diameter, double length, const Heads& heads) {
    if (!isPositive(diameter)) {
        return Unexpected(TankError::Diameter);
    }
    if (!isPositive(length)) {
        return Unexpected(TankError::Length);
    }
    if (std::holds_alternative<FlatHeads>(heads)) {
        return fromWindow(TankShape::FlatEnded, diameter, length, diameter);
    }
    if (std::holds_alternative<HemisphericalHeads>(heads)) {
        return fromWindow(TankShape::Cylindrical, diameter, length, diameter);
    }
    return withHeads(diameter, length, heads);
}

Expected<Tank, TankError> Tank::vertical(double diameter, double height) {
    if (!isPositive(diameter)) {
        return Unexpected(TankError::Diameter);
    }
    if (!isPositive(height)) {
        return Unexpected(TankError::Length);
    }
    return fromWindow(TankShape::Vertical, diameter, height, height);
}

Expected<Tank, TankError> Tank::fromWindow(TankShape shape, double diameter, double length,
                                           double top) {
    const double radius = diameter / 2;
    const auto capacity = TankCapacity(shape, radius, length);
    // The window rounds the radius, length and level to single precision.
    if (!capacity || !(*capacity > 0) || !(diameter <= FLT_MAX) || !(length <= FLT_MAX) ||
        !(static_cast<float>(radius) >= FLT_MIN)) {
        return Unexpected(TankError::Capacity);
    }
    WindowShape window{LevelVolume(shape, VolumeUnit::Gallons), static_cast<float>(radius),
                       static_cast<float>(length)};
    return Tank(top, *capacity, std::move(window));
}

Expected<Tank, TankError> Tank::withHeads(double diameter, double length, const Heads& heads) {
    const double radius = diameter / 2;
    auto head = makeHead(radius, heads);
    if (!head) {
        return Unexpected(head.error());
    }
    const double shell = std::numbers::pi * radius * radius * length;
    const double capacity = (shell + 2 * headVolume(*head)) / kCubicInchesPerGallon;
    if (!(std::isfinite(capacity) && capacity > 0)) {
        return Unexpected(TankError::Capacity);
    }
    return Tank(diameter, capacity, HeadedShell{radius, length, *std::move(head)});
}

Expected<double, TankError> Tank::volumeAt(double level) const {
    if (!(level >= 0 && level <= top_)) {
        return Unexpected(TankError::Level);
    }
    return gallonsAt(level);
}

void Tank::volumesAt(std::span<const double> levels, std::span<double> gallons) const {
    const auto* window = std::get_if<WindowShape>(&form_);
    if (!window) {
        std::transform(levels.begin(), levels.end(), gallons.begin(),
                       [this](double level) { return gallonsAt(level); });
        return;
    }
    // The window's routine works on several levels side by side.
    constexpr std::size_t kChunk = 64;
    std::array<float, kChunk> singleLevels{};
    std::array<float, kChunk> volumes{};
    IgnoredFailures ignored;
    for (std::size_t start = 0; start < levels.size(); start += kChunk) {
        const std::size_t count = std::min(kChunk, levels.size() - start);
        for (std::size_t i = 0; i < count; ++i) {
            singleLevels[i] = static_cast<float>(levels[start + i]);
        }
        window->gallonsAt(std::span(singleLevels).first(count), window->radius, window->length,
                          ignored, std::span(volumes).first(count));
        std::copy_n(volumes.begin(), count, gallons.begin() + static_cast<std::ptrdiff_t>(start));
    }
}

Expected<double, TankError> Tank::levelFor(double gallons) const {
    if (!(gallons >= 0 && gallons <= capacity_)) {
        return Unexpected(TankError::Volume);
    }
    auto volume = [this](double level) { return gallonsAt(level); };
    return levelForVolume(volume, top_, gallons, 1e-6 * top_);
}

Expected<double, TankError> Tank::levelForPercent(double percent) const {
    if (!(percent >= 0 && percent <= 100)) {
        return Unexpected(TankError::Percent);
    }
    return levelFor(capacity_ * (percent / 100));
}

double Tank::gallonsAt(double level) const {
    if (const auto* window = std::get_if<WindowShape>(&form_)) {
        IgnoredFailures ignored;
        return window->gallonsAt(static_cast<float>(level), window->radius, window->length,
                                 ignored);
    }
    const auto& shell = *std::get_if<HeadedShell>(&form_);
    const double heads =
        std::visit([level](const auto& head) { return head.volumeBelow(level); }, shell.head);
    const double wetted = shell.length * circleAreaBelow(shell.radius, level) + 2 * heads;
    // Summed from its parts the volume may stray a rounding from the closed-form capacity; a full
    // tank holds its capacity, and no level more, so that the ullage is never below 0.
    return level >= top_ ? capacity_ : std::min(wetted / kCubicInchesPerGallon, capacity_);
}

}  // namespace brimwell
