// Zooming, panning and the view history, through the texts of the axes fields.
#include "app/view_moves.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plane/number_text.h"
#include "support/picture_fixture.h"

using namespace vorla;

namespace {

constexpr int W = 542, H = 450;

// The axes that the fields show after `range` was written into them as text.
TAxisB AxesThroughFields(const AxesRange& range) {
    ControlValues fields;
    WriteAxesTexts(fields, TextsOf(range));
    const Result<AxesRange> read = FieldRange(fields, W, H);
    EXPECT_TRUE(read) << read.Message();
    Viewport v;
    v.range = read.ValueOr(range);
    v.W = W;
    v.H = H;
    v.PrepocetPodleSouradnic({});
    return v.axes;
}

}  // namespace

// The point under the cursor keeps its pixel through a zoom, the dragged point follows the
// drag, and a zoom rectangle ends up whole and centred; at everyday and at deep scales.
TEST(ViewMoves, PointsKeepTheirPixels) {
    SetDecimalChar('.');
    for (const AxesRange start :
         {AxesRange{-3, 7, 1.0L / 3}, AxesRange{0.25L, 0.25L + 1e-12L, 0.5L}}) {
        const TAxisB before = AxesThroughFields(start);
        const long double tolerance = before.XStep * 1e-3L;
        for (auto [X, Y, factor] : {std::tuple{0, 0, 0.8L}, {541, 449, 1.25L}, {100, 300, 0.64L}}) {
            const TAxisB after = AxesThroughFields(ZoomAbout(start, W, H, X, Y, factor));
            EXPECT_NEAR(after.XOfColumn(X), before.XOfColumn(X), tolerance);
            EXPECT_NEAR(after.YOfRow(Y), before.YOfRow(Y), tolerance);
            EXPECT_NEAR(after.XStep / before.XStep, factor, 1e-6L);  // X to - X from rounds
        }
        const TAxisB panned = AxesThroughFields(Pan(start, W, H, 40, -25));
        EXPECT_NEAR(panned.XOfColumn(140), before.XOfColumn(100), tolerance);
        EXPECT_NEAR(panned.YOfRow(75), before.YOfRow(100), tolerance);
        // A tall rectangle: its height fills the tabula, its middle is the tabula's middle.
        const TAxisB box = AxesThroughFields(ZoomToRectangle(start, W, H, 300, 100, 200, 190));
        EXPECT_NEAR(box.YOfRow(0), before.YOfRow(100), tolerance);
        EXPECT_NEAR(box.YOfRow(H), before.YOfRow(190), tolerance);
        EXPECT_NEAR(box.XOfColumn(W / 2), before.XOfColumn(250), tolerance);
    }
}

TEST(ViewMoves, HistoryWalksBackAndForthAndForgetsWhatWasLeftBehind) {
    ViewHistory h;
    const AxesTexts a{"-3", "7", "1/3"}, b{"-5", "9", "1/3"}, c{"0,5", "1", "0.5"},
        d{"1", "2", "0"};
    for (const AxesTexts& v : {a, b, b, c}) h.Record(v);  // the same view twice is one entry
    EXPECT_EQ(h.Back(), b);
    EXPECT_EQ(h.Back(), a);
    EXPECT_FALSE(h.Back());
    EXPECT_EQ(h.Forward(), b);
    h.Record(d);  // a new view after going back drops the views ahead
    EXPECT_FALSE(h.Forward());
    EXPECT_EQ(h.Back(), b);
    EXPECT_EQ(h.Forward(), d);
}

// Every range put in place by the session's commands goes into the history.
TEST(ViewMoves, TheSessionRecordsTheViewsPutInPlace) {
    vorla::testing::PictureFixture f(60, 40, 0);
    f.session.SouradniceClick(1);  // -5 .. 9
    f.Set("edtXod=-1 edtXdo=1/2");
    ASSERT_TRUE(f.session.Recalculation1Click().Ok());
    EXPECT_EQ(f.session.history.Back(), (AxesTexts{"-5", "9", "1/3"}));
    EXPECT_EQ(f.session.history.Back(), (AxesTexts{"-3", "7", "1/3"}));
}
