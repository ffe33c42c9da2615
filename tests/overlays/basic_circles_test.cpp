#include "overlays/basic_circles.h"

#include <gtest/gtest.h>

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
            Zadani1Click(t, v, p, task, width);
            const auto before = Pixels();
            Zadani1Click(t, v, p, task, width);
            EXPECT_NE(Pixels(), before);
            Zadani1Click(t, v, p, task, width);
            EXPECT_EQ(Pixels(), before) << "task " << task << " width " << width;
        }
}

TEST_F(Overlay, ClearDrawsAxesLeavesThePenStateAndAWhiteCircleIsInvisible) {
    KresliZaklad(t, v, p, 2, 2);
    // Black under not-XOR on white is black: the X axis row is black, far corners white.
    EXPECT_EQ(t.Pixel(5, v.axisPixels.r0), kBlack);
    EXPECT_EQ(t.Pixel(v.axisPixels.c0, 5), kBlack);
    EXPECT_EQ(t.Pixel(119, 0), kWhite);
    EXPECT_EQ(t.Mode(), PenMode::Copy);
    EXPECT_EQ(t.PenColor(), kRed);  // the last circle drawn, K2
    EXPECT_EQ(t.PenWidth(), 2);
    EXPECT_EQ(t.Brush(), BrushStyle::Clear);
    // Task 6 draws only K1: the same as task 2 with K2 in white.
    p.CircleColors[1] = kWhite;
    KresliZaklad(t, v, p, 2, 1);  // both clearings start the axes in black
    const auto withWhiteK2 = Pixels();
    KresliZaklad(t, v, p, 6, 1);
    EXPECT_EQ(Pixels(), withWhiteK2);
}

TEST(TabulaSurface, WritesOutsideAreIgnoredAndCopiesStayApart) {
    Tabula t(4, 3);
    t.SetPixel(-1, 0, kBlack);
    t.SetPixel(4, 0, kBlack);
    t.SetPixel(0, 3, kBlack);
    t.SetPixel(3, 2, Rgb(1, 2, 3));
    EXPECT_EQ(t.Pixel(3, 2), Rgb(1, 2, 3));
    EXPECT_EQ(t.Pixel(9, 9), kWhite);
    const QImage shared = t.Image();  // a shallow copy, as a painter might take
    t.Detach();
    t.SetPixel(0, 0, kRed);
    EXPECT_EQ(Tabula::FromQt(shared.pixel(0, 0)) & 0xffffff, kWhite);
    EXPECT_EQ(Tabula::FromQt(t.Image().pixel(0, 0)) & 0xffffff, kRed);
    EXPECT_EQ(t.Image().pixel(3, 2), qRgb(1, 2, 3));  // colours reach Qt channel for channel
}

TEST(TabulaSurface, HugeShapesDoNotFault) {
    Tabula t(50, 40);
    t.SetPenWidth(3);
    t.Ellipse(-kPixelLimit, -kPixelLimit, kPixelLimit, kPixelLimit);
    t.MoveTo(-kPixelLimit, 20);
    t.LineTo(kPixelLimit, 20);
    t.Rectangle(-kPixelLimit, -kPixelLimit, 10, 10);
    EXPECT_EQ(t.Pixel(25, 20), kBlack);  // the clipped line still crosses the surface
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

}  // namespace
}  // namespace vorla
