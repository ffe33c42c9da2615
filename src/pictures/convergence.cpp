#include <array>
#include <cmath>

#include "pictures/kinds.h"
#include "pictures/lanes.h"

namespace vorla {

namespace {

// Stepped until two successive points differ by less than the accuracy in both coordinates,
// at most n times; classed by that and by the direction of the last step.
struct ConvergenceOrbit {
    int n;
    long double acc;
    const std::array<Colour, 8>* colours;
    long double X = 0, Y = 0, prevX = 0, prevY = 0;
    int i = 0;
    bool converged = false;

    bool Start(long double x, long double y) {
        X = x;
        Y = y;
        i = 0;
        converged = false;
        if (n > 0) return false;
        prevX = x;  // no step: the start is both points
        prevY = y;
        return true;
    }
    // The point before the step is kept in the orbit only when the orbit ends: a store of an
    // 80-bit value per step would cost more than the comparisons.
    VORLA_INLINE lanes::Point Before() const { return {X, Y}; }
    VORLA_INLINE bool After(const lanes::Point& p) {
        ++i;
        converged = std::fabs(p.x - X) < acc && std::fabs(p.y - Y) < acc;
        if (!converged && i < n) return false;
        prevX = p.x;
        prevY = p.y;
        return true;
    }
    PixelResult Result() const {
        const bool right = prevX <= X, up = prevY <= Y;
        int cls;
        if (!converged)
            cls = right ? (up ? 0 : 3) : (up ? 2 : 1);
        else
            cls = right ? (up ? 6 : 5) : (up ? 7 : 4);
        return PixelResult{(*colours)[cls], cls + 1};
    }
};

}  // namespace

void KresliConverg(PictureContext& ctx, const ConvergenceParams& p) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    if (!(ctx.scene.k.R > 0)) return;
    const ConvergenceOrbit orbit{p.iterations, p.accuracy, &p.classColours};
    WalkOrbits(ctx, RowRange::PlusOne, [&](const auto&, const Scene&) { return orbit; });
}

}  // namespace vorla
