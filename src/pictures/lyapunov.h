// What the four Lyapunov-exponent pictures share: their preparation, the colour of a pixel
// and the colour scale beside the controls.
#pragma once

#include <cmath>

#include "colour/palette.h"
#include "pictures/driver.h"
#include "plane/number_text.h"
#include "plane/tabula.h"

namespace vorla {

// The size of the colour scale beside the controls, and of its image file.
inline constexpr int kScaleWidth = 25;
inline constexpr int kScaleHeight = 241;

// The term of a degenerate step: ln(0.0001).
inline long double LyapunovLnSmall() {
    return std::log(0.0001L);
}

// Draws the colour scale with the palette's Lyapunov colours: row y has the colour of
// 2y/(height-1) - 1, so the top row is -1, the middle 0 and the bottom row +1.
void DrawLyapunovScale(const Palette& palette, Tabula& scale);

// Whether the pictures' inline logarithm gives exactly the C library's logl on edge values and
// on `samples` pseudo-random positive values of every magnitude. Checked when the program
// starts; should it ever fail, the pictures call logl instead.
bool InlineLnMatchesLibrary(int samples);

// The colour and the stored value (thousandths, nearest, ties to even) of an exponent L.
inline PixelResult LyapunovPixel(const Palette& palette, long double L) {
    return PixelResult{palette.LyapunovScaleColor(static_cast<float>(L)), RoundToInt32(1000 * L)};
}

}  // namespace vorla
