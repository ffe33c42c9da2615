#include "pictures/value_grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorla {
namespace {

TEST(ValueGrid, IndexAndBounds) {
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
    EXPECT_EQ(g.At(-1, 0), -1);
    EXPECT_EQ(g.At(0, 1000), -1);
    g.Resize(2, 2);
    EXPECT_EQ(g.Cells(), std::vector<int>(9, -1));
}

}  // namespace
}  // namespace vorla
