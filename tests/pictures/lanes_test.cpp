// Orbits stepped in lanes give the pixels and cells of the orbits stepped one at a time (the
// driver's tests compare every example on any thread count).
#include "pictures/lanes.h"

#include <set>
#include <string>
#include <utility>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

// Start points on the circles' centres take the maps' rare paths: a grid of whole numbers
// over circles centred on whole numbers, four and five circles.
TEST(Lanes, StartsOnTheCentresGiveTheOrbitsOneAtATime) {
    const std::string circles =
        "EditKd=2 EditKr=1 EditKm=0 EditKn=2 EditKs=1 EditKu=-2 EditKv=-1 EditKw=1 EditKa=3 "
        "EditKb=-2 EditKc=1 edtXod=-4 edtXdo=4 edtYzero=1/2";
    for (int task : {4, 5})
        for (int tag : {1, 2, 4, 8, 16, 17, 22}) {
            SCOPED_TRACE("task " + std::to_string(task) + " tag " + std::to_string(tag));
            PictureFixture alone(8, 8, 0, 1), lanes(8, 8, 0, 2);
            alone.session.SetOneLane(true);
            for (PictureFixture* f : {&alone, &lanes}) {
                f->session.ComboTypUlohyChange(task - 2);
                f->Set(circles);
                f->Run(tag);
            }
            // The pixels start on the origin and on the centres of K2 to K5.
            const TAxisB& axes = lanes.session.view().axes;
            std::set<std::pair<long double, long double>> starts;
            for (int r = 0; r <= 8; ++r)
                for (int c = 0; c <= 8; ++c) starts.insert({axes.XOfColumn(c), axes.YOfRow(r)});
            for (auto centre :
                 {std::pair{0.0L, 0.0L}, {2.0L, 0.0L}, {0.0L, 2.0L}, {-2.0L, -1.0L}, {3.0L, -2.0L}})
                ASSERT_TRUE(starts.count(centre)) << centre.first << " " << centre.second;
            EXPECT_EQ(lanes.session.grid().Cells(), alone.session.grid().Cells());
            EXPECT_EQ(lanes.Pixels(), alone.Pixels());
        }
}

}  // namespace
}  // namespace vorla
