#include <cmath>

#include "pictures/kinds.h"
#include "pictures/lanes.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

// N map steps from the start, keeping the iterate closest to it; the earliest iterate wins on
// equal distances. toPixel(best, k) turns the result into the pixel.
template <class ToPixel>
struct ClosestOrbit {
    int N;
    long double bound;  // the start bound, L itself, compared with squared distances
    const ToPixel* toPixel;
    long double X0 = 0, Y0 = 0, X = 0, Y = 0;
    long double best = 0;  // the smallest squared distance from the start
    int i = 0, k = -1;     // k: its iterate, -1 when none came below the start bound

    bool Start(long double x, long double y) {
        X = X0 = x;
        Y = Y0 = y;
        best = bound;
        i = 0;
        k = -1;
        return N < 1;
    }
    VORLA_INLINE bool After() {
        ++i;
        const long double s = (X - X0) * (X - X0) + (Y - Y0) * (Y - Y0);
        if (s < best) {
            best = s;
            k = i;
        }
        return i >= N;
    }
    PixelResult Result() const { return (*toPixel)(best, k); }
};

// Both pictures walk the same orbits.
template <class ToPixel>
void WalkClosest(PictureContext& ctx, int N, const ToPixel& toPixel) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    WalkOrbits(ctx, RowRange::Tabula, [&](const auto&, const Scene& s) {
        return ClosestOrbit<ToPixel>{N, s.L, &toPixel};
    });
}

}  // namespace

void KresliClosestOrder(PictureContext& ctx, const ClosestParams& p) {
    const auto& colours = p.periodColours;
    WalkClosest(ctx, p.iterations, [&](long double, int k) {
        // No iterate below the bound: the colour of "no period" of the periodicity picture.
        if (k < 0) return PixelResult{colours[15], -1};
        return PixelResult{colours[k % 15], k};
    });
}

void KresliClosestDist(PictureContext& ctx, const ClosestParams& p) {
    const auto& colours = p.periodColours;
    WalkClosest(ctx, p.iterations, [&](long double best, int) {
        const long double m = std::sqrt(best);
        return PixelResult{colours[TruncToInt32(m) % 15], RoundToInt32(m * 1000)};
    });
}

}  // namespace vorla
