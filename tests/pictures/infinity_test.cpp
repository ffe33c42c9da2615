#include "support/point_cases.h"

namespace vorla::testing {
namespace {

// The infinity-reach picture on one point: the step at which the orbit reaches a centre that
// the next inversion sends to infinity.
void K2At4(Scene& s) {
    s.k.D = 4;
}

TEST(Infinity, TheStepThatReachesACentreInItsStepColour) {
    // Doubling from (1, 0): the step whose start lies beyond L escapes at K2, its K1 image
    // lying within 1/L of the origin. The step colours are those of the rectangle labels.
    Check(PictureTag::Infinity,
          {{"the origin at once", 2, {0, 0}, "", 1, Is<Rgb(0, 255, 255)>},
           {"sent by K1 onto K2's centre", 2, {0.25L, 0}, "", 1, nullptr, K2At4},
           {"step 12", 2, {1, 0}, "", 12, Is<kBlack>, Scaled<2, 2000>},
           {"step 13 takes label 1", 2, {1, 0}, "", 13, Is<Rgb(0, 255, 255)>, Scaled<2, 3000>},
           {"in the last step", 2, {1, 0}, "SpinInfinityTest=13", 13, nullptr, Scaled<2, 3000>},
           {"a step short", 2, {1, 0}, "SpinInfinityTest=12", -1, Is<kWhite>, Scaled<2, 3000>},
           // L = 2: squared distances of 1/4 at steps 1 and 3 are no escape.
           {"equal to the tolerance", 2, {0.5L, 0}, "", 4, nullptr, Scaled<2, 2>},
           {"below the tolerance", 2, {0.49L, 0}, "", 1, nullptr, Scaled<2, 2>}});
}

// After K1 and K2, (1, 0) is at (2, 0), which K3 and K4 keep; the next circle of the chain
// centred there makes it escape at once, but only when the task includes it.
TEST(Infinity, ACentreCountsOnlyWhenTheTaskHasItsCircle) {
    const struct {
        int task, centred;
        bool atOnce;
    } chain[] = {{2, 3, false}, {3, 3, true}, {3, 4, false}, {4, 4, true},
                 {4, 5, false}, {5, 5, true}, {6, 5, true}};
    for (const auto& c : chain) {
        PointScene s(c.task, 1, 0);
        Scaled<2>(s.scene);
        CircleSet& k = s.scene.k;
        k.M = 10, k.N = 0, k.S2 = 64;    // (2, 0) lies on K3
        k.U = -10, k.V = 0, k.W2 = 144;  // and on K4
        k.A = 30, k.B = 30, k.C2 = 1;
        if (c.centred == 3) k.M = 2;
        if (c.centred == 4) k.U = 2;
        if (c.centred == 5) k.A = 2, k.B = 0;
        s.Run(PictureTag::Infinity);
        EXPECT_EQ(s.Value() == 1, c.atOnce) << "task " << c.task << " K" << c.centred;
    }
}

}  // namespace
}  // namespace vorla::testing
