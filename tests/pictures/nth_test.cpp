// The n-th picture: the distance of the n-th iterate from the start, and the repair of
// its upper limit.
#include "pictures/nth.h"

#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::PointPtr;
using testing::PointScene;

TEST(NthLimitText, FiveDigitsFixedSixDecimalsThenGeneral) {
    EXPECT_EQ(RepairedLimitText(1.2L), "1.200000");
    EXPECT_EQ(RepairedLimitText(0.2L), "0.200000");
    EXPECT_EQ(RepairedLimitText(1.23456L), "1.234600");
    EXPECT_EQ(RepairedLimitText(12345.67L), "12346.000000");
    EXPECT_EQ(RepairedLimitText(99999.4L), "99999.000000");
    // From 100000 on, five digits no longer fill the integer part: the value's own text.
    EXPECT_EQ(RepairedLimitText(99999.97L), "99999.97");
    EXPECT_EQ(RepairedLimitText(120000.2L), "120000.2");
    SetDecimalChar(',');
    EXPECT_EQ(RepairedLimitText(1.2L), "1,200000");
    EXPECT_EQ(RepairedLimitText(120000.2L), "120000,2");
    SetDecimalChar('.');
}

TEST(NthLimitRepair, UpperNotAboveLowerIsRepairedIntoTheField) {
    const struct {
        const char *a, *b, *shown;
    } cases[] = {{"0.5", "0.5", "1.200000"}, {"0", "0", "0.200000"}, {"1", "0.3", "2.200000"},
                 {"60000", "x", "120000.2"}, {"0.01", "1", "1"},     {"-1", "-1", "-1"}};
    for (const auto& c : cases) {
        PointScene s(6, 1, 0);
        s.controls.SetText(Ctl::EditLimit1, c.a);
        s.controls.SetText(Ctl::EditLimit2, c.b);
        s.Run(KresliLimit);
        EXPECT_EQ(s.controls.Text(Ctl::EditLimit2), c.shown) << c.a << " / " << c.b;
        // Read back, the repaired text is above the lower limit: no second repair.
        long double b = TextToNumberDef(c.shown, RangeCheck::NonNegative, 1);
        EXPECT_FALSE(
            LimitRangeRepair(s.controls, TextToNumberDef(c.a, RangeCheck::NonNegative, 0), b));
    }
}

// (x, 0) with x > 0 goes to (1, 0) on the squaring task: the n-th iterate is |x - 1| away.
PointPtr Distance(long double x, const char* a, const char* b, bool complete = true,
                  bool white = true) {
    auto s = std::make_unique<PointScene>(6, x, 0);
    s->controls.SetText(Ctl::EditLimit1, a);
    s->controls.SetText(Ctl::EditLimit2, b);
    s->controls.SetText(Ctl::CheckUplnost, complete ? "1" : "0");
    s->controls.SetText(Ctl::CheckBila, white ? "1" : "0");
    s->Run(KresliLimit);
    return s;
}

TEST(Nth, BelowTheLowerLimitIsRed) {
    for (bool complete : {false, true})
        for (bool white : {false, true}) {
            auto s = Distance(1.25L, "0.5", "1", complete, white);
            EXPECT_EQ(s->Pixel(), kRed);
            EXPECT_EQ(s->Value(), 0);
        }
}

TEST(Nth, RampBetweenTheLimits) {
    auto s = Distance(1.5L, "0", "1");  // d = 0.5: half way
    EXPECT_EQ(s->palette.RampFromColor, ControlValues().LabelColour(Ctl::LabelLimitD));
    EXPECT_EQ(s->palette.RampToColor, ControlValues().LabelColour(Ctl::LabelLimitH));
    EXPECT_EQ(s->Pixel(), s->palette.MixColorsFraction(0.5f));
    EXPECT_EQ(Distance(1.5L, "0.5", "1")->Pixel(), s->palette.RampFromColor);  // d = a
    EXPECT_EQ(Distance(2, "0.5", "1")->Pixel(), s->palette.RampToColor);       // d = b
}

TEST(Nth, BandsAboveTheUpperLimit) {
    // d = 0.5 with b = 0.2: q = 2, navy.
    auto two = Distance(0.5L, "0.01", "0.2");
    EXPECT_EQ(two->Pixel(), NamedColors[2].colour);
    EXPECT_EQ(two->Pixel(), Rgb(0, 0, 128));
    // d = 53.5 b: q = 53 wraps to entry 0, black.
    auto wrap = Distance(0.5L, "0.001", "1/107");
    EXPECT_EQ(wrap->Pixel(), NamedColors[0].colour);
    // Without bands: white, or the old pixel; the value is written in every case.
    auto white = Distance(4, "0", "1", false, true);
    EXPECT_EQ(white->Pixel(), kWhite);
    EXPECT_EQ(white->Value(), 3);
    auto kept = Distance(3.75L, "0", "1", false, false);
    EXPECT_TRUE(kept->Untouched());
    EXPECT_EQ(kept->Value(), 2);  // 2.75 truncated
}

TEST(Nth, WatchedIterationIsTheNth) {
    // Doubling by R2 = 2 from (1, 0): the 3rd iterate is 8, 7 away. SpinLimit is clamped.
    auto Run = [](const char* n) {
        PointScene s(2, 1, 0);
        s.Scaling(2);
        s.controls.SetText(Ctl::SpinLimit, n);
        s.Run(KresliLimit);
        return s.Value();
    };
    EXPECT_EQ(Run("3"), 7);
    EXPECT_EQ(Run("1"), 1);
    EXPECT_EQ(Run("0"), 1);
    EXPECT_EQ(Run("5000"), Run("1000"));
}

TEST(Nth, PollsAndCanBeStopped) {
    testing::PictureFixture f(10, 48);
    f.host.onPoll = [&](int row) {
        if (row == 16) f.session.StopVypoctuClick();
    };
    f.session.grid.Fill(-7);
    f.Run(4);
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16}));
    EXPECT_NE(f.session.grid.At(3, 15), -7);
    EXPECT_EQ(f.session.grid.At(3, 16), -7);
}

TEST(Nth, RangeNoGuardAndWholePicture) {
    testing::ExpectRowRange(4, true);
    testing::ExpectRadiusGuard(4, false);
    testing::ExpectWholePicture(4, 1);
}

}  // namespace
}  // namespace vorla
