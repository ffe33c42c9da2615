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

// The order in which a picture computes its pixels.
enum class PixelOrder {
    Rows,         // rows from the top
    CoarseFirst,  // every 8th pixel both ways, then every 4th, every 2nd, then the rest
};

// How far a picture is: written by the picture before each poll, read by anyone (the window
// shows it, and composes the coarse passes done so far from it).
struct PictureProgress {
    std::atomic<long long> done{0};   // pixels computed
    std::atomic<long long> total{0};  // pixels the picture computes
    // The coarse pass under way (its step: 8, 4, 2, 1; 0 in row order) and the first row of
    // it not computed yet (in row order, the first row not computed).
    std::atomic<int> step{0};
    std::atomic<int> nextRow{0};

    // A picture of `pixels` pixels begins.
    void Begin(long long pixels) {
        done = 0;
        total = pixels;
        step = 0;
        nextRow = 0;
    }
    // `pixels` are computed, and the next of them is in row `row` of the pass `passStep`.
    void Reached(long long pixels, int passStep, int row) {
        done = pixels;
        step = passStep;
        nextRow = row;
    }
};

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
    // The order of the pixels, and where the picture tells how far it is (may be null).
    PixelOrder order = PixelOrder::Rows;
    PictureProgress* progress = nullptr;

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
// The step of the first, coarsest pass of the coarse order.
inline constexpr int kCoarsestStep = 8;

// The columns of a row that a walk computes: first, first + step, ... up to last.
struct Columns {
    int first = 0, step = 1, last = 0;
};

namespace walk {

// One row's columns to compute, and the coarse pass they belong to (its step; 0 in row
// order).
struct RowJob {
    int row;
    Columns cols;
    int pass = 0;
};

// The number of pixels of a row job.
inline long long Count(const RowJob& j) {
    return j.cols.last < j.cols.first ? 0 : (j.cols.last - j.cols.first) / j.cols.step + 1;
}

// Polls at `pollRow`, then computes the n row jobs (at most kPollRows) on all the pool's
// threads into a buffer, which goes to the tabula and the grid only once all are done, so a
// chunk cut by a cancel leaves both as they were. False when the picture ends: a stop, a
// cancel, a change of the tabula's size, or no map.
template <class RowFn>
bool Chunk(PictureContext& ctx, int W, int H, int pollRow, const RowJob* jobs, int n,
           std::size_t stride, std::vector<PixelResult>& buffer, RowFn& rowFn) {
    if (ctx.poll && ctx.poll(pollRow)) return false;
    if (ctx.Cancelled()) return false;
    if (ctx.grid.Width() != W || ctx.grid.Height() != H || ctx.tabula.Width() != W ||
        ctx.tabula.Height() != H)
        return false;  // resized inside the poll: the old rows no longer fit
    const Scene scene = ctx.scene;
    const TAxisB axes = ctx.view.axes;
    const bool ran = WithMap(scene, [&](const auto& map) {
        ctx.pool.Run(0, n - 1, [&](int i) {
            rowFn(map, scene, axes, jobs[i].row, jobs[i].cols,
                  buffer.data() + static_cast<std::size_t>(i) * stride);
        });
    });
    if (!ran || ctx.Cancelled()) return false;
    ctx.tabula.Detach();
    ctx.pool.Run(0, n - 1, [&](int i) {
        const RowJob& j = jobs[i];
        const PixelResult* in = buffer.data() + static_cast<std::size_t>(i) * stride;
        const long long base = static_cast<long long>(j.row) * W;
        for (int c = j.cols.first; c <= j.cols.last; c += j.cols.step) {
            if (c < W && in[c].paint) ctx.tabula.SetPixel(c, j.row, in[c].colour);
            ctx.grid.SetIndex(base + c, in[c].value);
        }
    });
    return true;
}

// The row jobs of the coarse passes over rows 0..lastRow: every 8th pixel both ways, then
// every 4th, every 2nd, then the rest, each pixel in exactly one pass. Column W of a row is
// the cell of the next row's first pixel, which overwrites it: only the last row's is
// computed (lastCol is W for kinds with the extra column).
std::vector<RowJob> CoarseJobs(int lastRow, int lastCol, int W);

}  // namespace walk

// Walks the kind's rows and columns in ctx.order, polling before every kPollRows rows (of a
// coarse pass, in the coarse order), and keeps ctx.progress up to date. rowFn(map, scene,
// axes, r, cols, out) fills out[c] for the columns `cols` of row r and returns early once
// ctx.Cancelled(). Ends early on a stop or a cancel, on a change of the tabula's size, or when
// no map is chosen.
template <class RowFn>
void WalkRows(PictureContext& ctx, RowRange range, RowFn&& rowFn) {
    const int W = ctx.grid.Width(), H = ctx.grid.Height();
    const int lastRow = range == RowRange::PlusOne ? H : H - 1;
    const int lastCol = range == RowRange::PlusOne ? W : W - 1;
    const std::size_t stride = static_cast<std::size_t>(lastCol) + 1;
    std::vector<PixelResult> buffer(stride * kPollRows);
    PictureProgress* progress = ctx.progress;
    // A tabula that holds a band of the picture gets that band's rows only, in row order.
    const int top = ctx.tabula.FirstRow();
    const bool whole = top == 0 && ctx.tabula.Rows() >= H;
    const int bottom = whole ? lastRow : std::min(lastRow, top + ctx.tabula.Rows() - 1);
    if (ctx.order == PixelOrder::CoarseFirst && whole) {
        const std::vector<walk::RowJob> jobs = walk::CoarseJobs(lastRow, lastCol, W);
        long long total = 0, done = 0;
        for (const walk::RowJob& j : jobs) total += walk::Count(j);
        if (progress) progress->Begin(total);
        for (std::size_t first = 0; first < jobs.size();) {
            // A chunk holds rows of one pass only, so that a poll marks where a pass stands.
            const int pass = jobs[first].pass;
            std::size_t n = 1;
            while (n < kPollRows && first + n < jobs.size() && jobs[first + n].pass == pass) ++n;
            if (progress) progress->Reached(done, pass, jobs[first].row);
            if (!walk::Chunk(ctx, W, H, jobs[first].row, &jobs[first], static_cast<int>(n), stride,
                             buffer, rowFn))
                return;
            for (std::size_t i = 0; i < n; ++i) done += walk::Count(jobs[first + i]);
            first += n;
        }
        if (progress) progress->Reached(done, 1, H + 1);
        return;
    }
    if (progress) progress->Begin(static_cast<long long>(bottom - top + 1) * (lastCol + 1));
    walk::RowJob jobs[kPollRows];
    for (int first = top; first <= bottom; first += kPollRows) {
        const int last = std::min(first + kPollRows - 1, bottom);
        for (int r = first; r <= last; ++r)
            // Column W of a row is the cell of the next row's first pixel, which overwrites
            // it: only the band's last row keeps it.
            jobs[r - first] = {r, {0, 1, lastCol == W && r < last ? W - 1 : lastCol}};
        if (progress)
            progress->Reached(static_cast<long long>(first - top) * (lastCol + 1), 0, first);
        if (!walk::Chunk(ctx, W, H, first, jobs, last - first + 1, stride, buffer, rowFn)) return;
    }
    if (progress) progress->Reached(progress->total, 0, bottom + 1);
}

// The row walk one pixel at a time: fn(map, scene, c, r, x, y) gives a pixel's result.
template <class PixelFn>
void WalkPixels(PictureContext& ctx, RowRange range, PixelFn&& fn) {
    WalkRows(ctx, range,
             [&](const auto& map, const Scene& scene, const TAxisB& axes, int r, Columns cols,
                 PixelResult* out) {
                 const long double y = axes.YOfRow(r);
                 for (int c = cols.first; c <= cols.last; c += cols.step) {
                     if (ctx.Cancelled()) return;
                     out[c] = fn(map, scene, c, r, axes.XOfColumn(c), y);
                 }
             });
}

}  // namespace vorla
