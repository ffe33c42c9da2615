#include <cmath>

#include "pictures/kinds.h"

namespace vorla {

long double EditPresnostExit(Controls& controls, long double& accuracy) {
    const Result<long double> read = controls.ReadNumber(Ctl::EditPresnost);
    accuracy = read.ValueOr(Spec(Ctl::EditPresnost).fallback);
    if (!read) controls.Focus(Ctl::EditPresnost);
    return accuracy;
}

void KresliConverg(PictureContext& ctx) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    const int n = ctx.controls.Spin(Ctl::SpinKonvergIter);
    const long double acc = EditPresnostExit(ctx.controls, ctx.accuracy);
    if (!(ctx.scene.k.R > 0)) return;
    const auto& colours = ctx.palette.ClassColors;
    WalkPixels(ctx, RowRange::PlusOne,
               [&](const auto& map, const Scene&, int, int, long double X, long double Y) {
                   long double prevX = X, prevY = Y;
                   bool converged = false;
                   for (int i = 0; i < n; ++i) {
                       prevX = X;
                       prevY = Y;
                       map(X, Y);
                       if (std::fabs(prevX - X) < acc && std::fabs(prevY - Y) < acc) {
                           converged = true;
                           break;
                       }
                   }
                   const bool right = prevX <= X, up = prevY <= Y;
                   int cls;
                   if (!converged)
                       cls = right ? (up ? 0 : 3) : (up ? 2 : 1);
                   else
                       cls = right ? (up ? 6 : 5) : (up ? 7 : 4);
                   return PixelResult{colours[cls], cls + 1};
               });
}

}  // namespace vorla
