// The colour and value of a Lyapunov exponent, and the seed of the companion points.
#include "pictures/lyapunov.h"

#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

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
