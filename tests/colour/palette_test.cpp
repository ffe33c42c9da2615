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

TEST(Colours, RampsLyapunovScaleAndShadesOnWorkedValues) {
    const Palette b = Ramp(Rgb(255, 255, 0), Rgb(160, 0, 0)), p = Ramp(kBlack, Rgb(200, 100, 4));
    const Palette lyap;  // the default labels: navy, white, red
    const struct {
        const char* what;
        Colour is, mustBe;
    } colours[] = {
        {"byte 255: to", b.MixColorsByte(255), b.RampToColor},
        {"byte 256: from", b.MixColorsByte(256), b.RampFromColor},
        // Black to white at 128: 128*255/255 exactly; (0*127 + 1*128)/255 = 0.50196 rounds to 1.
        {"byte 128, grey", Ramp(kBlack, kWhite).MixColorsByte(128), Rgb(128, 128, 128)},
        {"byte 128, rounded", Ramp(kBlack, Rgb(1, 3, 255)).MixColorsByte(128), Rgb(1, 2, 128)},
        {"fraction 1: to", p.MixColorsFraction(1.0f), p.RampToColor},
        {"fraction 2: from", p.MixColorsFraction(2.0f), p.RampFromColor},
        {"fraction 1.25", p.MixColorsFraction(1.25f), Rgb(50, 25, 1)},
        {"fraction 0.625, to even", p.MixColorsFraction(0.625f), Rgb(125, 62, 2)},
        // Beyond the scale's ends (its colours at -1, 0 and 1 are the renderer test's).
        {"scale below -1", lyap.LyapunovScaleColor(-1e30f), Rgb(0, 0, 128)},
        {"scale above 1", lyap.LyapunovScaleColor(50), kRed},
        {"lighter black", LightenColor(kBlack), Rgb(128, 128, 128)},
        {"darker, rounded", DarkenColor(Rgb(3, 4, 0)), Rgb(2, 2, 0)}};
    for (const auto& c : colours) EXPECT_EQ(c.is, c.mustBe) << c.what;
}

TEST(Colours, NamesAreWrittenByTheFirstName) {
    const std::pair<Colour, const char*> names[] = {
        {Rgb(255, 0, 255), "Fuchsia"}, {Rgb(0, 0, 128), "Navy"}, {Rgb(0, 255, 255), "Aqua"},
        {Rgb(128, 128, 128), "Gray"},  {Rgb(1, 2, 3), "1-2-3"},  {Rgb(35, 35, 142), "FireBrick"}};
    for (const auto& [c, name] : names) EXPECT_EQ(ColorText(c), name);
}

TEST(Colours, NamesHexAndTriplesAreReadAndNothingElse) {
    EXPECT_EQ(ParseColourText("navy").ValueOr(0), Rgb(0, 0, 128));
    EXPECT_EQ(ParseColourText("#FF8000").ValueOr(0), Rgb(255, 128, 0));
    EXPECT_EQ(ParseColourText("1,2,3").ValueOr(0), Rgb(1, 2, 3));
    for (const char* bad : {"256,0,0", "#12345G", "mauve", "#-12345", "# 12345", " 1,2,3", "1,+2,3",
                            "1,,3", "1,2,3,"})
        EXPECT_FALSE(ParseColourText(bad).Message().empty()) << bad;
}

}  // namespace
}  // namespace vorla
