// The mouse on the tabula: which operation a press runs, the centre drag, the pixel
// read-out, "Y relatively", the orbit of a point and the circles through its iterates.
//
// The pieces are plain functions over the core's state; MouseTools ties them to a Session
// so that the window's three mouse handlers are one call each.
#pragma once

#include <QtCore/qnamespace.h>

#include <array>
#include <string>

#include "colour/palette.h"
#include "model/scene.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

class Session;

enum class MouseButton { Left, Right, Middle };

// The set of held keys and buttons reported with a mouse event, and the double-click flag.
// On a press the set includes the pressed button itself.
using ShiftState = unsigned;
namespace shift {
inline constexpr ShiftState Shift = 1, Ctrl = 2, Alt = 4, Left = 8, Right = 16, Middle = 32,
                            Double = 64;
}

// Converts Qt's report of an event; false from ButtonFromQt for buttons the tools ignore.
ShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick);
bool ButtonFromQt(Qt::MouseButton button, MouseButton& out);

enum class PressOp {
    Nothing,
    YRelatively,    // Ctrl + left
    DragHitTest,    // any other left press
    OrbitRings,     // Orbit mode 0
    OrbitPolyline,  // Orbit mode 1
    OrbitCircle0,   // OrbitCircle mode 0
    OrbitCircle1,   // OrbitCircle mode 1
};

// The operation of a press; the set must equal the listed one exactly, so the second press
// of a double click (which carries shift::Double) never runs the Ctrl or right-button tools.
PressOp PressOperation(MouseButton button, ShiftState state);

// The first of the handles 1..4 (K2..K5) within 2 pixels of (X, Y) in both directions, or -1.
int HitCentre(const CentreHandles& handles, int X, int Y);

// A coordinate for the status bar: FormatDigits(6, v), with |v| < 1e-7 shown as 0.
long double SnapToZero(long double v);
std::string CoordinateText(long double v);

struct FieldText {
    const char* field = nullptr;
    std::string text;
};
struct DragEdit {
    int count = 0;  // 0, 1 (K2: only D) or 2
    std::array<FieldText, 2> fields;
};
// The fields a drag of centre 1..4 writes, from the texts of status panels 1 and 3.
DragEdit DragFieldTexts(int centre, const std::string& xText, const std::string& yText);
// Moves the dragged handle to the cursor; K2's row stays on the X axis.
void MoveHandle(CentreHandles& handles, int centre, int X, int Y);

inline constexpr Colour kPixelPanelColour = Rgb(0, 128, 128);  // LabelBarvT at design time
inline constexpr const char* kNoValueText = "- -";             // LabelNumB at design time

// What the pixel panel and the status bar show for the pixel under the cursor. Positions
// off the tabula (a captured mouse) show the panel's design-time state: "- -", teal, no text.
struct HoverReadout {
    std::string xText, yText;  // status panels 1 and 3
    bool onTabula = false;
    std::string valueText = kNoValueText;  // LabelNumB
    Colour colour = kPixelPanelColour;     // LabelBarvT's background
    std::string colourText;                // LabelCisBarvy
};
HoverReadout HoverAt(const TAxisB& axes, const ValueGrid& grid, int pictureKind,
                     const Tabula& tabula, int X, int Y);
// LabelNumB's text of a stored value: thousandths after the kinds above 16.
std::string ValueText(std::int32_t v, int pictureKind);

// The texts the window shows when an operation meets a floating-point fault.
inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

struct YRelResult {
    std::string error;  // empty on success
    long double value = 0;
    std::string text;  // for edtYzero
};
// yRel = 0.5 - y*W / (H*(xTo - xFrom)), the fraction of the height below Y = 0 that puts
// height y in the middle. A zero X range is the division-by-zero fault.
YRelResult YRelatively(long double xFrom, long double xTo, long double y, int W, int H);
// Six decimals of the value rounded to three significant digits; the scientific general form
// with three digits once the integer part needs more than three.
std::string YRelText(long double v);

struct PlanePoint {
    long double X = 0, Y = 0;
};
// A circle (centre X, centre Y, radius) or a line a*X + b*Y + c = 0.
struct CircleResult {
    bool circle = false;
    long double a = 0, b = 0, c = 0;
};
// The circle through three points; when |det| < 0.001 the line through the first two.
bool CircleThroughPoints(const PlanePoint& p1, const PlanePoint& p2, const PlanePoint& p3,
                         CircleResult& out);

// Each of the drawings returns "" or the message of the fault that ended it; nothing is
// drawn from the faulty value on.

// The orbit of pixel (X, Y): n iterates coloured along the palette's ramp, mode 0 rings of
// radius 3, mode 1 a polyline; pen width 1. The pen mode and brush are the caller's.
std::string Orbit(Tabula& tabula, const Scene& scene, const Viewport& view, const Palette& palette,
                  int n, int X, int Y, int mode);
// Task type 2: the circle through (X, Y) orthogonal to K1 and K2 (both modes). Other task
// types: nothing in mode 0; in mode 1 the circles (or lines) through the start point and its
// 2nd and 4th iterates, and through the 1st, 3rd and 5th. Outlines in `colour`; pen width
// left as it is.
std::string OrbitCircle(Tabula& tabula, const Scene& scene, const Viewport& view, Colour colour,
                        int X, int Y, int mode);
// The circle through (x, y) orthogonal to K1 and K2, which both inversions map onto
// itself; "" or the fault (y = 0, D = 0).
std::string OrthogonalCircle(const CircleSet& k, long double x, long double y, CircleResult& out);
// Draws a result of CircleThroughPoints; a line runs across the whole tabula.
std::string DrawCircleResult(Tabula& tabula, const Viewport& view, const CircleResult& res);

// The window's three mouse handlers over a session. Status panels 1 and 3 go through the
// session's host, field texts and the focus through its controls; the pixel panel and a
// fault message come back to the window in the outcome.
class MouseTools {
  public:
    explicit MouseTools(Session& session) : s_(session) {}

    struct Outcome {
        std::string error;     // non-empty: show it in a message box
        bool hover = false;    // the readout is valid: update the pixel panel
        HoverReadout readout;  // (status panels 1 and 3 are already written)
        bool drew = false;     // the tabula changed (the host was told as well)
    };

    Outcome TabuleMouseDown(MouseButton button, ShiftState state, int X, int Y);
    Outcome TabuleMouseMove(ShiftState state, int X, int Y);
    Outcome TabuleMouseUp(MouseButton button, ShiftState state, int X, int Y);

    int DraggedCentre = -1;  // -1, or 1..4 = K2..K5

  private:
    void Recompute();
    Session& s_;
};

}  // namespace vorla
