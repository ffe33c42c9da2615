// The window operations of the session: examples, presets, fields and colour labels.
#include <gtest/gtest.h>

#include "model/examples.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(Session, StartsWithNoTaskAndPublishesInitialTexts) {
    PictureFixture f(30, 20, 0);
    EXPECT_EQ(f.session.scene.taskType, -1);
    EXPECT_EQ(f.session.sceneText, "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");
    EXPECT_FALSE(f.session.StopRequested);
    EXPECT_EQ(f.session.palette.RegionColors, f.session.palette.ClassColors);
    EXPECT_EQ(f.controls.LabelColour("lbl15"), kWhite);
    f.session.ComboTypUlohyChange(2);
    EXPECT_EQ(f.session.sceneText, "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");  // until the next read
    f.session.DefKruz();
    EXPECT_EQ(f.session.sceneText.rfind("4=3=2.5=", 0), 0u);
}

TEST(Session, ExamplesSetTaskFieldsAxesAndPanel) {
    PictureFixture f(30, 20, 0);
    f.session.LoadExample(5);
    f.session.LoadExample(1);
    EXPECT_EQ(f.session.scene.taskType, 3);
    EXPECT_EQ(f.controls.Text("EditKm"), "-1.045750469");
    EXPECT_EQ(f.controls.Text("EditKu"), "0");  // left from Example 05
    EXPECT_EQ(f.host.status[5], "01");
    f.session.LoadExample(8);
    EXPECT_EQ(f.session.view.range.XFrom, -5);
    EXPECT_EQ(f.session.view.range.XTo, 5);
    f.session.LoadExample(13);
    EXPECT_EQ(f.session.scene.k.S, 0.968245837L);
    EXPECT_EQ(f.session.view.range.XTo, 7);
    EXPECT_EQ(kExamples[11].caption, std::string("Example 12  (5)   "));
}

TEST(Session, ExampleEndsARunningPicture) {
    PictureFixture f(20, 40);
    f.host.onPoll = [&](int row) {
        if (row == 16) f.session.LoadExample(7);
    };
    f.Run(1);
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16}));
    EXPECT_EQ(f.session.scene.taskType, 4);
}

TEST(Session, RecalculationDuringAPictureTakesEffectAfterThePoll) {
    PictureFixture f(20, 40);
    f.host.onPoll = [&](int row) {
        if (row == 16) {
            f.controls.SetText("EditKr", "0.5");
            f.session.Recalculation1Click();
        }
    };
    f.Run(1);
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 32}));
    EXPECT_EQ(f.session.scene.k.R, 0.5L);
}

TEST(Session, EditKoefExitStoresByTagOrReports) {
    PictureFixture f(20, 20);
    f.controls.SetText("EditKa", "1/4");
    EXPECT_TRUE(f.session.EditKoefExit("EditKa"));
    EXPECT_EQ(f.session.scene.k.A, 0.25L);
    f.controls.SetText("edtXdo", "12");
    EXPECT_TRUE(f.session.EditKoefExit("edtXdo"));
    EXPECT_EQ(f.session.view.range.XTo, 12);
    EXPECT_EQ(f.session.view.axes.XMax, 7);  // the viewport is not set up again
    f.controls.SetText("EditKb", "two");
    EXPECT_FALSE(f.session.EditKoefExit("EditKb"));
    EXPECT_EQ(f.controls.badNumberReports, (std::vector<std::string>{"EditKb"}));
    EXPECT_EQ(f.session.scene.k.B, 2);
}

TEST(Session, PresetsAndResize) {
    PictureFixture f(400, 300);
    f.session.SouradniceClick(5);
    EXPECT_EQ(f.controls.Text("edtXod"), "-20");
    EXPECT_EQ(f.session.view.axes.ColX0, 200);
    EXPECT_EQ(f.session.view.axes.RowY0, 150);
    f.Run(1);
    ASSERT_TRUE(f.session.FormResize(200, 100));
    EXPECT_EQ(f.session.view.axes.ColX0, 100);
    for (int v : f.session.grid.Cells()) EXPECT_EQ(v, -1);
}

TEST(Session, ColourLabelsRouteByTag) {
    PictureFixture f(20, 20);
    f.session.LabelyBarev("LabelKon3", kRed);
    EXPECT_EQ(f.session.palette.RegionColors[3], kRed);
    EXPECT_NE(f.session.palette.ClassColors[3], kRed);
    f.session.LabelyBarev("LabelB2", kBlack);
    EXPECT_EQ(f.session.palette.CircleColors[1], kBlack);
    f.session.LabelyBarev("lbl0", kRed);
    EXPECT_EQ(f.session.palette.PeriodColors[0], kRed);
    EXPECT_EQ(f.controls.LabelColour("lbl0"), kRed);
    f.session.LabelyBarev("lbl7", kWhite);
    EXPECT_EQ(f.session.palette.PeriodColors[7], kWhite);
    f.session.LabelyBarev("LabelLyapZero", kBlack);
    EXPECT_EQ(f.session.palette.LyapZeroColor, kBlack);
    f.session.LabelyBarev("LabelLimitD", kRed);  // no tag: does not react
    EXPECT_EQ(f.controls.LabelColour("LabelLimitD"), Rgb(255, 255, 0));
}

TEST(Controls, SpinValuesStayInRange) {
    ControlValues c;
    EXPECT_EQ(c.Spin("SpinKonvergIter"), 200);
    c.SetText("SpinKonvergIter", "0");
    EXPECT_EQ(c.Spin("SpinKonvergIter"), 1);
    c.SetText("SpinNumRect", "13");
    EXPECT_EQ(c.Spin("SpinNumRect"), 12);
    c.SetText("SpinNumRect", "99999999999999999999");
    EXPECT_EQ(c.Spin("SpinNumRect"), 12);
    EXPECT_EQ(c.Set("Nope", "1").Message(), "unknown control 'Nope'");
    EXPECT_EQ(c.Set("CheckBila", "maybe").Message(), "CheckBila takes on or off, not 'maybe'");
    EXPECT_TRUE(c.Set("LabelBA", "255,0,0"));
    EXPECT_EQ(c.LabelColour("LabelBA"), kRed);
}

}  // namespace
}  // namespace vorla
