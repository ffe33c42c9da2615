// The plane geometry of the mouse tools: the circle through three points, the circle
// orthogonal to K1 and K2, and the "Y relatively" value of a clicked height.
#pragma once

#include <string>

#include "base/status.h"
#include "model/scene.h"

namespace vorla {

// A "Y relatively" value and its text for edtYzero.
struct YRelValue {
    long double value = 0;
    std::string text;
};
// yRel = 0.5 - y*W / (H*(xTo - xFrom)), the fraction of the height below Y = 0 that puts
// height y in the middle. A zero X range fails with the division-by-zero fault.
Result<YRelValue> YRelatively(long double xFrom, long double xTo, long double y, int W, int H);
// Six decimals of the value rounded to three significant digits; the scientific general form
// with three digits once the integer part needs more than three.
std::string YRelText(long double v);

// A point of the plane.
struct PlanePoint {
    long double X = 0, Y = 0;
};
// A circle (centre X, centre Y, radius) or a line a*X + b*Y + c = 0.
struct CircleResult {
    bool circle = false;
    long double a = 0, b = 0, c = 0;
};
// The circle through three points (true); when |det| < 0.001 the line through the first two
// (false).
bool CircleThroughPoints(const PlanePoint& p1, const PlanePoint& p2, const PlanePoint& p3,
                         CircleResult& out);

// The circle through (x, y) orthogonal to K1 and K2, which both inversions map onto
// itself; fails with the fault's text where there is none (y = 0, D = 0).
Result<CircleResult> OrthogonalCircle(const CircleSet& k, long double x, long double y);

}  // namespace vorla
