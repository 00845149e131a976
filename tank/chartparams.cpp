#include "tank/chartparams.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/window/singleprecision.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"

namespace brimwell {

double roundStepCount(double diameter, double increment) {
    // nearbyint follows the default rounding mode, which rounds ties to even.
    return std::nearbyint(diameter / increment);
}

Expected<TankChartParams, ChartRefusal> deriveChartParams(const ChartRequest& request,
                                                          const NumberFormat& format) {
    const auto refuse = [](ChartRefusal refusal) { return Unexpected(refusal); };
    const auto diameter = readStrict(request.diameter, format);
    if (!diameter) {
        return refuse(ChartRefusal::DiameterNotANumber);
    }
    const auto increment = readStrict(request.increment, format);
    if (!increment) {
        return refuse(ChartRefusal::IncrementNotANumber);
    }
    if (!request.lengthUnit || !request.volumeUnit) {
        return refuse(ChartRefusal::UnknownUnit);
    }
    const double radius = lengthToInches(*diameter, *request.lengthUnit) / 2;
    if (!(radius > 0)) {
        return refuse(ChartRefusal::NoDiameter);
    }
    if (static_cast<float>(radius) == 0) {
        return refuse(ChartRefusal::DiameterTooSmall);
    }
    if (!(*increment > 0)) {
        return refuse(ChartRefusal::InappropriateIncrement);
    }
    const double steps = roundStepCount(2 * radius, *increment);
    if (!(steps <= std::numeric_limits<std::int16_t>::max())) {
        return refuse(ChartRefusal::TooManySteps);
    }
    if (steps == 0) {
        return refuse(ChartRefusal::InappropriateIncrement);
    }
    const auto length = readStrict(request.length, format);
    if (!length) {
        return refuse(ChartRefusal::LengthNotANumber);
    }
    const double lengthInches = lengthToInches(*length, *request.lengthUnit);
    // The chart rounds its levels, the radius and the length to single precision: a diameter or
    // length beyond that range makes a tank as absurd as a capacity beyond it.
    if (!TankCapacity(request.shape, radius, lengthInches) || !fitsSingle(2 * radius) ||
        !fitsSingle(lengthInches)) {
        return refuse(ChartRefusal::CapacityOverflow);
    }
    return TankChartParams{radius, lengthInches, static_cast<std::int16_t>(steps), request.shape,
                           *request.volumeUnit};
}

}  // namespace brimwell
