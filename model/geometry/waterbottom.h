#pragma once

// A reading with free water at the bottom of the tank: the water volume is the volume at the
// water cut and the product is what stands above it. A volume correction applies to the product
// alone, never to the water: its gross volume is `product`.

namespace brimwell {

struct WaterBottom {
    double water = 0;    // the volume at the water cut
    double product = 0;  // the volume at the level less the water
};

// The volumes at the product level and at the water cut, the cut not above the level.
inline WaterBottom splitWaterBottom(double volumeAtLevel, double volumeAtWaterCut) {
    return {volumeAtWaterCut, volumeAtLevel - volumeAtWaterCut};
}

}  // namespace brimwell
