#include "plane/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vorla {
namespace {

struct Recorder : BadNumberReporter {
    std::vector<std::string> fields;
    void ReportBadNumber(const std::string& f) override { fields.push_back(f); }
};

class NumberText : public ::testing::TestWithParam<char> {
  protected:
    void SetUp() override { SetDecimalChar(GetParam()); }
    void TearDown() override { SetDecimalChar('.'); }
    static bool Conv(const char* t, long double& v) {
        const Result<long double> r = ConvertNumberText(t);
        if (r) v = r.Value();
        return r.Ok();
    }
};

TEST_P(NumberText, BothSeparatorsAndFractions) {
    long double v = 0;
    ASSERT_TRUE(Conv("2,5", v));
    EXPECT_EQ(v, 2.5L);
    ASSERT_TRUE(Conv("2.5", v));
    EXPECT_EQ(v, 2.5L);
    ASSERT_TRUE(Conv("1/3", v));
    EXPECT_EQ(v, 1.0L / 3);
    ASSERT_TRUE(Conv("-1/4", v));
    EXPECT_EQ(v, -0.25L);
    ASSERT_TRUE(Conv("1/-4", v));
    EXPECT_EQ(v, -0.25L);
    ASSERT_TRUE(Conv("0,968245837", v));
    EXPECT_EQ(v, 0.968245837L);
    EXPECT_FALSE(Conv("1,000.5", v));
}

TEST_P(NumberText, Grammar) {
    long double v = 0;
    ASSERT_TRUE(Conv("  7  ", v));
    EXPECT_EQ(v, 7);
    ASSERT_TRUE(Conv(".", v));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(Conv("1e", v));
    EXPECT_EQ(v, 1);
    ASSERT_TRUE(Conv("+1.5E-2", v));
    EXPECT_EQ(v, 0.015L);
    ASSERT_TRUE(Conv("-.5", v));
    EXPECT_EQ(v, -0.5L);
    for (const char* bad : {"", "7 x", "/2", "2/", "1/2/3", "1 000", "inf", "nan", "e5", "+",
                            "1e5000", "0x10", "\t7", "1/0", "0/0"})
        EXPECT_EQ(ConvertNumberText(bad).Message(), kBadNumberMessage) << "'" << bad << "'";
}

TEST_P(NumberText, CorrectlyRounded) {
    long double v = 0;
    ASSERT_TRUE(Conv("0.1", v));
    EXPECT_EQ(v, 0.1L);
    ASSERT_TRUE(Conv("3.872983346", v));
    EXPECT_EQ(v, 3.872983346L);
    ASSERT_TRUE(Conv("1e-4000", v));
    EXPECT_GT(v, 0);
}

TEST_P(NumberText, RangesAndTheEmptyText) {
    struct Case {
        const char* text;
        RangeCheck check;
        bool ok;
        long double value;
    };
    for (const Case& c :
         {Case{"0", RangeCheck::Positive, false, 0}, Case{"0", RangeCheck::NonNegative, true, 0},
          Case{"", RangeCheck::None, true, 0}, Case{"abc", RangeCheck::None, false, 0},
          Case{"-1", RangeCheck::NonNegative, false, 0}}) {
        const Result<long double> r = TextToNumber(c.text, c.check);
        EXPECT_EQ(r.Ok(), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(TextToNumberDef(c.text, c.check, 5), c.ok ? c.value : 5);
    }
}

TEST_P(NumberText, ReadEditNumberReportsEveryRefusal) {
    Recorder r;
    EXPECT_EQ(ReadEditNumber(r, "EditKd", "4", RangeCheck::None).ValueOr(0), 4);
    EXPECT_TRUE(r.fields.empty());
    EXPECT_FALSE(ReadEditNumber(r, "EditKd", "", RangeCheck::None));  // not 0 like a silent read
    EXPECT_FALSE(ReadEditNumber(r, "EditKr", "-2", RangeCheck::Positive));
    EXPECT_EQ(r.fields, (std::vector<std::string>{"EditKd", "EditKr"}));
}

INSTANTIATE_TEST_SUITE_P(Separators, NumberText, ::testing::Values('.', ','));

TEST(GeneralText, FixedAndScientific) {
    SetDecimalChar('.');
    EXPECT_EQ(GeneralText(0), "0");
    EXPECT_EQ(GeneralText(-0.0L), "0");
    EXPECT_EQ(GeneralText(1.1L), "1.1");
    EXPECT_EQ(GeneralText(0.00012L), "0.00012");
    EXPECT_EQ(GeneralText(0.0001L), "0.0001");
    EXPECT_EQ(GeneralText(0.000012345L), "1.2345E-5");
    EXPECT_EQ(GeneralText(1e20L), "1E20");
    EXPECT_EQ(GeneralText(1e15L), "1E15");
    EXPECT_EQ(GeneralText(999999999999999.0L), "999999999999999");
    EXPECT_EQ(GeneralText(-2.5L), "-2.5");
    EXPECT_EQ(GeneralText(1.0L / 3), "0.333333333333333");
    EXPECT_EQ(GeneralText(100), "100");
    SetDecimalChar(',');
    EXPECT_EQ(GeneralText(1.1L), "1,1");
    EXPECT_EQ(GeneralText(0.000012345L), "1,2345E-5");
    SetDecimalChar('.');
}

TEST(GeneralText, ReadsBackThroughTheGrammar) {
    SetDecimalChar(',');
    for (long double v : {1.0L / 3, -2.5e-300L, 123456.789L, 7e300L}) {
        const Result<long double> back = ConvertNumberText(GeneralText(v));
        ASSERT_TRUE(back);
        EXPECT_EQ(GeneralText(back.Value()), GeneralText(v));
    }
    SetDecimalChar('.');
}

TEST(FormatDigits, WorkedNumbers) {
    SetDecimalChar('.');
    EXPECT_EQ(FormatDigits(6, 3.14159265L), "3.14159");
    EXPECT_EQ(FormatDigits(4, 987.654L), "987.7");
    EXPECT_EQ(FormatDigits(3, 0.000012345678L), "1.23E-5");
    EXPECT_EQ(FormatDigits(3, -0.000123456L), "-0.000123");
    EXPECT_EQ(FormatDigits(0, 0), "0");
    EXPECT_EQ(FormatDigits(9, 0), "0");
    EXPECT_EQ(FormatDigits(0, 5), " nelze");
    EXPECT_EQ(FormatDigits(9, 5), " nelze");
    EXPECT_EQ(FormatDigits(1, 0.25L), "0.2");
    EXPECT_EQ(FormatDigits(2, 99.7L), "100");
    EXPECT_EQ(FormatDigits(6, INFINITY), "INF");
}

TEST(Rounding, SafeForEveryReal) {
    EXPECT_EQ(RoundToInt32(0.5L), 0);
    EXPECT_EQ(RoundToInt32(1.5L), 2);
    EXPECT_EQ(RoundToInt32(-2.5L), -2);
    EXPECT_EQ(RoundToInt32(62.5L), 62);
    EXPECT_EQ(RoundToInt32(1e30L), 2147483647);
    EXPECT_EQ(RoundToInt32(-INFINITY), -2147483647 - 1);
    EXPECT_EQ(RoundToInt32(NAN), 0);
    EXPECT_EQ(TruncToInt32(-1.9L), -1);
    EXPECT_EQ(TruncToInt32(1e300L), 2147483647);
}

}  // namespace
}  // namespace vorla
