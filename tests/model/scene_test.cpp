#include "model/scene.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

Scene InitialScene(int task) {
    Scene s;
    s.taskType = task;
    s.k = testing::StartCircles();
    return s;
}

TEST(Maps, TwoCircleWorkedNumbersFarPointAndTolerance) {
    Scene s = InitialScene(2);
    long double x = 1, y = 1;
    TwoCircleMap(s, x, y);
    EXPECT_NEAR(static_cast<double>(x), 0.596154, 1e-6);
    EXPECT_NEAR(static_cast<double>(y), 0.480769, 1e-6);
    // Bit for bit in the written order: D + (px - D) * R^2 / d.
    EXPECT_EQ(x, 3 + (0.5L - 3) * 6.25L / 6.5L);
    EXPECT_EQ(y, 0.5L * 6.25L / 6.5L);
    // K1 sends (1/3, 0) to (3, 0), K2's centre; just beside it the far point is ±L by side.
    x = 1.0L / 3, y = 0;
    TwoCircleMap(s, x, y);
    EXPECT_EQ(std::fabs(x), 1000);
    EXPECT_EQ(y, 1000);
    x = 1 / 3.0001L, y = -1e-9L;  // image slightly right of and below the centre
    TwoCircleMap(s, x, y);
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(y, -1000);
    // At K1's centre, within 1/L of it: K2's centre.
    s.SetInfinityBound(10);
    EXPECT_EQ(s.tolerance, 0.01L);
    for (long double x0 : {0.0L, 0.09L}) {
        x = x0, y = 0;
        TwoCircleMap(s, x, y);
        EXPECT_EQ(x, 3);
        EXPECT_EQ(y, 0);
    }
}

TEST(Maps, ThreeCircleCentreCases) {
    Scene s = InitialScene(3);
    long double x = 0, y = 0;
    ThreeCircleMap(s, x, y);
    const long double e = (3 - 1.0L) * (3 - 1.0L) + 1;
    EXPECT_EQ(x, (3 - 1.0L) * 1 / e + 1);
    EXPECT_EQ(y, 1 * (1 - 1 / e));
    x = 1.0L / 3, y = 0;  // K1 image exactly K2's centre
    ThreeCircleMap(s, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    // K2's centre within 1/L of K3's centre: the signs follow K3 as seen from (D, 0).
    s.k.M = 3, s.k.N = -0.0001L;
    s.k.UpdateSquares();
    x = 0, y = 0;
    ThreeCircleMap(s, x, y);
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(y, -1000);
}

TEST(Maps, FourAndFiveCirclesContinueTheChain) {
    const Scene s = InitialScene(4);
    long double x = 0.3L, y = -0.2L, qx = x, qy = y;
    ThreeCircleMap(s, qx, qy);
    FourCircleMap(s, x, y);
    const long double f = (2 - qx) * (2 - qx) + (3 - qy) * (3 - qy);
    EXPECT_EQ(x, 2 + (qx - 2) * 4 / f);
    EXPECT_EQ(y, 3 + (qy - 3) * 4 / f);
    // The origin goes to the far point of K1, then through the rest of the chain.
    x = 0, y = 0;
    FiveCircleMap(InitialScene(5), x, y);
    long double ex = 1000, ey = 1000;
    for (auto [cx, cy, r2] : {std::tuple{3.0L, 0.0L, 6.25L},
                              {1.0L, 1.0L, 1.0L},
                              {2.0L, 3.0L, 4.0L},
                              {3.0L, 2.0L, 6.25L}}) {
        const long double d = (ex - cx) * (ex - cx) + (ey - cy) * (ey - cy);
        ex = cx + (ex - cx) * r2 / d;
        ey = cy + (ey - cy) * r2 / d;
    }
    EXPECT_EQ(x, ex);
    EXPECT_EQ(y, ey);
}

TEST(Maps, UnitCircleSquare) {
    const Scene s = InitialScene(6);
    const struct {
        long double x, y, ex, ey;
    } steps[] = {
        {0.6L, 0.8L, 0.6L * 0.6L - 0.8L * 0.8L, 2 * 0.6L * 0.8L}, {2, 0, 1, 0}, {0, 3, -1, 0}};
    for (const auto& c : steps) {
        long double x = c.x, y = c.y;
        UnitCircleSquareMap(s, x, y);
        EXPECT_EQ(x, c.ex);
        EXPECT_EQ(y, c.ey);
    }
    long double x = 0, y = 0;  // no direction to project on: a finite point all the same
    UnitCircleSquareMap(s, x, y);
    EXPECT_TRUE(std::isfinite(x + y));
}

TEST(Scene, FieldsFallBackPublishRawTextsAndStoreByTag) {
    CircleSet k;
    ReadCircleTexts(k, {"x", "-1", "q", "q", "0", "q", "q", "q", "q", "q", "abc"});
    EXPECT_EQ(k.D, 0);
    EXPECT_EQ(k.R, 0);  // the fallback of R is 0, which its own check rejects
    EXPECT_EQ(k.M, 2);
    EXPECT_EQ(k.S, 1);
    EXPECT_EQ(k.C, 2);
    EXPECT_EQ(k.C2, 4);
    EXPECT_EQ(SceneText(-1, {"3", "2.5", "1", "1", "1", "2", "3", "2", "3", "2", "2.5"}),
              "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");
    EXPECT_TRUE(StoreCircleByTag(k, 111, 3));
    EXPECT_EQ(k.C2, 9);
    EXPECT_FALSE(StoreCircleByTag(k, 112, 3));
}

}  // namespace
}  // namespace vorla
