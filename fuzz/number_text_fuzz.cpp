// Every text either converts to a finite value whose general text reads back to the same
// text, or is refused; FormatDigits never fails.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plane/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    vorla::SetDecimalChar(data[0] & 1 ? ',' : '.');
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    long double v = 0;
    if (vorla::ConvertNumberText(text, v)) {
        if (!std::isfinite(v)) std::abort();
        const std::string g = vorla::GeneralText(v);
        long double back = 0;
        if (!vorla::ConvertNumberText(g, back)) std::abort();
        if (vorla::GeneralText(back) != g) std::abort();
        for (int n = 0; n <= 9; ++n)
            if (vorla::FormatDigits(n, v).empty()) std::abort();
    }
    vorla::TextToNumberDef(text, vorla::RangeCheck::Positive, 1);
    return 0;
}
