#include <array>

#include "pictures/kinds.h"
#include "pictures/lanes.h"

namespace vorla {
namespace {

// n map steps; the region of the last point, and whether it lies in K2 or K3, give the pixel.
struct RegionOrbit {
    int n;
    long double R2, S2;  // taken once at the start; the centres follow the band's scene
    const std::array<Colour, 8>* colours;
    const Scene* s;
    long double X = 0, Y = 0;
    int i = 0;

    bool Start(long double x, long double y) {
        X = x;
        Y = y;
        i = 0;
        return n <= 0;
    }
    VORLA_INLINE bool After() { return ++i >= n; }
    PixelResult Result() const {
        int cls = X * X + Y * Y < 1 ? 0 : 4;
        if (X >= 0)
            cls += Y >= 0 ? 0 : 3;
        else
            cls += Y >= 0 ? 1 : 2;
        Colour colour = (*colours)[cls];
        if (s->taskType != TaskType::Squaring) {
            const CircleSet& k = s->k;
            if ((X - k.D) * (X - k.D) + Y * Y < R2) colour = LightenColor(colour);
            if (CircleCount(s->taskType) > 2 && (X - k.M) * (X - k.M) + (Y - k.N) * (Y - k.N) < S2)
                colour = DarkenColor(colour);
        }
        return PixelResult{colour, cls + 1};
    }
};

}  // namespace

void KresliRegions(PictureContext& ctx, const RegionParams& p) {
    const long double R2 = ctx.scene.k.R * ctx.scene.k.R;
    const long double S2 = ctx.scene.k.S * ctx.scene.k.S;
    ctx.tabula.SetPenMode(PenMode::Copy);
    const int n = p.n;
    if (!(ctx.scene.k.R > 0)) return;
    const auto* colours = &p.regionColours;
    WalkOrbits(ctx, RowRange::PlusOne, [&](const auto&, const Scene& s) {
        return RegionOrbit{n, R2, S2, colours, &s};
    });
}

}  // namespace vorla
