// The mouse tools: press dispatch, centre drag, read-out, "Y relatively", orbits and circles.
#include "app/mouse_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "overlays/fp_guard.h"
#include "overlays/orbit_drawing.h"
#include "plane/number_text.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using namespace shift;
using testing::PictureFixture;

TEST(MousePress, DispatchComparesTheWholeSet) {
    EXPECT_EQ(PressOperation(MouseButton::Left, Ctrl | Left), PressOp::YRelatively);
    EXPECT_EQ(PressOperation(MouseButton::Left, Left), PressOp::DragHitTest);
    EXPECT_EQ(PressOperation(MouseButton::Left, Ctrl | Shift | Left), PressOp::DragHitTest);
    EXPECT_EQ(PressOperation(MouseButton::Right, Right), PressOp::OrbitRings);
    EXPECT_EQ(PressOperation(MouseButton::Right, Shift | Right), PressOp::OrbitPolyline);
    EXPECT_EQ(PressOperation(MouseButton::Right, Ctrl | Right), PressOp::OrbitCircle0);
    EXPECT_EQ(PressOperation(MouseButton::Right, Ctrl | Alt | Right), PressOp::OrbitCircle1);
    EXPECT_EQ(PressOperation(MouseButton::Right, Alt | Right), PressOp::Nothing);
    EXPECT_EQ(PressOperation(MouseButton::Right, Ctrl | Shift | Right), PressOp::Nothing);
    EXPECT_EQ(PressOperation(MouseButton::Right, Left | Right), PressOp::Nothing);
    EXPECT_EQ(PressOperation(MouseButton::Middle, Middle), PressOp::Nothing);
    EXPECT_EQ(PressOperation(MouseButton::Middle, Ctrl | Middle), PressOp::Nothing);
    // The second press of a double click.
    EXPECT_EQ(PressOperation(MouseButton::Right, Right | Double), PressOp::Nothing);
    EXPECT_EQ(PressOperation(MouseButton::Left, Ctrl | Left | Double), PressOp::DragHitTest);
}

TEST(CentreDrag, HitWithinTwoPixelsLowestNumberFirst) {
    CentreHandles h;
    h.col = {50, 10, 40, 41, 90};
    h.row = {50, 20, 30, 31, 90};
    EXPECT_EQ(HitCentre(h, 12, 22), 1);
    EXPECT_EQ(HitCentre(h, 8, 18), 1);
    EXPECT_EQ(HitCentre(h, 13, 20), -1);
    EXPECT_EQ(HitCentre(h, 10, 17), -1);
    EXPECT_EQ(HitCentre(h, 41, 31), 2);  // K3 and K4 both in reach
    EXPECT_EQ(HitCentre(h, 43, 33), 3);
    EXPECT_EQ(HitCentre(h, 50, 50), -1);  // K1's centre is never dragged
}

TEST(CentreDrag, FieldsFollowTheStatusTexts) {
    const DragEdit k2 = DragFieldTexts(1, "1.5", "-2");
    ASSERT_EQ(k2.count, 1);
    EXPECT_EQ(k2.fields[0].field, Ctl::EditKd);
    EXPECT_EQ(k2.fields[0].text, "1.5");
    const DragEdit k5 = DragFieldTexts(4, "1.5", "-2");
    ASSERT_EQ(k5.count, 2);
    EXPECT_EQ(k5.fields[0].field, Ctl::EditKa);
    EXPECT_EQ(k5.fields[1].field, Ctl::EditKb);
    EXPECT_EQ(k5.fields[1].text, "-2");
    EXPECT_EQ(DragFieldTexts(3, "", "").fields[1].field, Ctl::EditKv);
    EXPECT_EQ(DragFieldTexts(-1, "", "").count, 0);
    CentreHandles h;
    MoveHandle(h, 1, 7, 9);
    MoveHandle(h, 2, 3, 4);
    EXPECT_EQ(h.col[1], 7);
    EXPECT_EQ(h.row[1], 0);  // K2 stays on the X axis
    EXPECT_EQ(h.row[2], 4);
}

TEST(Readout, CoordinatesValuesAndColours) {
    EXPECT_EQ(CoordinateText(0.00000009L), "0");
    EXPECT_EQ(CoordinateText(-0.00000009L), "0");
    EXPECT_EQ(CoordinateText(3.14159265L), "3.14159");
    EXPECT_EQ(CoordinateText(0.0000002L), "2E-7");

    TAxisB axes(10, 8);
    axes.SetXRange(-1, 1);
    axes.SetYRange(-0.8L, 0.8L);
    ValueGrid grid;
    grid.Resize(10, 8);
    grid.Set(3, 2, 1234);
    grid.Set(9, 7, -1);
    Tabula t(10, 8);
    t.SetPixel(3, 2, Rgb(255, 0, 0));
    HoverReadout r = HoverAt(axes, grid, 5, t, 3, 2);
    EXPECT_TRUE(r.onTabula);
    EXPECT_EQ(r.valueText, "1234");
    EXPECT_EQ(r.colour, Rgb(255, 0, 0));
    EXPECT_EQ(r.colourText, ColorText(Rgb(255, 0, 0)));
    EXPECT_EQ(r.xText, "-0.4");
    EXPECT_EQ(r.yText, "0.4");
    EXPECT_EQ(HoverAt(axes, grid, 17, t, 3, 2).valueText, "1.234");
    EXPECT_EQ(HoverAt(axes, grid, 16, t, 9, 7).valueText, "-1");
    // Off the tabula (a captured mouse): the design-time panel, but the coordinates still.
    for (auto [c, r2] : {std::pair{-1, 2}, {10, 2}, {3, 8}, {3, -5}, {1 << 30, 1 << 30}}) {
        const HoverReadout o = HoverAt(axes, grid, 5, t, c, r2);
        EXPECT_FALSE(o.onTabula);
        EXPECT_EQ(o.valueText, "- -");
        EXPECT_EQ(o.colour, kPixelPanelColour);
        EXPECT_EQ(o.colourText, "");
        EXPECT_FALSE(o.xText.empty());
    }
}

TEST(YRelatively, TextsAndFaults) {
    SetDecimalChar('.');
    EXPECT_EQ(YRelatively(-3, 7, 0, 542, 450)->text, "0.500000");
    EXPECT_EQ(YRelatively(-100, 1e6L, 0, 542, 450)->text, "0.500000");
    EXPECT_EQ(YRelatively(-3, 7, 1e-20L, 542, 450)->text, "0.500000");
    const Result<YRelValue> above = YRelatively(-3, 7, 1, 100, 100);
    EXPECT_EQ(above->text, "0.400000");
    EXPECT_LT(above->value, 0.5L);
    EXPECT_EQ(YRelatively(-3, 5, 2, 542, 450)->text, "0.199000");  // 0.198889 to 3 digits
    EXPECT_EQ(YRelatively(2, 2, 1, 100, 80).Message(), kDivisionByZero);
    EXPECT_EQ(YRelatively(2, 2, 0, 100, 80).Message(), kInvalidOperation);
    EXPECT_EQ(YRelatively(-1e4932L, 1e4932L, 1, 100, 80).Message(), kOverflow);

    EXPECT_EQ(YRelText(0.123456L), "0.123000");
    EXPECT_EQ(YRelText(-1.23456L), "-1.230000");
    EXPECT_EQ(YRelText(123.456L), "123.000000");
    EXPECT_EQ(YRelText(999.4L), "999.000000");
    EXPECT_EQ(YRelText(999.6L), "1E3");
    EXPECT_EQ(YRelText(1234.5L), "1.23E3");
    EXPECT_EQ(YRelText(-15000), "-1.5E4");
    EXPECT_EQ(YRelText(0.0000123L), "0.000012");
    EXPECT_EQ(YRelText(0.0000126L), "0.000013");
    EXPECT_EQ(YRelText(-0.0000004L), "0.000000");
    SetDecimalChar(',');
    EXPECT_EQ(YRelText(0.5L), "0,500000");
    EXPECT_EQ(YRelText(2500), "2,5E3");
    SetDecimalChar('.');
}

TEST(CircleThroughPoints, CircleOrLineByTheAbsoluteThreshold) {
    CircleResult res;
    ASSERT_TRUE(CircleThroughPoints({6, 2}, {1, 7}, {-4, 2}, res));
    EXPECT_NEAR(static_cast<double>(res.a), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(res.b), 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(res.c), 5, 1e-15);
    // |det| = 4 * 1000 * t just below 0.001: a line through the first two, far as they are.
    const long double t = 0.00099L / 4000;
    ASSERT_FALSE(CircleThroughPoints({0, 0}, {1000, 0}, {2000, -t}, res));
    EXPECT_EQ(res.a, 0);
    EXPECT_EQ(res.b, 1000);
    EXPECT_EQ(res.c, 0);
    EXPECT_TRUE(CircleThroughPoints({0, 0}, {1000, 0}, {2000, -0.00101L / 4000}, res));
}

// A tabula of 100 x 100 pixels on -50..50 both ways: one unit per pixel, exact coordinates.
struct Drawing : ::testing::Test {
    Tabula t{100, 100};
    Viewport v;
    Scene scene;
    Palette p;
    void SetUp() override {
        v.W = v.H = 100;
        v.range = {-50, 50, 0.5L};
        v.PrepocetPodleSouradnic(CircleDiscs(scene.k));
        p.RampFromColor = Rgb(255, 128, 0);
        p.RampToColor = Rgb(160, 0, 0);
    }
    std::set<Colour> Colours() const {
        std::set<Colour> s;
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < 100; ++c) s.insert(t.Pixel(c, r));
        return s;
    }
    // The colours within `reach` pixels of (c, r).
    std::set<Colour> ColoursNear(int c, int r, int reach) const {
        std::set<Colour> s;
        for (int y = r - reach; y <= r + reach; ++y)
            for (int x = c - reach; x <= c + reach; ++x) s.insert(t.Pixel(x, y));
        return s;
    }
    bool Untouched() const { return Colours() == std::set<Colour>{kWhite}; }
};

TEST_F(Drawing, OrbitOfOneStepEndsInExactlyTheEndColour) {
    scene.taskType = 6;  // (0, 30) squares to (-900, 0), projected to (-1, 0)
    EXPECT_TRUE(Orbit(t, scene, v, p, 1, 50, 20, 0));
    EXPECT_EQ(Colours(), (std::set<Colour>{kWhite, p.RampFromColor, p.RampToColor}));
    EXPECT_EQ(ColoursNear(50, 20, 4), (std::set<Colour>{kWhite, p.RampFromColor}));
    EXPECT_EQ(ColoursNear(49, 50, 4), (std::set<Colour>{kWhite, p.RampToColor}));
    EXPECT_EQ(t.PenWidth(), 1);
}

TEST_F(Drawing, OrbitAlongTheRampAndAsPolyline) {
    scene.taskType = 6;
    // (0.6, 0.8) under the angle doubling: n = 4 gives four colours of the ramp plus the start.
    v.range = {-2, 2, 0.5L};
    v.PrepocetPodleSouradnic(CircleDiscs(scene.k));
    const int X = v.axes.ColumnOfX(0.6L), Y = v.axes.RowOfY(0.8L);
    EXPECT_TRUE(Orbit(t, scene, v, p, 4, X, Y, 1));
    const std::set<Colour> cs = Colours();
    EXPECT_TRUE(cs.count(p.RampToColor));
    EXPECT_TRUE(cs.count(p.MixColorsFraction(0.25f)));
    EXPECT_FALSE(cs.count(p.RampFromColor));  // a polyline starts with a move, not a ring
    t.Fill(kWhite);
    EXPECT_TRUE(Orbit(t, scene, v, p, 0, X, Y, 0));  // only the start ring
    EXPECT_EQ(Colours(), (std::set<Colour>{kWhite, p.RampFromColor}));
}

TEST_F(Drawing, LongOrbitOnAFixedPointMatchesAShortOne) {
    // From (1, 0) every iterate of the squaring is (1, 0): a million rings in one place.
    scene.taskType = 6;
    Tabula shortOrbit(100, 100);
    EXPECT_TRUE(Orbit(shortOrbit, scene, v, p, 1, 51, 50, 0));
    EXPECT_TRUE(Orbit(t, scene, v, p, 1000000, 51, 50, 0));
    EXPECT_EQ(ColoursNear(51, 50, 4), (std::set<Colour>{kWhite, p.RampToColor}));
    EXPECT_EQ(t.Image(), shortOrbit.Image());
}

TEST_F(Drawing, AnalyticCircleIsInvariantUnderTheTwoCircleMap) {
    scene.taskType = 2;
    scene.k.D = 3;
    scene.k.R = 2.5L;
    scene.k.UpdateSquares();
    for (auto [x, y] : {std::pair{1.0L, 1.0L}, {0.3L, -0.2L}, {-4.0L, 2.5L}, {2.9L, 0.01L}}) {
        const Result<CircleResult> circle = OrthogonalCircle(scene.k, x, y);
        ASSERT_TRUE(circle);
        const CircleResult& c = circle.Value();
        long double px = x, py = y;
        for (int i = 0; i < 20; ++i) {
            TwoCircleMap(scene, px, py);
            const long double d = std::sqrt((px - c.a) * (px - c.a) + (py - c.b) * (py - c.b));
            EXPECT_NEAR(static_cast<double>(d / c.c), 1, 1e-12) << x << "," << y << " step " << i;
        }
        // Orthogonal to K1: centre distance squared = 1 + r^2.
        EXPECT_NEAR(static_cast<double>(c.a * c.a + c.b * c.b), static_cast<double>(1 + c.c * c.c),
                    1e-9 * static_cast<double>(1 + c.c * c.c));
    }
    // Both modes draw the same circle.
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 60, 40, 0));
    Tabula other(100, 100);
    EXPECT_TRUE(OrbitCircle(other, scene, v, kBlack, 60, 40, 1));
    EXPECT_EQ(t.Image(), other.Image());
    EXPECT_FALSE(Untouched());
    EXPECT_EQ(t.Brush(), BrushStyle::Clear);
}

TEST_F(Drawing, AnalyticCircleFaultsDrawNothing) {
    scene.taskType = 2;
    scene.k.D = 3;
    scene.k.R = 2.5L;
    scene.k.UpdateSquares();
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 60, 50, 0).Message(), kDivisionByZero);  // y = 0
    scene.k.D = 0;
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 60, 40, 1).Message(), kDivisionByZero);
    scene.k.R = 1;  // q = 0 as well: zero by zero
    scene.k.UpdateSquares();
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 60, 40, 1).Message(), kInvalidOperation);
    EXPECT_TRUE(Untouched());
}

TEST_F(Drawing, IterationCirclesOfOtherTasks) {
    scene.taskType = 3;
    scene.k = CircleSet{};
    ReadCircleTexts(scene.k, {"3", "2.5", "1", "1", "1", "2", "3", "2", "3", "2", "2.5"});
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 52, 47, 0));
    EXPECT_TRUE(Untouched());
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 52, 47, 1));
    EXPECT_FALSE(Untouched());
}

TEST_F(Drawing, EqualPointsInTheLineCaseFault) {
    scene.taskType = 6;
    // From (1, 0) all iterates are equal: both figures are lines through equal points.
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 51, 50, 1).Message(), kInvalidOperation);
    EXPECT_TRUE(Untouched());
    // From (0, 0): the first figure is the X axis through (0, 0) and (1, 0); the second,
    // through (1, 0) three times, faults.
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 50, 50, 1).Message(), kInvalidOperation);
    EXPECT_EQ(t.Pixel(10, 50), kBlack);
    EXPECT_EQ(t.Pixel(10, 40), kWhite);
}

TEST_F(Drawing, LinesRunAcrossTheTabula) {
    CircleResult steep{false, 1, 0, -10};  // X = 10
    EXPECT_TRUE(DrawCircleResult(t, v, steep));
    EXPECT_EQ(t.Pixel(60, 0), kBlack);
    EXPECT_EQ(t.Pixel(60, 99), kBlack);
    CircleResult flat{false, 0, 1, 0};  // Y = 0
    EXPECT_TRUE(DrawCircleResult(t, v, flat));
    EXPECT_EQ(t.Pixel(0, 50), kBlack);
    EXPECT_EQ(t.Pixel(99, 50), kBlack);
    CircleResult none{false, 0, 0, 5};
    EXPECT_EQ(DrawCircleResult(t, v, none).Message(), kDivisionByZero);
    CircleResult huge{true, 0, 0, INFINITY};
    EXPECT_EQ(DrawCircleResult(t, v, huge).Message(), kOverflow);
}

// The handlers over a session, as the window calls them.
struct Handlers : ::testing::Test {
    PictureFixture f{100, 80, 0};
    MouseTools tools{f.session};
    void SetUp() override {
        SetDecimalChar('.');
        f.session.ComboTypUlohyChange(0);  // two circles; sets the stop request
        // One unit per pixel, Y = 0 on row 40: exact coordinates.
        f.controls.SetText(Ctl::edtXod, "-50");
        f.controls.SetText(Ctl::edtXdo, "50");
        f.controls.SetText(Ctl::edtYzero, "0.5");
        f.session.ButPrepocetClick();
    }
    int HandleCol(int i) const { return f.session.view.handles.col[i]; }
    int HandleRow(int i) const { return f.session.view.handles.row[i]; }
};

TEST_F(Handlers, DraggingCentresWritesTheirFields) {
    // Centres apart, so that only one is ever in reach.
    f.controls.SetText(Ctl::EditKm, "20");
    f.controls.SetText(Ctl::EditKu, "-30");
    f.session.ButPrepocetClick();
    // K2: only D changes, and the circles are drawn anew.
    tools.TabuleMouseDown(MouseButton::Left, Left, HandleCol(1) + 2, HandleRow(1) - 2);
    ASSERT_EQ(tools.DraggedCentre, 1);
    const int col0 = f.session.view.axes.ColX0;
    MouseTools::Outcome o = tools.TabuleMouseMove(Left, col0, 10);
    EXPECT_TRUE(o.drew);
    EXPECT_EQ(f.controls.Text(Ctl::EditKd), "0");  // within 1e-7 of zero
    EXPECT_EQ(f.host.status[1], "0");
    EXPECT_EQ(f.controls.Text(Ctl::EditKm), "20");
    EXPECT_EQ(f.controls.Text(Ctl::EditKr), "2.5");
    tools.TabuleMouseUp(MouseButton::Left, 0, col0, 10);
    EXPECT_EQ(tools.DraggedCentre, -1);
    EXPECT_EQ(f.session.scene.k.D, 0);
    EXPECT_EQ(HandleCol(1), col0);
    EXPECT_EQ(f.session.sceneText.rfind("2=0=2.5=", 0), 0u);

    // K3 three pixels away is missed; at the handle both coordinates follow.
    tools.TabuleMouseDown(MouseButton::Left, Left, HandleCol(2) + 3, HandleRow(2));
    EXPECT_EQ(tools.DraggedCentre, -1);
    tools.TabuleMouseDown(MouseButton::Left, Left, HandleCol(2), HandleRow(2));
    ASSERT_EQ(tools.DraggedCentre, 2);
    o = tools.TabuleMouseMove(Left, 70, 20);
    EXPECT_EQ(f.controls.Text(Ctl::EditKm), o.readout.xText);
    EXPECT_EQ(f.controls.Text(Ctl::EditKn), o.readout.yText);
    EXPECT_EQ(f.controls.Text(Ctl::EditKs), "1");
    tools.TabuleMouseUp(MouseButton::Right, 0, 70, 20);
    EXPECT_EQ(HandleCol(2), 70);
    EXPECT_EQ(HandleRow(2), 20);
}

}  // namespace
}  // namespace vorla
