#include "colour/palette.h"

#include <gtest/gtest.h>

namespace vorla {
namespace {

Palette Ramp(Colour from, Colour to) {
    Palette p;
    p.RampFromColor = from;
    p.RampToColor = to;
    return p;
}

TEST(Colours, MixColorsByteAndFraction) {
    const Palette b = Ramp(Rgb(255, 255, 0), Rgb(160, 0, 0));
    EXPECT_EQ(b.MixColorsByte(0), b.RampFromColor);
    EXPECT_EQ(b.MixColorsByte(255), b.RampToColor);
    EXPECT_EQ(b.MixColorsByte(256), b.RampFromColor);
    // Black to white at 128: 128*255/255 exactly; (0*127 + 1*128)/255 = 0.50196 rounds to 1.
    EXPECT_EQ(Ramp(kBlack, kWhite).MixColorsByte(128), Rgb(128, 128, 128));
    EXPECT_EQ(RedOf(Ramp(kBlack, Rgb(1, 3, 255)).MixColorsByte(128)), 1);
    const Palette p = Ramp(kBlack, Rgb(200, 100, 4));
    EXPECT_EQ(p.MixColorsFraction(1.0f), p.RampToColor);
    EXPECT_EQ(p.MixColorsFraction(0.0f), p.RampFromColor);
    EXPECT_EQ(p.MixColorsFraction(2.0f), p.RampFromColor);
    EXPECT_EQ(p.MixColorsFraction(1.25f), Rgb(50, 25, 1));
    EXPECT_EQ(p.MixColorsFraction(0.625f), Rgb(125, 62, 2));  // 62.5 goes to the even 62
}

TEST(Colours, LyapunovScale) {
    Palette p;  // the default labels: navy, white, red
    EXPECT_EQ(p.LyapunovScaleColor(0), kWhite);
    EXPECT_EQ(p.LyapunovScaleColor(-1e30f), Rgb(0, 0, 128));
    EXPECT_EQ(p.LyapunovScaleColor(50), kRed);
    // L = 1: t = 194; green = 255*(255-194)/255 = 61.
    EXPECT_EQ(p.LyapunovScaleColor(1), Rgb(255, 61, 61));
    // L = -1: t = -194; red = (255*61 + 0)/255 = 61, blue = (255*61 + 128*194)/255 = 158.39.
    EXPECT_EQ(p.LyapunovScaleColor(-1), Rgb(61, 61, 158));
}

TEST(Colours, LightenDarken) {
    EXPECT_EQ(LightenColor(kBlack), Rgb(128, 128, 128));
    EXPECT_EQ(LightenColor(kWhite), kWhite);
    EXPECT_EQ(DarkenColor(kWhite), Rgb(170, 170, 170));
    EXPECT_EQ(DarkenColor(Rgb(3, 4, 0)), Rgb(2, 2, 0));
}

TEST(Colours, ColorTextTakesTheFirstName) {
    EXPECT_EQ(ColorText(Rgb(255, 0, 255)), "Fuchsia");
    EXPECT_EQ(ColorText(Rgb(0, 0, 128)), "Navy");
    EXPECT_EQ(ColorText(Rgb(0, 255, 255)), "Aqua");
    EXPECT_EQ(ColorText(Rgb(128, 128, 128)), "Gray");
    EXPECT_EQ(ColorText(Rgb(1, 2, 3)), "1-2-3");
    EXPECT_EQ(ColorText(Rgb(35, 35, 142)), "FireBrick");
    EXPECT_EQ(NamedColors.size(), 54u);
}

TEST(Colours, ParseColourText) {
    EXPECT_EQ(ParseColourText("navy").ValueOr(0), Rgb(0, 0, 128));
    EXPECT_EQ(ParseColourText("#FF8000").ValueOr(0), Rgb(255, 128, 0));
    EXPECT_EQ(ParseColourText("1,2,3").ValueOr(0), Rgb(1, 2, 3));
    for (const char* bad : {"256,0,0", "#12345G", "mauve", "#-12345", "# 12345", " 1,2,3", "1,+2,3",
                            "1,,3", "1,2,3,"})
        EXPECT_FALSE(ParseColourText(bad).Message().empty()) << bad;
}

}  // namespace
}  // namespace vorla
