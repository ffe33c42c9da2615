#include "pictures/lyapunov.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::ExpectSameForThreadCounts;
using testing::PictureFixture;

// One plane unit per pixel, pixel (0, 0) at the plane point (x, y).
void At(PictureFixture& f, long double x, long double y, int task) {
    f.session.ComboTypUlohyChange(task - 2);
    f.controls.SetText(Ctl::edtXod, GeneralText(x));
    f.controls.SetText(Ctl::edtXdo, GeneralText(x + 16));
    f.controls.SetText(Ctl::edtYzero, GeneralText(1 - y / 16));
}

constexpr int kSmallTermValue = -9210;  // 1000 * ln(0.0001), one degenerate step per step

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
}

TEST(LyapunovScale, RedrawnWhenAScaleLabelChanges) {
    PictureFixture f(8, 8, 0);
    f.session.LabelyBarev(Ctl::LabelLyapZero, Rgb(0, 255, 0));
    EXPECT_EQ(f.session.palette.LyapZeroColor, Rgb(0, 255, 0));
    EXPECT_EQ(f.session.scaleImage.Pixel(3, 120), Rgb(0, 255, 0));
    f.session.LabelyBarev(Ctl::LabelLyapNegat, kBlack);
    EXPECT_EQ(f.session.scaleImage.Pixel(0, 0), f.session.palette.LyapunovScaleColor(-1.0f));
    EXPECT_EQ(f.session.scaleImage.Pixel(0, 0), Rgb(0, 61, 0));
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

TEST(Lyapunov, OneStepUsesTheStartAndItsFirstTwoImages) {
    // On the unit circle (0.6, 0.8) -> (-0.28, 0.96) -> (-0.8432, -0.5376); the three
    // terms of these points are ln 1.5505 (X), ln 6.2033 (Y) and ln 0.30857 (sum).
    const struct {
        int tag, value;
        float L;
    } cases[] = {{18, 439, 0.438541f}, {19, 1825, 1.825014f}, {20, -1176, -1.175811f}};
    for (const auto& k : cases) {
        PictureFixture f(16, 16, 0);
        At(f, 0.6L, 0.8L, 6);
        f.controls.SetText(Ctl::SpinLyapIter, "1");
        f.Run(k.tag);
        EXPECT_EQ(f.session.grid.At(0, 0), k.value) << k.tag;
        EXPECT_EQ(f.session.tabula.Pixel(0, 0), f.session.palette.LyapunovScaleColor(k.L));
        // A spin edit below its range counts as its minimum.
        f.controls.SetText(Ctl::SpinLyapIter, "0");
        f.Run(k.tag);
        EXPECT_EQ(f.session.grid.At(0, 0), k.value) << k.tag;
        f.controls.SetText(Ctl::SpinLyapIter, "2");
        f.Run(k.tag);
        EXPECT_NE(f.session.grid.At(0, 0), k.value) << k.tag;
    }
}

TEST(LyapunovX, OrbitOnALineTakesTheSmallTermNotMinusInfinity) {
    // The X axis is invariant under the two-circle map: Y stays 0, the numerator is 0.
    PictureFixture f(16, 16, 0);
    At(f, 0.5L, 0, 2);
    f.Run(18);
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(f.session.grid.At(c, 0), kSmallTermValue) << c;
        EXPECT_EQ(f.session.tabula.Pixel(c, 0), f.session.palette.LyapNegColor) << c;
    }
}

TEST(LyapunovXY, OrbitAtRestEndsTheLoopButDividesByTheFullN) {
    // Squaring on the unit circle: -1 -> 1 -> 1 and 0 -> 1 -> 1; 1 itself is fixed.
    PictureFixture f(16, 16, 0);
    At(f, -1, 0, 6);
    f.Run(20);
    // One term, where the point of the ratio falls on the third point (ratio 0/0), then rest.
    EXPECT_EQ(f.session.grid.At(0, 0), -46);  // ln(0.0001) / 200
    EXPECT_EQ(f.session.grid.At(1, 0), -46);
    EXPECT_EQ(f.session.grid.At(2, 0), 0);  // at rest from the start: no term at all
    EXPECT_EQ(f.session.tabula.Pixel(2, 0), f.session.palette.LyapZeroColor);
    f.controls.SetText(Ctl::SpinLyapIter, "1");
    f.Run(20);
    EXPECT_EQ(f.session.grid.At(0, 0), kSmallTermValue);
    EXPECT_EQ(f.session.grid.At(2, 0), 0);
}

TEST(LyapunovD, CompanionOnTheOrbitPointAddsTheSmallTermEveryStep) {
    // With the bound 50 both the origin and its companion at 0.01 lie at K1's centre, so
    // both go to K2's centre and stay together, whatever the angle.
    PictureFixture f(16, 16, 0);
    At(f, 0, 0, 2);
    f.controls.SetText(Ctl::EditNekonecno, "50");
    f.Run(21);
    EXPECT_EQ(f.session.grid.At(0, 0), kSmallTermValue);
}

TEST(LyapunovD, SeedDecidesThePictureNotTheThreads) {
    ExpectSameForThreadCounts(21, 3, {2, 3});
    PictureFixture a(48, 40, 3), b(48, 40, 3);
    b.session.seed = 999;
    a.Run(21);
    b.Run(21);
    EXPECT_NE(a.session.grid.Cells(), b.session.grid.Cells());
}

TEST(Lyapunov, WalksRowsAndColumnsOneBeyondTheTabula) {
    constexpr int kSentinel = 777777;
    for (int tag : {18, 19, 20, 21}) {
        PictureFixture f(48, 48, 3);
        f.controls.SetText(Ctl::SpinLyapIter, "3");
        f.session.grid.Fill(kSentinel);
        f.Run(tag);
        EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 32, 48})) << tag;
        const auto& cells = f.session.grid.Cells();
        const std::size_t written = 48 * 48 + 48 + 1;  // up to the cell of (W, H)
        for (std::size_t i = 0; i < cells.size(); ++i)
            EXPECT_EQ(cells[i] == kSentinel, i >= written) << tag << " cell " << i;
    }
}

TEST(Lyapunov, WholePicturesAgreeForAnyThreadCount) {
    for (int tag : {18, 19, 20}) ExpectSameForThreadCounts(tag, 3, {2, 3, 4});
    ExpectSameForThreadCounts(20, 13, {3});
}

}  // namespace
}  // namespace vorla
