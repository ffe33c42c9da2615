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

TEST(Colours, RampsLyapunovScaleAndShades) {
    const Palette b = Ramp(Rgb(255, 255, 0), Rgb(160, 0, 0)), p = Ramp(kBlack, Rgb(200, 100, 4));
    const Palette lyap;  // the default labels: navy, white, red
    // Each colour computed beside the one it must be, bit for bit.
    const std::pair<Colour, Colour> colours[] = {
        {b.MixColorsByte(0), b.RampFromColor},
        {b.MixColorsByte(255), b.RampToColor},
        {b.MixColorsByte(256), b.RampFromColor},
        // Black to white at 128: 128*255/255 exactly; (0*127 + 1*128)/255 = 0.50196 rounds to 1.
        {Ramp(kBlack, kWhite).MixColorsByte(128), Rgb(128, 128, 128)},
        {Ramp(kBlack, Rgb(1, 3, 255)).MixColorsByte(128), Rgb(1, 2, 128)},
        {p.MixColorsFraction(1.0f), p.RampToColor},
        {p.MixColorsFraction(0.0f), p.RampFromColor},
        {p.MixColorsFraction(2.0f), p.RampFromColor},
        {p.MixColorsFraction(1.25f), Rgb(50, 25, 1)},
        {p.MixColorsFraction(0.625f), Rgb(125, 62, 2)},  // 62.5 goes to the even 62
        // Beyond the scale's ends (its colours at -1, 0 and 1 are the renderer test's).
        {lyap.LyapunovScaleColor(-1e30f), Rgb(0, 0, 128)},
        {lyap.LyapunovScaleColor(50), kRed},
        {LightenColor(kBlack), Rgb(128, 128, 128)},
        {LightenColor(kWhite), kWhite},
        {DarkenColor(kWhite), Rgb(170, 170, 170)},
        {DarkenColor(Rgb(3, 4, 0)), Rgb(2, 2, 0)}};
    for (std::size_t i = 0; i < std::size(colours); ++i)
        EXPECT_EQ(colours[i].first, colours[i].second) << "row " << i;
}

TEST(Colours, NamesAreWrittenByTheFirstNameAndRead) {
    const std::pair<Colour, const char*> names[] = {
        {Rgb(255, 0, 255), "Fuchsia"}, {Rgb(0, 0, 128), "Navy"}, {Rgb(0, 255, 255), "Aqua"},
        {Rgb(128, 128, 128), "Gray"},  {Rgb(1, 2, 3), "1-2-3"},  {Rgb(35, 35, 142), "FireBrick"}};
    for (const auto& [c, name] : names) EXPECT_EQ(ColorText(c), name);
    EXPECT_EQ(ParseColourText("navy").ValueOr(0), Rgb(0, 0, 128));
    EXPECT_EQ(ParseColourText("#FF8000").ValueOr(0), Rgb(255, 128, 0));
    EXPECT_EQ(ParseColourText("1,2,3").ValueOr(0), Rgb(1, 2, 3));
    for (const char* bad : {"256,0,0", "#12345G", "mauve", "#-12345", "# 12345", " 1,2,3", "1,+2,3",
                            "1,,3", "1,2,3,"})
        EXPECT_FALSE(ParseColourText(bad).Message().empty()) << bad;
}

}  // namespace
}  // namespace vorla
