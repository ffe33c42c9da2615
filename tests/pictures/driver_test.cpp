// The picture driver: polls, stops, the value grid and identical results on any thread count.
#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(ValueGridTest, IndexAndBounds) {
    ValueGrid g;
    g.Resize(5, 3);
    EXPECT_EQ(g.Size(), 6u * 4u);
    EXPECT_EQ(g.At(0, 0), -1);
    g.Set(2, 1, 7);
    EXPECT_EQ(g.AtIndex(1 * 5 + 2), 7);
    g.Set(5, 1, 9);  // column W lands in the first cell of the next row
    EXPECT_EQ(g.At(0, 2), 9);
    g.SetIndex(-1, 1);
    g.SetIndex(24, 1);
    g.Set(1000, 1000, 1);
    EXPECT_EQ(g.At(-1, 0), -1);
    EXPECT_EQ(g.At(0, 1000), -1);
    g.Resize(2, 2);
    for (int v : g.Cells()) EXPECT_EQ(v, -1);
}

TEST(Driver, PollsEvery16RowsIncludingTheExtraRow) {
    PictureFixture f(20, 48);
    f.Run(1);
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 32, 48}));
    EXPECT_EQ(f.host.status[7], "Convergention of orbits, direction of last iteration.");
    EXPECT_TRUE(f.session.StopRequested);
    EXPECT_EQ(f.session.PictureKind, 1);
}

TEST(Driver, StopAtAPollKeepsTheLaterRows) {
    PictureFixture f(20, 48);
    f.host.onPoll = [&](int row) {
        if (row == 16) f.session.StopVypoctuClick();  // pressed while rows 0..15 are computed
    };
    f.session.tabula.Fill(kRed);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 20; ++c) f.session.tabula.SetPixel(c, r, kWhite);
    f.Run(1);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 20; ++c) f.session.tabula.SetPixel(c, r, kWhite);
    std::vector<std::uint32_t> before(20 * 48, kRed);
    for (int i = 0; i < 20 * 16; ++i) before[i] = kWhite;
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16}));
    for (int c = 0; c < 20; ++c) {
        EXPECT_GE(f.session.grid.At(c, 15), 1);
        EXPECT_EQ(f.session.grid.At(c, 47), -1);
        // Cell (0, 16) holds the extra column of row 15.
        if (c > 0) {
            EXPECT_EQ(f.session.grid.At(c, 16), -1);
        }
    }
    EXPECT_EQ(f.Pixels(), before) << "rows from 16 keep their old pixels";
}

TEST(Driver, SecondPictureInsideAPollEndsTheFirst) {
    PictureFixture f(20, 40);
    bool nested = false;
    f.host.onPoll = [&](int row) {
        if (row == 16 && !nested) {
            nested = true;
            f.session.ActionClick(1);
        }
    };
    f.Run(1);
    // The outer picture's polls 0, 16; the nested one's 0, 16, 32; the nested picture's
    // end sets the stop, which the outer sees as soon as its poll at 16 returns.
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 0, 16, 32}));
    EXPECT_GE(f.session.grid.At(5, 39), 1);  // the nested picture computed every row
}

TEST(Driver, ResizeDuringAPictureStopsItWithinTheGrid) {
    PictureFixture f(40, 40);
    f.host.onPoll = [&](int row) {
        if (row == 16) {
            ASSERT_TRUE(f.session.FormResize(10, 10));
        }
    };
    f.Run(1);
    EXPECT_EQ(f.session.grid.Width(), 10);
    for (int v : f.session.grid.Cells()) EXPECT_EQ(v, -1);
}

TEST(Driver, BadBoundStartsNothing) {
    for (const char* bad : {"0", "-5", "abc"}) {
        PictureFixture f(16, 16);
        f.controls.SetText("EditNekonecno", bad);
        f.host.status[7] = "before";
        f.Run(1);
        EXPECT_TRUE(f.host.polls.empty());
        EXPECT_EQ(f.host.status[7], "before");
        EXPECT_EQ(f.controls.focused, "EditNekonecno");
        EXPECT_EQ(f.session.scene.L, 1000);
        EXPECT_EQ(f.session.grid.At(0, 0), -1);
    }
}

TEST(Driver, NoTaskTypeStartsNothing) {
    PictureFixture f(16, 16, 0);
    f.Run(1);
    EXPECT_TRUE(f.host.polls.empty());
    EXPECT_EQ(f.host.status[7], kNoTaskStatus);
}

TEST(Driver, ClearOptionPaintsOverAWhiteTabula) {
    PictureFixture f(30, 20);
    f.session.tabula.Fill(kRed);
    f.controls.SetText("CheckClear", "1");
    f.controls.SetText("EditKr", "0");  // the picture then draws nothing
    f.Run(1);
    EXPECT_EQ(f.session.tabula.Pixel(29, 0), kWhite);
    EXPECT_EQ(f.host.status[7], "Convergention of orbits, direction of last iteration.");
}

TEST(Driver, ParallelRowsMatchOneThread) {
    for (int example : {3, 8, 10, 13}) testing::ExpectSameForThreadCounts(1, example, {2, 3, 7});
}

}  // namespace
}  // namespace vorla
