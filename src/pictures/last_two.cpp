#include <cmath>

#include "pictures/kinds.h"
#include "pictures/lanes.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

// n map steps; the distance between the last two points gives the pixel.
struct LastTwoOrbit {
    int n;
    long double v;
    const Palette* palette;
    long double X = 0, Y = 0, prevX = 0, prevY = 0;
    int i = 0;

    bool Start(long double x, long double y) {
        X = x;
        Y = y;
        i = 0;
        if (n > 0) return false;
        prevX = x;  // no step: the start is both points
        prevY = y;
        return true;
    }
    // The point before the step is kept only at the last step, as in convergence.
    VORLA_INLINE lanes::Point Before() const { return {X, Y}; }
    VORLA_INLINE bool After(const lanes::Point& p) {
        if (++i < n) return false;
        prevX = p.x;
        prevY = p.y;
        return true;
    }
    PixelResult Result() const {
        const long double d = std::sqrt((X - prevX) * (X - prevX) + (Y - prevY) * (Y - prevY));
        const Colour colour = d <= v ? palette->MixColorsByte(RoundToInt32(d * 255 / v)) : kWhite;
        return PixelResult{colour, RoundToInt32(d * 1000)};
    }
};

}  // namespace

void KresliIterace(PictureContext& ctx, const LastTwoParams& p) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    Palette ramp;
    ramp.RampFromColor = p.rampFrom;
    ramp.RampToColor = p.rampTo;
    const LastTwoOrbit orbit{p.n, p.maxValue, &ramp};
    WalkOrbits(ctx, RowRange::PlusOne, [&](const auto&, const Scene&) { return orbit; });
}

}  // namespace vorla
