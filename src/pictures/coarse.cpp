#include "pictures/coarse.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pictures/driver.h"

namespace vorla {

namespace walk {

std::vector<RowJob> CoarseJobs(int lastRow, int lastCol, int W) {
    std::vector<RowJob> jobs;
    for (int step = kCoarsestStep; step >= 1; step /= 2)
        for (int r = 0; r <= lastRow; r += step) {
            // Column W only in the last row: elsewhere the next row's first pixel has its cell.
            const int last = lastCol == W && r < lastRow ? W - 1 : lastCol;
            // The first pass takes every step-th pixel; a later one the pixels of its grid
            // that the pass before did not: in the rows of the coarser grid, the columns
            // between its points; in the other rows, every step-th column.
            if (step == kCoarsestStep)
                jobs.push_back({r, {0, step, last}, step});
            else if (r % (2 * step) == 0)
                jobs.push_back({r, {step, 2 * step, last}, step});
            else
                jobs.push_back({r, {0, step, last}, step});
        }
    return jobs;
}

}  // namespace walk

QImage MovedPicture(const QImage& picture, const TAxisB& from, const TAxisB& to) {
    QImage moved(picture.size(), QImage::Format_RGB32);
    moved.fill(kNeutralRgb);
    // The tabula of `to` in pixels of `from`, cut to the picture: only that part is drawn, so
    // that a deep zoom draws a few source pixels large rather than the whole picture huge.
    const long double scale = to.XStep / from.XStep;  // pixels of `from` per pixel of `to`
    const long double left = (to.XMin - from.XMin) / from.XStep;
    const long double top = (from.YMax - to.YMax) / from.YStep;
    const long double x0 = std::max(left, 0.0L), y0 = std::max(top, 0.0L);
    const long double x1 = std::min(left + picture.width() * scale, (long double)picture.width());
    const long double y1 = std::min(top + picture.height() * scale, (long double)picture.height());
    if (!(x1 > x0 && y1 > y0) || !std::isfinite(scale) || !(scale > 0)) return moved;
    const QRectF source(static_cast<double>(x0), static_cast<double>(y0),
                        static_cast<double>(x1 - x0), static_cast<double>(y1 - y0));
    const QRectF target(
        static_cast<double>((x0 - left) / scale), static_cast<double>((y0 - top) / scale),
        static_cast<double>((x1 - x0) / scale), static_cast<double>((y1 - y0) / scale));
    QPainter painter(&moved);
    painter.drawImage(target, picture, source);
    return moved;
}

void ComposeCoarse(const QImage& tabula, const QImage& background, int step, int nextRow,
                   QImage& shown) {
    if (shown.size() != tabula.size() || shown.format() != QImage::Format_RGB32)
        shown = QImage(tabula.size(), QImage::Format_RGB32);
    const int W = tabula.width(), H = tabula.height();
    for (int r = 0; r < H; ++r) {
        auto* out = reinterpret_cast<std::uint32_t*>(shown.scanLine(r));
        // The finest grid whose point for this row is computed: this pass's, where its rows
        // have come, else the coarser one of the pass before (none before the first).
        const int level = r - r % step < nextRow ? step : 2 * step;
        if (level > kCoarsestStep) {
            const bool ours = background.size() == tabula.size();
            const auto* from = reinterpret_cast<const std::uint32_t*>(
                ours ? background.constScanLine(r) : tabula.constScanLine(r));
            for (int c = 0; c < W; ++c) out[c] = from[c];
            continue;
        }
        const auto* from =
            reinterpret_cast<const std::uint32_t*>(tabula.constScanLine(r - r % level));
        for (int c = 0; c < W; ++c) out[c] = from[c - c % level];
    }
}

}  // namespace vorla
