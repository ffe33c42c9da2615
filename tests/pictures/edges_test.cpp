// Numbers at the edges and stop requests at every poll: defined values, prompt stops.
#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

const int kTags[] = {1, 2, 3, 4, 7, 8, 15, 16, 17, 18, 19, 20, 21, 22};

TEST(Edges, StopAtEveryPollPositionEndsThere) {
    for (int tag : kTags) {
        for (int stopAt : {0, 16, 32}) {
            PictureFixture f(8, 40);
            f.controls.SetText(Ctl::SpinNumRect, "12");
            f.host.onPoll = [&](int row) {
                if (row == stopAt || (tag == 7 && row == 1 + stopAt / 16))
                    f.session.StopVypoctuClick();
            };
            f.Run(tag);
            // No poll after the one that saw the stop.
            ASSERT_FALSE(f.host.polls.empty());
            EXPECT_LE(f.host.polls.size(), static_cast<size_t>(stopAt / 16 + 1)) << "tag " << tag;
        }
    }
}

TEST(Edges, ExtremeBoundsAndAccuracyGiveDefinedValues) {
    for (const char* bound : {"1e-300", "1e300"})
        for (int tag : kTags) {
            PictureFixture f(6, 5);
            f.controls.SetText(Ctl::EditNekonecno, bound);
            f.controls.SetText(Ctl::EditPresnost, "1e-4000");
            f.controls.SetText(Ctl::EditTotoznost, "1e-4000");
            f.Run(tag);
            EXPECT_TRUE(f.session.StopRequested);
            const bool lyapunov = tag >= 18 && tag <= 21;  // any thousandth of an exponent
            if (lyapunov) continue;
            for (int v : f.session.grid.Cells()) {
                EXPECT_GE(v, -1) << "tag " << tag;
            }
        }
}

TEST(Edges, AMillionIterationsStillStopAtTheNextPoll) {
    PictureFixture f(1, 40);
    f.controls.SetText(Ctl::SpinKonvergIter, "1000000");
    f.controls.SetText(Ctl::EditPresnost, "1e-4000");  // nothing converges: every pixel runs long
    f.host.onPoll = [&](int row) {
        if (row == 16) f.session.StopVypoctuClick();
    };
    f.Run(1);
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16}));
    EXPECT_EQ(f.session.grid.At(0, 20), -1);
}

}  // namespace
}  // namespace vorla
