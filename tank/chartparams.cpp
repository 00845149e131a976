#include "chartparams.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "tankmodel.h"
#include "units.h"

namespace brimwell {

double RoundStepCount(double diameter, double increment) {
    // nearbyint follows the default rounding mode, which rounds ties to even.
    return std::nearbyint(diameter / increment);
}

std::variant<TankChartParams, ChartRefusal> DeriveChartParams(const ChartRequest& request,
                                                              const NumberFormat& format) {
    const auto diameter = readStrict(request.diameter, format);
    if (!diameter) {
        return ChartRefusal::DiameterNotANumber;
    }
    const auto increment = readStrict(request.increment, format);
    if (!increment) {
        return ChartRefusal::IncrementNotANumber;
    }
    const bool knownShape = std::find(kTankShapes.begin(), kTankShapes.end(), request.shape) !=
                            kTankShapes.end();
    const auto diameterInches = LengthToInches(*diameter, request.lengthUnit);
    if (!diameterInches || !knownShape || !GallonFactor(request.volumeUnit)) {
        return ChartRefusal::UnknownUnit;
    }
    const double radius = *diameterInches / 2;
    if (!(radius > 0)) {
        return ChartRefusal::NoDiameter;
    }
    if (static_cast<float>(radius) == 0) {
        return ChartRefusal::DiameterTooSmall;
    }
    if (!(*increment > 0)) {
        return ChartRefusal::InappropriateIncrement;
    }
    const double steps = RoundStepCount(2 * radius, *increment);
    if (!(steps <= std::numeric_limits<std::int16_t>::max())) {
        return ChartRefusal::TooManySteps;
    }
    if (steps == 0) {
        return ChartRefusal::InappropriateIncrement;
    }
    const auto length = readStrict(request.length, format);
    if (!length) {
        return ChartRefusal::LengthNotANumber;
    }
    const double lengthInches = *LengthToInches(*length, request.lengthUnit);
    // The chart rounds its levels, the radius and the length to single precision: a diameter or
    // length beyond that range makes a tank as absurd as a capacity beyond it.
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    if (!TankCapacity(request.shape, radius, lengthInches) || !(2 * radius <= kFloatMax) ||
        !(std::fabs(lengthInches) <= kFloatMax)) {
        return ChartRefusal::CapacityOverflow;
    }
    return TankChartParams{radius, lengthInches, static_cast<std::int16_t>(steps), request.shape,
                           request.volumeUnit};
}

}  // namespace brimwell
