// Strict and lenient reading of any text in any of the user's notations: no crash, no NaN, and
// every finite value read comes back from its general text to the same 15 significant digits.

#include <cmath>

#include "fuzz/fuzzinput.h"

using namespace brimwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const NumberFormat format = in.format();
    const std::string text = in.text();

    if (const auto strict = readStrict(text, format)) {
        FUZZ_CHECK(std::isfinite(*strict));
        fuzz::checkGeneralRoundTrip(*strict, format);
        // Without group separators, a text taken whole also reads the same leniently.
        if (format.group.empty() || text.find(format.group) == std::string::npos) {
            FUZZ_CHECK(readLenient(text, format.decimal) == *strict);
        }
    }
    for (const NumberFormat& f : {format, NumberFormat{".", ","}}) {
        const double lenient = readLenient(text, f.decimal);
        FUZZ_CHECK(!std::isnan(lenient));
        if (std::isfinite(lenient)) {
            fuzz::checkGeneralRoundTrip(lenient, f);
        }
    }
    return 0;
}
