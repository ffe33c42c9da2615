#include "model/fixed_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vorla {
namespace {

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
                 {3, 3, 2.5L, 0},             // other tasks, or none: none
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
            EXPECT_EQ(f.FixedX[i], xs[i]) << i;
            EXPECT_EQ(f.FixedY[i], ys[i]) << i;
            long double x = xs[i], y = ys[i];
            c.task == 2 ? TwoCircleMap(scene, x, y) : UnitCircleSquareMap(scene, x, y);
            EXPECT_NEAR(static_cast<double>(x), static_cast<double>(xs[i]), 1e-12) << i;
            EXPECT_NEAR(static_cast<double>(y), static_cast<double>(ys[i]), 1e-12) << i;
        }
    }
}

}  // namespace
}  // namespace vorla
