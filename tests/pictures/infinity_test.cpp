// The infinity-reach picture: the step at which the chain of inversions meets a centre.
#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::PointPtr;
using testing::PointScene;

Colour StepColour(const PointPtr& s, int k) {
    return s->controls.LabelColour(RectLabel((k - 1) % 12));
}

TEST(Infinity, OriginAndK2CentreEscapeAtOnce) {
    PointScene origin(2, 0, 0);
    origin.Run(KresliInfinity);
    EXPECT_EQ(origin.Value(), 1);
    EXPECT_EQ(origin.Pixel(), origin.controls.LabelColour(Ctl::LabelRect1));
    // (0.25, 0) is sent by K1 onto K2's centre (4, 0): the second test of step 1.
    PointScene k2(2, 0.25L, 0);
    k2.scene.k.D = 4;
    k2.Run(KresliInfinity);
    EXPECT_EQ(k2.Value(), 1);
}

// K2 around the origin with R2 = 2: every step doubles the point, and the step whose
// start lies beyond L escapes at K2 (its K1 image lies within 1/L of the origin).
PointPtr Doubling(long double L, int N = 500) {
    auto s = std::make_unique<PointScene>(2, 1, 0);
    s->Scaling(2);
    s->scene.SetInfinityBound(L);
    s->controls.SetText(Ctl::SpinInfinityTest, std::to_string(N));
    return s;
}

TEST(Infinity, StepColoursCycleThroughTwelveLabels) {
    auto at12 = Doubling(2000);  // 2^11 > 2000: the 12th step escapes
    at12->Run(KresliInfinity);
    EXPECT_EQ(at12->Value(), 12);
    EXPECT_EQ(at12->Pixel(), at12->controls.LabelColour(Ctl::LabelRect12));
    auto at13 = Doubling(3000);  // 2^12 > 3000 > 2^11
    at13->Run(KresliInfinity);
    EXPECT_EQ(at13->Value(), 13);
    EXPECT_EQ(at13->Pixel(), at13->controls.LabelColour(Ctl::LabelRect1));
}

TEST(Infinity, EscapeInTheLastAllowedStepCounts) {
    auto last = Doubling(3000, 13);
    last->Run(KresliInfinity);
    EXPECT_EQ(last->Value(), 13);
    EXPECT_EQ(last->Pixel(), StepColour(last, 13));
    auto none = Doubling(3000, 12);
    none->Run(KresliInfinity);
    EXPECT_EQ(none->Value(), -1);
    EXPECT_EQ(none->Pixel(), kWhite);
}

TEST(Infinity, SquaredDistanceEqualToTheToleranceDoesNotEscape) {
    // L = 2, e = 0.25. From (0.5, 0): d1 = 0.25 at step 1 and d2 = 0.25 at step 3 are no
    // escapes; step 4 starts at (4, 0), whose K1 image has d2 = 1/16.
    auto s = Doubling(2);
    s->view.axes.SetXRange(0.5L, 1.5L);
    s->Run(KresliInfinity);
    EXPECT_EQ(s->Value(), 4);
    s->view.axes.SetXRange(0.49L, 1.49L);
    s->Run(KresliInfinity);
    EXPECT_EQ(s->Value(), 1);
}

TEST(Infinity, OnlyTheTasksCirclesTakePart) {
    // After K1 and K2, (1, 0) is at (2, 0). K3 and K4 are placed so that they keep (2, 0)
    // in place; the next circle of the chain then has its centre there.
    auto Run = [](int task, int centred) {
        PointScene s(task, 1, 0);
        s.Scaling(2);
        CircleSet& k = s.scene.k;
        k.M = 10, k.N = 0, k.S2 = 64;    // (2, 0) lies on K3
        k.U = -10, k.V = 0, k.W2 = 144;  // and on K4
        k.A = 30, k.B = 30, k.C2 = 1;
        if (centred == 3) k.M = 2, k.N = 0;
        if (centred == 4) k.U = 2, k.V = 0;
        if (centred == 5) k.A = 2, k.B = 0;
        s.Run(KresliInfinity);
        return s.Value();
    };
    EXPECT_NE(Run(2, 3), 1);
    EXPECT_EQ(Run(3, 3), 1);
    EXPECT_NE(Run(3, 4), 1);
    EXPECT_EQ(Run(4, 4), 1);
    EXPECT_NE(Run(4, 5), 1);
    EXPECT_EQ(Run(5, 5), 1);
    EXPECT_EQ(Run(6, 5), 1);  // the squaring task runs the whole chain too
    EXPECT_EQ(Run(2, 0), 11);
}

TEST(Infinity, RangeNoGuardAndWholePicture) {
    testing::ExpectRowRange(15, true);
    testing::ExpectRadiusGuard(15, false);
    testing::ExpectWholePicture(15, 8, {{Ctl::EditNekonecno, "10"}});
}

}  // namespace
}  // namespace vorla
