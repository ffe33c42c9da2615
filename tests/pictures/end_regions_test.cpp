// The end-regions picture: where the orbit is after n steps, and inside which circles.
#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::PointScene;

// The start whose two-circle image is (x, y): both inversions undo themselves.
void PreImage(const CircleSet& k, long double& x, long double& y) {
    const long double d2 = (x - k.D) * (x - k.D) + y * y;
    x = k.D + (x - k.D) * k.R2 / d2;
    y = y * k.R2 / d2;
    const long double d1 = x * x + y * y;
    x /= d1;
    y /= d1;
}

struct Case {
    long double x, y;  // the last point
    int value;
};

TEST(EndRegions, ClassesOfTheLastPoint) {
    // K2 at the origin with R2 = 4: one step multiplies by 4, exactly. The axes belong to
    // the right and the upper half, the unit circle to the outside. Every last point lies
    // inside K2 (radius 2), so every colour is lightened; task 2 never darkens.
    const Case cases[] = {{0.5L, 0.5L, 1}, {-0.5L, 0.25L, 2}, {-0.5L, -0.25L, 3}, {0, -0.5L, 4},
                          {-0.5L, 0, 2},   {0, 0, 1},         {1, 0, 5},          {-1.5L, 0.5L, 6},
                          {-1, -1, 7},     {1, -1, 8}};
    for (const Case& c : cases) {
        PointScene s(2, c.x / 4, c.y / 4);
        s.Scaling(4);
        s.scene.k.M = s.scene.k.N = 0;  // K3 around the origin too: no effect on task 2
        s.controls.SetText(Ctl::SpinRegionIter, "1");
        s.Run(KresliRegions);
        EXPECT_EQ(s.Value(), c.value) << c.x << ", " << c.y;
        EXPECT_EQ(s.Pixel(), LightenColor(s.palette.RegionColors[c.value - 1]))
            << c.x << ", " << c.y;
    }
}

TEST(EndRegions, LightenedOnlyInsideK2) {
    // D = 3: the image (0.5, 0.5) has (0.5 - D)^2 + 0.25 = 6.5 from K2's centre.
    for (const auto& [r, lightened] : {std::pair{2.5L, false}, std::pair{2.6L, true}}) {
        PointScene s(2, 0, 0);
        s.scene.k.D = 3;
        s.scene.k.R = r;
        s.scene.k.UpdateSquares();
        long double x = 0.5L, y = 0.5L;
        PreImage(s.scene.k, x, y);
        s.view.axes.SetXRange(x, x + 1);
        s.view.axes.SetYRange(y - 1, y);
        s.controls.SetText(Ctl::SpinRegionIter, "1");
        s.Run(KresliRegions);
        EXPECT_EQ(s.Value(), 1);
        const Colour c0 = s.palette.RegionColors[0];
        EXPECT_EQ(s.Pixel(), lightened ? LightenColor(c0) : c0) << r;
    }
}

TEST(EndRegions, InsideK2AndK3IsLightenedThenDarkened) {
    // Task 3 with K2 (0, 0) R2 = 4 and K3 the unit circle: (0.25, 0.25) goes to (1, 1) and
    // then to (0.5, 0.5), inside both.
    PointScene s(3, 0.25L, 0.25L);
    s.Scaling(4);
    s.scene.k.M = s.scene.k.N = 0;
    s.scene.k.S = s.scene.k.S2 = 1;
    s.controls.SetText(Ctl::SpinRegionIter, "1");
    s.Run(KresliRegions);
    EXPECT_EQ(s.Value(), 1);
    EXPECT_EQ(s.Pixel(), DarkenColor(LightenColor(s.palette.RegionColors[0])));
}

TEST(EndRegions, SquaringTaskIsNeverLightened) {
    // (1, 0) stays; it lies inside K2 (centre 3, radius 2.5) but task 6 has no circles.
    PointScene s(6, 1, 0);
    s.Run(KresliRegions);
    EXPECT_EQ(s.Value(), 5);
    EXPECT_EQ(s.Pixel(), s.palette.RegionColors[4]);
}

TEST(EndRegions, ExactlyNStepsAreMade) {
    // Doubling by R2 = 2 from (0.125, 0): 2 steps end inside K1, 3 steps on its edge.
    for (const auto& [n, value] : {std::pair{"2", 1}, std::pair{"3", 5}, std::pair{"0", 1}}) {
        PointScene s(2, 0.125L, 0);
        s.Scaling(2);
        s.controls.SetText(Ctl::SpinRegionIter, n);
        s.Run(KresliRegions);
        EXPECT_EQ(s.Value(), value) << n;  // "0" is below the range: one step
    }
}

TEST(EndRegions, RangeGuardAndWholePicture) {
    testing::ExpectRowRange(8, true);
    testing::ExpectRadiusGuard(8, true);
    testing::ExpectWholePicture(8, 5);
}

}  // namespace
}  // namespace vorla
