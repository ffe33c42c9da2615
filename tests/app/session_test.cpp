// The window operations of the session: examples, presets, fields and colour labels.
#include <gtest/gtest.h>

#include <set>

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
    EXPECT_EQ(f.controls.LabelColour(Ctl::lbl15), kWhite);
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
    EXPECT_EQ(f.controls.Text(Ctl::EditKm), "-1.045750469");
    EXPECT_EQ(f.controls.Text(Ctl::EditKu), "0");  // left from Example 05
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
            f.controls.SetText(Ctl::EditKr, "0.5");
            f.session.Recalculation1Click();
        }
    };
    f.Run(1);
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 32}));
    EXPECT_EQ(f.session.scene.k.R, 0.5L);
}

TEST(Session, EditKoefExitStoresByTagOrReports) {
    PictureFixture f(20, 20);
    f.controls.SetText(Ctl::EditKa, "1/4");
    EXPECT_TRUE(f.session.EditKoefExit(Ctl::EditKa));
    EXPECT_EQ(f.session.scene.k.A, 0.25L);
    f.controls.SetText(Ctl::edtXdo, "12");
    EXPECT_TRUE(f.session.EditKoefExit(Ctl::edtXdo));
    EXPECT_EQ(f.session.view.range.XTo, 12);
    EXPECT_EQ(f.session.view.axes.XMax, 7);  // the viewport is not set up again
    f.controls.SetText(Ctl::EditKb, "two");
    EXPECT_FALSE(f.session.EditKoefExit(Ctl::EditKb));
    EXPECT_EQ(f.controls.badNumberReports, (std::vector<Ctl>{Ctl::EditKb}));
    EXPECT_EQ(f.session.scene.k.B, 2);
}

TEST(Session, PresetsAndResize) {
    PictureFixture f(400, 300);
    f.session.SouradniceClick(5);
    EXPECT_EQ(f.controls.Text(Ctl::edtXod), "-20");
    EXPECT_EQ(f.session.view.axes.ColX0, 200);
    EXPECT_EQ(f.session.view.axes.RowY0, 150);
    f.Run(1);
    ASSERT_TRUE(f.session.FormResize(200, 100));
    EXPECT_EQ(f.session.view.axes.ColX0, 100);
    for (int v : f.session.grid.Cells()) EXPECT_EQ(v, -1);
}

TEST(Session, ColourLabelsRouteByTag) {
    PictureFixture f(20, 20);
    f.session.LabelyBarev(Ctl::LabelKon3, kRed);
    EXPECT_EQ(f.session.palette.RegionColors[3], kRed);
    EXPECT_NE(f.session.palette.ClassColors[3], kRed);
    f.session.LabelyBarev(Ctl::LabelB2, kBlack);
    EXPECT_EQ(f.session.palette.CircleColors[1], kBlack);
    f.session.LabelyBarev(Ctl::lbl0, kRed);
    EXPECT_EQ(f.session.palette.PeriodColors[0], kRed);
    EXPECT_EQ(f.controls.LabelColour(Ctl::lbl0), kRed);
    f.session.LabelyBarev(Ctl::lbl7, kWhite);
    EXPECT_EQ(f.session.palette.PeriodColors[7], kWhite);
    f.session.LabelyBarev(Ctl::LabelLyapZero, kBlack);
    EXPECT_EQ(f.session.palette.LyapZeroColor, kBlack);
    f.session.LabelyBarev(Ctl::LabelLimitD, kRed);  // no tag: does not react
    EXPECT_EQ(f.controls.LabelColour(Ctl::LabelLimitD), Rgb(255, 255, 0));
}

TEST(Controls, SpinValuesStayInRange) {
    ControlValues c;
    EXPECT_EQ(c.Spin(Ctl::SpinKonvergIter), 200);
    c.SetText(Ctl::SpinKonvergIter, "0");
    EXPECT_EQ(c.Spin(Ctl::SpinKonvergIter), 1);
    c.SetText(Ctl::SpinNumRect, "13");
    EXPECT_EQ(c.Spin(Ctl::SpinNumRect), 12);
    c.SetText(Ctl::SpinNumRect, "99999999999999999999");
    EXPECT_EQ(c.Spin(Ctl::SpinNumRect), 12);
    EXPECT_EQ(c.Set("Nope", "1").Message(), "unknown control 'Nope'");
    EXPECT_EQ(c.Set("CheckBila", "maybe").Message(), "CheckBila takes on or off, not 'maybe'");
    EXPECT_TRUE(c.Set("LabelBA", "255,0,0"));
    EXPECT_EQ(c.LabelColour(Ctl::LabelBA), kRed);
}

TEST(Controls, NamesAreUniqueAndFindTheirControls) {
    std::set<std::string> names;
    for (int i = 0; i < kControlCount; ++i) {
        const Ctl c = static_cast<Ctl>(i);
        EXPECT_TRUE(names.insert(Spec(c).name).second) << Spec(c).name;
        EXPECT_EQ(FindControl(Spec(c).name), c) << Spec(c).name;
    }
    EXPECT_EQ(FindControl("Nope"), std::nullopt);
    EXPECT_EQ(FindControl("editkd"), std::nullopt);
    // The last member of each numbered group.
    const std::pair<Ctl, const char*> ends[] = {
        {CircleField(10), "EditKc"},   {CircleLabel(4), "LabelB5"}, {ClassLabel(7), "LabelBH"},
        {RegionLabel(7), "LabelKon7"}, {PeriodLabel(15), "lbl15"},  {RectLabel(11), "LabelRect12"}};
    for (const auto& [c, name] : ends) EXPECT_STREQ(Spec(c).name, name);
}

}  // namespace
}  // namespace vorla
