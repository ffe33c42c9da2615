// The coarse order of a picture's pixels: every 8th pixel both ways first, then every 4th,
// every 2nd, and the rest, each pixel computed once; and the picture a window shows while
// the passes come, each computed pixel standing for the block of its grid.
#pragma once

#include <QColor>
#include <QImage>

#include "plane/viewport.h"

namespace vorla {

// The colour shown where a moved picture does not reach.
inline constexpr QRgb kNeutralRgb = 0xffc0c0c0;

// `picture`, drawn with the axes `from`, moved and scaled to show what it holds of the view
// of the axes `to` on a tabula of its size: a preview of the view before any pixel of it is
// computed. Where it does not reach, the preview is neutral.
QImage MovedPicture(const QImage& picture, const TAxisB& from, const TAxisB& to);

// Composes into `shown` the picture of `tabula` as far as the coarse passes have come: the
// pass of step `step` (8, 4, 2, 1) has computed its rows above `nextRow`. Every pixel shows
// the computed pixel of the finest grid that covers it; before the first pass has reached a
// row, the row shows `background` (a picture of the tabula's size, such as the old picture
// moved to the new view), or the tabula itself when there is none.
void ComposeCoarse(const QImage& tabula, const QImage& background, int step, int nextRow,
                   QImage& shown);

}  // namespace vorla
