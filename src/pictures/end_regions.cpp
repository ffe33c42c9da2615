#include "pictures/kinds.h"

namespace vorla {

void KresliRegions(PictureContext& ctx) {
    // The squared radii are taken once; the centres follow the scene at every poll.
    const long double R2 = ctx.scene.k.R * ctx.scene.k.R;
    const long double S2 = ctx.scene.k.S * ctx.scene.k.S;
    ctx.tabula.SetPenMode(PenMode::Copy);
    const int n = ctx.controls.Spin(Ctl::SpinRegionIter);
    if (!(ctx.scene.k.R > 0)) return;
    const auto& colours = ctx.palette.RegionColors;
    WalkPixels(ctx, RowRange::PlusOne,
               [&](const auto& map, const Scene& s, int, int, long double X, long double Y) {
                   for (int i = 0; i < n; ++i) map(X, Y);
                   int cls = X * X + Y * Y < 1 ? 0 : 4;
                   if (X >= 0)
                       cls += Y >= 0 ? 0 : 3;
                   else
                       cls += Y >= 0 ? 1 : 2;
                   Colour colour = colours[cls];
                   if (s.taskType < 6) {
                       const CircleSet& k = s.k;
                       if ((X - k.D) * (X - k.D) + Y * Y < R2) colour = LightenColor(colour);
                       if (s.taskType > 2 && (X - k.M) * (X - k.M) + (Y - k.N) * (Y - k.N) < S2)
                           colour = DarkenColor(colour);
                   }
                   return PixelResult{colour, cls + 1};
               });
}

}  // namespace vorla
