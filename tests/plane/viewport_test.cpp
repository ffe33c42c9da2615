#include "plane/viewport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/scene.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

Viewport Make(int W, int H, long double from, long double to, long double yrel) {
    Viewport v;
    v.W = W;
    v.H = H;
    v.range = {from, to, yrel};
    v.PrepocetPodleSouradnic(CircleDiscs(testing::StartCircles()));
    return v;
}

TEST(Viewport, WorkedExample500x400) {
    const Viewport v = Make(500, 400, -3, 7, 1.0L / 3);
    EXPECT_EQ(v.axes.XStep, 10.0L / 500);
    EXPECT_EQ(v.axes.YStep, v.axes.XStep);
    EXPECT_EQ(v.axes.XOfColumn(0), -3);
    EXPECT_NEAR(static_cast<double>(v.axes.XOfColumn(150)), 0, 1e-15);
    EXPECT_NEAR(static_cast<double>(v.axes.YOfRow(0)), 16.0 / 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(v.axes.YMin), -8.0 / 3, 1e-15);
    // The pixels of Y = 0, X = 0 and X = 1; K2 at (3, 0) radius 2.5: centre column 300,
    // radius 125 pixels, centre row on the axis; the drag handles of K1 and K2.
    const CirclePixel& k2 = v.circlePixels[0];
    EXPECT_EQ(
        (std::vector<int>{v.axes.RowY0, v.axisPixels.r0, v.axes.ColX0, v.axes.ColX1, k2.col, k2.row,
                          k2.radius, v.handles.col[0], v.handles.col[1], v.handles.row[1]}),
        (std::vector<int>{266, 266, 150, 200, 300, 266, 125, 150, 300, 266}));
    // Truncation toward zero.
    EXPECT_EQ(v.axes.ColumnOfX(-3 - 0.5L * v.axes.XStep), 0);
    EXPECT_EQ(v.axes.ColumnOfX(-3 - 1.5L * v.axes.XStep), -1);
    // A reversed range turns the picture.
    EXPECT_LT(Make(500, 400, 7, -3, 1.0L / 3).axes.XStep, 0);
    EXPECT_LT(Make(500, 400, 7, -3, 1.0L / 3).axes.YStep, 0);
}

TEST(Viewport, AnEmptyRangeKeepsThePreviousOneAndAnyRealHasAPixel) {
    Viewport v = Make(500, 400, -3, 7, 1.0L / 3);
    v.range = {2, 2, 0.5L};
    v.PrepocetPodleSouradnic(CircleDiscs(CircleSet{}));
    EXPECT_EQ(v.axes.XMin, -3);
    EXPECT_EQ(v.axes.XMax, 7);
    EXPECT_TRUE(std::isfinite(v.axes.XScale));
    EXPECT_NE(v.axes.XScale, 0);
    // Pixel conversion is defined for any real.
    EXPECT_EQ((std::vector<int>{TAxisB::ToPixel(NAN), TAxisB::ToPixel(INFINITY),
                                TAxisB::ToPixel(-1e4000L), TAxisB::ToPixel(-2.7L)}),
              (std::vector<int>{0, kPixelLimit, -kPixelLimit, -2}));
    v = Make(500, 400, -3, 7, 1.0L / 3);
    EXPECT_EQ(v.axes.ColumnOfX(1e300L), kPixelLimit);
    CircleSet huge;
    huge.D = 1e300L;
    huge.R = 1e300L;
    v.PrepocetPodleSouradnic(CircleDiscs(huge));
    EXPECT_EQ(v.circlePixels[0].radius, kPixelLimit - v.axes.ColX0);
}

}  // namespace
}  // namespace vorla
