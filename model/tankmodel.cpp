#include "tankmodel.h"

#include <cfloat>
#include <cmath>

#include "units.h"

namespace brimwell {
namespace {

std::optional<float> toSingle(double value) {
    if (!(std::fabs(value) <= FLT_MAX)) {  // also true of NaN
        return std::nullopt;
    }
    return static_cast<float>(value);
}

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

std::optional<float> TankCapacity(std::string_view shape, double r, double L) {
    double gallons = 0;
    if (shape == kFlatEnded) {
        gallons = r * r * kPi * L / kCubicInchesPerGallon;
    } else if (shape == kCylindrical) {
        const double k = 4.0 / 3.0 * kPi;  // two true hemispheres make one sphere
        gallons = (kPi * (r * r) * L + k * (r * r * r)) / kCubicInchesPerGallon;
    } else if (shape == kVertical) {
        gallons = L * (r * r) * kPi / kCubicInchesPerGallon;
    }
    return toSingle(gallons);
}

float VolumeAtLevel(float h, float r, float L, std::string_view shape, std::string_view volumeUnit,
                    FailureReporter& reporter) {
    return LevelVolume(shape, volumeUnit)(h, r, L, reporter);
}

LevelVolume::LevelVolume(std::string_view shape, std::string_view volumeUnit)
    : gallonFactor_(GallonFactor(volumeUnit)) {
    if (shape == kFlatEnded) {
        shape_ = Shape::FlatEnded;
    } else if (shape == kCylindrical) {
        shape_ = Shape::Cylindrical;
    } else if (shape == kVertical) {
        shape_ = Shape::Vertical;
    }
}

float LevelVolume::operator()(float h, float r, float L, FailureReporter& reporter) const {
    // Each numbered step either sets its values or, on failure, reports once and leaves them as
    // they were; values never set count as 0.
    auto fail = [&reporter] { reporter.reportFailure(kCheckSelectionsMessage); };

    // 1. distance from the centre line down to the level
    float d = 0;
    if (const auto v = toSingle(static_cast<double>(r) - static_cast<double>(h))) {
        d = *v;
    } else {
        fail();
    }

    // 2. cosine of the half-angle of the wetted segment
    float x = 0;
    if (r == 0) {
        fail();
    } else if (const auto v = toSingle(static_cast<double>(d) / static_cast<double>(r))) {
        x = *v;
    } else {
        fail();
    }

    // 3. to 5. the half-angle, which a vertical tank has no use for
    const double theta = shape_ == Shape::Vertical ? 0 : halfAngle(x, reporter);

    // 6. volume in gallons, one step per shape
    const double rr = static_cast<double>(r) * r;
    const double dd = static_cast<double>(d) * d;
    // The square root is correctly rounded, and of a negative number it is NaN like the power
    // 0.5, which the step reports as a failure.
    auto segmentArea = [&] { return rr * theta - d * std::sqrt(rr - dd); };
    auto lengthPerGallon = [&] { return static_cast<double>(static_cast<float>(L / 231.0)); };
    float volume = 0;
    std::optional<double> gallons;
    switch (shape_) {
    case Shape::FlatEnded:
        gallons = lengthPerGallon() * segmentArea();
        break;
    case Shape::Cylindrical: {
        const double cap = (kPi / 3) * h * h * (3.0 * r - h) / kCubicInchesPerGallon;
        gallons = lengthPerGallon() * segmentArea() + cap;
        break;
    }
    case Shape::Vertical:
        gallons = rr * h * kPi / kCubicInchesPerGallon;
        break;
    case Shape::None:
        break;
    }
    if (gallons) {
        if (const auto v = toSingle(*gallons)) {
            volume = *v;
        } else {
            fail();
        }
    }

    // 7. the requested volume unit
    float result = 0;
    if (gallonFactor_) {
        if (const auto v = toSingle(volume * *gallonFactor_)) {
            result = *v;
        } else {
            fail();
        }
    }
    return result;
}

}  // namespace brimwell
