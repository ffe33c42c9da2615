#include <cmath>

#include "pictures/kinds.h"

namespace vorla {

void KresliPeriody(PictureContext& ctx) {
    const long double tol = ctx.controls.Number(Ctl::EditTotoznost);
    const int n = ctx.controls.Spin(Ctl::SpinPeriodIter);
    ctx.tabula.SetPenMode(PenMode::Copy);
    if (!(ctx.scene.k.R > 0)) return;
    const auto& colours = ctx.palette.PeriodColors;
    WalkPixels(ctx, RowRange::Tabula,
               [&](const auto& map, const Scene&, int, int, long double X0, long double Y0) {
                   long double X = X0, Y = Y0;
                   for (int k = 1; k <= n; ++k) {
                       map(X, Y);
                       if (std::fabs(X0 - X) < tol && std::fabs(Y0 - Y) < tol)
                           return PixelResult{colours[(k - 1) % 15], k};
                   }
                   // Entry 15 is reserved for the points that never come back.
                   return PixelResult{colours[15], -1};
               });
}

}  // namespace vorla
