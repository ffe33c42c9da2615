// The periodicity picture: the first return of the orbit to its own start.
#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::CyclePoint;
using testing::PointScene;

TEST(Periodicity, FixedPointIsPeriodOneInEntryZero) {
    PointScene s(6, 1, 0);
    s.Run(KresliPeriody);
    EXPECT_EQ(s.Value(), 1);
    EXPECT_EQ(s.Pixel(), s.palette.PeriodColors[0]);
}

TEST(Periodicity, PeriodsTakeEntriesModuloFifteen) {
    // 2*pi/3 goes to 4*pi/3 and back: period 2, entry 1.
    long double x, y;
    CyclePoint(1, 2, x, y);
    PointScene two(6, x, y);
    two.Run(KresliPeriody);
    EXPECT_EQ(two.Value(), 2);
    EXPECT_EQ(two.Pixel(), two.palette.PeriodColors[1]);
    // A 16-cycle whose points stay apart: period 16 takes entry 0, like a fixed point.
    CyclePoint(2895, 16, x, y);
    PointScene sixteen(6, x, y);
    sixteen.Run(KresliPeriody);
    EXPECT_EQ(sixteen.Value(), 16);
    EXPECT_EQ(sixteen.Pixel(), sixteen.palette.PeriodColors[0]);
    // Period 15 is the last with an entry of its own.
    CyclePoint(2895, 15, x, y);
    PointScene fifteen(6, x, y);
    fifteen.Run(KresliPeriody);
    EXPECT_EQ(fifteen.Value(), 15);
    EXPECT_EQ(fifteen.Pixel(), fifteen.palette.PeriodColors[14]);
}

TEST(Periodicity, NoReturnWithinNIsEntryFifteen) {
    long double x, y;
    CyclePoint(1, 2, x, y);
    PointScene s(6, x, y);
    s.controls.SetText(Ctl::SpinPeriodIter, "1");
    s.Run(KresliPeriody);
    EXPECT_EQ(s.Value(), -1);
    EXPECT_EQ(s.Pixel(), s.palette.PeriodColors[15]);
    // An orbit that falls into a cycle elsewhere is not periodic here.
    PointScene off(6, x / 2, y / 2);
    off.Run(KresliPeriody);
    EXPECT_EQ(off.Value(), -1);
}

TEST(Periodicity, DifferenceEqualToTheToleranceIsNoMatch) {
    // (0.5, 0) goes to (1, 0) and stays: the X difference is exactly 0.5 at every step.
    PointScene s(6, 0.5L, 0);
    s.controls.SetText(Ctl::EditTotoznost, "0.5");
    s.Run(KresliPeriody);
    EXPECT_EQ(s.Value(), -1);
    s.controls.SetText(Ctl::EditTotoznost, "0.50001");
    s.Run(KresliPeriody);
    EXPECT_EQ(s.Value(), 1);
}

TEST(Periodicity, BadToleranceTextsGiveOneHundredth) {
    // (0.995, 0) goes to (1, 0): a difference of 0.005.
    PointScene s(6, 0.995L, 0);
    for (const char* text : {"0", "abc"}) {
        s.controls.SetText(Ctl::EditTotoznost, text);
        s.Run(KresliPeriody);
        EXPECT_EQ(s.Value(), 1) << '"' << text << '"';
    }
    s.controls.SetText(Ctl::EditTotoznost, "1/1000");
    s.Run(KresliPeriody);
    EXPECT_EQ(s.Value(), -1);
}

TEST(Periodicity, RangeGuardAndWholePicture) {
    testing::ExpectRowRange(2, false);
    testing::ExpectRadiusGuard(2, true);
    testing::ExpectWholePicture(2, 10);
}

}  // namespace
}  // namespace vorla
