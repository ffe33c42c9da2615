#include "model/fixed_points.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorla {
namespace {

Scene TwoCircles(long double D, long double R) {
    Scene s;
    s.taskType = 2;
    s.k.D = D;
    s.k.R = R;
    s.k.UpdateSquares();
    return s;
}

// The marked points really are fixed by the map.
void ExpectFixed(const Scene& s, const FixedPointSet& f) {
    for (int i = 0; i < f.FixedCount; ++i) {
        long double x = f.FixedX[i], y = f.FixedY[i];
        TwoCircleMap(s, x, y);
        EXPECT_NEAR(static_cast<double>(x), static_cast<double>(f.FixedX[i]), 1e-12) << i;
        EXPECT_NEAR(static_cast<double>(y), static_cast<double>(f.FixedY[i]), 1e-12) << i;
    }
}

TEST(FixedPoints, InitialCirclesGiveAConjugatePairOnTheUnitCircle) {
    const Scene s = TwoCircles(3, 2.5L);
    FixedPointSet f;
    FixedPoints(s, f);
    ASSERT_EQ(f.FixedCount, 2);
    EXPECT_EQ(f.FixedX[0], 0.625L);
    EXPECT_EQ(f.FixedX[1], 0.625L);
    EXPECT_EQ(f.FixedY[0], std::sqrt(0.609375L));
    EXPECT_EQ(f.FixedY[1], -std::sqrt(0.609375L));
    ExpectFixed(s, f);
}

TEST(FixedPoints, RealRootsLieOnTheAxisWithProductOne) {
    const Scene s = TwoCircles(3, 1);
    FixedPointSet f;
    FixedPoints(s, f);
    ASSERT_EQ(f.FixedCount, 2);
    EXPECT_EQ(f.FixedX[0], (9 + std::sqrt(45.0L)) / 6);
    EXPECT_EQ(f.FixedX[1], (9 - std::sqrt(45.0L)) / 6);
    EXPECT_NEAR(static_cast<double>(f.FixedX[0]), 2.618034, 1e-6);
    EXPECT_NEAR(static_cast<double>(f.FixedX[0] * f.FixedX[1]), 1.0, 1e-15);
    EXPECT_EQ(f.FixedY[0], 0);
    EXPECT_EQ(f.FixedY[1], 0);
    ExpectFixed(s, f);
}

TEST(FixedPoints, ZeroDiscriminantGivesTheSamePointTwice) {
    FixedPointSet f;
    FixedPoints(TwoCircles(1, 2), f);
    ASSERT_EQ(f.FixedCount, 2);
    EXPECT_EQ(f.FixedX[0], -1);
    EXPECT_EQ(f.FixedX[1], -1);
    EXPECT_EQ(f.FixedY[0], 0);
}

TEST(FixedPoints, ConcentricSecondCircleGivesNone) {
    FixedPointSet f;
    f.FixedCount = 2;
    FixedPoints(TwoCircles(0, 2), f);
    EXPECT_EQ(f.FixedCount, 0);
}

TEST(FixedPoints, SquaringHasOneAndOtherTasksNone) {
    Scene s;
    FixedPointSet f;
    s.taskType = 6;
    FixedPoints(s, f);
    ASSERT_EQ(f.FixedCount, 1);
    EXPECT_EQ(f.FixedX[0], 1);
    EXPECT_EQ(f.FixedY[0], 0);
    for (int task : {3, 4, 5, -1}) {
        s.taskType = task;
        f.FixedCount = 2;
        FixedPoints(s, f);
        EXPECT_EQ(f.FixedCount, 0) << task;
    }
}

}  // namespace
}  // namespace vorla
