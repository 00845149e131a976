#include "delivery/deliverycalc.h"

#include <cmath>
#include <optional>

namespace brimwell::delivery {
namespace {

const DeliveryOutputs kConversionFailed{"0", "0", "0"};

// Rounded to hundredths, ties to the even hundredth; no value when not finite.
std::optional<double> hundredths(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return roundHalfEven(value, 2);
}

}  // namespace

DeliveryOutputs calculateDelivery(const DeliveryInputs& in, DeliveryOutputs shown,
                                  const NumberFormat& format) {
    const auto strict = [&format](const std::string& text) { return readStrict(text, format); };

    // Delivered volume: the after-volume taken whole when it reads as a number (so "9,000.88" is
    // not taken for 9), otherwise its leading number; the before-volume rounded.
    const auto after = strict(in.volumeAfter);
    const double afterVolume = after.value_or(readLenient(in.volumeAfter, format.decimal));
    const auto before = strict(in.volumeBefore);
    if (!before) {
        return kConversionFailed;
    }
    const double delivered = afterVolume - roundHalfEven(*before, 2);
    if (!std::isfinite(delivered)) {
        return shown;
    }
    shown.deliveredVolume = formatGeneral(delivered, format.decimal);

    // Delivery temperature, from the unrounded before-volume and the delivered volume as shown.
    const auto afterTemp = strict(in.temperatureAfter);
    const auto beforeTemp = strict(in.temperatureBefore);
    const auto deliveredShown = strict(shown.deliveredVolume);
    if (!after || !afterTemp || !beforeTemp || !deliveredShown) {
        return kConversionFailed;
    }
    if (*deliveredShown == 0) {
        return shown;
    }
    const auto temperature =
        hundredths((*after * *afterTemp - *before * *beforeTemp) / *deliveredShown);
    if (!temperature) {
        return shown;
    }
    shown.deliveryTemperature = formatGeneral(*temperature, format.decimal);

    // Differential, from the delivery temperature as shown.
    const auto temperatureShown = strict(shown.deliveryTemperature);
    if (!temperatureShown) {
        return kConversionFailed;
    }
    const auto differential = hundredths(*temperatureShown - *beforeTemp);
    if (!differential) {
        return shown;
    }
    shown.temperatureDifferential = formatGeneral(*differential, format.decimal);
    return shown;
}

}  // namespace brimwell::delivery
