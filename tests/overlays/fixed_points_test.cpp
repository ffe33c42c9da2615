#include "overlays/fixed_points.h"

#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

// The start circles on 100 x 80 pixels over -3..7, with a clear brush.
struct Marks : testing::Canvas {
    FixedPointSet set;
    Marks() : Canvas(100, 80) { t.SetBrushStyle(BrushStyle::Clear); }
    void Draw(int task) {
        scene.taskType = TaskOfNumber(task);
        PevneBody1Click(t, v, p, scene, set);
    }
    int Col(int i) const { return v.axes.ColumnOfX(set.FixedX[i]); }
    int Row(int i) const { return v.axes.RowOfY(set.FixedY[i]); }
};

TEST(FixedPointMarks, NineByNineOutlinesInTheFirstCircleColours) {
    // Two circles: (0.625, +-0.78); the squaring: 1.
    for (auto [task, count] : {std::pair{2, 2}, {6, 1}}) {
        Marks m;
        m.Draw(task);
        ASSERT_EQ(m.set.FixedCount, count) << task;
        for (int i = 0; i < count; ++i) {
            for (auto [dc, dr] : {std::pair{-4, 0}, {4, 4}, {0, -4}})
                EXPECT_EQ(m.t.Pixel(m.Col(i) + dc, m.Row(i) + dr), m.p.CircleColors[i]) << task;
            EXPECT_EQ(m.t.Pixel(m.Col(i), m.Row(i)), kWhite);  // the brush was clear
        }
        EXPECT_EQ(m.NonWhite(), 32 * count) << task;  // pen width 1
    }
    // A solid brush fills the squares.
    Marks m;
    m.t.SetBrush(BrushStyle::Solid, kGrey);
    m.Draw(2);
    EXPECT_EQ(m.t.Pixel(m.Col(0), m.Row(0)), kGrey);
    EXPECT_EQ(m.t.Pixel(m.Col(0) - 4, m.Row(0)), kBlack);
}

}  // namespace
}  // namespace vorla
