#include "app/mouse_tools.h"

#include <cmath>

#include "app/session.h"
#include "overlays/orbit_drawing.h"
#include "plane/number_text.h"

namespace vorla {

PressOp PressOperation(MouseButton button, ShiftState state) {
    using namespace shift;
    switch (button) {
        case MouseButton::Left:
            return state == (Ctrl | Left) ? PressOp::YRelatively : PressOp::DragHitTest;
        case MouseButton::Right:
            if (state == Right) return PressOp::OrbitRings;
            if (state == (Shift | Right)) return PressOp::OrbitPolyline;
            if (state == (Ctrl | Right)) return PressOp::InvariantCircle;
            if (state == (Ctrl | Alt | Right)) return PressOp::IterateCircles;
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
            e.fields[0] = {Ctl::EditKd, xText};
            break;
        case 2:
            e.count = 2;
            e.fields = {{{Ctl::EditKm, xText}, {Ctl::EditKn, yText}}};
            break;
        case 3:
            e.count = 2;
            e.fields = {{{Ctl::EditKu, xText}, {Ctl::EditKv, yText}}};
            break;
        case 4:
            e.count = 2;
            e.fields = {{{Ctl::EditKa, xText}, {Ctl::EditKb, yText}}};
            break;
        default:
            break;
    }
    return e;
}

std::string ValueText(std::int32_t v, int pictureKind) {
    if (v == -1 && pictureKind <= 16) return kNoValueText;
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

// --- the handlers --------------------------------------------------------------------------

Status MouseTools::Recompute() {
    Status range = s_.ZmenaSouradnic();
    s_.DefKruz();
    s_.KresliZaklad();
    return range;
}

MouseTools::Outcome MouseTools::TabuleMouseDown(MouseButton button, ShiftState state, int X,
                                                int Y) {
    Outcome out;
    if (s_.taskType() == TaskType::None || !s_.Idle()) return out;
    StopOrbit();  // a new press: the last orbit stays as far as it is drawn
    Controls& ctl = s_.controls();
    const PressOp op = PressOperation(button, state);
    if (button == MouseButton::Left) {
        if (op == PressOp::YRelatively) {
            s_.ReadXRange();
            const Viewport& view = s_.view();
            const Result<YRelValue> r =
                YRelatively(view.range.XFrom, view.range.XTo, view.axes.YOfRow(Y), view.W, view.H);
            if (r)
                ctl.SetText(Ctl::edtYzero, r->text);
            else
                out.status = r.ToStatus();
        } else {
            DraggedCentre = -1;
            DraggedCentre = HitCentre(s_.view().handles, X, Y);
        }
        return out;
    }
    if (button != MouseButton::Right) return out;
    Tabula& canvas = s_.Canvas();
    canvas.SetPenMode(PenMode::Copy);
    switch (op) {
        case PressOp::OrbitRings:
        case PressOp::OrbitPolyline: {
            const int n = ctl.Spin(Ctl::SpinMouseIter);
            // The orbit's colours run along the ramp of the Mouse page.
            Palette colours = s_.palette();
            colours.RampFromColor = ctl.LabelColour(Ctl::LabelMouseFrom);
            colours.RampToColor = ctl.LabelColour(Ctl::LabelMouseTo);
            orbit_.emplace(canvas, s_.scene(), s_.view(), colours, n, X, Y,
                           op == PressOp::OrbitRings ? OrbitStyle::Rings : OrbitStyle::Polyline);
            if (!sliced) ContinueOrbit(n, out.status);
            out.drew = true;
            break;
        }
        case PressOp::InvariantCircle:
        case PressOp::IterateCircles:
            out.status = OrbitCircle(canvas, s_.scene(), s_.view(),
                                     ctl.LabelColour(Ctl::LabelIterCircle), X, Y,
                                     op == PressOp::InvariantCircle ? CircleStyle::Invariant
                                                                    : CircleStyle::ThroughIterates);
            out.drew = true;
            break;
        default:
            break;
    }
    if (out.drew) s_.host().TabulaChanged();
    ctl.FocusRecalc();
    return out;
}

bool MouseTools::ContinueOrbit(long long steps, Status& status) {
    if (!orbit_) return true;
    if (!orbit_->Continue(steps)) return false;
    status = orbit_->Outcome();
    orbit_.reset();
    return true;
}

MouseTools::Outcome MouseTools::TabuleMouseMove(ShiftState, int X, int Y) {
    Outcome out;
    if (!s_.Idle()) return out;
    out.hover = true;
    out.readout = HoverAt(s_.view().axes, s_.grid(), s_.GridHasValues() ? s_.PictureKind() : 0,
                          s_.tabula(), X, Y);
    s_.host().SetStatus(StatusPanel::X, out.readout.xText);
    s_.host().SetStatus(StatusPanel::Y, out.readout.yText);
    if (DraggedCentre != -1) {
        s_.MoveHandle(DraggedCentre, X, Y);
        const DragEdit e = DragFieldTexts(DraggedCentre, out.readout.xText, out.readout.yText);
        for (int i = 0; i < e.count; ++i)
            s_.controls().SetText(e.fields[i].field, e.fields[i].text);
        out.status = Recompute();
        if (!out.status) DraggedCentre = -1;  // one message, not one per move
        out.drew = true;
    }
    return out;
}

MouseTools::Outcome MouseTools::TabuleMouseUp(MouseButton, ShiftState, int, int) {
    Outcome out;
    if (DraggedCentre != -1) {
        out.status = Recompute();
        DraggedCentre = -1;
        out.drew = true;
    }
    return out;
}

}  // namespace vorla
