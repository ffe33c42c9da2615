// Drawings of the mouse tools on the tabula: the orbit of a point and the circles through
// its iterates.
#pragma once

#include "base/status.h"
#include "colour/palette.h"
#include "model/scene.h"
#include "overlays/circle_tools.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// Each of the drawings is done, or fails with the text of the fault that ended it; nothing
// is drawn from the faulty value on.

// The orbit of pixel (X, Y): n iterates coloured along the palette's ramp, mode 0 rings of
// radius 3, mode 1 a polyline; pen width 1. The pen mode and brush are the caller's.
Status Orbit(Tabula& tabula, const Scene& scene, const Viewport& view, const Palette& palette,
             int n, int X, int Y, int mode);
// Task type 2: the circle through (X, Y) orthogonal to K1 and K2 (both modes). Other task
// types: nothing in mode 0; in mode 1 the circles (or lines) through the start point and its
// 2nd and 4th iterates, and through the 1st, 3rd and 5th. Outlines in `colour`; pen width
// left as it is.
Status OrbitCircle(Tabula& tabula, const Scene& scene, const Viewport& view, Colour colour, int X,
                   int Y, int mode);
// Draws a result of CircleThroughPoints; a line runs across the whole tabula.
Status DrawCircleResult(Tabula& tabula, const Viewport& view, const CircleResult& res);

}  // namespace vorla
