// The delivery window's arithmetic over any texts: its three results are numbers without NaN or
// infinity, "0" after a conversion failure, or the texts shown before; and computing again from
// what it showed changes nothing.

#include "delivery/deliverycalc.h"
#include "fuzz/fuzzinput.h"

using namespace brimwell;

namespace {

void checkResult(const std::string& result, const std::string& shownBefore) {
    if (result != shownBefore) {
        FUZZ_CHECK(!result.empty() && fuzz::containsNoNanOrInf(result));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const NumberFormat format = in.format();
    delivery::DeliveryInputs inputs;
    inputs.volumeBefore = in.text();
    inputs.temperatureBefore = in.text();
    inputs.volumeAfter = in.text();
    inputs.temperatureAfter = in.text();
    delivery::DeliveryOutputs shown;
    shown.deliveredVolume = in.text();
    shown.deliveryTemperature = in.text();
    shown.temperatureDifferential = in.text();

    const auto results = delivery::calculateDelivery(inputs, shown, format);
    checkResult(results.deliveredVolume, shown.deliveredVolume);
    checkResult(results.deliveryTemperature, shown.deliveryTemperature);
    checkResult(results.temperatureDifferential, shown.temperatureDifferential);

    const auto again = delivery::calculateDelivery(inputs, results, format);
    FUZZ_CHECK(again.deliveredVolume == results.deliveredVolume);
    FUZZ_CHECK(again.deliveryTemperature == results.deliveryTemperature);
    FUZZ_CHECK(again.temperatureDifferential == results.temperatureDifferential);
    return 0;
}
