// The parameters of a picture read from the window's controls when it begins, on the thread
// that owns the controls, with what that reading does in the window: a bad accuracy moves the
// focus to its field, an upper limit of the n-th picture not above the lower one is repaired
// in its field. The picture itself then only reads them.
#pragma once

#include <string>

#include "colour/palette.h"
#include "model/controls.h"
#include "pictures/params.h"

namespace vorla {

// The parameters of picture kind `tag` (the rectangle's for a tag of no other kind), the
// colour tables taken from `palette`. The convergence picture's read of its accuracy goes
// through EditPresnostExit, which keeps it in `accuracy`.
PictureParams ReadPictureParams(int tag, Controls& controls, const Palette& palette,
                                long double& accuracy);

// EditPresnostExit: reads the accuracy of the convergence picture into `accuracy` (the
// fallback 0.001 after a bad text, which also puts the focus on the field); returns it.
long double EditPresnostExit(Controls& controls, long double& accuracy);

// The text that a repaired upper limit shows: 5 significant digits in fixed notation with
// exactly 6 digits after the decimal separator ("1.200000"); from 100000 on, where 5 digits
// no longer fill the integer part, the general text of the value itself.
std::string RepairedLimitText(long double b);

// An upper limit b not above the lower limit a becomes (a + 0.1) * 2, and EditLimit2 shows
// it. True when b was repaired.
bool LimitRangeRepair(Controls& controls, long double a, long double& b);

// The Lyapunov scale's three colours taken from their labels into the palette.
void TakeLyapunovColours(const Controls& controls, Palette& palette);

}  // namespace vorla
