#include "overlays/fixed_points.h"

#include <gtest/gtest.h>

#include "app/session.h"
#include "model/controls.h"

namespace vorla {
namespace {

struct Marks {
    Tabula t{100, 80};
    Viewport v;
    Palette p;
    Scene s;
    FixedPointSet set;
    Marks() {
        v.W = 100;
        v.H = 80;
        s.k.D = 3;
        s.k.R = 2.5L;
        s.k.UpdateSquares();
        v.PrepocetPodleSouradnic(CircleDiscs(s.k));  // -3 to 7, X axis a third from the bottom
        p.CircleColors = {kBlack, kRed, Rgb(0, 128, 0), Rgb(0, 0, 255), Rgb(128, 0, 0)};
        t.SetBrushStyle(BrushStyle::Clear);
    }
    int NonWhite() const {
        int n = 0;
        for (int r = 0; r < 80; ++r)
            for (int c = 0; c < 100; ++c) n += t.Pixel(c, r) != kWhite;
        return n;
    }
    void Draw(int task) {
        s.taskType = task;
        PevneBody1Click(t, v, p, s, set);
    }
};

TEST(FixedPointMarks, TwoCirclesGiveSquaresInTheFirstTwoCircleColours) {
    Marks m;
    m.Draw(2);
    const int c = m.v.axes.ColumnOfX(0.625L);
    const int r0 = m.v.axes.RowOfY(m.set.FixedY[0]), r1 = m.v.axes.RowOfY(m.set.FixedY[1]);
    EXPECT_EQ(m.t.Pixel(c - 4, r0), kBlack);
    EXPECT_EQ(m.t.Pixel(c + 4, r0 + 4), kBlack);
    EXPECT_EQ(m.t.Pixel(c - 4, r1), kRed);
    EXPECT_EQ(m.t.Pixel(c, r1 - 4), kRed);
    EXPECT_EQ(m.t.Pixel(c, r0), kWhite);  // the brush was clear: outlines only
    EXPECT_EQ(m.NonWhite(), 2 * 32);      // two 9 by 9 outlines, pen width 1
}

TEST(FixedPointMarks, SolidBrushFillsTheSquares) {
    Marks m;
    m.t.SetBrush(BrushStyle::Solid, kGrey);
    m.Draw(2);
    const int c = m.v.axes.ColumnOfX(0.625L), r = m.v.axes.RowOfY(m.set.FixedY[0]);
    EXPECT_EQ(m.t.Pixel(c, r), kGrey);
    EXPECT_EQ(m.t.Pixel(c - 4, r), kBlack);
}

TEST(FixedPointMarks, SquaringMarksOneInTheFirstColour) {
    Marks m;
    m.Draw(6);
    const int c = m.v.axes.ColumnOfX(1), r = m.v.axes.RowOfY(0);
    EXPECT_EQ(m.t.Pixel(c - 4, r), kBlack);
    EXPECT_EQ(m.NonWhite(), 32);
}

TEST(FixedPointMarks, NothingForThreeToFiveCirclesOrConcentricCircles) {
    Marks m;
    for (int task : {3, 4, 5, -1}) {
        m.Draw(task);
        EXPECT_EQ(m.NonWhite(), 0) << task;
    }
    m.s.k.D = 0;
    m.Draw(2);
    EXPECT_EQ(m.NonWhite(), 0);
}

struct CountingHost : Host {
    int changes = 0;
    void TabulaChanged() override { ++changes; }
};

TEST(FixedPointMarks, SessionCommandUsesItsSceneAndReportsTheChange) {
    ControlValues controls;
    CountingHost host;
    Session s(controls, host, 100, 80, 1);
    s.FormCreate();
    ASSERT_TRUE(s.FormResize(100, 80));
    s.FormActivate();
    s.ComboTypUlohyChange(0);  // two circles
    s.DefKruz();
    s.ZmenaSouradnic();
    const int before = host.changes;
    s.PevneBody1Click();
    EXPECT_EQ(host.changes, before + 1);
    ASSERT_EQ(s.fixedPoints.FixedCount, 2);
    EXPECT_EQ(s.fixedPoints.FixedX[0], 0.625L);
    const int c = s.view.axes.ColumnOfX(0.625L), r = s.view.axes.RowOfY(s.fixedPoints.FixedY[1]);
    EXPECT_EQ(s.tabula.Pixel(c - 4, r), s.palette.CircleColors[1]);
}

}  // namespace
}  // namespace vorla
