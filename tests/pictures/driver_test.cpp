// The picture driver through the session: the value grid, pictures inside a poll, the texts
// read before a picture starts, and the seed of the random companion points.
#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

const char* const kConvergence = "Convergention of orbits, direction of last iteration.";

TEST(ValueGridTest, IndexAndBounds) {
    ValueGrid g;
    g.Resize(5, 3);
    EXPECT_EQ(g.Size(), 6u * 4u);
    EXPECT_EQ(g.At(0, 0), -1);
    g.Set(2, 1, 7);
    EXPECT_EQ(g.AtIndex(1 * 5 + 2), 7);
    g.Set(5, 1, 9);  // column W lands in the first cell of the next row
    EXPECT_EQ(g.At(0, 2), 9);
    g.SetIndex(-1, 1);  // writes and reads outside are ignored
    g.SetIndex(24, 1);
    g.Set(1000, 1000, 1);
    EXPECT_EQ(g.At(-1, 0) + g.At(0, 1000), -2);
    g.Resize(2, 2);
    EXPECT_EQ(g.Cells(), std::vector<int>(9, -1));
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

TEST(Driver, WhatIsReadBeforeAPictureStarts) {
    // A bound of infinity that is not a positive number starts nothing.
    for (const char* bad : {"0", "-5", "abc"}) {
        PictureFixture f(16, 16);
        f.Set(std::string("EditNekonecno=") + bad);
        f.host.status[7] = "before";
        f.Run(1);
        EXPECT_TRUE(f.host.polls.empty() && f.host.status[7] == "before") << bad;
        EXPECT_TRUE(f.controls.focused == Ctl::EditNekonecno && f.session.scene.L == 1000) << bad;
    }
    // Nor does a session without a task type.
    PictureFixture none(16, 16, 0);
    none.Run(1);
    EXPECT_TRUE(none.host.polls.empty());
    EXPECT_EQ(none.host.status[7], kNoTaskStatus);
    // A bad accuracy falls back to 0.001 with the focus on its field; fractions are read.
    PictureFixture f(16, 16);
    f.Set("EditPresnost=0");
    f.Run(1);
    EXPECT_EQ(f.session.Accuracy, 0.001L);
    EXPECT_EQ(f.controls.focused, Ctl::EditPresnost);
    f.Set("EditPresnost=1/100");
    f.Run(1);
    EXPECT_EQ(f.session.Accuracy, 1.0L / 100);
}

TEST(Driver, ClearOptionPaintsOverAWhiteTabula) {
    PictureFixture f(30, 20);
    f.session.tabula.Fill(kRed);
    f.Set("CheckClear=1 EditKr=0");  // the picture then draws nothing
    f.Run(1);
    EXPECT_EQ(f.session.tabula.Pixel(29, 0), kWhite);
    EXPECT_EQ(f.host.status[7], kConvergence);
}

TEST(Driver, TheSeedDecidesTheLyapunovCompanionPoints) {
    PictureFixture a(48, 40, 3), b(48, 40, 3);
    b.session.seed = 999;
    a.Run(21);
    b.Run(21);
    EXPECT_NE(a.session.grid.Cells(), b.session.grid.Cells());
}

}  // namespace
}  // namespace vorla
