// What every picture kind works on, and the row walk that they share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "colour/palette.h"
#include "model/controls.h"
#include "model/scene.h"
#include "pictures/row_pool.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

struct PictureContext {
    const Scene& scene;    // live: taken afresh at every poll
    const Viewport& view;  // live: taken afresh at every poll
    Controls& controls;    // the picture's own parameters, read at its start
    Palette& palette;
    Tabula& tabula;
    ValueGrid& grid;
    RowPool& pool;
    std::function<bool(int)> poll;  // TestKonce: true when the picture must end
    std::uint64_t seed = 0;         // the picture's random seed
    long double& accuracy;          // the window's Accuracy of the convergence picture
};

// Which rows and columns a kind computes: exactly the tabula's, or one more of each.
enum class RowRange { Tabula, PlusOne };

struct PixelResult {
    Colour colour;
    std::int32_t value;
    bool paint = true;
};

inline constexpr int kPollRows = 16;

// Walks the rows from the top, polling before every 16th; the rows between two polls are
// computed on all the pool's threads. fn(map, scene, c, r, x, y) gives a pixel's result.
// Ends early on a stop, on a change of the tabula's size, or when no map is chosen.
template <class PixelFn>
void WalkPixels(PictureContext& ctx, RowRange range, PixelFn&& fn) {
    const int W = ctx.grid.Width(), H = ctx.grid.Height();
    const int lastRow = range == RowRange::PlusOne ? H : H - 1;
    const int lastCol = range == RowRange::PlusOne ? W : W - 1;
    std::int32_t lastExtra = -1;  // the value of column W of a batch's last row
    for (int first = 0; first <= lastRow; first += kPollRows) {
        if (ctx.poll && ctx.poll(first)) return;
        if (ctx.grid.Width() != W || ctx.grid.Height() != H || ctx.tabula.Width() != W ||
            ctx.tabula.Height() != H)
            return;  // resized inside the poll: the old rows no longer fit
        const int last = std::min(first + kPollRows - 1, lastRow);
        const Scene scene = ctx.scene;
        const TAxisB axes = ctx.view.axes;
        ctx.tabula.Detach();
        const bool ran = WithMap(scene, [&](const auto& map) {
            ctx.pool.Run(first, last, [&](int r) {
                const long double y = axes.YOfRow(r);
                const long long base = static_cast<long long>(r) * W;
                for (int c = 0; c <= lastCol; ++c) {
                    const PixelResult p = fn(map, scene, c, r, axes.XOfColumn(c), y);
                    if (c == W) {
                        // This cell is the first one of the next row, which overwrites it;
                        // it is stored after the batch so that the order stays row by row.
                        if (r == last) lastExtra = p.value;
                        continue;
                    }
                    if (p.paint) ctx.tabula.SetPixel(c, r, p.colour);
                    ctx.grid.SetIndex(base + c, p.value);
                }
            });
        });
        if (!ran) return;
        if (lastCol == W) ctx.grid.SetIndex(static_cast<long long>(last) * W + W, lastExtra);
    }
}

}  // namespace vorla
