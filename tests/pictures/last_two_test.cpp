// The last-two picture: the length of the orbit's last step on a two-colour ramp.
#include <gtest/gtest.h>

#include "support/point_scene.h"

namespace vorla {
namespace {

using testing::PointPtr;
using testing::PointScene;

// (x, 0) with x > 0 goes to (1, 0) on the squaring task and stays: one step of x - 1.
PointPtr Step(long double x, const char* n = "1", const char* v = "2") {
    auto s = std::make_unique<PointScene>(6, x, 0);
    s->controls.SetText(Ctl::SpinCalcIter, n);
    s->controls.SetText(Ctl::EditMaxIterValue, v);
    s->Run(KresliIterace);
    return s;
}

TEST(LastTwo, RampEndsAndWhiteAboveV) {
    const Colour from = ControlValues().LabelColour(Ctl::LabelItersFrom);
    const Colour to = ControlValues().LabelColour(Ctl::LabelItersTo);
    auto fixed = Step(1);
    EXPECT_EQ(fixed->Value(), 0);
    EXPECT_EQ(fixed->Pixel(), from);
    EXPECT_EQ(fixed->palette.RampFromColor, from);  // the ramp stays set after the picture
    EXPECT_EQ(fixed->palette.RampToColor, to);
    auto atV = Step(0.5L, "1", "0.5");
    EXPECT_EQ(atV->Value(), 500);
    EXPECT_EQ(atV->Pixel(), to);
    auto above = Step(0.5L, "1", "0.4999");
    EXPECT_EQ(above->Value(), 500);
    EXPECT_EQ(above->Pixel(), kWhite);
}

TEST(LastTwo, HalfWayRoundsToTheEvenByte) {
    // d = 1 with v = 2: 127.5 becomes 128.
    auto s = Step(2);
    EXPECT_EQ(s->Value(), 1000);
    EXPECT_EQ(s->Pixel(), s->palette.MixColorsByte(128));
    EXPECT_NE(s->Pixel(), s->palette.MixColorsByte(127));
    EXPECT_EQ(Step(2, "1", "0")->Pixel(), s->Pixel()) << "a non-positive v is 2";
}

TEST(LastTwo, TheNthAndTheNMinusFirstIterate) {
    // n = 2: (1, 0) and (1, 0), no step left.
    auto s = Step(2, "2");
    EXPECT_EQ(s->Value(), 0);
    // Doubling by R2 = 2 from (1, 0): the third step goes from 4 to 8.
    PointScene d(2, 1, 0);
    d.Scaling(2);
    d.controls.SetText(Ctl::SpinCalcIter, "3");
    d.controls.SetText(Ctl::EditMaxIterValue, "8");
    d.Run(KresliIterace);
    EXPECT_EQ(d.Value(), 4000);
    EXPECT_EQ(d.Pixel(), d.palette.MixColorsByte(128));
}

TEST(LastTwo, ThousandthsRoundHalfToEven) {
    // Doubling from x: the step is x; 62.5 and 187.5 thousandths.
    for (const auto& [x, value] : {std::pair{0.0625L, 62}, std::pair{0.1875L, 188}}) {
        PointScene s(2, x, 0);
        s.Scaling(2);
        s.controls.SetText(Ctl::SpinCalcIter, "1");
        s.Run(KresliIterace);
        EXPECT_EQ(s.Value(), value) << x;
    }
}

TEST(LastTwo, RangeNoGuardAndWholePicture) {
    testing::ExpectRowRange(17, true);
    testing::ExpectRadiusGuard(17, false);
    testing::ExpectWholePicture(17, 3);
}

}  // namespace
}  // namespace vorla
