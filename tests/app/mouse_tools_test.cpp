// The mouse tools: press dispatch, the centre drag, the read-out, and the handlers over a
// session.
#include "app/mouse_tools.h"

#include <gtest/gtest.h>

#include "plane/number_text.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using namespace shift;
using testing::PictureFixture;

TEST(MousePress, DispatchComparesTheWholeSet) {
    using enum PressOp;
    constexpr MouseButton L = MouseButton::Left, R = MouseButton::Right;
    // The second press of a double click carries Double.
    const std::tuple<MouseButton, ShiftState, PressOp> presses[] = {
        {L, Ctrl | Left, YRelatively},
        {L, Left, DragHitTest},
        {L, Ctrl | Left | Double, DragHitTest},
        {R, Right, OrbitRings},
        {R, Shift | Right, OrbitPolyline},
        {R, Ctrl | Right, InvariantCircle},
        {R, Ctrl | Alt | Right, IterateCircles},
        {R, Alt | Right, Nothing},
        {R, Ctrl | Shift | Right, Nothing},
        {R, Left | Right, Nothing},
        {R, Right | Double, Nothing},
        {MouseButton::Middle, Middle, Nothing}};
    for (const auto& [button, state, op] : presses)
        EXPECT_EQ(PressOperation(button, state), op) << state;
}

TEST(CentreDrag, HitWithinTwoPixelsLowestNumberFirst) {
    CentreHandles h;
    h.col = {50, 10, 40, 41, 90};
    h.row = {50, 20, 30, 31, 90};
    // K3 and K4 both in reach at (41, 31); K1's centre is never dragged.
    const int hits[][3] = {{12, 22, 1}, {8, 18, 1},  {13, 20, -1}, {10, 17, -1},
                           {41, 31, 2}, {43, 33, 3}, {50, 50, -1}};
    for (const auto& [x, y, hit] : hits) EXPECT_EQ(HitCentre(h, x, y), hit) << x << "," << y;
    EXPECT_EQ(DragFieldTexts(-1, "", "").count, 0);  // no centre writes no field
}

// A 10 x 8 tabula over -1..1, with a value and a red pixel at (3, 2) and -1 at (9, 7).
struct Hover : ::testing::Test {
    TAxisB axes{10, 8};
    ValueGrid grid;
    Tabula t{10, 8};
    Hover() {
        axes.SetXRange(-1, 1);
        axes.SetYRange(-0.8L, 0.8L);
        grid.Resize(10, 8);
        grid.Set(3, 2, 1234);
        grid.Set(9, 7, -1);
        t.SetPixel(3, 2, Rgb(255, 0, 0));
    }
};

// -1 is "no value", except as -0.001 in a grid of thousandths that a picture wrote. Off the
// tabula (a captured mouse): the design-time panel, but the coordinates still, in six digits
// and 0 below a ten-millionth.
TEST_F(Hover, ShowsThePixelsCoordinatesValueInThousandthsAfterTheKindsAbove16AndColour) {
    const HoverReadout r = HoverAt(axes, grid, 5, t, 3, 2);
    EXPECT_TRUE(r.onTabula);
    EXPECT_EQ(r.valueText, "1234");
    EXPECT_EQ(r.colour, kRed);
    EXPECT_EQ(r.colourText, "Red");
    EXPECT_EQ(r.xText + " " + r.yText, "-0.4 0.4");
    EXPECT_EQ(HoverAt(axes, grid, 17, t, 3, 2).valueText, "1.234");
    for (auto [kind, text] : {std::pair{16, "- -"}, {0, "- -"}, {17, "-0.001"}})
        EXPECT_EQ(HoverAt(axes, grid, kind, t, 9, 7).valueText, text);
    for (auto [c, r] : {std::pair{-1, 2}, {10, 2}, {3, 8}, {3, -5}, {1 << 30, 1 << 30}}) {
        const HoverReadout o = HoverAt(axes, grid, 5, t, c, r);
        EXPECT_EQ(std::tuple(o.onTabula, o.valueText, o.colour, o.colourText),
                  std::tuple(false, std::string("- -"), kPixelPanelColour, std::string()))
            << c << "," << r;
        EXPECT_NE(o.xText, "") << c << "," << r;
    }
    EXPECT_EQ(CoordinateText(-0.00000009L), "0");
    EXPECT_EQ(CoordinateText(3.14159265L), "3.14159");
    EXPECT_EQ(CoordinateText(0.0000002L), "2E-7");
}

// The handlers over a session, as the window calls them: one unit per pixel, Y = 0 on row
// 40, and the centres apart, so that only one is ever in reach.
struct Handlers : ::testing::Test {
    PictureFixture f{100, 80, 0};
    MouseTools tools{f.session};
    void SetUp() override {
        SetDecimalChar('.');
        f.session.ComboTypUlohyChange(0);  // two circles; sets the stop request
        f.Set("edtXod=-50 edtXdo=50 edtYzero=0.5 EditKm=20 EditKu=-30 EditKa=-15 EditKb=-25");
        ASSERT_TRUE(f.session.ButPrepocetClick().Ok());
    }
};

TEST_F(Handlers, DraggingACentreWritesItsFieldsIntoTheScene) {
    const CentreHandles& h = f.session.view().handles;
    const int col0 = f.session.view().axes.ColX0;
    const struct {
        int centre;
        Ctl x, y;  // y: EditKr for K2, whose Y never changes
        int toCol, toRow;
    } drags[] = {{1, Ctl::EditKd, Ctl::EditKr, col0, 10},
                 {2, Ctl::EditKm, Ctl::EditKn, 70, 20},
                 {3, Ctl::EditKu, Ctl::EditKv, 80, 25},
                 {4, Ctl::EditKa, Ctl::EditKb, 90, 30}};
    for (const auto& d : drags) {
        const int row = h.row[d.centre];
        tools.TabuleMouseDown(MouseButton::Left, Left, h.col[d.centre] + 2, row - 2);
        ASSERT_EQ(tools.DraggedCentre, d.centre);
        const MouseTools::Outcome o = tools.TabuleMouseMove(Left, d.toCol, d.toRow);
        EXPECT_TRUE(o.drew);
        EXPECT_EQ(f.controls.Text(d.x), o.readout.xText);
        EXPECT_EQ(f.host.status[1], o.readout.xText);
        EXPECT_EQ(f.controls.Text(d.y), d.centre == 1 ? "2.5" : o.readout.yText);
        tools.TabuleMouseUp(MouseButton::Right, 0, d.toCol, d.toRow);
        EXPECT_EQ(tools.DraggedCentre, -1);
        EXPECT_EQ(h.col[d.centre], d.toCol);
        EXPECT_EQ(h.row[d.centre], d.centre == 1 ? row : d.toRow);
    }
    // K2 went to within 1e-7 of zero: D is 0, read into the scene and published.
    EXPECT_EQ(f.controls.Text(Ctl::EditKd), "0");
    EXPECT_EQ(f.session.scene().k.D, 0);
    EXPECT_EQ(f.session.PublishedScene().rfind("2=0=2.5=", 0), 0u);
}

// Before a task type and during a picture, a right press, a left press on K3's centre and a
// move do nothing; the focus stays.
TEST(MouseTools, NothingBeforeATaskTypeOrDuringAPicture) {
    for (int example : {0, 3}) {
        PictureFixture f(40, 30, example);
        MouseTools tools(f.session);
        f.controls.focused = Ctl::edtXod;  // not taken by the Recalc. button
        auto nothing = [&](int) {
            const int X = f.session.view().handles.col[2], Y = f.session.view().handles.row[2];
            EXPECT_FALSE(tools.TabuleMouseDown(MouseButton::Right, Right, X, Y).drew);
            tools.TabuleMouseDown(MouseButton::Left, Left, X, Y);
            EXPECT_EQ(tools.DraggedCentre, -1);
            EXPECT_FALSE(tools.TabuleMouseMove(Left, 5, 5).hover);
            EXPECT_EQ(f.host.status[1], "");
            EXPECT_EQ(f.controls.focused, Ctl::edtXod);
        };
        if (example == 0) nothing(0);
        f.host.onPoll = nothing;
        f.Run(PictureTag::Convergence);
        EXPECT_EQ(f.host.polls.empty(), example == 0);
    }
}

}  // namespace
}  // namespace vorla
