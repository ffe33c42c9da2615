#include <cmath>

#include "pictures/kinds.h"

namespace vorla {

void KresliIterace(PictureContext& ctx) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    const int n = ctx.controls.Spin(Ctl::SpinCalcIter);
    Palette& palette = ctx.palette;
    palette.RampFromColor = ctx.controls.LabelColour(Ctl::LabelItersFrom);
    palette.RampToColor = ctx.controls.LabelColour(Ctl::LabelItersTo);
    const long double v = ctx.controls.Number(Ctl::EditMaxIterValue);
    WalkPixels(ctx, RowRange::PlusOne,
               [&](const auto& map, const Scene&, int, int, long double X, long double Y) {
                   long double prevX = X, prevY = Y;
                   for (int i = 0; i < n; ++i) {
                       prevX = X;
                       prevY = Y;
                       map(X, Y);
                   }
                   const long double d =
                       std::sqrt((X - prevX) * (X - prevX) + (Y - prevY) * (Y - prevY));
                   const Colour colour =
                       d <= v ? palette.MixColorsByte(RoundToInt32(d * 255 / v)) : kWhite;
                   return PixelResult{colour, RoundToInt32(d * 1000)};
               });
}

}  // namespace vorla
