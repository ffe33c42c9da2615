// The seed of the Lyapunov pictures' companion points.
#include "pictures/lyapunov.h"

#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(LyapunovD, TheSeedDecidesThePicture) {
    PictureFixture a(48, 40, 3), b(48, 40, 3);
    b.session.seed = 999;
    a.Run(21);
    b.Run(21);
    EXPECT_NE(a.session.grid.Cells(), b.session.grid.Cells());
}

}  // namespace
}  // namespace vorla
