#include "overlays/orbit_drawing.h"

#include <gtest/gtest.h>

#include <set>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::Canvas;

// A tabula of 100 x 100 pixels on -50..50 both ways: one unit per pixel, exact coordinates.
struct Drawing : ::testing::Test, Canvas {
    Drawing() : Canvas(100, 100, {-50, 50, 0.5L}) {
        p.RampFromColor = Rgb(255, 128, 0);
        p.RampToColor = Rgb(160, 0, 0);
        scene.taskType = TaskOfNumber(6);
    }
    using Set = std::set<Colour>;
};

// (0, 30) squares to (-900, 0), projected to (-1, 0): one step, in exactly the end colour.
// A polyline of four steps takes four colours of the ramp: it starts with a move, not a ring.
TEST_F(Drawing, RingsRunAlongTheRampAndAPolylineTakesItFromItsFirstStep) {
    EXPECT_TRUE(Orbit(t, scene, v, p, 1, 50, 20, OrbitStyle::Rings));
    EXPECT_EQ(Colours(), (Set{kWhite, p.RampFromColor, p.RampToColor}));
    EXPECT_EQ(Colours(50, 20, 4), (Set{kWhite, p.RampFromColor}));
    EXPECT_EQ(Colours(49, 50, 4), (Set{kWhite, p.RampToColor}));
    EXPECT_EQ(t.PenWidth(), 1);
    Canvas c(100, 100, {-2, 2, 0.5L});  // (0.6, 0.8) under the angle doubling on -2..2
    c.scene.taskType = TaskOfNumber(6);
    const int X = c.v.axes.ColumnOfX(0.6L), Y = c.v.axes.RowOfY(0.8L);
    EXPECT_TRUE(Orbit(c.t, c.scene, c.v, p, 4, X, Y, OrbitStyle::Polyline));
    EXPECT_EQ(c.Colours().count(p.MixColorsFraction(0.25f)), 1u);
    EXPECT_EQ(c.Colours().count(p.RampToColor), 1u);
    EXPECT_EQ(c.Colours().count(p.RampFromColor), 0u);
    // No step draws only the start ring.
    c.t.Fill(kWhite);
    EXPECT_TRUE(Orbit(c.t, c.scene, c.v, p, 0, X, Y, OrbitStyle::Rings));
    EXPECT_EQ(c.Colours(), (Set{kWhite, p.RampFromColor}));
}

// Two circles: both styles draw the invariant circle; other tasks only through the iterates.
TEST_F(Drawing, TheInvariantCircleIsOnlyOfTwoCircles) {
    scene.taskType = TaskOfNumber(2);
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 60, 40, CircleStyle::Invariant));
    Tabula other(100, 100);
    EXPECT_TRUE(OrbitCircle(other, scene, v, kBlack, 60, 40, CircleStyle::ThroughIterates));
    EXPECT_EQ(t.Image(), other.Image());
    EXPECT_NE(NonWhite(), 0);
    EXPECT_EQ(t.Brush(), BrushStyle::Clear);
    t.Fill(kWhite);
    scene.taskType = TaskOfNumber(3);
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 52, 47, CircleStyle::Invariant));
    EXPECT_EQ(NonWhite(), 0);
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 52, 47, CircleStyle::ThroughIterates));
    EXPECT_NE(NonWhite(), 0);
}

TEST_F(Drawing, FaultsDrawNothingFromTheFaultyValueOn) {
    // The squaring from (1, 0): every figure is a line through equal points. From (0, 0)
    // the first figure is the X axis through (0, 0) and (1, 0); the second faults.
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 51, 50, CircleStyle::ThroughIterates).Message(),
              kInvalidOperation);
    EXPECT_EQ(NonWhite(), 0);
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 50, 50, CircleStyle::ThroughIterates).Message(),
              kInvalidOperation);
    EXPECT_EQ(t.Pixel(10, 50), kBlack);
    EXPECT_EQ(t.Pixel(10, 40), kWhite);
    // The analytic circle at y = 0, with K2 concentric, and with q = 0 as well.
    t.Fill(kWhite);
    scene.taskType = TaskOfNumber(2);
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 60, 50, CircleStyle::Invariant).Message(),
              kDivisionByZero);
    scene.k.D = 0;
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 60, 40, CircleStyle::ThroughIterates).Message(),
              kDivisionByZero);
    scene.k.R = 1;
    scene.k.UpdateSquares();
    EXPECT_EQ(OrbitCircle(t, scene, v, kBlack, 60, 40, CircleStyle::ThroughIterates).Message(),
              kInvalidOperation);
    EXPECT_EQ(NonWhite(), 0);
}

TEST_F(Drawing, ALineRunsAcrossTheTabulaAndAFigureWithoutSizeFaults) {
    EXPECT_TRUE(DrawCircleResult(t, v, CircleResult{false, 1, 0, -10}));  // X = 10
    EXPECT_TRUE(DrawCircleResult(t, v, CircleResult{false, 0, 1, 0}));    // Y = 0
    for (auto [c, r] : {std::pair{60, 0}, {60, 99}, {0, 50}, {99, 50}})
        EXPECT_EQ(t.Pixel(c, r), kBlack);
    // A figure without a direction or a size faults.
    EXPECT_EQ(DrawCircleResult(t, v, CircleResult{false, 0, 0, 5}).Message(), kDivisionByZero);
    EXPECT_EQ(DrawCircleResult(t, v, CircleResult{true, 0, 0, INFINITY}).Message(), kOverflow);
}

}  // namespace
}  // namespace vorla
