#include <cmath>

#include "pictures/kinds.h"
#include "pictures/lanes.h"
#include "plane/number_text.h"

namespace vorla {

namespace {

// n map steps; the distance of the n-th point from the start gives the pixel.
struct NthOrbit {
    int n;
    long double a, b, inv;
    bool complete, white;
    const Palette* palette;
    long double X0 = 0, Y0 = 0, X = 0, Y = 0;
    int i = 0;

    bool Start(long double x, long double y) {
        X = X0 = x;
        Y = Y0 = y;
        i = 0;
        return n <= 0;
    }
    VORLA_INLINE bool After() { return ++i >= n; }
    PixelResult Result() const {
        const long double d = std::sqrt((X - X0) * (X - X0) + (Y - Y0) * (Y - Y0));
        const int value = TruncToInt32(d);
        if (d < a) return PixelResult{kRed, value};
        if (d <= b)
            return PixelResult{palette->MixColorsFraction(static_cast<float>((d - a) * inv)),
                               value};
        if (complete) {
            // q >= 1 here; 53 bands, the last entry of the table is never used.
            const int q = TruncToInt32(d / b);
            return PixelResult{NamedColors[q % 53].colour, value};
        }
        if (white) return PixelResult{kWhite, value};
        return PixelResult{kWhite, value, false};
    }
};

}  // namespace

void KresliLimit(PictureContext& ctx, const LimitParams& p) {
    Palette ramp;
    ramp.RampFromColor = p.rampFrom;
    ramp.RampToColor = p.rampTo;
    const long double inv = 1 / (p.upper - p.lower);
    ctx.tabula.SetPenMode(PenMode::Copy);
    // Polled every 16 rows like the other pictures, so that a long run can be stopped.
    const NthOrbit orbit{p.n, p.lower, p.upper, inv, p.complete, p.white, &ramp};
    WalkOrbits(ctx, RowRange::PlusOne, [&](const auto&, const Scene&) { return orbit; });
}

}  // namespace vorla
