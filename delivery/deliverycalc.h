#pragma once

// The delivery temperature arithmetic, on the texts of the window's boxes. The tank's contents
// after a delivery are taken as a volume-weighted mix of what was there and what came in.

#include <string>

#include "model/text/numbertext.h"

namespace brimwell::delivery {

struct DeliveryInputs {
    std::string volumeBefore;
    std::string temperatureBefore;
    std::string volumeAfter;
    std::string temperatureAfter;
};

struct DeliveryOutputs {
    std::string deliveredVolume;
    std::string deliveryTemperature;
    std::string temperatureDifferential;
};

// The three results, computed step by step, each step reading what the one before it wrote.
// A text that is no number makes all three "0". A division by zero or an overflow stops at
// that step: what earlier steps wrote stands, and later results keep what `shown` holds.
DeliveryOutputs calculateDelivery(const DeliveryInputs& inputs, DeliveryOutputs shown,
                                  const NumberFormat& format);

}  // namespace brimwell::delivery
