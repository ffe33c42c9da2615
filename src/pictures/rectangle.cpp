#include "pictures/rectangle.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "pictures/kinds.h"

namespace vorla {
namespace {

// About this many sample points are mapped between two rounds of pixel writes.
constexpr int kBatchPoints = 1 << 16;

void Walk(long double from, long double to, long double h, std::vector<long double>& out) {
    for (long double v = from; v <= to;) {
        out.push_back(v);
        const long double next = v + h;
        // A step below the spacing of the reals here would never reach the far side.
        if (!(next > v)) break;
        v = next;
    }
}

}  // namespace

RectangleSamples RectangleSamplePoints(long double X1, long double X2, long double Y1,
                                       long double Y2, int D) {
    RectangleSamples s;
    s.h = X2 - X1 > Y2 - Y1 ? (X2 - X1) / D : (Y2 - Y1) / D;
    Walk(Y1, Y2, s.h, s.ys);
    Walk(X1, X2, s.h, s.xs);
    return s;
}

void KresliRect(PictureContext& ctx, const RectangleParams& p) {
    const std::array<Colour, 13>& colour = p.stepColours;
    ctx.grid.Fill(-1);
    const long double X1 = p.x1, X2 = p.x2, Y1 = p.y1, Y2 = p.y2;
    if (!(X1 < X2) || !(Y1 < Y2)) return;

    const int W = ctx.grid.Width(), H = ctx.grid.Height();
    {
        const TAxisB& axes = ctx.view.axes;
        const int c1 = axes.ColumnOfX(X1), c2 = axes.ColumnOfX(X2);
        const int rTop = axes.RowOfY(Y2), rBottom = axes.RowOfY(Y1);
        Tabula& t = ctx.tabula;
        t.SetPenMode(PenMode::Copy);
        t.SetPenColor(kGrey);
        t.SetBrush(BrushStyle::Solid, kGrey);
        t.Rectangle(c1, rBottom, c2, rTop);
        const int cFrom = std::max(std::min(c1, c2), 0), cTo = std::min(std::max(c1, c2), W - 1);
        const int rFrom = std::max(std::min(rTop, rBottom), 0);
        const int rTo = std::min(std::max(rTop, rBottom), H - 1);
        for (int r = rFrom; r <= rTo; ++r)
            for (int c = cFrom; c <= cTo; ++c) ctx.grid.Set(c, r, 0);
    }

    const int K = std::clamp(p.steps, 1, 12);
    const int D = std::max(p.density, 1);
    // The sums are formed once, in order, so that every thread maps the same points.
    const RectangleSamples g = RectangleSamplePoints(X1, X2, Y1, Y2, D);
    const int nx = static_cast<int>(g.xs.size()), ny = static_cast<int>(g.ys.size());
    if (nx == 0 || ny == 0) return;
    const int batch = std::min(std::max(1, kBatchPoints / nx), ny);
    // The pixel index that each point of a batch hits (-1 off the tabula). The writes happen
    // afterwards on this thread, in order, since several points may hit the same pixel.
    std::vector<std::int64_t> hits(static_cast<std::size_t>(batch) * nx);

    for (int k = 1; k <= K; ++k) {
        if ((ctx.poll && ctx.poll(k)) || ctx.Cancelled()) return;
        if (ctx.grid.Width() != W || ctx.grid.Height() != H || ctx.tabula.Width() != W ||
            ctx.tabula.Height() != H)
            return;  // resized inside the poll
        const Scene scene = ctx.scene;
        const TAxisB axes = ctx.view.axes;
        ctx.tabula.Detach();
        const bool ran = WithMap(scene, [&](const auto& map) {
            for (int first = 0; first < ny; first += batch) {
                const int last = std::min(first + batch, ny) - 1;
                ctx.pool.Run(first, last, [&](int i) {
                    const long double y = g.ys[i];
                    std::int64_t* out = hits.data() + static_cast<std::size_t>(i - first) * nx;
                    for (int j = 0; j < nx; ++j) {
                        long double X = g.xs[j], Y = y;
                        for (int step = 0; step < k; ++step) map(X, Y);
                        const int c = axes.ColumnOfX(X), r = axes.RowOfY(Y);
                        out[j] = c >= 0 && c < W && r >= 0 && r < H
                                     ? static_cast<std::int64_t>(r) * W + c
                                     : -1;
                    }
                });
                if (ctx.Cancelled()) return;
                const std::size_t n = static_cast<std::size_t>(last - first + 1) * nx;
                for (std::size_t m = 0; m < n; ++m) {
                    const std::int64_t p = hits[m];
                    if (p < 0) continue;
                    ctx.tabula.SetPixel(static_cast<int>(p % W), static_cast<int>(p / W),
                                        colour[k]);
                    ctx.grid.SetIndex(p, k);
                }
            }
        });
        if (!ran) return;
    }
}

}  // namespace vorla
