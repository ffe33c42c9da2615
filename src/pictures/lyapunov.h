// What the four Lyapunov-exponent pictures share: their preparation, the colour of a pixel
// and the colour scale beside the controls.
#pragma once

#include "colour/palette.h"
#include "model/controls.h"
#include "pictures/driver.h"
#include "plane/number_text.h"
#include "plane/tabula.h"

namespace vorla {

inline constexpr int kScaleWidth = 25;
inline constexpr int kScaleHeight = 241;

struct LyapunovSetup {
    int N;                // steps averaged, 1..1000000
    long double LnSmall;  // the term of a degenerate step, ln(0.0001)
};

// Takes the three scale colours from their labels and draws the scale: row y has the colour
// of 2y/(height-1) - 1, so the top row is -1, the middle 0 and the bottom row +1.
void KresliStupnici(Palette& palette, const Controls& controls, Tabula& scale);

// The preparation of every Lyapunov picture: LnSmall, N, and the scale colours taken from
// their labels; the scale is drawn too when one is given.
LyapunovSetup SpolecneLyap(const Controls& controls, Palette& palette, Tabula* scale = nullptr);

// Whether the pictures' inline logarithm gives exactly the C library's logl on edge values and
// on `samples` pseudo-random positive values of every magnitude. Checked when the program
// starts; should it ever fail, the pictures call logl instead.
bool InlineLnMatchesLibrary(int samples);

// The colour and the stored value (thousandths, nearest, ties to even) of an exponent L.
inline PixelResult LyapunovPixel(const Palette& palette, long double L) {
    return PixelResult{palette.LyapunovScaleColor(static_cast<float>(L)), RoundToInt32(1000 * L)};
}

}  // namespace vorla
