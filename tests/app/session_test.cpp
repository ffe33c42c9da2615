// The window operations of the session: the start, examples, colour labels and the controls;
// its mouse tools: press dispatch, centre drag, read-out, "Y relatively", orbits and circles;
// zooming, panning and the view history, through the texts of the axes fields.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/mouse_tools.h"
#include "app/view_moves.h"
#include "overlays/fp_guard.h"
#include "overlays/orbit_drawing.h"
#include "plane/number_text.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using namespace shift;
using testing::Canvas;
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
    EXPECT_EQ(DragFieldTexts(-1, "", "").count, 0);
}

TEST(Readout, CoordinatesValuesAndColours) {
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
    const HoverReadout r = HoverAt(axes, grid, 5, t, 3, 2);
    EXPECT_TRUE(r.onTabula && r.valueText == "1234" && r.colour == kRed && r.colourText == "Red");
    EXPECT_EQ(r.xText + " " + r.yText, "-0.4 0.4");
    EXPECT_EQ(HoverAt(axes, grid, 17, t, 3, 2).valueText, "1.234");
    // -1 is "no value", except as -0.001 in a grid of thousandths that a picture wrote.
    for (auto [kind, text] : {std::pair{16, "- -"}, {0, "- -"}, {17, "-0.001"}})
        EXPECT_EQ(HoverAt(axes, grid, kind, t, 9, 7).valueText, text);
    // Off the tabula (a captured mouse): the design-time panel, but the coordinates still.
    for (auto [c, r2] : {std::pair{-1, 2}, {10, 2}, {3, 8}, {3, -5}, {1 << 30, 1 << 30}}) {
        const HoverReadout o = HoverAt(axes, grid, 5, t, c, r2);
        EXPECT_TRUE(!o.onTabula && o.valueText == "- -" && o.colour == kPixelPanelColour &&
                    o.colourText.empty() && !o.xText.empty())
            << c << "," << r2;
    }
}

TEST(YRelatively, TextsAndFaults) {
    SetDecimalChar('.');
    EXPECT_EQ(YRelatively(-3, 7, 0, 542, 450)->text, "0.500000");
    EXPECT_EQ(YRelatively(-3, 7, 1e-20L, 542, 450)->text, "0.500000");
    const Result<YRelValue> above = YRelatively(-3, 7, 1, 100, 100);
    EXPECT_EQ(above->text, "0.400000");
    EXPECT_LT(above->value, 0.5L);
    EXPECT_EQ(YRelatively(-3, 5, 2, 542, 450)->text, "0.199000");  // 0.198889 to 3 digits
    EXPECT_EQ(YRelatively(2, 2, 1, 100, 80).Message(), kDivisionByZero);
    EXPECT_EQ(YRelatively(2, 2, 0, 100, 80).Message(), kInvalidOperation);
    EXPECT_EQ(YRelatively(-1e4932L, 1e4932L, 1, 100, 80).Message(), kOverflow);
    const std::pair<long double, const char*> texts[] = {
        {0.123456L, "0.123000"},  {-1.23456L, "-1.230000"}, {999.4L, "999.000000"},
        {999.6L, "1E3"},          {1234.5L, "1.23E3"},      {-15000, "-1.5E4"},
        {0.0000126L, "0.000013"}, {-0.0000004L, "0.000000"}};
    for (const auto& [v, text] : texts) EXPECT_EQ(YRelText(v), text);
    SetDecimalChar(',');
    EXPECT_EQ(YRelText(2500), "2,5E3");
    SetDecimalChar('.');
}

TEST(CircleThroughPoints, CircleOrLineByTheAbsoluteThreshold) {
    CircleResult res;
    ASSERT_TRUE(CircleThroughPoints({6, 2}, {1, 7}, {-4, 2}, res));
    EXPECT_LT(std::fabs(res.a - 1) + std::fabs(res.b - 2) + std::fabs(res.c - 5), 1e-15L);
    // |det| = 4 * 1000 * t just below 0.001: a line through the first two, far as they are.
    const long double t = 0.00099L / 4000;
    ASSERT_FALSE(CircleThroughPoints({0, 0}, {1000, 0}, {2000, -t}, res));
    EXPECT_TRUE(res.a == 0 && res.b == 1000 && res.c == 0);
    EXPECT_TRUE(CircleThroughPoints({0, 0}, {1000, 0}, {2000, -0.00101L / 4000}, res));
}

// A tabula of 100 x 100 pixels on -50..50 both ways: one unit per pixel, exact coordinates.
struct Drawing : ::testing::Test, Canvas {
    Drawing() : Canvas(100, 100, {-50, 50, 0.5L}) {
        p.RampFromColor = Rgb(255, 128, 0);
        p.RampToColor = Rgb(160, 0, 0);
        scene.taskType = TaskOfNumber(6);
    }
    using Set = std::set<Colour>;
};

TEST_F(Drawing, OrbitsRunAlongTheRampFromTheStartRing) {
    // (0, 30) squares to (-900, 0), projected to (-1, 0): one step, in exactly the end colour.
    EXPECT_TRUE(Orbit(t, scene, v, p, 1, 50, 20, OrbitStyle::Rings));
    EXPECT_EQ(Colours(), (Set{kWhite, p.RampFromColor, p.RampToColor}));
    EXPECT_EQ(Colours(50, 20, 4), (Set{kWhite, p.RampFromColor}));
    EXPECT_EQ(Colours(49, 50, 4), (Set{kWhite, p.RampToColor}));
    EXPECT_EQ(t.PenWidth(), 1);
    // (0.6, 0.8) under the angle doubling: four colours of the ramp; a polyline starts with
    // a move, not a ring; n = 0 draws only the start ring.
    Canvas c(100, 100, {-2, 2, 0.5L});
    c.scene.taskType = TaskOfNumber(6);
    c.p = p;
    const int X = c.v.axes.ColumnOfX(0.6L), Y = c.v.axes.RowOfY(0.8L);
    EXPECT_TRUE(Orbit(c.t, c.scene, c.v, p, 4, X, Y, OrbitStyle::Polyline));
    EXPECT_EQ(c.Colours().count(p.MixColorsFraction(0.25f)), 1u);
    EXPECT_EQ(c.Colours().count(p.RampToColor), 1u);
    EXPECT_EQ(c.Colours().count(p.RampFromColor), 0u);
    c.t.Fill(kWhite);
    EXPECT_TRUE(Orbit(c.t, c.scene, c.v, p, 0, X, Y, OrbitStyle::Rings));
    EXPECT_EQ(c.Colours(), (Set{kWhite, p.RampFromColor}));
}

TEST_F(Drawing, AnalyticCircleIsInvariantUnderTheTwoCircleMap) {
    scene.taskType = TaskOfNumber(2);
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
    EXPECT_TRUE(OrbitCircle(t, scene, v, kBlack, 60, 40, CircleStyle::Invariant));
    Tabula other(100, 100);
    EXPECT_TRUE(OrbitCircle(other, scene, v, kBlack, 60, 40, CircleStyle::ThroughIterates));
    EXPECT_EQ(t.Image(), other.Image());
    EXPECT_NE(NonWhite(), 0);
    EXPECT_EQ(t.Brush(), BrushStyle::Clear);
    // Other tasks draw their iteration circles in mode 1 only.
    Canvas three(100, 100, {-50, 50, 0.5L});
    three.scene.taskType = TaskOfNumber(3);
    EXPECT_TRUE(OrbitCircle(three.t, three.scene, three.v, kBlack, 52, 47, CircleStyle::Invariant));
    EXPECT_EQ(three.NonWhite(), 0);
    EXPECT_TRUE(
        OrbitCircle(three.t, three.scene, three.v, kBlack, 52, 47, CircleStyle::ThroughIterates));
    EXPECT_NE(three.NonWhite(), 0);
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
    // Lines run across the tabula; a figure without a direction or size faults.
    EXPECT_TRUE(DrawCircleResult(t, v, CircleResult{false, 1, 0, -10}));  // X = 10
    EXPECT_TRUE(DrawCircleResult(t, v, CircleResult{false, 0, 1, 0}));    // Y = 0
    for (auto [c, r] : {std::pair{60, 0}, {60, 99}, {0, 50}, {99, 50}})
        EXPECT_EQ(t.Pixel(c, r), kBlack);
    EXPECT_EQ(DrawCircleResult(t, v, CircleResult{false, 0, 0, 5}).Message(), kDivisionByZero);
    EXPECT_EQ(DrawCircleResult(t, v, CircleResult{true, 0, 0, INFINITY}).Message(), kOverflow);
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

TEST_F(Handlers, DraggingACentreWritesItsFields) {
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

TEST(MouseTools, NothingBeforeATaskNorDuringAPicture) {
    PictureFixture f(40, 30, 0);
    MouseTools tools(f.session);
    bool idle = true;
    f.controls.focused = Ctl::edtXod;  // not taken by the Recalc. button
    auto press = [&] {
        const int X = f.session.view().handles.col[2], Y = f.session.view().handles.row[2];
        idle &= !tools.TabuleMouseDown(MouseButton::Right, Right, X, Y).drew;
        tools.TabuleMouseDown(MouseButton::Left, Left, X, Y);
        idle &= tools.DraggedCentre == -1;
        idle &= !tools.TabuleMouseMove(Left, 5, 5).hover && f.host.status[1].empty();
        idle &= f.controls.focused == Ctl::edtXod;
    };
    press();
    f.session.LoadExample(3);
    f.host.onPoll = [&](int) { press(); };
    f.Run(1);
    EXPECT_FALSE(f.host.polls.empty());
    EXPECT_TRUE(idle);
}

TEST(Session, StartsWithNoTaskThenExamplesSetTaskFieldsAxesAndPanelAndSizesAreChecked) {
    PictureFixture f(30, 20, 0);
    EXPECT_EQ(f.session.taskType(), TaskOfNumber(-1));
    EXPECT_EQ(f.session.PublishedScene(), "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");
    EXPECT_EQ(f.session.palette().RegionColors, f.session.palette().ClassColors);
    EXPECT_EQ(f.controls.LabelColour(Ctl::lbl15), kWhite);
    f.session.LoadExample(5);
    f.session.LoadExample(1);
    EXPECT_EQ(f.session.taskType(), TaskOfNumber(3));
    EXPECT_EQ(f.controls.Text(Ctl::EditKm), "-1.045750469");
    EXPECT_EQ(f.controls.Text(Ctl::EditKu), "0");  // left from Example 05
    EXPECT_EQ(f.host.status[5], "01");
    f.session.LoadExample(13);
    EXPECT_EQ(f.session.scene().k.S, 0.968245837L);
    EXPECT_EQ(f.session.view().range.XTo, 7);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // A size beyond memory is refused and the old tabula, grid and viewport stay. (The
    // memory checkers' allocators end the program instead of failing.)
    f.Run(1);
    const auto before = f.Pixels();
    EXPECT_EQ(f.session.FormResize(1 << 30, 1 << 30).Message(), kOutOfMemory);
    EXPECT_TRUE(f.session.view().W == 30 && f.session.grid().Width() == 30);
    EXPECT_EQ(f.Pixels(), before);
#endif
    // A failed allocation anywhere else gives the same failure.
    EXPECT_EQ(Guarded([] { throw std::bad_alloc(); }).Message(), kOutOfMemory);
}

TEST(Session, AxesWithoutAScaleAreRefusedAndCirclePixelsFollowTheirFields) {
    PictureFixture f(60, 40, 3);
    const TAxisB kept = f.session.view().axes;
    const struct {
        const char* settings;
        const char* message;
        Ctl focus;
    } cases[] = {
        {"edtXod=2 edtXdo=2", kEqualEndsMessage, Ctl::edtXdo},
        {"edtXod=-1e4932 edtXdo=1e4932", kXScaleMessage, Ctl::edtXod},
        {"edtXod=0 edtXdo=1e-4940", kXScaleMessage, Ctl::edtXod},
        {"edtXod=-3 edtXdo=7 edtYzero=1e4930", kYRangeMessage, Ctl::edtYzero},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        f.Set(c.settings);
        const auto before = f.Pixels();
        EXPECT_EQ(f.session.ButPrepocetClick().Message(), c.message);
        EXPECT_EQ(f.session.ActionClick(1).Message(), c.message);
        EXPECT_EQ(f.controls.focused, c.focus);
        EXPECT_EQ(f.Pixels(), before);
        EXPECT_EQ(f.session.view().axes.YMax, kept.YMax);
        f.Set("edtXod=-3 edtXdo=7 edtYzero=1/3");
    }
    // The pixel forms follow the circle fields as soon as they are read, not only at a new
    // range: K2 at D = 2 with R = 1 lies from column 30 to 42 of -3..7 on 60 columns.
    f.Set("EditKd=2 EditKr=1");
    f.session.FormActivate();
    const CirclePixel k2 = f.session.view().circlePixels[0];
    EXPECT_TRUE(k2.col == 30 && k2.radius == 6) << k2.col << " " << k2.radius;
    // A resize empties the grid: no value, also after a picture of thousandths.
    f.Run(17);
    ASSERT_TRUE(f.session.FormResize(60, 40));
    MouseTools tools{f.session};
    EXPECT_EQ(tools.TabuleMouseMove({}, 5, 5).readout.valueText, kNoValueText);
}

TEST(Session, ColourLabelsRouteByTag) {
    PictureFixture f(20, 20);
    const Palette& p = f.session.palette();
    // Distinct colours, each of which must end in its own entry alone.
    const struct {
        Ctl label;
        const Colour* entry;
    } routes[] = {{Ctl::LabelB2, &p.CircleColors[1]},   {Ctl::LabelBC, &p.ClassColors[2]},
                  {Ctl::LabelKon2, &p.RegionColors[2]}, {Ctl::lbl0, &p.PeriodColors[0]},
                  {Ctl::lbl15, &p.PeriodColors[15]},    {Ctl::LabelLyapZero, &p.LyapZeroColor}};
    for (int i = 0; i < 6; ++i) f.session.LabelyBarev(routes[i].label, Rgb(1, 2, i));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(*routes[i].entry, Rgb(1, 2, i)) << Spec(routes[i].label).name;
        EXPECT_EQ(f.controls.LabelColour(routes[i].label), Rgb(1, 2, i));
    }
}

TEST(Controls, SpinsStayInRangeSettingsAreCheckedAndNamesFindTheirControls) {
    ControlValues c;
    for (auto [text, value] : {std::pair{"0", 1}, {"13", 12}, {"99999999999999999999", 12}}) {
        c.SetText(Ctl::SpinNumRect, text);
        EXPECT_EQ(c.Spin(Ctl::SpinNumRect), value) << text;
    }
    EXPECT_EQ(c.Set("Nope", "1").Message(), "unknown control 'Nope'");
    EXPECT_EQ(c.Set("CheckBila", "maybe").Message(), "CheckBila takes on or off, not 'maybe'");
    EXPECT_TRUE(c.Set("LabelBA", "255,0,0"));
    EXPECT_EQ(c.LabelColour(Ctl::LabelBA), kRed);
    std::set<std::string> names;
    for (int i = 0; i < kControlCount; ++i) {
        const Ctl id = static_cast<Ctl>(i);
        EXPECT_TRUE(names.insert(Spec(id).name).second) << Spec(id).name;
        EXPECT_EQ(FindControl(Spec(id).name), id) << Spec(id).name;
    }
    EXPECT_EQ(FindControl("Nope"), std::nullopt);
    EXPECT_EQ(FindControl("editkd"), std::nullopt);
    // The last member of each numbered group.
    const std::pair<Ctl, const char*> ends[] = {
        {CircleField(10), "EditKc"},   {CircleLabel(4), "LabelB5"}, {ClassLabel(7), "LabelBH"},
        {RegionLabel(7), "LabelKon7"}, {PeriodLabel(15), "lbl15"},  {RectLabel(11), "LabelRect12"}};
    for (const auto& [id, name] : ends) EXPECT_STREQ(Spec(id).name, name);
}

constexpr int kW = 542, kH = 450;

// The axes that the fields show after `range` was written into them as text.
TAxisB AxesThroughFields(const AxesRange& range) {
    ControlValues fields;
    WriteAxesTexts(fields, TextsOf(range));
    const Result<AxesRange> read = FieldRange(fields, kW, kH);
    EXPECT_TRUE(read) << read.Message();
    Viewport v;
    v.range = read.ValueOr(range);
    v.W = kW;
    v.H = kH;
    v.PrepocetPodleSouradnic({});
    return v.axes;
}

// The point under the cursor keeps its pixel through a zoom, the dragged point follows the
// drag, and a zoom rectangle ends up whole and centred; at everyday and at deep scales.
TEST(ViewMoves, PointsKeepTheirPixels) {
    SetDecimalChar('.');
    for (const AxesRange start :
         {AxesRange{-3, 7, 1.0L / 3}, AxesRange{0.25L, 0.25L + 1e-12L, 0.5L}}) {
        const TAxisB before = AxesThroughFields(start);
        const long double tolerance = before.XStep * 1e-3L;
        for (auto [X, Y, factor] : {std::tuple{0, 0, 0.8L}, {541, 449, 1.25L}, {100, 300, 0.64L}}) {
            const TAxisB after = AxesThroughFields(ZoomAbout(start, kW, kH, X, Y, factor));
            EXPECT_NEAR(after.XOfColumn(X), before.XOfColumn(X), tolerance);
            EXPECT_NEAR(after.YOfRow(Y), before.YOfRow(Y), tolerance);
            EXPECT_NEAR(after.XStep / before.XStep, factor, 1e-6L);  // X to - X from rounds
        }
        const TAxisB panned = AxesThroughFields(Pan(start, kW, kH, 40, -25));
        EXPECT_NEAR(panned.XOfColumn(140), before.XOfColumn(100), tolerance);
        EXPECT_NEAR(panned.YOfRow(75), before.YOfRow(100), tolerance);
        // A tall rectangle: its height fills the tabula, its middle is the tabula's middle.
        const TAxisB box = AxesThroughFields(ZoomToRectangle(start, kW, kH, 300, 100, 200, 190));
        EXPECT_NEAR(box.YOfRow(0), before.YOfRow(100), tolerance);
        EXPECT_NEAR(box.YOfRow(kH), before.YOfRow(190), tolerance);
        EXPECT_NEAR(box.XOfColumn(kW / 2), before.XOfColumn(250), tolerance);
    }
}

TEST(ViewMoves, HistoryWalksBackAndForthForgetsWhatWasLeftBehindAndFollowsTheSession) {
    ViewHistory h;
    const AxesTexts a{"-3", "7", "1/3"}, b{"-5", "9", "1/3"}, c{"0,5", "1", "0.5"},
        d{"1", "2", "0"};
    for (const AxesTexts& v : {a, b, b, c}) h.Record(v);  // the same view twice is one entry
    EXPECT_EQ(h.Back(), b);
    EXPECT_EQ(h.Back(), a);
    EXPECT_FALSE(h.Back());
    EXPECT_EQ(h.Forward(), b);
    h.Record(d);  // a new view after going back drops the views ahead
    EXPECT_FALSE(h.Forward());
    EXPECT_EQ(h.Back(), b);
    EXPECT_EQ(h.Forward(), d);
    // Every range put in place by the session's commands goes into the history.
    PictureFixture f(60, 40, 0);
    f.session.SouradniceClick(1);  // -5 .. 9
    f.Set("edtXod=-1 edtXdo=1/2");
    ASSERT_TRUE(f.session.Recalculation1Click().Ok());
    EXPECT_EQ(f.session.ViewBack(), (AxesTexts{"-5", "9", "1/3"}));
    EXPECT_EQ(f.session.ViewBack(), (AxesTexts{"-3", "7", "1/3"}));
}

}  // namespace
}  // namespace vorla
