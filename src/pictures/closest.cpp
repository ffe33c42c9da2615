#include <cmath>

#include "pictures/kinds.h"

namespace vorla {
namespace {

struct Closest {
    long double best;  // the smallest squared distance from the start
    int k;             // its iterate, -1 when none came below the start bound
};

// N map steps from the start; the earliest iterate wins on equal distances.
template <class Map>
inline Closest ClosestIterate(const Map& map, int N, long double bound, long double X0,
                              long double Y0) {
    // The start bound is L itself, compared with squared distances.
    Closest c{bound, -1};
    long double X = X0, Y = Y0;
    for (int k = 1; k <= N; ++k) {
        map(X, Y);
        const long double s = (X - X0) * (X - X0) + (Y - Y0) * (Y - Y0);
        if (s < c.best) {
            c.best = s;
            c.k = k;
        }
    }
    return c;
}

// Both pictures walk the same orbits; `toPixel` turns the result into the pixel.
template <class ToPixel>
void WalkClosest(PictureContext& ctx, ToPixel&& toPixel) {
    const int N = ctx.controls.Spin(Ctl::SpinClosestIter);
    ctx.tabula.SetPenMode(PenMode::Copy);
    WalkPixels(ctx, RowRange::Tabula,
               [&](const auto& map, const Scene& s, int, int, long double X0, long double Y0) {
                   return toPixel(ClosestIterate(map, N, s.L, X0, Y0));
               });
}

}  // namespace

void KresliClosestOrder(PictureContext& ctx) {
    const auto& colours = ctx.palette.PeriodColors;
    WalkClosest(ctx, [&](const Closest& c) {
        // No iterate below the bound: the colour of "no period" of the periodicity picture.
        if (c.k < 0) return PixelResult{colours[15], -1};
        return PixelResult{colours[c.k % 15], c.k};
    });
}

void KresliClosestDist(PictureContext& ctx) {
    const auto& colours = ctx.palette.PeriodColors;
    WalkClosest(ctx, [&](const Closest& c) {
        const long double m = std::sqrt(c.best);
        return PixelResult{colours[TruncToInt32(m) % 15], RoundToInt32(m * 1000)};
    });
}

}  // namespace vorla
