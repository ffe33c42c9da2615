#include <cmath>

#include "pictures/kinds.h"

namespace vorla {

void KresliPrePeriody(PictureContext& ctx) {
    const long double tol = ctx.controls.Number(Ctl::EditTotoznost);
    const int n = ctx.controls.Spin(Ctl::SpinPeriodIter);
    ctx.tabula.SetPenMode(PenMode::Copy);
    const auto& colours = ctx.palette.PeriodColors;
    WalkPixels(ctx, RowRange::Tabula,
               [&](const auto& map, const Scene&, int, int, long double X, long double Y) {
                   // The last 16 points of the orbit as a ring: `oldest` is the physical slot
                   // of logical entry 0, `count` the entries held (m + 1). Dropping the oldest
                   // is one index step instead of shifting fifteen entries.
                   long double wx[16], wy[16];
                   wx[0] = X;
                   wy[0] = Y;
                   int oldest = 0, count = 1;
                   for (int i = 0; i < n; ++i) {
                       map(X, Y);
                       for (int j = 0; j < count; ++j) {
                           const int s = (oldest + j) & 15;
                           if (std::fabs(wx[s] - X) < tol && std::fabs(wy[s] - Y) < tol) {
                               const int q = count - j;  // m - j + 1
                               return PixelResult{colours[q - 1], q};
                           }
                       }
                       int slot;
                       if (count < 16) {
                           slot = (oldest + count) & 15;
                           ++count;
                       } else {
                           slot = oldest;
                           oldest = (oldest + 1) & 15;
                       }
                       wx[slot] = X;
                       wy[slot] = Y;
                   }
                   // No cycle seen: the pixel keeps whatever the tabula showed.
                   return PixelResult{kWhite, -1, false};
               });
}

}  // namespace vorla
