// The leak-rate window's pure helpers over any texts: the equivalent rate of three strictly read
// numbers, shown with the window's patterns, and the self-formatting leak-rate box.

#include <cmath>

#include "fuzz/fuzzinput.h"
#include "leak/leakrate.h"
#include "leak/leakratebox.h"

using namespace brimwell;

namespace {

void checkEquivalentRate(fuzz::FuzzInput& in, const NumberFormat& format) {
    const auto rate = readStrict(in.text(), format);
    const auto reference = readStrict(in.text(), format);
    const auto desired = readStrict(in.text(), format);
    if (!rate || !reference || !desired) {
        return;
    }
    const auto equivalent = leak::equivalentRate(*rate, *reference, *desired);
    if (*reference == 0 || *desired / *reference < 0) {
        FUZZ_CHECK(!equivalent);
    }
    if (!equivalent) {
        return;
    }
    FUZZ_CHECK(std::isfinite(equivalent->gallonsPerHour) && std::isfinite(equivalent->millilitresPerMinute));
    for (const auto& text : {formatPattern(equivalent->gallonsPerHour, "##0.0##", format.decimal),
                             formatPattern(equivalent->millilitresPerMinute, "###0.0###", format.decimal)}) {
        FUZZ_CHECK(!text.empty() && fuzz::containsNoNanOrInf(text));
    }
}

// A run of edits on the box, which starts empty: it keeps its caret inside its text, shows every
// number with no more decimals than its pattern, and shows again what it shows when nothing
// changed.
void checkLeakRateBox(fuzz::FuzzInput& in, const NumberFormat& format) {
    leak::BoxText shown;
    for (int edit = in.byte() % 4; edit >= 0; --edit) {
        const leak::BoxText edited{in.text(), in.byte()};
        const leak::BoxText settled = leak::settleLeakRateBox(shown, edited, format);
        FUZZ_CHECK(settled.caret <= settled.text.size());
        if (const auto value = readStrict(settled.text, format)) {
            // Not always the pattern's text: zeros typed behind the decimals and the minus of a
            // zero being typed stay.
            const std::string inPattern =
                formatPattern(*value, leak::kLeakRatePattern, format.decimal);
            FUZZ_CHECK(readStrict(inPattern, format) == value);
        }
        const leak::BoxText again = leak::settleLeakRateBox(settled, settled, format);
        FUZZ_CHECK(again.text == settled.text && again.caret <= again.text.size());
        shown = settled;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const NumberFormat format = in.format();
    if (in.byte() % 2 == 0) {
        checkEquivalentRate(in, format);
    } else {
        checkLeakRateBox(in, format);
    }
    return 0;
}
