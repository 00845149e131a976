#include "model/window/tankmodel.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/window/singleprecision.h"

namespace brimwell {
namespace {

// Steps 3 to 5 of the volume at a level: the half-angle of the wetted segment from the cosine x.
// A level outside the diameter leaves it unset (0). The failure branch is there for the rule's
// sake: 1 - x² stays above 0 for every float x in (-1, 1).
double halfAngle(float x, FailureReporter& reporter) {
    if (x == 1.0f) {
        return 0;
    }
    if (x == -1.0f) {
        return kPi;
    }
    if (!(x > -1.0f && x < 1.0f)) {
        return 0;
    }
    const float oneMinusXX = 1.0f - x * x;
    const double root = std::sqrt(static_cast<double>(oneMinusXX));
    const double angle = std::atan(-static_cast<double>(x) / root) + 2 * std::atan(1.0);
    if (root != 0 && std::isfinite(angle)) {
        return angle;
    }
    reporter.reportFailure(kCheckSelectionsMessage);
    return 0;
}

}  // namespace

std::optional<TankShape> parseTankShape(std::string_view text) {
    return named<TankShape>(kTankShapes, text);
}

std::optional<float> TankCapacity(TankShape shape, double r, double L) {
    double gallons = 0;
    switch (shape) {
    case TankShape::FlatEnded:
        gallons = r * r * kPi * L / kCubicInchesPerGallon;
        break;
    case TankShape::Cylindrical: {
        const double k = 4.0 / 3.0 * kPi;  // two true hemispheres make one sphere
        gallons = (kPi * (r * r) * L + k * (r * r * r)) / kCubicInchesPerGallon;
        break;
    }
    case TankShape::Vertical:
        gallons = L * (r * r) * kPi / kCubicInchesPerGallon;
        break;
    }
    return toSingle(gallons);
}

float VolumeAtLevel(float h, float r, float L, TankShape shape, VolumeUnit volumeUnit,
                    FailureReporter& reporter) {
    return LevelVolume(shape, volumeUnit)(h, r, L, reporter);
}

LevelVolume::LevelVolume(TankShape shape, VolumeUnit volumeUnit)
    : shape_(shape), gallonFactor_(gallonFactor(volumeUnit)) {}

float LevelVolume::operator()(float h, float r, float L, FailureReporter& reporter) const {
    float volume = 0;
    (*this)(std::span(&h, 1), r, L, reporter, std::span(&volume, 1));
    return volume;
}

// Each numbered step either sets its values or, on failure, reports once and leaves them as they
// were; values never set count as 0.
void LevelVolume::operator()(std::span<const float> levels, float r, float L,
                             FailureReporter& reporter, std::span<float> volumes) const {
    auto fail = [&reporter] { reporter.reportFailure(kCheckSelectionsMessage); };
    // A few levels go through each step together: each level's steps wait on one another, a
    // division, a root and an arc tangent in a row, but the levels' do not, so the processor can
    // work on them side by side. Every failure reports the same message, so only their number
    // shows, which is the same.
    constexpr std::size_t kTogether = 4;
    for (std::size_t start = 0; start < levels.size(); start += kTogether) {
        const std::size_t count = std::min(kTogether, levels.size() - start);
        std::array<float, kTogether> d{};
        std::array<float, kTogether> x{};
        std::array<double, kTogether> theta{};
        for (std::size_t i = 0; i < count; ++i) {
            const float h = levels[start + i];
            // 1. distance from the centre line down to the level
            if (const auto v = toSingle(static_cast<double>(r) - static_cast<double>(h))) {
                d[i] = *v;
            } else {
                fail();
            }
            // 2. cosine of the half-angle of the wetted segment
            const double cosine = static_cast<double>(d[i]) / static_cast<double>(r);
            if (r == 0) {
                fail();
            } else if (const auto v = toSingle(cosine)) {
                x[i] = *v;
            } else {
                fail();
            }
        }
        // 3. to 5. the half-angle, which a vertical tank has no use for
        if (shape_ != TankShape::Vertical) {
            for (std::size_t i = 0; i < count; ++i) {
                theta[i] = halfAngle(x[i], reporter);
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            volumes[start + i] = volumeFromAngle(levels[start + i], r, L, d[i], theta[i], fail);
        }
    }
}

template <typename Fail>
float LevelVolume::volumeFromAngle(float h, float r, float L, float d, double theta,
                                   Fail& fail) const {
    // 6. volume in gallons, one step per shape
    const double rr = static_cast<double>(r) * r;
    const double dd = static_cast<double>(d) * d;
    // The square root is correctly rounded, and of a negative number it is NaN like the power
    // 0.5, which the step reports as a failure.
    auto segmentArea = [&] { return rr * theta - d * std::sqrt(rr - dd); };
    auto lengthPerGallon = [&] { return static_cast<double>(static_cast<float>(L / 231.0)); };
    double gallons = 0;
    switch (shape_) {
    case TankShape::FlatEnded:
        gallons = lengthPerGallon() * segmentArea();
        break;
    case TankShape::Cylindrical: {
        const double cap = (kPi / 3) * h * h * (3.0 * r - h) / kCubicInchesPerGallon;
        gallons = lengthPerGallon() * segmentArea() + cap;
        break;
    }
    case TankShape::Vertical:
        gallons = rr * h * kPi / kCubicInchesPerGallon;
        break;
    }
    float volume = 0;
    if (const auto v = toSingle(gallons)) {
        volume = *v;
    } else {
        fail();
    }

    // 7. the requested volume unit
    if (const auto v = toSingle(volume * gallonFactor_)) {
        return *v;
    }
    fail();
    return 0;
}

}  // namespace brimwell
