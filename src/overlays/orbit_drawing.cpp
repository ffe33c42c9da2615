#include "overlays/orbit_drawing.h"

#include <cmath>

namespace vorla {
namespace {

int ClampPixel(int v) {
    return v > kPixelLimit ? kPixelLimit : v < -kPixelLimit ? -kPixelLimit : v;
}

// Checks an iterate; the map's image of a finite point is finite except through overflow.
bool IterateOk(FpGuard& g, long double x, long double y) {
    g.Check(x);
    g.Check(y);
    return !g.fault;
}

void DrawCircle(Tabula& t, const TAxisB& axes, long double cx, long double cy, long double r) {
    const int c = axes.ColumnOfX(cx), row = axes.RowOfY(cy);
    const int p = axes.ColumnOfX(r) - axes.ColX0;  // both within kPixelLimit: no overflow
    const long long l = static_cast<long long>(c) - p, rr = static_cast<long long>(c) + p;
    const long long t0 = static_cast<long long>(row) - p, b = static_cast<long long>(row) + p;
    auto clamp = [](long long v) {
        return static_cast<int>(v > 2 * kPixelLimit    ? 2 * kPixelLimit
                                : v < -2 * kPixelLimit ? -2 * kPixelLimit
                                                       : v);
    };
    t.Ellipse(clamp(l), clamp(t0), clamp(rr), clamp(b));
}

}  // namespace

Status DrawCircleResult(Tabula& t, const Viewport& v, const CircleResult& res) {
    FpGuard g;
    const TAxisB& ax = v.axes;
    g.Check(res.a);
    g.Check(res.b);
    g.Check(res.c);
    if (g.fault) return g.Outcome();
    if (res.circle) {
        DrawCircle(t, ax, res.a, res.b, res.c);
        return {};
    }
    const long double A = res.a, B = res.b, C = res.c;
    if (std::fabs(A) <= std::fabs(B)) {
        const long double y0 = g.Div(g.Check(-C - g.Check(A * ax.XMin)), B);
        const long double y1 = g.Div(g.Check(-C - g.Check(A * ax.XMax)), B);
        if (g.fault) return g.Outcome();
        t.MoveTo(0, ax.RowOfY(y0));
        t.LineTo(v.W, ax.RowOfY(y1));
    } else {
        const long double x0 = g.Div(g.Check(-C - g.Check(B * ax.YMin)), A);
        const long double x1 = g.Div(g.Check(-C - g.Check(B * ax.YMax)), A);
        if (g.fault) return g.Outcome();
        t.MoveTo(ax.ColumnOfX(x0), v.H);
        t.LineTo(ax.ColumnOfX(x1), 0);
    }
    return {};
}

Status Orbit(Tabula& t, const Scene& scene, const Viewport& v, const Palette& p, int n, int X,
             int Y, OrbitStyle style) {
    OrbitDrawing orbit(t, scene, v, p, n, X, Y, style);
    orbit.Continue(n);
    return orbit.Outcome();
}

OrbitDrawing::OrbitDrawing(Tabula& t, const Scene& scene, const Viewport& v, const Palette& p,
                           int n, int X, int Y, OrbitStyle style)
    : t_(t), scene_(scene), view_(v), palette_(p), n_(n), style_(style) {
    X = ClampPixel(X);
    Y = ClampPixel(Y);
    t.SetPenColor(p.RampFromColor);
    t.SetPenWidth(1);
    if (style == OrbitStyle::Polyline)
        t.MoveTo(X, Y);
    else
        t.Ellipse(X - 3, Y - 3, X + 3, Y + 3);
    x_ = v.axes.XOfColumn(X);
    y_ = v.axes.YOfRow(Y);
    lastC_ = X;
    lastR_ = Y;
    lastColour_ = p.RampFromColor;
}

bool OrbitDrawing::Continue(long long steps) {
    if (Done()) return true;
    const Tabula::Batch batch(t_);
    const TAxisB& axes = view_.axes;
    const Palette& p = palette_;
    WithMap(scene_, [&](auto map) {
        // Redrawing the figure just drawn, in the same colour and copy mode, changes no pixel:
        // an orbit that has settled on a fixed point costs no drawing.
        for (; k_ <= n_ && steps > 0; ++k_, --steps) {
            map(x_, y_);
            if (!IterateOk(guard_, x_, y_)) return;
            const Colour colour =
                p.MixColorsFraction(static_cast<float>(static_cast<long double>(k_) / n_));
            const int c = axes.ColumnOfX(x_), r = axes.RowOfY(y_);
            const bool here = c == lastC_ && r == lastR_;
            const bool repeat = t_.Mode() == PenMode::Copy && colour == lastColour_ && here;
            t_.SetPenColor(colour);
            if (style_ == OrbitStyle::Polyline) {
                if (repeat && lastWasPoint_)
                    t_.MoveTo(c, r);
                else
                    t_.LineTo(c, r);
                lastWasPoint_ = here;
            } else if (!repeat) {
                t_.Ellipse(c - 3, r - 3, c + 3, r + 3);
            }
            lastC_ = c;
            lastR_ = r;
            lastColour_ = colour;
        }
    });
    // No map (no task type): nothing to draw.
    if (!scene_.HasMap()) k_ = n_ + 1;
    return Done();
}

Status OrbitCircle(Tabula& t, const Scene& scene, const Viewport& v, Colour colour, int X, int Y,
                   CircleStyle style) {
    const TAxisB& ax = v.axes;
    const long double x = ax.XOfColumn(ClampPixel(X)), y = ax.YOfRow(ClampPixel(Y));
    const Tabula::Batch batch(t);
    t.SetPenColor(colour);
    t.SetBrushStyle(BrushStyle::Clear);
    if (scene.taskType == TaskType::TwoCircles) {
        const Result<CircleResult> res = OrthogonalCircle(scene.k, x, y);
        if (!res) return res.ToStatus();
        DrawCircle(t, ax, res->a, res->b, res->c);
        return {};
    }
    if (style != CircleStyle::ThroughIterates || !scene.HasMap()) return {};
    for (int start = 0; start < 2; ++start) {
        // Figure 1: the start point, its 2nd and 4th iterates; figure 2: the 1st, 3rd, 5th.
        long double px = x, py = y;
        FpGuard g;
        if (start == 1) IterationMap(scene, px, py);
        PlanePoint pts[3];
        pts[0] = {px, py};
        for (int i = 1; i < 3; ++i) {
            IterationMap(scene, px, py);
            IterationMap(scene, px, py);
            pts[i] = {px, py};
        }
        for (const PlanePoint& q : pts)
            if (!IterateOk(g, q.X, q.Y)) return g.Outcome();
        CircleResult res;
        CircleThroughPoints(pts[0], pts[1], pts[2], res);
        if (Status drawn = DrawCircleResult(t, v, res); !drawn) return drawn;
    }
    return {};
}

}  // namespace vorla
