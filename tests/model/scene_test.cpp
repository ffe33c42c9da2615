#include "model/scene.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

Scene InitialScene(int task) {
    Scene s;
    s.taskType = TaskOfNumber(task);
    s.k = testing::StartCircles();
    return s;
}

using Map = void (*)(const Scene&, long double&, long double&);

TEST(Maps, WorkedStepsOfTwoAndThreeCirclesAndTheSquaring) {
    const struct {
        const char* what;
        Map map;
        long double x, y, ex, ey;
        long double M = 1, N = 1, L = 1000;  // K3's centre, the bound of infinity
    } steps[] = {
        // Bit for bit in the written order: D + (px - D) * R^2 / d.
        {"two circles", TwoCircleMap, 1, 1, 3 + (0.5L - 3) * 6.25L / 6.5L, 0.5L * 6.25L / 6.5L},
        {"beside K2's centre: the far point by side", TwoCircleMap, 1 / 3.0001L, -1e-9L, 1000,
         -1000},
        {"K1's centre", TwoCircleMap, 0, 0, 3, 0},
        {"within 1/L of K1's centre", TwoCircleMap, 0.09L, 0, 3, 0, 1, 1, 10},
        {"three circles from K1's centre", ThreeCircleMap, 0, 0, 2.0L * 1 / 5 + 1,
         1 * (1 - 1.0L / 5)},
        {"K1's image exactly K2's centre", ThreeCircleMap, 1.0L / 3, 0, 1, 1},
        // K2's centre within 1/L of K3's: the signs follow K3 as seen from (D, 0).
        {"K3 at K2's centre", ThreeCircleMap, 0, 0, 1000, -1000, 3, -0.0001L},
        {"squaring", UnitCircleSquareMap, 0.6L, 0.8L, 0.6L * 0.6L - 0.8L * 0.8L, 2 * 0.6L * 0.8L},
        {"projected onto K1", UnitCircleSquareMap, 2, 0, 1, 0},
        {"the origin goes to the fixed point", UnitCircleSquareMap, 0, 0, 1, 0}};
    for (const auto& c : steps) {
        Scene s = InitialScene(2);
        s.k.M = c.M, s.k.N = c.N;
        s.SetInfinityBound(c.L);
        long double x = c.x, y = c.y;
        c.map(s, x, y);
        EXPECT_EQ(x, c.ex) << c.what;
        EXPECT_EQ(y, c.ey) << c.what;
    }
    // K1 sends (1/3, 0) to K2's centre, on the one side or the other by rounding.
    const Scene s = InitialScene(2);
    long double x = 1.0L / 3, y = 0;
    TwoCircleMap(s, x, y);
    EXPECT_EQ(std::fabs(x), 1000);
    EXPECT_EQ(y, 1000);
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

// The circle fields fall back one by one, are stored by their tags and published raw.
TEST(Scene, CircleFieldsFallBackOneByOneAreStoredByTagAndPublishedRaw) {
    CircleSet k;
    ReadCircleTexts(k, {"x", "-1", "q", "q", "0", "q", "q", "q", "q", "q", "abc"});
    EXPECT_EQ(k.D, 0);
    EXPECT_EQ(k.R, 0);  // the fallback of R is 0, which its own check rejects
    EXPECT_EQ(k.M, 2);
    EXPECT_EQ(k.S, 1);
    EXPECT_EQ(k.C, 2);
    EXPECT_EQ(k.C2, 4);
    EXPECT_TRUE(StoreCircleByTag(k, 111, 3));
    EXPECT_EQ(k.C2, 9);
    EXPECT_FALSE(StoreCircleByTag(k, 112, 3));
    EXPECT_EQ(
        SceneText(TaskType::None, {"3", "2.5", "1", "1", "1", "2", "3", "2", "3", "2", "2.5"}),
        "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");
}

}  // namespace
}  // namespace vorla
