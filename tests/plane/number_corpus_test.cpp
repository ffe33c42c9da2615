// The fuzz corpus of the number text, replayed with the fuzz target's own checks.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "plane/number_text.h"

namespace vorla {
namespace {

TEST(NumberCorpus, EveryInputConvertsAndReadsBackOrIsRefused) {
    const std::filesystem::path dir =
        std::filesystem::path(VORLA_SOURCE_DIR) / "fuzz/corpus/number_text";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string data = ss.str();
        if (data.empty()) continue;
        ++files;
        SetDecimalChar(data[0] & 1 ? ',' : '.');
        if (const Result<long double> read = ConvertNumberText(data.substr(1))) {
            SCOPED_TRACE(e.path().filename().string());
            const long double v = read.Value();
            ASSERT_TRUE(std::isfinite(v));
            const std::string g = GeneralText(v);
            const Result<long double> back = ConvertNumberText(g);
            ASSERT_TRUE(back) << g;
            EXPECT_EQ(GeneralText(back.Value()), g);
            for (int n = 0; n <= 9; ++n) EXPECT_FALSE(FormatDigits(n, v).empty());
        }
    }
    SetDecimalChar('.');
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace vorla
