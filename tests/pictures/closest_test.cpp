// The closest pictures: which iterate comes nearest to the start, and how near.
#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::CyclePoint;
using testing::PointPtr;
using testing::PointScene;

PointPtr Closest(PictureRoutine routine, long double x, long double y, const char* N = "100") {
    auto s = std::make_unique<PointScene>(6, x, y);
    s->controls.SetText(Ctl::SpinClosestIter, N);
    s->Run(routine);
    return s;
}

TEST(ClosestOrder, EqualDistancesKeepTheEarliest) {
    // (0.5, 0) goes to (1, 0) and stays: every iterate is 0.5 away; the first wins.
    auto s = Closest(KresliClosestOrder, 0.5L, 0);
    EXPECT_EQ(s->Value(), 1);
    EXPECT_EQ(s->Pixel(), s->palette.PeriodColors[1]);
}

TEST(ClosestOrder, OrderTakesEntriesModuloFifteen) {
    // Half way to the 2-cycle at 2pi/3: the second iterate, at 2pi/3 itself, is nearest.
    long double x, y;
    CyclePoint(1, 2, x, y);
    auto two = Closest(KresliClosestOrder, x / 2, y / 2, "3");
    EXPECT_EQ(two->Value(), 2);
    EXPECT_EQ(two->Pixel(), two->palette.PeriodColors[2]);
    for (int p : {14, 15, 16}) {
        CyclePoint(2895, p, x, y);
        auto s = Closest(KresliClosestOrder, x, y, std::to_string(p + 1).c_str());
        EXPECT_EQ(s->Value(), p);
        EXPECT_EQ(s->Pixel(), s->palette.PeriodColors[p % 15]) << p;
    }
}

TEST(ClosestOrder, NothingWithinTheStartBound) {
    // (40, 0) goes to (1, 0): 39^2 = 1521 is not below L = 1000 (compared unsquared).
    auto s = Closest(KresliClosestOrder, 40, 0);
    EXPECT_EQ(s->Value(), -1);
    EXPECT_EQ(s->Pixel(), s->palette.PeriodColors[15]);
    auto in = Closest(KresliClosestOrder, 32, 0);  // 961 < 1000
    EXPECT_EQ(in->Value(), 1);
}

TEST(ClosestDist, UnitsOfDistanceStepThroughTheColours) {
    const struct {
        long double x;
        int entry, value;
    } cases[] = {{1, 0, 0}, {1.25L, 0, 250}, {2.5L, 1, 1500}, {3.5L, 2, 2500}, {17.5L, 1, 16500}};
    for (const auto& c : cases) {
        auto s = Closest(KresliClosestDist, c.x, 0);
        EXPECT_EQ(s->Value(), c.value) << c.x;
        EXPECT_EQ(s->Pixel(), s->palette.PeriodColors[c.entry]) << c.x;
    }
}

TEST(ClosestDist, NothingWithinTheBoundIsTheRootOfL) {
    auto s = Closest(KresliClosestDist, 40, 0);
    EXPECT_EQ(s->Value(), 31623);  // 1000 * sqrt(1000)
    EXPECT_EQ(s->Pixel(), s->palette.PeriodColors[1]);
    s->scene.SetInfinityBound(4);
    s->Run(KresliClosestDist);
    EXPECT_EQ(s->Value(), 2000);
    EXPECT_EQ(s->Pixel(), s->palette.PeriodColors[2]);
}

TEST(Closest, RangeNoGuardAndWholePictures) {
    testing::ExpectRowRange(16, false);
    testing::ExpectRowRange(22, false);
    testing::ExpectRadiusGuard(16, false);
    testing::ExpectRadiusGuard(22, false);
    testing::ExpectWholePicture(16, 11);
    testing::ExpectWholePicture(22, 14);
}

}  // namespace
}  // namespace vorla
