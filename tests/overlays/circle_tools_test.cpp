#include "overlays/circle_tools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "overlays/fp_guard.h"
#include "plane/number_text.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

TEST(YRelatively, PutsTheClickedHeightInTheMiddleToThreeDigits) {
    SetDecimalChar('.');
    EXPECT_EQ(YRelatively(-3, 7, 0, 542, 450)->text, "0.500000");
    const Result<YRelValue> above = YRelatively(-3, 7, 1, 100, 100);
    EXPECT_EQ(above->text, "0.400000");
    EXPECT_LT(above->value, 0.5L);
    EXPECT_EQ(YRelatively(-3, 5, 2, 542, 450)->text, "0.199000");  // 0.198889 to 3 digits
    // Faults of an empty or huge range.
    EXPECT_EQ(YRelatively(2, 2, 1, 100, 80).Message(), kDivisionByZero);
    EXPECT_EQ(YRelatively(2, 2, 0, 100, 80).Message(), kInvalidOperation);
    EXPECT_EQ(YRelatively(-1e4932L, 1e4932L, 1, 100, 80).Message(), kOverflow);
    // The texts have three significant digits.
    const std::pair<long double, const char*> texts[] = {
        {0.123456L, "0.123000"},  {-1.23456L, "-1.230000"}, {999.4L, "999.000000"},
        {999.6L, "1E3"},          {1234.5L, "1.23E3"},      {-15000, "-1.5E4"},
        {0.0000126L, "0.000013"}, {-0.0000004L, "0.000000"}};
    for (const auto& [v, text] : texts) EXPECT_EQ(YRelText(v), text);
    SetDecimalChar(',');
    EXPECT_EQ(YRelText(2500), "2,5E3");
    SetDecimalChar('.');
}

TEST(CircleThroughPoints, ACircleOrALineBelowTheAbsoluteThreshold) {
    CircleResult res;
    ASSERT_TRUE(CircleThroughPoints({6, 2}, {1, 7}, {-4, 2}, res));
    EXPECT_LT(std::fabs(res.a - 1) + std::fabs(res.b - 2) + std::fabs(res.c - 5), 1e-15L);
    // |det| = 4 * 1000 * t just below 0.001: a line through the first two, far as they are.
    ASSERT_FALSE(CircleThroughPoints({0, 0}, {1000, 0}, {2000, -0.00099L / 4000}, res));
    EXPECT_EQ(res.a, 0);
    EXPECT_EQ(res.b, 1000);
    EXPECT_EQ(res.c, 0);
    EXPECT_TRUE(CircleThroughPoints({0, 0}, {1000, 0}, {2000, -0.00101L / 4000}, res));
}

TEST(OrthogonalCircle, IsInvariantUnderTheTwoCircleMapAndOrthogonalToK1) {
    Scene scene;
    scene.k = testing::StartCircles();
    scene.taskType = TaskOfNumber(2);
    for (auto [x, y] : {std::pair{1.0L, 1.0L}, {0.3L, -0.2L}, {-4.0L, 2.5L}, {2.9L, 0.01L}}) {
        const Result<CircleResult> circle = OrthogonalCircle(scene.k, x, y);
        ASSERT_TRUE(circle);
        const CircleResult& c = circle.Value();
        long double px = x, py = y;
        for (int i = 0; i < 20; ++i) {
            TwoCircleMap(scene, px, py);
            const long double d = std::sqrt((px - c.a) * (px - c.a) + (py - c.b) * (py - c.b));
            EXPECT_NEAR(static_cast<double>(d / c.c), 1, 1e-12) << x << "," << y << " step " << i;
        }
        // Orthogonal to K1: centre distance squared = 1 + r^2.
        EXPECT_NEAR(static_cast<double>(c.a * c.a + c.b * c.b), static_cast<double>(1 + c.c * c.c),
                    1e-9 * static_cast<double>(1 + c.c * c.c));
    }
}

}  // namespace
}  // namespace vorla
