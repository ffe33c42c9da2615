// The Lyapunov pictures' colour scale, the colour and value of an exponent, and the seed
// of the companion points.
#include "pictures/lyapunov.h"

#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(LyapunovScale, RowsRunFromMinusOneThroughZeroToPlusOne) {
    PictureFixture f(8, 8, 0);  // the window's activation draws the scale
    const Tabula& s = f.session.scaleImage;
    ASSERT_EQ(s.Width(), 25);
    ASSERT_EQ(s.Height(), 241);
    const Palette& p = f.session.palette;
    for (int x : {0, 12, 24}) {
        EXPECT_EQ(s.Pixel(x, 0), p.LyapunovScaleColor(-1.0f));
        EXPECT_EQ(s.Pixel(x, 120), kWhite);
        EXPECT_EQ(s.Pixel(x, 240), p.LyapunovScaleColor(1.0f));
    }
    // t = -194 and +194 with the default label colours.
    EXPECT_EQ(s.Pixel(0, 0), Rgb(61, 61, 158));
    EXPECT_EQ(s.Pixel(0, 240), Rgb(255, 61, 61));
    EXPECT_NE(s.Pixel(0, 60), s.Pixel(0, 0));
    // A scale label's new colour redraws it.
    f.session.LabelyBarev(Ctl::LabelLyapZero, Rgb(0, 255, 0));
    EXPECT_EQ(s.Pixel(3, 120), Rgb(0, 255, 0));
    f.session.LabelyBarev(Ctl::LabelLyapNegat, kBlack);
    EXPECT_EQ(s.Pixel(0, 0), Rgb(0, 61, 0));
}

TEST(LyapunovPixel, ThousandthsRoundToEvenAndZeroIsTheZeroColour) {
    Palette p;
    EXPECT_EQ(LyapunovPixel(p, 0.0625L).value, 62);
    EXPECT_EQ(LyapunovPixel(p, 0.1875L).value, 188);
    EXPECT_EQ(LyapunovPixel(p, -0.0625L).value, -62);
    EXPECT_EQ(LyapunovPixel(p, 0).value, 0);
    EXPECT_EQ(LyapunovPixel(p, 0).colour, p.LyapZeroColor);
    EXPECT_EQ(LyapunovPixel(p, -20).colour, p.LyapNegColor);
    EXPECT_EQ(LyapunovPixel(p, 20).colour, p.LyapPosColor);
}

TEST(LyapunovD, TheSeedDecidesThePicture) {
    PictureFixture a(48, 40, 3), b(48, 40, 3);
    b.session.seed = 999;
    a.Run(21);
    b.Run(21);
    EXPECT_NE(a.session.grid.Cells(), b.session.grid.Cells());
}

}  // namespace
}  // namespace vorla
