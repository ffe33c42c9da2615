#include "overlays/mouse_tools.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "pictures/session.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

// Faults are not trapped: each operation that could fault is tested beforehand, and the
// first one wins, as a trapped fault would have ended the computation there.
struct FpGuard {
    const char* fault = nullptr;

    long double Check(long double v) {
        if (!fault && !std::isfinite(v)) fault = std::isnan(v) ? kInvalidOperation : kOverflow;
        return fault ? 0 : v;
    }
    long double Div(long double a, long double b) {
        if (fault) return 0;
        if (b == 0) {
            fault = (a == 0 || std::isnan(a)) ? kInvalidOperation : kDivisionByZero;
            return 0;
        }
        return Check(a / b);
    }
    long double Sqrt(long double a) {
        if (fault) return 0;
        if (!(a >= 0)) {
            fault = kInvalidOperation;
            return 0;
        }
        return Check(std::sqrt(a));
    }
    std::string Message() const { return fault ? fault : ""; }
};

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

ShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                       bool doubleClick) {
    ShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= shift::Shift;
    if (modifiers & Qt::ControlModifier) s |= shift::Ctrl;
    if (modifiers & Qt::AltModifier) s |= shift::Alt;
    if (buttons & Qt::LeftButton) s |= shift::Left;
    if (buttons & Qt::RightButton) s |= shift::Right;
    if (buttons & Qt::MiddleButton) s |= shift::Middle;
    if (doubleClick) s |= shift::Double;
    return s;
}

bool ButtonFromQt(Qt::MouseButton button, MouseButton& out) {
    switch (button) {
        case Qt::LeftButton:
            out = MouseButton::Left;
            return true;
        case Qt::RightButton:
            out = MouseButton::Right;
            return true;
        case Qt::MiddleButton:
            out = MouseButton::Middle;
            return true;
        default:
            return false;
    }
}

PressOp PressOperation(MouseButton button, ShiftState state) {
    using namespace shift;
    switch (button) {
        case MouseButton::Left:
            return state == (Ctrl | Left) ? PressOp::YRelatively : PressOp::DragHitTest;
        case MouseButton::Right:
            if (state == Right) return PressOp::OrbitRings;
            if (state == (Shift | Right)) return PressOp::OrbitPolyline;
            if (state == (Ctrl | Right)) return PressOp::OrbitCircle0;
            if (state == (Ctrl | Alt | Right)) return PressOp::OrbitCircle1;
            return PressOp::Nothing;
        default:
            return PressOp::Nothing;
    }
}

int HitCentre(const CentreHandles& h, int X, int Y) {
    for (int i = 1; i <= 4; ++i) {
        const long long dr = static_cast<long long>(h.row[i]) - Y;
        const long long dc = static_cast<long long>(h.col[i]) - X;
        if (dr < 3 && dr > -3 && dc < 3 && dc > -3) return i;
    }
    return -1;
}

long double SnapToZero(long double v) {
    return std::fabs(v) < 0.0000001L ? 0 : v;
}

std::string CoordinateText(long double v) {
    return FormatDigits(6, SnapToZero(v));
}

DragEdit DragFieldTexts(int centre, const std::string& xText, const std::string& yText) {
    DragEdit e;
    switch (centre) {
        case 1:
            e.count = 1;
            e.fields[0] = {"EditKd", xText};
            break;
        case 2:
            e.count = 2;
            e.fields = {{{"EditKm", xText}, {"EditKn", yText}}};
            break;
        case 3:
            e.count = 2;
            e.fields = {{{"EditKu", xText}, {"EditKv", yText}}};
            break;
        case 4:
            e.count = 2;
            e.fields = {{{"EditKa", xText}, {"EditKb", yText}}};
            break;
        default:
            break;
    }
    return e;
}

void MoveHandle(CentreHandles& h, int centre, int X, int Y) {
    if (centre < 1 || centre > 4) return;
    h.col[centre] = X;
    if (centre != 1) h.row[centre] = Y;
}

std::string ValueText(std::int32_t v, int pictureKind) {
    if (pictureKind > 16) return GeneralText(static_cast<long double>(v) / 1000);
    return std::to_string(v);
}

HoverReadout HoverAt(const TAxisB& axes, const ValueGrid& grid, int pictureKind,
                     const Tabula& tabula, int X, int Y) {
    HoverReadout r;
    r.xText = CoordinateText(axes.XOfColumn(X));
    r.yText = CoordinateText(axes.YOfRow(Y));
    const int W = grid.Width(), H = grid.Height();
    r.onTabula = X >= 0 && Y >= 0 && X < W && Y < H && X < tabula.Width() && Y < tabula.Height();
    if (!r.onTabula) return r;
    r.valueText = ValueText(grid.AtIndex(static_cast<std::size_t>(Y) * W + X), pictureKind);
    r.colour = tabula.Pixel(X, Y);
    r.colourText = ColorText(r.colour);
    return r;
}

YRelResult YRelatively(long double xFrom, long double xTo, long double y, int W, int H) {
    YRelResult res;
    FpGuard g;
    const long double num = g.Check(y * W);
    const long double den = g.Check(H * g.Check(xTo - xFrom));
    const long double v = g.Check(0.5L - g.Div(num, den));
    if (g.fault) {
        res.error = g.Message();
        return res;
    }
    res.value = v;
    res.text = YRelText(v);
    return res;
}

std::string YRelText(long double v) {
    const char dec = DecimalChar();
    if (!std::isfinite(v)) return GeneralText(v);
    if (v == 0) return std::string("0") + dec + "000000";
    // Three significant digits, correctly rounded: d.dde±X (the separator is skipped, so the
    // C library's locale does not matter).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2Le", v);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t epos = s.find_first_of("eE");
    const int e10 = std::atoi(s.c_str() + epos + 1);
    const std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);  // three digits
    const std::string sign = negative ? "-" : "";
    if (e10 >= 3) {
        std::string m = digits;
        while (m.size() > 1 && m.back() == '0') m.pop_back();
        std::string out = sign + m.substr(0, 1);
        if (m.size() > 1) out += dec + m.substr(1);
        return out + "E" + std::to_string(e10);
    }
    // value = digits * 10^(e10 - 2); in millionths: digits * 10^(e10 + 4).
    long long d = std::atoll(digits.c_str());
    const int shiftBy = e10 + 4;
    long long micro = 0;
    if (shiftBy >= 0) {
        micro = d;
        for (int i = 0; i < shiftBy; ++i) micro *= 10;
    } else if (shiftBy >= -3) {
        long long div = 1;
        for (int i = 0; i < -shiftBy; ++i) div *= 10;
        micro = d / div;
        const long long rest = d % div;
        if (2 * rest > div || (2 * rest == div && (micro & 1))) ++micro;  // ties to even
    }
    if (micro == 0) return std::string("0") + dec + "000000";
    std::string frac = std::to_string(micro % 1000000);
    frac.insert(0, 6 - frac.size(), '0');
    return sign + std::to_string(micro / 1000000) + dec + frac;
}

bool CircleThroughPoints(const PlanePoint& p1, const PlanePoint& p2, const PlanePoint& p3,
                         CircleResult& out) {
    const long double x1 = p1.X, y1 = p1.Y, x2 = p2.X, y2 = p2.Y, x3 = p3.X, y3 = p3.Y;
    const long double a = x1 - x2, b = y1 - y2, c = x2 - x3, d = y2 - y3;
    const long double det = 4 * (a * d - b * c);
    if (std::fabs(det) >= 0.001L) {
        const long double e = -(x1 + x2) * a - (y1 + y2) * b;
        const long double f = -(x2 + x3) * c - (y2 + y3) * d;
        const long double cx = 2 * (b * f - d * e) / det;
        const long double cy = 2 * (e * c - f * a) / det;
        out.circle = true;
        out.a = cx;
        out.b = cy;
        out.c = std::sqrt((cx - x1) * (cx - x1) + (cy - y1) * (cy - y1));
        return true;
    }
    out.circle = false;
    out.a = y1 - y2;
    out.b = x2 - x1;
    out.c = x1 * y2 - x2 * y1;
    return false;
}

std::string OrthogonalCircle(const CircleSet& k, long double x, long double y, CircleResult& out) {
    const long double D = k.D;
    FpGuard g;
    const long double s = g.Check(x * x + y * y);
    const long double q = g.Check(D * D - k.R2 + 1);
    const long double cx = g.Div(q, 2 * D);
    const long double cy = g.Div(g.Check((s + 1) * D - q * x), 2 * D * y);
    const long double N =
        g.Check((s * s + 1 + 2 * (x * x - y * y)) * D * D + (q * s - 2 * D * x * (s + 1)) * q);
    const long double r = g.Div(g.Sqrt(N), 2 * D * std::fabs(y));
    if (g.fault) return g.Message();
    out.circle = true;
    out.a = cx;
    out.b = cy;
    out.c = r;
    return "";
}

std::string DrawCircleResult(Tabula& t, const Viewport& v, const CircleResult& res) {
    FpGuard g;
    const TAxisB& ax = v.axes;
    g.Check(res.a);
    g.Check(res.b);
    g.Check(res.c);
    if (g.fault) return g.Message();
    if (res.circle) {
        DrawCircle(t, ax, res.a, res.b, res.c);
        return "";
    }
    const long double A = res.a, B = res.b, C = res.c;
    if (std::fabs(A) <= std::fabs(B)) {
        const long double y0 = g.Div(g.Check(-C - g.Check(A * ax.XMin)), B);
        const long double y1 = g.Div(g.Check(-C - g.Check(A * ax.XMax)), B);
        if (g.fault) return g.Message();
        t.MoveTo(0, ax.RowOfY(y0));
        t.LineTo(v.W, ax.RowOfY(y1));
    } else {
        const long double x0 = g.Div(g.Check(-C - g.Check(B * ax.YMin)), A);
        const long double x1 = g.Div(g.Check(-C - g.Check(B * ax.YMax)), A);
        if (g.fault) return g.Message();
        t.MoveTo(ax.ColumnOfX(x0), v.H);
        t.LineTo(ax.ColumnOfX(x1), 0);
    }
    return "";
}

std::string Orbit(Tabula& t, const Scene& scene, const Viewport& v, const Palette& p, int n, int X,
                  int Y, int mode) {
    X = ClampPixel(X);
    Y = ClampPixel(Y);
    const Tabula::Batch batch(t);
    t.SetPenColor(p.RampFromColor);
    t.SetPenWidth(1);
    if (mode == 1)
        t.MoveTo(X, Y);
    else
        t.Ellipse(X - 3, Y - 3, X + 3, Y + 3);
    long double x = v.axes.XOfColumn(X), y = v.axes.YOfRow(Y);
    FpGuard g;
    // Redrawing the figure just drawn, in the same colour and copy mode, changes no pixel:
    // an orbit that has settled on a fixed point costs no drawing.
    int lastC = X, lastR = Y;
    Colour lastColour = p.RampFromColor;
    bool lastWasPoint = false;  // mode 1: the last segment began and ended at (lastC, lastR)
    WithMap(scene, [&](auto map) {
        for (int k = 1; k <= n; ++k) {
            map(x, y);
            if (!IterateOk(g, x, y)) return;
            const Colour colour =
                p.MixColorsFraction(static_cast<float>(static_cast<long double>(k) / n));
            const int c = v.axes.ColumnOfX(x), r = v.axes.RowOfY(y);
            const bool here = c == lastC && r == lastR;
            const bool repeat = t.Mode() == PenMode::Copy && colour == lastColour && here;
            t.SetPenColor(colour);
            if (mode == 1) {
                if (repeat && lastWasPoint)
                    t.MoveTo(c, r);
                else
                    t.LineTo(c, r);
                lastWasPoint = here;
            } else if (!repeat) {
                t.Ellipse(c - 3, r - 3, c + 3, r + 3);
            }
            lastC = c;
            lastR = r;
            lastColour = colour;
        }
    });
    return g.Message();
}

std::string OrbitCircle(Tabula& t, const Scene& scene, const Viewport& v, Colour colour, int X,
                        int Y, int mode) {
    const TAxisB& ax = v.axes;
    const long double x = ax.XOfColumn(ClampPixel(X)), y = ax.YOfRow(ClampPixel(Y));
    const Tabula::Batch batch(t);
    t.SetPenColor(colour);
    t.SetBrushStyle(BrushStyle::Clear);
    if (scene.taskType == 2) {
        CircleResult res;
        const std::string err = OrthogonalCircle(scene.k, x, y, res);
        if (!err.empty()) return err;
        DrawCircle(t, ax, res.a, res.b, res.c);
        return "";
    }
    if (mode != 1 || !scene.HasMap()) return "";
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
            if (!IterateOk(g, q.X, q.Y)) return g.Message();
        CircleResult res;
        CircleThroughPoints(pts[0], pts[1], pts[2], res);
        const std::string err = DrawCircleResult(t, v, res);
        if (!err.empty()) return err;
    }
    return "";
}

// --- the handlers --------------------------------------------------------------------------

void MouseTools::Recompute() {
    s_.ZmenaSouradnic();
    s_.DefKruz();
    s_.KresliZaklad();
}

MouseTools::Outcome MouseTools::TabuleMouseDown(MouseButton button, ShiftState state, int X,
                                                int Y) {
    Outcome out;
    if (s_.scene.taskType < 0 || !s_.StopRequested) return out;
    Controls& ctl = s_.controls;
    const PressOp op = PressOperation(button, state);
    if (button == MouseButton::Left) {
        if (op == PressOp::YRelatively) {
            AxesRange& range = s_.view.range;
            range.XFrom = TextToNumberDef(ctl.Text("edtXod"), RangeCheck::None, -3);
            range.XTo = TextToNumberDef(ctl.Text("edtXdo"), RangeCheck::None, 5);
            const YRelResult r =
                YRelatively(range.XFrom, range.XTo, s_.view.axes.YOfRow(Y), s_.view.W, s_.view.H);
            if (r.error.empty())
                ctl.SetText("edtYzero", r.text);
            else
                out.error = r.error;
        } else {
            DraggedCentre = -1;
            DraggedCentre = HitCentre(s_.view.handles, X, Y);
        }
        return out;
    }
    if (button != MouseButton::Right) return out;
    s_.tabula.SetPenMode(PenMode::Copy);
    s_.palette.RampFromColor = ctl.LabelColour("LabelMouseFrom");
    s_.palette.RampToColor = ctl.LabelColour("LabelMouseTo");
    switch (op) {
        case PressOp::OrbitRings:
        case PressOp::OrbitPolyline:
            out.error = Orbit(s_.tabula, s_.scene, s_.view, s_.palette, ctl.Spin("SpinMouseIter"),
                              X, Y, op == PressOp::OrbitRings ? 0 : 1);
            out.drew = true;
            break;
        case PressOp::OrbitCircle0:
        case PressOp::OrbitCircle1:
            out.error =
                OrbitCircle(s_.tabula, s_.scene, s_.view, ctl.LabelColour("LabelIterCircle"), X, Y,
                            op == PressOp::OrbitCircle0 ? 0 : 1);
            out.drew = true;
            break;
        default:
            break;
    }
    if (out.drew) s_.host.TabulaChanged();
    ctl.Focus("ButPrepocet");
    return out;
}

MouseTools::Outcome MouseTools::TabuleMouseMove(ShiftState, int X, int Y) {
    Outcome out;
    if (!s_.StopRequested) return out;
    out.hover = true;
    out.readout = HoverAt(s_.view.axes, s_.grid, s_.PictureKind, s_.tabula, X, Y);
    s_.host.SetStatus(1, out.readout.xText);
    s_.host.SetStatus(3, out.readout.yText);
    if (DraggedCentre != -1) {
        MoveHandle(s_.view.handles, DraggedCentre, X, Y);
        const DragEdit e = DragFieldTexts(DraggedCentre, out.readout.xText, out.readout.yText);
        for (int i = 0; i < e.count; ++i) s_.controls.SetText(e.fields[i].field, e.fields[i].text);
        Recompute();
        out.drew = true;
    }
    return out;
}

MouseTools::Outcome MouseTools::TabuleMouseUp(MouseButton, ShiftState, int, int) {
    Outcome out;
    if (DraggedCentre != -1) {
        Recompute();
        DraggedCentre = -1;
        out.drew = true;
    }
    return out;
}

}  // namespace vorla
