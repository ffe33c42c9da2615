#include "plane/png_rows.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vorla {
namespace {

constexpr int W = 5, H = 3;
const std::string path = ::testing::TempDir() + "png_rows_test.png";

TEST(PngRows, RowsAndTextsComeBackAndAnIncompletePictureIsNoPicture) {
    std::vector<std::uint32_t> pixels(W * H);
    for (int i = 0; i < W * H; ++i) pixels[i] = 0xff000000u | (i * 0x0a1b2cu & 0xffffffu);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    Result<std::unique_ptr<PngRowWriter>> w = PngRowWriter::Start(f, W, H, {{"vorla", "1 2 3"}});
    ASSERT_TRUE(w) << w.Message();
    for (int r = 0; r < H; ++r) ASSERT_TRUE(w.Value()->Row(&pixels[r * W]));
    EXPECT_TRUE(w.Value()->Finish());
    EXPECT_FALSE(w.Value()->Row(pixels.data()));  // no row beyond the last
    std::fclose(f);

    const QImage qt(QString::fromStdString(path));
    ASSERT_EQ(qt.size(), QSize(W, H));
    for (int i = 0; i < W * H; ++i) EXPECT_EQ(qt.pixel(i % W, i / W), pixels[i]);
    f = std::fopen(path.c_str(), "rb");
    Result<std::unique_ptr<PngRowReader>> r = PngRowReader::Start(f);
    ASSERT_TRUE(r) << r.Message();
    EXPECT_EQ(r.Value()->Text("vorla"), "1 2 3");
    std::vector<std::uint32_t> row(W);
    for (int y = 0; y < H; ++y) {
        ASSERT_TRUE(r.Value()->Row(row.data()));
        EXPECT_TRUE(std::equal(row.begin(), row.end(), &pixels[y * W]));
    }
    std::fclose(f);
    f = std::fopen(path.c_str(), "wb");
    w = PngRowWriter::Start(f, W, H);
    ASSERT_TRUE(w);
    ASSERT_TRUE(w.Value()->Row(pixels.data()));
    EXPECT_FALSE(w.Value()->Finish());
    std::fclose(f);
}

}  // namespace
}  // namespace vorla
