#include "plane/tabula.h"

#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

TEST(Tabula, WritesOutsideAreIgnoredColoursReachQtAndCopiesStayApart) {
    Tabula t(4, 3);
    const QImage shared = t.Image();  // as a painter might take it
    t.Detach();
    for (auto [c, r] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {-1, -1}}) t.SetPixel(c, r, kBlack);
    t.SetPixel(3, 2, Rgb(1, 2, 3));
    std::vector<Colour> written(12, kWhite);
    written[11] = Rgb(1, 2, 3);
    EXPECT_EQ(testing::PixelsOf(t), written);
    EXPECT_EQ(t.Pixel(9, 9), kWhite);
    EXPECT_EQ(t.Image().pixel(3, 2), qRgb(1, 2, 3));
    EXPECT_EQ(Tabula::FromQt(shared.pixel(3, 2)) & 0xffffff, kWhite);
    // Huge shapes do not fault, and the clipped line still crosses the surface.
    t.SetPenWidth(3);
    t.Ellipse(-kPixelLimit, -kPixelLimit, kPixelLimit, kPixelLimit);
    t.MoveTo(-kPixelLimit, 1);
    t.LineTo(kPixelLimit, 1);
    t.Rectangle(-kPixelLimit, -kPixelLimit, 1, 0);
    EXPECT_EQ(t.Pixel(2, 1), kBlack);
}

// A run of shapes of every kind and mode, with a fill and direct pixel writes between them.
void DrawMixture(Tabula& t) {
    t.SetPenWidth(2);
    t.SetPenMode(PenMode::NotXor);
    t.MoveTo(0, 10);
    t.LineTo(59, 30);
    t.SetBrushStyle(BrushStyle::Clear);
    t.Ellipse(5, 5, 40, 35);
    t.SetPenMode(PenMode::Copy);
    t.SetBrush(BrushStyle::Solid, kRed);
    t.SetPenColor(Rgb(0, 0, 255));
    t.Ellipse(20, 20, 26, 26);
    t.Rectangle(30, 2, 50, 12);
    t.FillRect(0, 40, 20, 45);
    t.SetPixel(3, 3, Rgb(1, 2, 3));
    t.SetPenMode(PenMode::NotXor);
    t.Ellipse(10, 10, 50, 42);  // over what the fill and the pixel left
    t.SetPenWidth(1);
    t.SetPenMode(PenMode::Copy);
    t.LineTo(0, 0);
}

TEST(Tabula, ABatchDrawsTheSamePixelsAsSingleShapes) {
    Tabula single(60, 48), batched(60, 48);
    DrawMixture(single);
    {
        const Tabula::Batch batch(batched);
        const Tabula::Batch nested(batched);
        DrawMixture(batched);
        EXPECT_EQ(batched.Pixel(3, 3), Rgb(1, 2, 3));  // readable while the batch is open
    }
    EXPECT_EQ(batched.Image(), single.Image());
    // A copy taken after the batch is the finished picture, and later writes leave it alone.
    const QImage copy = batched.Copy();
    batched.Fill(kWhite);
    EXPECT_EQ(copy, single.Image());
}

}  // namespace
}  // namespace vorla
