// The mouse on the tabula: which operation a press runs, the centre drag, the pixel
// read-out and the three handlers of the window over a session.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/status.h"
#include "colour/palette.h"
#include "model/controls.h"
#include "overlays/orbit_drawing.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

class Session;

// The button of a mouse event.
enum class MouseButton { Left, Right, Middle };

// The set of held keys and buttons reported with a mouse event, and the double-click flag.
// On a press the set includes the pressed button itself.
using ShiftState = unsigned;
// The members of a ShiftState.
namespace shift {
inline constexpr ShiftState Shift = 1, Ctrl = 2, Alt = 4, Left = 8, Right = 16, Middle = 32,
                            Double = 64;
}

// What a press on the tabula does.
enum class PressOp {
    Nothing,
    YRelatively,      // Ctrl + left
    DragHitTest,      // any other left press
    OrbitRings,       // the orbit as rings
    OrbitPolyline,    // the orbit as a polyline
    InvariantCircle,  // the invariant circle through the point
    IterateCircles,   // the circles through the orbit's iterates
};

// The operation of a press; the set must equal the listed one exactly, so the second press
// of a double click (which carries shift::Double) never runs the Ctrl or right-button tools.
PressOp PressOperation(MouseButton button, ShiftState state);

// The first of the handles 1..4 (K2..K5) within 2 pixels of (X, Y) in both directions, or -1.
int HitCentre(const CentreHandles& handles, int X, int Y);

// A coordinate with |v| < 1e-7 taken as 0.
long double SnapToZero(long double v);
// A coordinate for the status bar: FormatDigits(6, v) of the snapped value.
std::string CoordinateText(long double v);

// A field and the text a drag writes into it.
struct FieldText {
    Ctl field = Ctl::EditKd;
    std::string text;
};
// The fields a drag writes.
struct DragEdit {
    int count = 0;  // 0, 1 (K2: only D) or 2
    std::array<FieldText, 2> fields;
};
// The fields a drag of centre 1..4 writes, from the texts of status panels 1 and 3.
DragEdit DragFieldTexts(int centre, const std::string& xText, const std::string& yText);

// The pixel panel while it shows no pixel.
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
// The readout of pixel (X, Y) of the tabula and the value grid; `pictureKind` is the tag of
// the picture whose values the grid holds, 0 for none.
HoverReadout HoverAt(const TAxisB& axes, const ValueGrid& grid, int pictureKind,
                     const Tabula& tabula, int X, int Y);
// LabelNumB's text of a stored value: thousandths after the kinds above 16; "- -" for -1
// (no value), except where it is -0.001 of such a kind.
std::string ValueText(std::int32_t v, int pictureKind);

// The window's three mouse handlers over a session. Status panels 1 and 3 go through the
// session's host, field texts and the focus through its controls; the pixel panel and a
// fault message come back to the window in the outcome.
class MouseTools {
  public:
    // The handlers of the given session.
    explicit MouseTools(Session& session) : s_(session) {}

    // What a handler did, for the window to show.
    struct Outcome {
        Status status;         // failed: show its message in a message box
        bool hover = false;    // the readout is valid: update the pixel panel
        HoverReadout readout;  // (status panels 1 and 3 are already written)
        bool drew = false;     // the tabula changed (the host was told as well)
    };

    // A press on the tabula: Y relatively, the start of a centre drag, or an orbit tool.
    Outcome TabuleMouseDown(MouseButton button, ShiftState state, int X, int Y);
    // A move over the tabula: the pixel readout, and the dragged centre follows the cursor.
    Outcome TabuleMouseMove(ShiftState state, int X, int Y);
    // A release over the tabula: a centre drag ends with the scene drawn again.
    Outcome TabuleMouseUp(MouseButton button, ShiftState state, int X, int Y);

    int DraggedCentre = -1;  // the centre being dragged: -1, or 1..4 = K2..K5

    // With `sliced` set, a press draws only an orbit's start and leaves the rest to
    // ContinueOrbit, so that the window answers between slices of a long orbit.
    bool sliced = false;
    bool OrbitPending() const { return orbit_.has_value(); }
    // Draws up to `steps` more iterates of the pending orbit; true once it is done, with the
    // fault that ended it, if any, in `status`.
    bool ContinueOrbit(long long steps, Status& status);
    // Leaves the pending orbit as far as it is drawn.
    void StopOrbit() { orbit_.reset(); }

  private:
    std::optional<OrbitDrawing> orbit_;
    Status Recompute();
    Session& s_;
};

}  // namespace vorla
