// Reading real numbers from the user's texts and writing them back as short texts.
#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "base/status.h"

namespace vorla {

// The range a value must lie in: any, above 0, or 0 and above.
enum class RangeCheck { None, Positive, NonNegative };

// Where a bad entry is reported; the window shows a message box and focuses the field.
class BadNumberReporter {
  public:
    virtual ~BadNumberReporter() = default;
    // Tells the user that the text of `field` is no acceptable number.
    virtual void ReportBadNumber(const std::string& field) = 0;
};

// The message of a bad number ("Bad number entry!").
inline constexpr const char* kBadNumberMessage = "Chybné zadání čísla!";

// The locale's decimal separator, and the other one, which input texts may use as well.
char DecimalChar();
char ForeignDecimalChar();
// Takes the separator from the C library's current locale (call after setlocale).
void InitDecimalChar();
// Sets the separator explicitly ('.' or ','): for tests and for hosts with their own locale.
void SetDecimalChar(char c);

// Converts a text by the number grammar (no range check); a text that is no number, or whose
// value is not finite, fails with kBadNumberMessage.
Result<long double> ConvertNumberText(std::string_view text);
// True when the value lies in the range.
bool PassesRange(long double value, RangeCheck check);

// Converts and checks the text of `field`; a failure is first reported through `reporter`.
Result<long double> ReadEditNumber(BadNumberReporter& reporter, const std::string& field,
                                   std::string_view text, RangeCheck check);
// Converts and checks silently; an empty text reads as 0.
Result<long double> TextToNumber(std::string_view text, RangeCheck check);
// TextToNumber's value, or `def` after a failure.
long double TextToNumberDef(std::string_view text, RangeCheck check, long double def);

// The general text of a real with 15 significant digits.
std::string GeneralText(long double value);
// The value rounded to `digits` significant digits (1..8), else " nelze".
std::string FormatDigits(int digits, long double value);

// Rounding helpers shared by pictures and overlays; never undefined for any input. Inline:
// the pictures call them for every pixel.

// Nearest, ties to even, clamped; NaN gives 0.
inline int RoundToInt32(long double v) {
    if (std::isnan(v)) return 0;
    constexpr long double lo = std::numeric_limits<int>::min();
    constexpr long double hi = std::numeric_limits<int>::max();
    const long double r = std::rint(v);
    if (r <= lo) return std::numeric_limits<int>::min();
    if (r >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

// Toward zero, clamped; NaN gives 0.
inline int TruncToInt32(long double v) {
    if (std::isnan(v)) return 0;
    constexpr long double lo = std::numeric_limits<int>::min();
    constexpr long double hi = std::numeric_limits<int>::max();
    if (v <= lo) return std::numeric_limits<int>::min();
    if (v >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

}  // namespace vorla
