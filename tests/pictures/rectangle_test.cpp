#include "pictures/rectangle.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(RectangleSamples, StepAndCountOfThePoints) {
    const struct {
        long double x1, x2, y1, y2;
        int D;
        long double h;
        size_t xs, ys;
    } cases[] = {{1.5L, 3.5L, 1.5L, 3.5L, 64, 1.0L / 32, 65, 65},
                 {0, 2, 0, 1, 8, 0.25L, 9, 5},
                 {0, 1, 0, 2, 8, 0.25L, 5, 9}};
    for (const auto& c : cases) {
        const RectangleSamples s = RectangleSamplePoints(c.x1, c.x2, c.y1, c.y2, c.D);
        EXPECT_EQ(s.h, c.h) << c.D;
        EXPECT_EQ(s.xs.size(), c.xs) << c.D;
        EXPECT_EQ(s.ys.size(), c.ys) << c.D;
        EXPECT_EQ(s.xs.back(), c.x2) << c.D;
    }
    // Near 1e6 a step of 2e-16 does not change the sum: the walk must still end.
    const RectangleSamples s = RectangleSamplePoints(0, 2e-12L, 1e6L, 1e6L + 1e-12L, 10000);
    EXPECT_EQ(s.ys.size(), 1u);
    EXPECT_GE(s.xs.size(), 10000u);
    EXPECT_LE(s.xs.size(), 10002u);
}

// One poll per iteration, and a stop ends it there. A rectangle without area, or an inverted
// one: no poll, no pixel, an empty grid.
TEST(Rectangle, PollsAndStopsOncePerIterationAndAnEmptyOneOnlyResetsTheGrid) {
    PictureFixture f(48, 40, 3);
    f.Run(7);
    EXPECT_EQ(f.host.polls, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    f.host.onPoll = [&](int n) {
        if (n == 3) f.session.StopVypoctuClick();
    };
    f.Run(7);
    EXPECT_EQ(f.host.polls, (std::vector<int>{1, 2, 3}));
    f.host.onPoll = nullptr;
    for (const char* y2 : {"1.5", "1"}) {
        f.Set(std::string("EditY1=1.5 EditY2=") + y2);
        f.Run(PictureTag::Convergence);  // a value in every cell
        const auto before = f.Pixels();
        f.Run(7);
        for (auto v : f.session.grid().Cells()) ASSERT_EQ(v, -1);
        EXPECT_EQ(f.Pixels(), before);
        EXPECT_TRUE(f.host.polls.empty());
    }
}

TEST(Rectangle, GridAndTabulaAgreeAndOnlyTabulaPixelsAreMarked) {
    PictureFixture f(120, 100, 3);
    for (int k = 1; k <= 12; ++k)  // label k takes the colour (k, 2k, 3k)
        f.Set("LabelRect" + std::to_string(k) + "=" + std::to_string(k) + "," +
              std::to_string(2 * k) + "," + std::to_string(3 * k));
    f.Run(PictureTag::Convergence);  // a value in every cell
    f.Run(7);
    const ValueGrid& g = f.session.grid();
    std::set<int> seen;
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 120; ++c) {
            const int v = g.At(c, r);
            seen.insert(v);
            if (v >= 0) {
                EXPECT_EQ(f.session.tabula().Pixel(c, r), v ? Rgb(v, 2 * v, 3 * v) : kGrey) << v;
            }
        }
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1, 2, 3, 4, 5, 6}));
    for (std::size_t i = 120 * 100; i < g.Size(); ++i) EXPECT_EQ(g.AtIndex(i), -1) << i;
}

// The squaring on the unit circle, where every image is known.
TEST(Rectangle, EveryIterationStartsAgainFromTheGridPoint) {
    PictureFixture f(200, 160, 0);
    f.session.ComboTypUlohyChange(4);
    f.Set("EditX1=0.5 EditX2=0.75 EditY1=0.25 EditY2=0.5 SpinRectDensity=1 SpinNumRect=2");
    f.Run(7);
    const TAxisB& a = f.session.view().axes;
    std::map<std::pair<int, int>, int> highest;  // the last iteration that hits a pixel
    for (int n : {1, 2})
        for (long double x : {0.5L, 0.75L})
            for (long double y : {0.25L, 0.5L}) {
                long double X = x, Y = y;
                for (int i = 0; i < n; ++i) UnitCircleSquareMap(f.session.scene(), X, Y);
                highest[{a.ColumnOfX(X), a.RowOfY(Y)}] = n;
            }
    for (const auto& [pixel, n] : highest)
        EXPECT_EQ(f.session.grid().At(pixel.first, pixel.second), n);
}

}  // namespace
}  // namespace vorla
