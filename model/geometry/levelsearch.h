#pragma once

// The level at which a tank holds a given volume: the root of a rising volume curve.

#include <algorithm>
#include <limits>

namespace brimwell {

// The level in [0, top] at which `volumeAt` reaches `target`, to within `relative` of itself. The
// volume must not fall as the level rises; a target at or below volumeAt(0) gives 0 and one at
// or above volumeAt(top) gives top. Regula falsi with the Illinois rule: an end of the bracket
// kept twice in a row has its miss halved, so both ends close in. Each new level stays a quarter
// of the tolerance inside the bracket, which makes the last step straddle the root, and a bracket
// that has not halved in two steps is bisected, which bounds the work on any curve, also on the
// flat last digits of a volume near full. The search ends, too, when no number lies between the
// bracket's ends.
template <typename VolumeAt>
double levelForVolume(const VolumeAt& volumeAt, double top, double target, double relative) {
    double low = 0;
    double high = top;
    double lowMiss = volumeAt(low) - target;
    double highMiss = volumeAt(high) - target;
    if (lowMiss >= 0) {
        return low;
    }
    if (highMiss <= 0) {
        return high;
    }
    int kept = 0;  // -1 or +1 when the low or the high end was kept by the last step
    double widthOneStepAgo = std::numeric_limits<double>::infinity();
    double widthTwoStepsAgo = widthOneStepAgo;
    while (high - low > relative * high) {
        const double width = high - low;
        const double tolerance = relative * high;
        double level = (low + high) / 2;
        if (width <= widthTwoStepsAgo / 2) {
            level = std::clamp(low - lowMiss * width / (highMiss - lowMiss), low + tolerance / 4,
                               high - tolerance / 4);
        }
        if (!(level > low && level < high)) {
            break;
        }
        widthTwoStepsAgo = widthOneStepAgo;
        widthOneStepAgo = width;
        const double miss = volumeAt(level) - target;
        if (miss < 0) {
            low = level;
            lowMiss = miss;
            highMiss /= kept == 1 ? 2 : 1;
            kept = 1;
        } else if (miss > 0) {
            high = level;
            highMiss = miss;
            lowMiss /= kept == -1 ? 2 : 1;
            kept = -1;
        } else {
            return level;
        }
    }
    return (low + high) / 2;
}

}  // namespace brimwell
