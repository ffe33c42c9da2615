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
            Zadani1Click(t, v, p, TaskOfNumber(task), width);
            const auto before = Pixels();
            Zadani1Click(t, v, p, TaskOfNumber(task), width);
            EXPECT_NE(Pixels(), before);
            Zadani1Click(t, v, p, TaskOfNumber(task), width);
            EXPECT_EQ(Pixels(), before) << "task " << task << " width " << width;
        }
}

// Black under not-XOR on white is black: the X axis row is black, far corners white.
TEST_F(Overlay, ClearingDrawsTheAxesInBlackOnWhiteAndLeavesTheLastCirclesPenEvenIfWhite) {
    KresliZaklad(t, v, p, TaskOfNumber(2), 2);
    EXPECT_EQ(t.Pixel(5, v.axisPixels.r0), kBlack);
    EXPECT_EQ(t.Pixel(v.axisPixels.c0, 5), kBlack);
    EXPECT_EQ(t.Pixel(119, 0), kWhite);
    EXPECT_EQ(t.Mode(), PenMode::Copy);
    EXPECT_EQ(t.PenColor(), kRed);  // K2's
    EXPECT_EQ(t.PenWidth(), 2);
    EXPECT_EQ(t.Brush(), BrushStyle::Clear);
    // Task 6 draws only K1: the same as task 2 with K2 in white.
    p.CircleColors[1] = kWhite;
    KresliZaklad(t, v, p, TaskOfNumber(2), 1);  // both clearings start the axes in black
    const auto withWhiteK2 = Pixels();
    KresliZaklad(t, v, p, TaskOfNumber(6), 1);
    EXPECT_EQ(Pixels(), withWhiteK2);
}

}  // namespace
}  // namespace vorla
