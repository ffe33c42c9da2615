// Exploring by mouse: zooms and pans keep their points, the texts they write into the axes
// fields are short and show the view meant, and the history walks the views put in place.
#include "app/view_moves.h"

#include <gtest/gtest.h>

#include <tuple>

#include "plane/number_text.h"
#include "plane/tabula.h"

namespace vorla {
namespace {

constexpr int kW = kDefaultTabulaWidth, kH = kDefaultTabulaHeight;

// The axes that the fields show after `range` was written into them as text.
TAxisB AxesThroughFields(const AxesRange& range) {
    ControlValues fields;
    WriteAxesTexts(fields, TextsOf(range));
    const Result<AxesRange> read = FieldRange(fields, kW, kH);
    EXPECT_TRUE(read) << read.Message();
    return AxesOf(read.ValueOr(range), kW, kH);
}

// The point under the cursor keeps its pixel through a zoom, the dragged point follows the
// drag, and a zoom rectangle ends up whole and centred; at everyday and at deep scales.
TEST(ViewMoves, PointsKeepTheirPixels) {
    SetDecimalChar('.');
    for (const AxesRange start :
         {AxesRange{-3, 7, 1.0L / 3}, AxesRange{0.25L, 0.25L + 1e-12L, 0.5L}}) {
        const TAxisB before = AxesThroughFields(start);
        const long double tolerance = before.XStep * 1e-3L;
        for (auto [X, Y, factor] : {std::tuple{0, 0, 0.8L}, {541, 449, 1.25L}, {100, 300, 0.64L}}) {
            const TAxisB after = AxesThroughFields(ZoomAbout(start, kW, kH, X, Y, factor));
            EXPECT_NEAR(after.XOfColumn(X), before.XOfColumn(X), tolerance);
            EXPECT_NEAR(after.YOfRow(Y), before.YOfRow(Y), tolerance);
            EXPECT_NEAR(after.XStep / before.XStep, factor, 1e-6L);  // X to - X from rounds
        }
        const TAxisB panned = AxesThroughFields(Pan(start, kW, kH, 40, -25));
        EXPECT_NEAR(panned.XOfColumn(140), before.XOfColumn(100), tolerance);
        EXPECT_NEAR(panned.YOfRow(75), before.YOfRow(100), tolerance);
        // A tall rectangle: its height fills the tabula, its middle is the tabula's middle.
        const TAxisB box = AxesThroughFields(ZoomToRectangle(start, kW, kH, 300, 100, 200, 190));
        EXPECT_NEAR(box.YOfRow(0), before.YOfRow(100), tolerance);
        EXPECT_NEAR(box.YOfRow(kH), before.YOfRow(190), tolerance);
        EXPECT_NEAR(box.XOfColumn(kW / 2), before.XOfColumn(250), tolerance);
    }
}

TEST(ViewMoves, HistoryWalksBackAndForthAndForgetsWhatWasLeftBehind) {
    ViewHistory h;
    const AxesTexts a{"-3", "7", "1/3"}, b{"-5", "9", "1/3"}, c{"0,5", "1", "0.5"},
        d{"1", "2", "0"};
    for (const AxesTexts& v : {a, b, b, c}) h.Record(v);  // the same view twice is one entry
    // A look at the previous view does not move to it.
    EXPECT_EQ(h.Previous(), b);
    EXPECT_EQ(h.Back(), b);
    EXPECT_EQ(h.Back(), a);
    EXPECT_FALSE(h.Back());
    EXPECT_FALSE(h.Previous());
    EXPECT_EQ(h.Forward(), b);
    h.Record(d);  // a new view after going back drops the views ahead
    EXPECT_FALSE(h.Forward());
    EXPECT_EQ(h.Back(), b);
    EXPECT_EQ(h.Forward(), d);
}

// A gesture writes the shortest texts that show its view within a tenth of a pixel, at
// everyday and at deep scales, in either decimal separator.
TEST(ViewMoves, ReadableTextsShowTheViewWithinATenthOfAPixel) {
    const struct {
        AxesRange exact;
        AxesTexts texts;  // with '.'; nothing: only the tenth of a pixel is checked
    } cases[] = {
        {{-3.0000000000000000009L, 7.0000000000000000004L, 0.33333333333333333332L},
         {"-3", "7", "0.3333"}},
        {ZoomAbout({-3, 7, 1.0L / 3}, kW, kH, 271, 225, 0.8L), {}},
        {ZoomAbout({-3, 7, 1.0L / 3}, kW, kH, 17, 400, std::pow(0.8L, 40)), {}},
        {{0.25L, 0.25L + 1e-12L, 0.5L}, {}},
        {{-1e300L, 1e300L, 0.5L}, {}},
        {Pan({-3, 7, 1.0L / 3}, kW, kH, 40, -25), {}},
    };
    for (char separator : {'.', ','}) {
        SetDecimalChar(separator);
        for (const auto& c : cases) {
            const AxesTexts t = ReadableTextsOf(c.exact, kW, kH);
            SCOPED_TRACE(t.xFrom + " " + t.xTo + " " + t.yRel);
            if (!c.texts.xFrom.empty() && separator == '.') {
                EXPECT_EQ(t, c.texts);
            }
            for (const std::string& text : {t.xFrom, t.xTo, t.yRel})
                EXPECT_LE(text.size(), TextsOf(c.exact).xFrom.size() + 22);
            const AxesRange back{ConvertNumberText(t.xFrom).Value(),
                                 ConvertNumberText(t.xTo).Value(),
                                 ConvertNumberText(t.yRel).Value()};
            const TAxisB a = AxesOf(c.exact, kW, kH), b = AxesOf(back, kW, kH);
            for (int col : {0, kW})
                EXPECT_LE(std::fabs(a.XOfColumn(col) - b.XOfColumn(col)) / a.XStep, 0.1L);
            for (int row : {0, kH})
                EXPECT_LE(std::fabs(a.YOfRow(row) - b.YOfRow(row)) / a.YStep, 0.1L);
        }
    }
    SetDecimalChar('.');
    // Shorter than the texts that read back exactly.
    const AxesRange zoomed = ZoomAbout({-3, 7, 1.0L / 3}, kW, kH, 100, 100, 0.8L);
    EXPECT_LT(ReadableTextsOf(zoomed, kW, kH).xFrom.size(), TextsOf(zoomed).xFrom.size());
}

}  // namespace
}  // namespace vorla
