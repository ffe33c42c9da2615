// Drawings of the mouse tools on the tabula: the orbit of a point and the circles through
// its iterates.
#pragma once

#include "base/status.h"
#include "colour/palette.h"
#include "model/scene.h"
#include "overlays/circle_tools.h"
#include "overlays/fp_guard.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// Each of the drawings is done, or fails with the text of the fault that ended it; nothing
// is drawn from the faulty value on.

// How an orbit is drawn: a ring of radius 3 at every iterate, or a polyline through them.
enum class OrbitStyle { Rings, Polyline };
// Which circles a click draws through the orbit of its point: the invariant circle alone
// (task type 2; nothing for the others), or for the other task types the circles through
// its iterates.
enum class CircleStyle { Invariant, ThroughIterates };

// The orbit of pixel (X, Y): n iterates coloured along the palette's ramp, in `style`; pen
// width 1. The pen mode and brush are the caller's.
Status Orbit(Tabula& tabula, const Scene& scene, const Viewport& view, const Palette& palette,
             int n, int X, int Y, OrbitStyle style);

// The same orbit drawn a slice at a time, so that a long one (a million iterates take
// seconds) leaves the window answering between slices; drawn to its end, it has Orbit's
// pixels, provided nothing else draws on the tabula meanwhile. The scene, viewport and
// palette are copied at the start.
class OrbitDrawing {
  public:
    // Draws the start mark.
    OrbitDrawing(Tabula& tabula, const Scene& scene, const Viewport& view, const Palette& palette,
                 int n, int X, int Y, OrbitStyle style);
    // Draws up to `steps` more iterates; true once the orbit is done or a fault ended it.
    bool Continue(long long steps);
    bool Done() const { return k_ > n_ || guard_.fault; }
    // Done, or the fault that ended it.
    Status Outcome() const { return guard_.Outcome(); }

  private:
    Tabula& t_;
    Scene scene_;
    Viewport view_;
    Palette palette_;
    int n_;
    OrbitStyle style_;
    int k_ = 1;  // the next iterate
    long double x_, y_;
    FpGuard guard_;
    int lastC_, lastR_;
    Colour lastColour_;
    bool lastWasPoint_ = false;  // a polyline's last segment began and ended at (lastC, lastR)
};
// Task type 2: the circle through (X, Y) orthogonal to K1 and K2 (either style). Other task
// types: nothing for Invariant; for ThroughIterates the circles (or lines) through the start
// point and its 2nd and 4th iterates, and through the 1st, 3rd and 5th. Outlines in
// `colour`; pen width left as it is.
Status OrbitCircle(Tabula& tabula, const Scene& scene, const Viewport& view, Colour colour, int X,
                   int Y, CircleStyle style);
// Draws a result of CircleThroughPoints; a line runs across the whole tabula.
Status DrawCircleResult(Tabula& tabula, const Viewport& view, const CircleResult& res);

}  // namespace vorla
