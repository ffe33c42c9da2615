// The preperiodicity picture: the length of the cycle that the orbit falls into.
#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::CyclePoint;
using testing::PointScene;

TEST(Preperiodicity, FixedStartIsOneAtOnce) {
    PointScene s(6, 1, 0);
    s.controls.SetText(Ctl::SpinPeriodIter, "1");
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), 1);
    EXPECT_EQ(s.Pixel(), s.palette.PeriodColors[0]);
}

TEST(Preperiodicity, CycleReachedFromOutside) {
    // Half way to the 2-cycle {2pi/3, 4pi/3}: the first image is already on it, and the
    // third repeats the first.
    long double x, y;
    CyclePoint(1, 2, x, y);
    PointScene s(6, x / 2, y / 2);
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), 2);
    EXPECT_EQ(s.Pixel(), s.palette.PeriodColors[1]);
    // Needing three steps, two are not enough: no value, the pixel is left as it was.
    s.tabula.Fill(Rgb(1, 2, 3));
    s.controls.SetText(Ctl::SpinPeriodIter, "2");
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), -1);
    EXPECT_TRUE(s.Untouched());
}

TEST(Preperiodicity, WindowHoldsSixteenPoints) {
    long double x, y;
    CyclePoint(2895, 16, x, y);
    PointScene sixteen(6, x, y);
    sixteen.controls.SetText(Ctl::SpinPeriodIter, "40");
    sixteen.Run(KresliPrePeriody);
    EXPECT_EQ(sixteen.Value(), 16);
    EXPECT_EQ(sixteen.Pixel(), sixteen.palette.PeriodColors[15]);
    // A 17-cycle never meets a point of the window (its points stay apart).
    CyclePoint(5079, 17, x, y);
    PointScene seventeen(6, x, y);
    seventeen.controls.SetText(Ctl::SpinPeriodIter, "40");
    seventeen.Run(KresliPrePeriody);
    EXPECT_EQ(seventeen.Value(), -1);
    EXPECT_TRUE(seventeen.Untouched());
}

TEST(Preperiodicity, OldestMatchingEntryWins) {
    // The angles 144, 288, 216 degrees: with the tolerance 1.2 the first image is no match
    // for the start (Y differs by 1.54), while the second is within reach of both the start
    // and the first image. The start is compared first: q = 2, not 1.
    PointScene s(6, std::cos(0.8L * testing::kPi), std::sin(0.8L * testing::kPi));
    s.controls.SetText(Ctl::EditTotoznost, "1.2");
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), 2);
    EXPECT_EQ(s.Pixel(), s.palette.PeriodColors[1]);
}

TEST(Preperiodicity, DifferenceEqualToTheToleranceIsNoMatch) {
    PointScene s(6, 0.5L, 0);  // goes to (1, 0): X differs by exactly 0.5
    s.controls.SetText(Ctl::SpinPeriodIter, "1");
    s.controls.SetText(Ctl::EditTotoznost, "0.5");
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), -1);
    s.controls.SetText(Ctl::EditTotoznost, "0.50001");
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), 1);
}

TEST(Preperiodicity, RangeNoGuardAndWholePicture) {
    testing::ExpectRowRange(3, false);
    // The radius of K2 does not matter to the squaring task.
    PointScene s(6, 1, 0);
    s.scene.k.R = 0;
    s.scene.k.R2 = 0;
    s.Run(KresliPrePeriody);
    EXPECT_EQ(s.Value(), 1);
    testing::ExpectWholePicture(3, 7);
}

}  // namespace
}  // namespace vorla
