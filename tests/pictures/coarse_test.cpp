#include "pictures/coarse.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

// The rectangle (7) and the random Lyapunov picture (21), whose pixels do not depend on their
// own points alone, keep the row order.
TEST(Coarse, EveryCoarseKindGivesTheRowOrdersPixelsAndGrid) {
    for (int tag : {1, 2, 3, 4, 7, 8, 15, 16, 17, 18, 19, 20, 21, 22})
        for (int example : {3, 10, 13})
            for (auto [w, h, threads] : {std::tuple{37, 23, 1}, {61, 45, 2}, {8, 9, 2}}) {
                SCOPED_TRACE("tag " + std::to_string(tag) + " example " + std::to_string(example) +
                             " " + std::to_string(w) + "x" + std::to_string(h));
                PictureFixture rows(w, h, example, threads), coarse(w, h, example, threads);
                rows.Run(tag);
                ASSERT_TRUE(coarse.session.ActionClick(tag, nullptr, PixelOrder::CoarseFirst));
                EXPECT_EQ(coarse.session.Order(),
                          tag == 7 || tag == 21 ? PixelOrder::Rows : PixelOrder::CoarseFirst);
                EXPECT_EQ(coarse.session.grid().Cells(), rows.session.grid().Cells());
                EXPECT_EQ(coarse.Pixels(), rows.Pixels());
                const PictureProgress& p = coarse.session.Progress();
                EXPECT_EQ(p.done.load(), p.total.load());
            }
}

// At every poll the picture shown is the final picture's pixels of the finest grid computed
// so far, each as the block it stands for: in the pass under way, the rows it has come to
// show its grid, the others the grid of the pass before; before the first pass has come to a
// row, that row shows the background.
TEST(Coarse, EachPassShowsTheFinalPixelsOfItsGridAsBlocks) {
    const int W = 61, H = 300;
    PictureFixture final(W, H), coarse(W, H);
    final.Run(PictureTag::Convergence);
    const QImage finalImage = final.session.tabula().Copy();
    QImage background(W, H, QImage::Format_RGB32);
    background.fill(Qt::gray);
    std::set<std::pair<int, int>> polls;  // (step, next row)
    coarse.host.onPoll = [&](int) {
        const PictureProgress& p = coarse.session.Progress();
        const int step = p.step, next = p.nextRow;
        polls.insert({step, next});
        QImage shown;
        ComposeCoarse(coarse.session.tabula().Image(), background, step, next, shown);
        for (int r = 0; r < H; ++r) {
            const int grid = r - r % step < next ? step : 2 * step;
            for (int c = 0; c < W; ++c)
                ASSERT_EQ(shown.pixel(c, r), grid > 8
                                                 ? background.pixel(c, r)
                                                 : finalImage.pixel(c - c % grid, r - r % grid))
                    << "step " << step << " row " << next << " at " << c << "," << r;
        }
    };
    ASSERT_TRUE(
        coarse.session.ActionClick(PictureTag::Convergence, nullptr, PixelOrder::CoarseFirst));
    // Polls in the middle of the first and of the last pass were among them.
    EXPECT_TRUE(polls.count({8, 128}));
    EXPECT_TRUE(polls.count({1, 16}));
    QImage shown;
    const PictureProgress& p = coarse.session.Progress();
    ComposeCoarse(coarse.session.tabula().Image(), background, p.step, p.nextRow, shown);
    EXPECT_EQ(shown, finalImage);
}

}  // namespace
}  // namespace vorla
