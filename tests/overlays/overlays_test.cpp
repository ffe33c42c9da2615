// The overlays: the basic circles, the fixed points in closed form and their marks, and the
// tabula they draw on.
#include <gtest/gtest.h>

#include <cmath>

#include "model/fixed_points.h"
#include "overlays/basic_circles.h"
#include "overlays/fixed_points.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

// The start circles on 120 x 90 pixels over -3..7.
struct Overlay : ::testing::Test, testing::Canvas {
    Overlay() : Canvas(120, 90) {}
};

TEST_F(Overlay, DrawingTwiceRestoresEveryPixel) {
    for (int r = 0; r < 90; ++r)
        for (int c = 0; c < 120; ++c) t.SetPixel(c, r, Rgb(c * 2, r * 2, (c * r) & 255));
    for (int task : {-1, 2, 3, 4, 5, 6})
        for (int width : {1, 2, 5}) {
            // The axes take the current pen colour: the last circle's colour of a previous
            // overlay, as after any earlier drawing of it.
            Zadani1Click(t, v, p, TaskOfNumber(task), width);
            const auto before = Pixels();
            Zadani1Click(t, v, p, TaskOfNumber(task), width);
            EXPECT_NE(Pixels(), before);
            Zadani1Click(t, v, p, TaskOfNumber(task), width);
            EXPECT_EQ(Pixels(), before) << "task " << task << " width " << width;
        }
}

TEST_F(Overlay, ClearDrawsAxesLeavesThePenStateAndAWhiteCircleIsInvisible) {
    KresliZaklad(t, v, p, TaskOfNumber(2), 2);
    // Black under not-XOR on white is black: the X axis row is black, far corners white.
    EXPECT_EQ(t.Pixel(5, v.axisPixels.r0), kBlack);
    EXPECT_EQ(t.Pixel(v.axisPixels.c0, 5), kBlack);
    EXPECT_EQ(t.Pixel(119, 0), kWhite);
    // The pen of the last circle drawn, K2.
    EXPECT_TRUE(t.Mode() == PenMode::Copy && t.PenColor() == kRed && t.PenWidth() == 2 &&
                t.Brush() == BrushStyle::Clear);
    // Task 6 draws only K1: the same as task 2 with K2 in white.
    p.CircleColors[1] = kWhite;
    KresliZaklad(t, v, p, TaskOfNumber(2), 1);  // both clearings start the axes in black
    const auto withWhiteK2 = Pixels();
    KresliZaklad(t, v, p, TaskOfNumber(6), 1);
    EXPECT_EQ(Pixels(), withWhiteK2);
}

TEST(TabulaSurface, WritesOutsideAreIgnoredCopiesStayApartAndHugeShapesDoNotFault) {
    Tabula t(4, 3);
    for (auto [c, r] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {-1, -1}}) t.SetPixel(c, r, kBlack);
    t.SetPixel(3, 2, Rgb(1, 2, 3));
    std::vector<Colour> written(12, kWhite);
    written[11] = Rgb(1, 2, 3);
    EXPECT_EQ(testing::PixelsOf(t), written);
    EXPECT_EQ(t.Pixel(9, 9), kWhite);
    const QImage shared = t.Image();  // a shallow copy, as a painter might take
    t.Detach();
    t.SetPixel(0, 0, kRed);
    EXPECT_EQ(Tabula::FromQt(shared.pixel(0, 0)) & 0xffffff, kWhite);
    EXPECT_EQ(Tabula::FromQt(t.Image().pixel(0, 0)) & 0xffffff, kRed);
    EXPECT_EQ(t.Image().pixel(3, 2), qRgb(1, 2, 3));  // colours reach Qt channel for channel
    // Huge shapes do not fault; the clipped line still crosses the surface.
    t.SetPenWidth(3);
    t.Ellipse(-kPixelLimit, -kPixelLimit, kPixelLimit, kPixelLimit);
    t.MoveTo(-kPixelLimit, 1);
    t.LineTo(kPixelLimit, 1);
    t.Rectangle(-kPixelLimit, -kPixelLimit, 1, 0);
    EXPECT_EQ(t.Pixel(2, 1), kBlack);
}

// A run of shapes of every kind and mode, with a fill and direct pixel writes between them.
void DrawMixture(Tabula& t) {
    t.SetPenWidth(2);
    t.SetPenMode(PenMode::NotXor);
    t.MoveTo(0, 10);
    t.LineTo(59, 30);
    t.SetBrushStyle(BrushStyle::Clear);
    t.Ellipse(5, 5, 40, 35);
    t.SetPenMode(PenMode::Copy);
    t.SetBrush(BrushStyle::Solid, kRed);
    t.SetPenColor(Rgb(0, 0, 255));
    t.Ellipse(20, 20, 26, 26);
    t.Rectangle(30, 2, 50, 12);
    t.FillRect(0, 40, 20, 45);
    t.SetPixel(3, 3, Rgb(1, 2, 3));
    t.SetPenMode(PenMode::NotXor);
    t.Ellipse(10, 10, 50, 42);  // over what the fill and the pixel left
    t.SetPenWidth(1);
    t.SetPenMode(PenMode::Copy);
    t.LineTo(0, 0);
}

TEST(TabulaSurface, ABatchDrawsTheSamePixelsAsSingleShapes) {
    Tabula single(60, 48), batched(60, 48);
    DrawMixture(single);
    {
        const Tabula::Batch batch(batched);
        const Tabula::Batch nested(batched);
        DrawMixture(batched);
        EXPECT_EQ(batched.Pixel(3, 3), Rgb(1, 2, 3));  // readable while the batch is open
    }
    EXPECT_EQ(batched.Image(), single.Image());
    // A copy taken after the batch is the finished picture, and later writes leave it alone.
    const QImage copy = batched.Copy();
    batched.Fill(kWhite);
    EXPECT_EQ(copy, single.Image());
}

TEST(FixedPoints, ClosedFormsThatTheMapFixes) {
    const long double y = std::sqrt(0.609375L), s = std::sqrt(45.0L);
    const struct {
        int task;
        long double D, R;
        int count;
        long double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    } cases[] = {{2, 3, 2.5L, 2, 0.625L, y, 0.625L, -y},  // a conjugate pair on the unit circle
                 {2, 3, 1, 2, (9 + s) / 6, 0, (9 - s) / 6, 0},  // real roots of product one
                 {2, 1, 2, 2, -1, 0, -1, 0},  // zero discriminant: one point twice
                 {2, 0, 2, 0},                // K2 concentric with K1: none
                 {6, 3, 2.5L, 1, 1, 0},       // the squaring: 1
                 {3, 3, 2.5L, 0},
                 {4, 3, 2.5L, 0},
                 {5, 3, 2.5L, 0},
                 {-1, 3, 2.5L, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE("task " + std::to_string(c.task) + " D " + std::to_string(double(c.D)));
        Scene scene;
        scene.taskType = TaskOfNumber(c.task);
        scene.k.D = c.D;
        scene.k.R = c.R;
        scene.k.UpdateSquares();
        FixedPointSet f;
        f.FixedCount = 2;
        FixedPoints(scene, f);
        ASSERT_EQ(f.FixedCount, c.count);
        const long double xs[] = {c.x0, c.x1}, ys[] = {c.y0, c.y1};
        for (int i = 0; i < c.count; ++i) {
            EXPECT_TRUE(f.FixedX[i] == xs[i] && f.FixedY[i] == ys[i]) << i;
            long double x = xs[i], y = ys[i];
            c.task == 2 ? TwoCircleMap(scene, x, y) : UnitCircleSquareMap(scene, x, y);
            EXPECT_NEAR(static_cast<double>(x), static_cast<double>(xs[i]), 1e-12) << i;
            EXPECT_NEAR(static_cast<double>(y), static_cast<double>(ys[i]), 1e-12) << i;
        }
    }
}

// The start circles on 100 x 80 pixels over -3..7, with a clear brush.
struct Marks : testing::Canvas {
    FixedPointSet set;
    Marks() : Canvas(100, 80) { t.SetBrushStyle(BrushStyle::Clear); }
    void Draw(int task) {
        scene.taskType = TaskOfNumber(task);
        PevneBody1Click(t, v, p, scene, set);
    }
    int Col(int i) const { return v.axes.ColumnOfX(set.FixedX[i]); }
    int Row(int i) const { return v.axes.RowOfY(set.FixedY[i]); }
};

TEST(FixedPointMarks, NineByNineOutlinesInTheFirstCircleColours) {
    // Two circles: (0.625, +-0.78); the squaring: 1.
    for (auto [task, count] : {std::pair{2, 2}, {6, 1}}) {
        Marks m;
        m.Draw(task);
        ASSERT_EQ(m.set.FixedCount, count) << task;
        for (int i = 0; i < count; ++i) {
            for (auto [dc, dr] : {std::pair{-4, 0}, {4, 4}, {0, -4}})
                EXPECT_EQ(m.t.Pixel(m.Col(i) + dc, m.Row(i) + dr), m.p.CircleColors[i]) << task;
            EXPECT_EQ(m.t.Pixel(m.Col(i), m.Row(i)), kWhite);  // the brush was clear
        }
        EXPECT_EQ(m.NonWhite(), 32 * count) << task;  // pen width 1
    }
    // A solid brush fills the squares.
    Marks m;
    m.t.SetBrush(BrushStyle::Solid, kGrey);
    m.Draw(2);
    EXPECT_EQ(m.t.Pixel(m.Col(0), m.Row(0)), kGrey);
    EXPECT_EQ(m.t.Pixel(m.Col(0) - 4, m.Row(0)), kBlack);
}

}  // namespace
}  // namespace vorla
