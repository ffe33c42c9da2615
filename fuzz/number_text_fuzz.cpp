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
    if (const vorla::Result<long double> read = vorla::ConvertNumberText(text)) {
        const long double v = read.Value();
        if (!std::isfinite(v)) std::abort();
        const std::string g = vorla::GeneralText(v);
        const vorla::Result<long double> back = vorla::ConvertNumberText(g);
        if (!back) std::abort();
        if (vorla::GeneralText(back.Value()) != g) std::abort();
        for (int n = 0; n <= 9; ++n)
            if (vorla::FormatDigits(n, v).empty()) std::abort();
    }
    (void)vorla::TextToNumber(text, vorla::RangeCheck::Positive);
    return 0;
}
