// The window operations of the session: the start, examples and colour labels; the controls.
#include <gtest/gtest.h>

#include <set>

#include "model/examples.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(Session, StartsWithNoTaskThenExamplesSetTaskFieldsAxesAndPanel) {
    PictureFixture f(30, 20, 0);
    EXPECT_EQ(f.session.scene.taskType, -1);
    EXPECT_EQ(f.session.sceneText, "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");
    EXPECT_FALSE(f.session.StopRequested);
    EXPECT_EQ(f.session.palette.RegionColors, f.session.palette.ClassColors);
    EXPECT_EQ(f.controls.LabelColour(Ctl::lbl15), kWhite);
    f.session.LoadExample(5);
    f.session.LoadExample(1);
    EXPECT_EQ(f.session.scene.taskType, 3);
    EXPECT_EQ(f.controls.Text(Ctl::EditKm), "-1.045750469");
    EXPECT_EQ(f.controls.Text(Ctl::EditKu), "0");  // left from Example 05
    EXPECT_EQ(f.host.status[5], "01");
    f.session.LoadExample(13);
    EXPECT_EQ(f.session.scene.k.S, 0.968245837L);
    EXPECT_EQ(f.session.view.range.XTo, 7);
}

TEST(Session, ColourLabelsRouteByTag) {
    PictureFixture f(20, 20);
    const Palette& p = f.session.palette;
    // Distinct colours, each of which must end in its own entry alone.
    const struct {
        Ctl label;
        const Colour* entry;
    } routes[] = {{Ctl::LabelB2, &p.CircleColors[1]},   {Ctl::LabelBC, &p.ClassColors[2]},
                  {Ctl::LabelKon2, &p.RegionColors[2]}, {Ctl::lbl0, &p.PeriodColors[0]},
                  {Ctl::lbl15, &p.PeriodColors[15]},    {Ctl::LabelLyapZero, &p.LyapZeroColor}};
    for (int i = 0; i < 6; ++i) f.session.LabelyBarev(routes[i].label, Rgb(1, 2, i));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(*routes[i].entry, Rgb(1, 2, i)) << Spec(routes[i].label).name;
        EXPECT_EQ(f.controls.LabelColour(routes[i].label), Rgb(1, 2, i));
    }
    f.session.LabelyBarev(Ctl::LabelLimitD, kRed);  // shows its colour only
    EXPECT_EQ(f.controls.LabelColour(Ctl::LabelLimitD), Rgb(255, 255, 0));
}

TEST(Session, ASizeBeyondMemoryIsRefusedAndKeepsTheOldOne) {
    PictureFixture f(30, 20);
    f.Run(1);
    const auto before = f.Pixels();
    EXPECT_EQ(f.session.FormResize(1 << 30, 1 << 30).Message(), kOutOfMemory);
    EXPECT_EQ(f.session.view.W, 30);
    EXPECT_EQ(f.session.grid.Width(), 30);
    EXPECT_EQ(f.Pixels(), before);
    // A failed allocation anywhere else gives the same failure.
    EXPECT_EQ(Guarded([] { throw std::bad_alloc(); }).Message(), kOutOfMemory);
}

TEST(Controls, SpinValuesStayInRangeAndSettingsAreChecked) {
    ControlValues c;
    EXPECT_EQ(c.Spin(Ctl::SpinKonvergIter), 200);
    for (auto [text, value] : {std::pair{"0", 1}, {"13", 12}, {"99999999999999999999", 12}}) {
        c.SetText(Ctl::SpinNumRect, text);
        EXPECT_EQ(c.Spin(Ctl::SpinNumRect), value) << text;
    }
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
