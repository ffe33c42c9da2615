// Floating-point faults of the mouse tools, found before they happen: the window reports
// them in a message box and stops the drawing there.
#pragma once

#include <cmath>

#include "base/status.h"

namespace vorla {

// The texts the window shows when an operation meets a floating-point fault.
inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

// Faults are not trapped: each operation that could fault is tested beforehand, and the
// first one wins, as a trapped fault would have ended the computation there.
struct FpGuard {
    const char* fault = nullptr;  // the first fault's text, or nullptr

    // The value, unless it is not finite (overflow, invalid) or a fault came before: then 0.
    long double Check(long double v) {
        if (!fault && !std::isfinite(v)) fault = std::isnan(v) ? kInvalidOperation : kOverflow;
        return fault ? 0 : v;
    }
    // a / b, with a zero divisor as the division-by-zero (or, 0 / 0, the invalid) fault.
    long double Div(long double a, long double b) {
        if (fault) return 0;
        if (b == 0) {
            fault = (a == 0 || std::isnan(a)) ? kInvalidOperation : kDivisionByZero;
            return 0;
        }
        return Check(a / b);
    }
    // The square root, with a negative argument as the invalid-operation fault.
    long double Sqrt(long double a) {
        if (fault) return 0;
        if (!(a >= 0)) {
            fault = kInvalidOperation;
            return 0;
        }
        return Check(std::sqrt(a));
    }
    // Done, or failed with the first fault's text.
    Status Outcome() const { return fault ? Status(Failure{fault}) : Status(); }
};

}  // namespace vorla
