#include "plane/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vorla {
namespace {

// The reader takes both separators whichever the decimal character is.
class NumberText : public ::testing::TestWithParam<char> {
  protected:
    void SetUp() override { SetDecimalChar(GetParam()); }
    void TearDown() override { SetDecimalChar('.'); }
};

TEST_P(NumberText, GrammarFractionsAndCorrectRounding) {
    const std::pair<const char*, long double> good[] = {
        {"2,5", 2.5L},    {"2.5", 2.5L}, {"1/3", 1.0L / 3},  {"-1/4", -0.25L},
        {"1/-4", -0.25L}, {"  7  ", 7},  {".", 0},           {"1e", 1},
        {"-.5", -0.5L},   {"0.1", 0.1L}, {"+1.5E-2", 0.015L}};
    for (const auto& [text, value] : good) EXPECT_EQ(ConvertNumberText(text).ValueOr(-99), value);
    EXPECT_EQ(ConvertNumberText("0,968245837").ValueOr(0), 0.968245837L);
    EXPECT_EQ(ConvertNumberText("3.872983346").ValueOr(0), 3.872983346L);
    EXPECT_GT(ConvertNumberText("1e-4000").ValueOr(0), 0);
    for (const char* bad : {"", "7 x", "/2", "2/", "1/2/3", "1 000", "1,000.5", "inf", "nan", "e5",
                            "+", "1e5000", "0x10", "\t7", "1/0", "0/0"})
        EXPECT_EQ(ConvertNumberText(bad).Message(), kBadNumberMessage) << "'" << bad << "'";
}

TEST_P(NumberText, RangeChecksAndReportedFields) {
    for (auto [text, check, ok] : {std::tuple{"0", RangeCheck::Positive, false},
                                   {"0", RangeCheck::NonNegative, true},
                                   {"", RangeCheck::None, true},
                                   {"abc", RangeCheck::None, false},
                                   {"-1", RangeCheck::NonNegative, false}}) {
        EXPECT_EQ(TextToNumber(text, check).Ok(), ok) << "'" << text << "'";
        EXPECT_EQ(TextToNumberDef(text, check, 5), ok ? 0 : 5);
    }
    struct : BadNumberReporter {
        std::vector<std::string> fields;
        void ReportBadNumber(const std::string& f) override { fields.push_back(f); }
    } r;
    EXPECT_EQ(ReadEditNumber(r, "EditKd", "4", RangeCheck::None).ValueOr(0), 4);
    EXPECT_FALSE(ReadEditNumber(r, "EditKd", "", RangeCheck::None));  // not 0 like a silent read
    EXPECT_FALSE(ReadEditNumber(r, "EditKr", "-2", RangeCheck::Positive));
    EXPECT_EQ(r.fields, (std::vector<std::string>{"EditKd", "EditKr"}));
}

INSTANTIATE_TEST_SUITE_P(Separators, NumberText, ::testing::Values('.', ','));

// General texts are fixed or scientific, as short as exact; FormatDigits gives n significant
// digits or their marks.
TEST(NumberTexts, GeneralAndSignificantDigits) {
    SetDecimalChar('.');
    std::string texts;
    for (long double v : {0.0L, -0.0L, 1.1L, 0.00012L, 0.0001L, 0.000012345L, 1e20L, 1e15L, -2.5L,
                          1.0L / 3, 100.0L, 999999999999999.0L})
        texts += GeneralText(v) + " ";
    EXPECT_EQ(texts,
              "0 0 1.1 0.00012 0.0001 1.2345E-5 1E20 1E15 -2.5 0.333333333333333 100 "
              "999999999999999 ");
    texts.clear();
    const std::pair<int, long double> digits[] = {
        {6, 3.14159265L},   {4, 987.654L}, {3, 0.000012345678L},
        {3, -0.000123456L}, {0, 0.0L},     {9, 0.0L},
        {0, 5.0L},          {9, 5.0L},     {1, 0.25L},
        {2, 99.7L},         {6, HUGE_VALL}};
    for (const auto& [n, v] : digits) texts += FormatDigits(n, v) + "|";
    EXPECT_EQ(texts, "3.14159|987.7|1.23E-5|-0.000123|0|0| nelze| nelze|0.2|100|INF|");
    SetDecimalChar(',');
    EXPECT_EQ(GeneralText(0.000012345L), "1,2345E-5");
    SetDecimalChar('.');
}

TEST(RoundToInt32, SafeForEveryReal) {
    const std::pair<long double, int> rounded[] = {
        {0.5L, 0},   {1.5L, 2},           {-2.5L, -2},
        {62.5L, 62}, {1e30L, 2147483647}, {-INFINITY, -2147483647 - 1},
        {NAN, 0}};
    for (const auto& [v, n] : rounded) EXPECT_EQ(RoundToInt32(v), n) << v;
    EXPECT_EQ(TruncToInt32(-1.9L), -1);
    EXPECT_EQ(TruncToInt32(1e300L), 2147483647);
}

TEST(NumberCorpus, EveryInputConvertsAndReadsBackOrIsRefused) {
    const std::filesystem::path dir =
        std::filesystem::path(VORLA_SOURCE_DIR) / "fuzz/corpus/number_text";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(e.path(), std::ios::binary);
        const std::string data{std::istreambuf_iterator<char>(in), {}};
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
