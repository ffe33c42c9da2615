// What each picture kind reads: its own settings and colours, taken from the window when the
// picture begins. A picture computes from these and the live scene and view; it changes none
// of them.
#pragma once

#include <array>
#include <variant>

#include "colour/palette.h"

namespace vorla {

// Convergence: steps until two successive points are closer than the accuracy.
struct ConvergenceParams {
    int iterations = 200;
    long double accuracy = 0.01L;
    std::array<Colour, 8> classColours{};
};

// Periodicity and preperiodicity: steps until the orbit comes back within the tolerance.
struct PeriodParams {
    int iterations = 500;
    long double tolerance = 0.01L;
    std::array<Colour, 16> periodColours{};  // periods 1..15, then "none"
};

// The n-th distance: how far the n-th iterate lies from the start, coloured along a ramp
// from the lower limit to the upper one.
struct LimitParams {
    int n = 3;
    long double lower = 0.01L, upper = 1;  // upper > lower
    bool complete = true;                  // bands of named colours above the upper limit
    bool white = true;                     // else white above it (or left as it was)
    Colour rampFrom = 0, rampTo = 0;
};

// End regions: where the n-th iterate lies.
struct RegionParams {
    int n = 2;
    std::array<Colour, 8> regionColours{};
};

// Infinity reach: the step at which the orbit reaches a centre.
struct InfinityParams {
    int iterations = 500;
    std::array<Colour, 12> stepColours{};
};

// Closest order and closest distance: the iterate that comes closest to the start.
struct ClosestParams {
    int iterations = 100;
    std::array<Colour, 16> periodColours{};
};

// The last two: the distance between the last two of n iterates.
struct LastTwoParams {
    int n = 5;
    long double maxValue = 2;  // the distance at the end of the ramp
    Colour rampFrom = 0, rampTo = 0;
};

// The four Lyapunov exponents.
struct LyapunovParams {
    int iterations = 200;                         // 1..1000000
    long double lnSmall = 0;                      // the term of a degenerate step, ln(0.0001)
    Colour negative = 0, zero = 0, positive = 0;  // the scale's colours
};

// Rectangle iterations: the images of the rectangle's sample points.
struct RectangleParams {
    long double x1 = 1.5L, x2 = 2, y1 = 1.5L, y2 = 2;
    int steps = 6;                         // 1..12
    int density = 64;                      // sample steps along the longer side, >= 1
    std::array<Colour, 13> stepColours{};  // entry k: step k (1..12)
};

// The parameters of any kind.
using PictureParams =
    std::variant<ConvergenceParams, PeriodParams, LimitParams, RegionParams, InfinityParams,
                 ClosestParams, LastTwoParams, LyapunovParams, RectangleParams>;

}  // namespace vorla
