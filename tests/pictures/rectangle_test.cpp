#include "pictures/rectangle.h"

#include <gtest/gtest.h>

#include <set>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::ExpectSameForThreadCounts;
using testing::PictureFixture;

void SetRect(PictureFixture& f, const char* x1, const char* x2, const char* y1, const char* y2) {
    f.controls.SetText(Ctl::EditX1, x1);
    f.controls.SetText(Ctl::EditX2, x2);
    f.controls.SetText(Ctl::EditY1, y1);
    f.controls.SetText(Ctl::EditY2, y2);
}

Colour RectColour(const PictureFixture& f, int k) {
    return f.controls.LabelColour(RectLabel(k - 1));
}

TEST(RectangleSamples, StepAndCountOfThePoints) {
    const RectangleSamples d = RectangleSamplePoints(1.5L, 3.5L, 1.5L, 3.5L, 64);
    EXPECT_EQ(d.h, 1.0L / 32);
    EXPECT_EQ(d.xs.size(), 65u);
    EXPECT_EQ(d.ys.size(), 65u);
    EXPECT_EQ(d.xs.back(), 3.5L);
    const RectangleSamples w = RectangleSamplePoints(0, 2, 0, 1, 8);
    EXPECT_EQ(w.h, 0.25L);
    EXPECT_EQ(w.xs.size(), 9u);
    EXPECT_EQ(w.ys.size(), 5u);
    const RectangleSamples t = RectangleSamplePoints(0, 1, 0, 2, 8);  // taller than wide
    EXPECT_EQ(t.h, 0.25L);
    EXPECT_EQ(t.xs.size(), 5u);
    EXPECT_EQ(t.ys.size(), 9u);
}

TEST(RectangleSamples, AStepTooSmallToAddEndsTheWalk) {
    // Near 1e6 a step of 2e-16 does not change the sum: the walk must still end.
    const RectangleSamples s = RectangleSamplePoints(0, 2e-12L, 1e6L, 1e6L + 1e-12L, 10000);
    EXPECT_EQ(s.ys.size(), 1u);
    EXPECT_GE(s.xs.size(), 10000u);
    EXPECT_LE(s.xs.size(), 10002u);
}

TEST(Rectangle, PollsOncePerIterationWithKClamped) {
    PictureFixture f(48, 40, 3);
    f.Run(7);
    EXPECT_EQ(f.host.polls, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    f.controls.SetText(Ctl::SpinNumRect, "20");
    f.Run(7);
    EXPECT_EQ(f.host.polls.size(), 12u);
    EXPECT_EQ(f.host.polls.back(), 12);
    f.controls.SetText(Ctl::SpinNumRect, "0");
    f.controls.SetText(Ctl::SpinRectDensity, "0");
    f.Run(7);
    EXPECT_EQ(f.host.polls, (std::vector<int>{1}));
}

TEST(Rectangle, EmptyRectangleOnlyResetsTheGrid) {
    PictureFixture f(48, 40, 3);
    SetRect(f, "1.5", "1.5", "1.5", "3.5");
    f.session.grid.Fill(5);
    const auto before = f.Pixels();
    f.Run(7);
    for (auto v : f.session.grid.Cells()) ASSERT_EQ(v, -1);
    EXPECT_EQ(f.Pixels(), before);
    EXPECT_TRUE(f.host.polls.empty());
    SetRect(f, "1.5", "3.5", "2", "1");  // inverted
    f.Run(7);
    EXPECT_EQ(f.Pixels(), before);
}

TEST(Rectangle, GridAndTabulaAgreeAndOnlyTabulaPixelsAreMarked) {
    PictureFixture f(120, 100, 3);
    f.session.grid.Fill(99);
    f.Run(7);
    const ValueGrid& g = f.session.grid;
    std::set<int> seen;
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 120; ++c) {
            const int v = g.At(c, r);
            seen.insert(v);
            if (v == 0) {
                EXPECT_EQ(f.session.tabula.Pixel(c, r), kGrey);
            }
            if (v >= 1) {
                EXPECT_EQ(f.session.tabula.Pixel(c, r), RectColour(f, v)) << v;
            }
        }
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1, 2, 3, 4, 5, 6}));
    for (std::size_t i = 120 * 100; i < g.Size(); ++i) EXPECT_EQ(g.AtIndex(i), -1) << i;
}

TEST(Rectangle, EveryIterationStartsAgainFromTheGridPoint) {
    PictureFixture f(200, 160, 0);
    f.session.ComboTypUlohyChange(4);  // squaring on the unit circle
    SetRect(f, "0.5", "0.75", "0.25", "0.5");
    f.controls.SetText(Ctl::SpinRectDensity, "1");
    f.controls.SetText(Ctl::SpinNumRect, "2");
    f.Run(7);
    const TAxisB& a = f.session.view.axes;
    std::set<std::pair<int, int>> twice;
    for (long double x : {0.5L, 0.75L})
        for (long double y : {0.25L, 0.5L}) {
            long double X = x, Y = y;
            UnitCircleSquareMap(f.session.scene, X, Y);
            UnitCircleSquareMap(f.session.scene, X, Y);
            twice.insert({a.ColumnOfX(X), a.RowOfY(Y)});
            EXPECT_EQ(f.session.grid.At(a.ColumnOfX(X), a.RowOfY(Y)), 2);
        }
    for (long double x : {0.5L, 0.75L})
        for (long double y : {0.25L, 0.5L}) {
            long double X = x, Y = y;
            UnitCircleSquareMap(f.session.scene, X, Y);
            const int c = a.ColumnOfX(X), r = a.RowOfY(Y);
            if (!twice.count({c, r})) {
                EXPECT_EQ(f.session.grid.At(c, r), 1);
            }
        }
}

TEST(Rectangle, HighestIterationWins) {
    // 1 is fixed by the squaring, and every point of the real axis goes there: its pixel is
    // hit by every iteration.
    PictureFixture f(120, 100, 0);
    f.session.ComboTypUlohyChange(4);
    SetRect(f, "0.75", "1.25", "-0.25", "0.25");
    f.controls.SetText(Ctl::SpinRectDensity, "2");
    f.Run(7);
    const TAxisB& a = f.session.view.axes;
    const int c = a.ColumnOfX(1), r = a.RowOfY(0);
    EXPECT_EQ(f.session.grid.At(c, r), 6);
    EXPECT_EQ(f.session.tabula.Pixel(c, r), RectColour(f, 6));
}

TEST(Rectangle, UnreadableRightSideFallsBackToTwo) {
    PictureFixture f(120, 100, 0);
    f.session.ComboTypUlohyChange(4);  // images stay on the unit circle, away from the box
    f.controls.SetText(Ctl::EditX2, "abc");
    f.Run(7);
    EXPECT_TRUE(f.controls.badNumberReports.empty());
    const TAxisB& a = f.session.view.axes;
    const int c = a.ColumnOfX(2.0L), r = a.RowOfY(2.5L);
    EXPECT_EQ(f.session.grid.At(c, r), 0);
    EXPECT_EQ(f.session.grid.At(c + 1, r), -1);
    EXPECT_EQ(f.session.grid.At(a.ColumnOfX(1.5L), r), 0);
    EXPECT_EQ(f.session.tabula.Pixel(c + 3, r), kWhite);
}

TEST(Rectangle, WholePicturesAgreeForAnyThreadCount) {
    ExpectSameForThreadCounts(7, 3, {2, 3, 4});
    ExpectSameForThreadCounts(7, 10, {3});
}

}  // namespace
}  // namespace vorla
