// What every picture kind works on, and the row walk that they share.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "colour/palette.h"
#include "model/scene.h"
#include "pictures/row_pool.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// What a picture works on. It reads the scene and the view, which a command may change
// between two bands, and its own parameters (given to its routine); it writes only the
// tabula's rows and the grid's cells that it computes.
struct PictureContext {
    const Scene& scene;    // live: taken afresh at every poll
    const Viewport& view;  // live: taken afresh at every poll
    Tabula& tabula;
    ValueGrid& grid;
    RowPool& pool;
    std::function<bool(int)> poll;  // TestKonce: true when the picture must end
    std::uint64_t seed = 0;         // the picture's random seed
    // Set from any thread to end the picture at once: the workers look at it between pixels
    // and the band they were computing is dropped. May be null.
    const std::atomic<bool>* cancel = nullptr;
    // Every orbit stepped on its own instead of in lanes: the reference the lanes must match.
    bool oneLane = false;

    // Whether the picture was asked to end at once.
    bool Cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

// Which rows and columns a kind computes: exactly the tabula's, or one more of each.
enum class RowRange { Tabula, PlusOne };

struct PixelResult {
    Colour colour;
    std::int32_t value;
    bool paint = true;
};

inline constexpr int kPollRows = 16;

// Walks the rows from the top in bands of kPollRows, polling before each; the rows of a band
// are computed on all the pool's threads into a band buffer, which goes to the tabula and the
// grid only once the whole band is done, so a band cut by a cancel leaves both as they were.
// rowFn(map, scene, axes, r, out, lastCol) fills out[0..lastCol] with row r's results and
// returns early once ctx.Cancelled(). Ends early on a stop or a cancel, on a change of the
// tabula's size, or when no map is chosen.
template <class RowFn>
void WalkRows(PictureContext& ctx, RowRange range, RowFn&& rowFn) {
    const int W = ctx.grid.Width(), H = ctx.grid.Height();
    const int lastRow = range == RowRange::PlusOne ? H : H - 1;
    const int lastCol = range == RowRange::PlusOne ? W : W - 1;
    const std::size_t stride = static_cast<std::size_t>(lastCol) + 1;
    std::vector<PixelResult> band(stride * kPollRows);
    // A tabula that holds a band of the picture gets that band's rows only.
    const int top = ctx.tabula.FirstRow();
    const int bottom =
        top + ctx.tabula.Rows() >= H ? lastRow : std::min(lastRow, top + ctx.tabula.Rows() - 1);
    for (int first = top; first <= bottom; first += kPollRows) {
        if (ctx.poll && ctx.poll(first)) return;
        if (ctx.Cancelled()) return;
        if (ctx.grid.Width() != W || ctx.grid.Height() != H || ctx.tabula.Width() != W ||
            ctx.tabula.Height() != H)
            return;  // resized inside the poll: the old rows no longer fit
        const int last = std::min(first + kPollRows - 1, bottom);
        const Scene scene = ctx.scene;
        const TAxisB axes = ctx.view.axes;
        const bool ran = WithMap(scene, [&](const auto& map) {
            ctx.pool.Run(first, last, [&](int r) {
                PixelResult* out = band.data() + static_cast<std::size_t>(r - first) * stride;
                rowFn(map, scene, axes, r, out, lastCol);
            });
        });
        if (!ran || ctx.Cancelled()) return;
        ctx.tabula.Detach();
        ctx.pool.Run(first, last, [&](int r) {
            const PixelResult* in = band.data() + static_cast<std::size_t>(r - first) * stride;
            const long long base = static_cast<long long>(r) * W;
            // Column W of a row is the cell of the next row's first pixel, which overwrites
            // it; only the band's last row keeps it.
            const int cols = lastCol == W && r < last ? W - 1 : lastCol;
            for (int c = 0; c <= cols; ++c) {
                if (c < W && in[c].paint) ctx.tabula.SetPixel(c, r, in[c].colour);
                ctx.grid.SetIndex(base + c, in[c].value);
            }
        });
    }
}

// The row walk one pixel at a time: fn(map, scene, c, r, x, y) gives a pixel's result.
template <class PixelFn>
void WalkPixels(PictureContext& ctx, RowRange range, PixelFn&& fn) {
    WalkRows(ctx, range,
             [&](const auto& map, const Scene& scene, const TAxisB& axes, int r, PixelResult* out,
                 int lastCol) {
                 const long double y = axes.YOfRow(r);
                 for (int c = 0; c <= lastCol; ++c) {
                     if (ctx.Cancelled()) return;
                     out[c] = fn(map, scene, c, r, axes.XOfColumn(c), y);
                 }
             });
}

}  // namespace vorla
