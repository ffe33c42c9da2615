// The window's operations on a session: its start, the examples, the sizes and axes it
// takes, the colour labels, the views it records, and how a picture begins.
#include "app/session.h"

#include <gtest/gtest.h>

#include "app/mouse_tools.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(Session, StartsWithNoTaskTypeAndAnExampleSetsItsTaskFieldsAxesAndPanel) {
    PictureFixture f(30, 20, 0);
    EXPECT_EQ(f.session.taskType(), TaskOfNumber(-1));
    EXPECT_EQ(f.session.PublishedScene(), "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=");
    EXPECT_EQ(f.session.palette().RegionColors, f.session.palette().ClassColors);
    EXPECT_EQ(f.controls.LabelColour(Ctl::lbl15), kWhite);
    f.session.LoadExample(5);
    f.session.LoadExample(1);
    EXPECT_EQ(f.session.taskType(), TaskOfNumber(3));
    EXPECT_EQ(f.controls.Text(Ctl::EditKm), "-1.045750469");
    EXPECT_EQ(f.controls.Text(Ctl::EditKu), "0");  // left from Example 05
    EXPECT_EQ(f.host.status[5], "01");
    f.session.LoadExample(13);
    EXPECT_EQ(f.session.scene().k.S, 0.968245837L);
    EXPECT_EQ(f.session.view().range.XTo, 7);
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// (The memory checkers' allocators end the program instead of failing.)
TEST(Session, ASizeBeyondMemoryIsRefusedAndTheOldTabulaGridAndViewStay) {
    PictureFixture f(30, 20, 13);
    f.Run(PictureTag::Convergence);
    const auto before = f.Pixels();
    EXPECT_EQ(f.session.FormResize(1 << 30, 1 << 30).Message(), kOutOfMemory);
    EXPECT_EQ(f.session.view().W, 30);
    EXPECT_EQ(f.session.grid().Width(), 30);
    EXPECT_EQ(f.Pixels(), before);
}
#endif

TEST(Session, AxesWithoutAScaleAreRefusedAndChangeNothing) {
    PictureFixture f(60, 40, 3);
    const TAxisB kept = f.session.view().axes;
    const std::tuple<const char*, const char*, Ctl> cases[] = {
        {"edtXod=2 edtXdo=2", kEqualEndsMessage, Ctl::edtXdo},
        {"edtXod=-1e4932 edtXdo=1e4932", kXScaleMessage, Ctl::edtXod},
        {"edtXod=0 edtXdo=1e-4940", kXScaleMessage, Ctl::edtXod},
        {"edtXod=-3 edtXdo=7 edtYzero=1e4930", kYRangeMessage, Ctl::edtYzero},
    };
    for (const auto& [settings, message, focus] : cases) {
        SCOPED_TRACE(settings);
        f.Set(settings);
        const auto before = f.Pixels();
        EXPECT_EQ(f.session.ButPrepocetClick().Message(), message);
        EXPECT_EQ(f.session.ActionClick(1).Message(), message);
        EXPECT_EQ(f.controls.focused, focus);
        EXPECT_EQ(f.Pixels(), before);
        EXPECT_EQ(f.session.view().axes.YMax, kept.YMax);
        f.Set("edtXod=-3 edtXdo=7 edtYzero=1/3");
    }
}

// The pixel forms follow the circle fields as soon as they are read, not only at a new range:
// K2 at D = 2 with R = 1 lies from column 30 to 42 of -3..7 on 60 columns. A resize empties
// the grid, also after a picture of thousandths.
TEST(Session, CirclePixelsFollowTheirFieldsAtOnceAndAResizeEmptiesTheGrid) {
    PictureFixture f(60, 40, 3);
    f.Set("EditKd=2 EditKr=1");
    f.session.FormActivate();
    EXPECT_EQ(f.session.view().circlePixels[0].col, 30);
    EXPECT_EQ(f.session.view().circlePixels[0].radius, 6);
    f.Run(PictureTag::LastTwo);
    ASSERT_TRUE(f.session.FormResize(60, 40));
    EXPECT_EQ(MouseTools{f.session}.TabuleMouseMove({}, 5, 5).readout.valueText, kNoValueText);
}

TEST(Session, ColourLabelsRouteByTag) {
    PictureFixture f(20, 20);
    const Palette& p = f.session.palette();
    // Distinct colours, each of which must end in its own entry alone.
    const std::pair<Ctl, const Colour*> routes[] = {
        {Ctl::LabelB2, &p.CircleColors[1]},   {Ctl::LabelBC, &p.ClassColors[2]},
        {Ctl::LabelKon2, &p.RegionColors[2]}, {Ctl::lbl0, &p.PeriodColors[0]},
        {Ctl::lbl15, &p.PeriodColors[15]},    {Ctl::LabelLyapZero, &p.LyapZeroColor}};
    for (int i = 0; i < 6; ++i) f.session.LabelyBarev(routes[i].first, Rgb(1, 2, i));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(*routes[i].second, Rgb(1, 2, i)) << Spec(routes[i].first).name;
        EXPECT_EQ(f.controls.LabelColour(routes[i].first), Rgb(1, 2, i));
    }
}

TEST(Session, EveryRangePutInPlaceGoesIntoTheHistory) {
    PictureFixture f(60, 40, 0);
    f.session.SouradniceClick(1);  // -5 .. 9
    f.Set("edtXod=-1 edtXdo=1/2");
    ASSERT_TRUE(f.session.Recalculation1Click().Ok());
    EXPECT_EQ(f.session.ViewBack(), (AxesTexts{"-5", "9", "1/3"}));
    EXPECT_EQ(f.session.ViewBack(), (AxesTexts{"-3", "7", "1/3"}));
}

// A bad bound of infinity takes the focus silently; no task type says so. With a good one and
// CheckClear the tabula is painted white first (with R = 0 the picture itself draws nothing).
TEST(Session, NoPictureStartsWithABadBoundOrBeforeATaskTypeAndClearPaintsWhite) {
    for (const char* bad : {"0", "-5", "abc", ""}) {
        PictureFixture f(16, 16, *bad ? 3 : 0);
        if (*bad) f.Set(std::string("EditNekonecno=") + bad);
        f.host.status[7] = "before";
        f.Run(PictureTag::Convergence);
        EXPECT_TRUE(f.host.polls.empty()) << bad;
        EXPECT_EQ(f.host.status[7], *bad ? "before" : kNoTaskStatus) << bad;
        EXPECT_EQ(f.controls.focused, *bad ? std::optional(Ctl::EditNekonecno) : std::nullopt);
        EXPECT_EQ(f.session.scene().L, 1000) << bad;
    }
    PictureFixture f(16, 16);
    f.Paint(kRed);
    f.Set("CheckClear=1 EditKr=0");
    f.Run(PictureTag::Convergence);
    EXPECT_EQ(f.session.tabula().Pixel(15, 0), kWhite);
    EXPECT_EQ(f.host.status[7], PictureStatusTexts(1));
}

TEST(Session, APictureReadsAndRepairsTheControlsWhenItBeginsOnly) {
    PictureFixture f(40, 30, 1);
    f.Set("EditLimit1=5 EditLimit2=1");  // a range the n-th picture repairs
    ASSERT_TRUE(f.session.BeginPicture(PictureTag::Nth).ValueOr(false));
    EXPECT_EQ(f.controls.Text(Ctl::EditLimit2), "10.200000");
    const ControlValues begun(f.controls);
    f.Set("EditLimit2=7 SpinLimit=9");  // typed while the picture runs: read by the next
    f.session.RunPicture({}, nullptr);
    f.session.EndPicture();
    PictureFixture again(40, 30, 1);
    again.controls = begun;
    again.Run(PictureTag::Nth);
    EXPECT_EQ(f.Pixels(), again.Pixels());
    EXPECT_EQ(f.controls.Text(Ctl::EditLimit2), "7");
}

TEST(Session, APictureStartedInsideAPollEndsTheOneRunning) {
    PictureFixture f(20, 40);
    bool nested = false;
    f.host.onPoll = [&](int row) {
        if (row == 16 && !nested) {
            nested = true;
            (void)f.session.ActionClick(1);
        }
    };
    f.Run(PictureTag::Convergence);
    // The outer picture's polls 0, 16; the nested one's 0, 16, 32; the nested picture's
    // end sets the stop, which the outer sees as soon as its poll at 16 returns.
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 0, 16, 32}));
    EXPECT_GE(f.session.grid().At(5, 39), 1);  // the nested picture computed every row
}

}  // namespace
}  // namespace vorla
