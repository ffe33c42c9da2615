// What a picture reads from the controls when it begins, and what that reading mends in them.
#include "app/picture_params.h"

#include <gtest/gtest.h>

#include "plane/number_text.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

TEST(PictureParams, AnUpperLimitNotAboveTheLowerIsRepairedInItsFieldOnce) {
    const struct {
        const char *a, *b, *shown;
    } cases[] = {{"0.5", "0.5", "1.200000"}, {"0", "0", "0.200000"}, {"1", "0.3", "2.200000"},
                 {"60000", "x", "120000.2"}, {"0.01", "1", "1"},     {"-1", "-1", "-1"}};
    for (const auto& c : cases) {
        ControlValues controls;
        testing::Apply(controls, std::string("EditLimit1=") + c.a + " EditLimit2=" + c.b);
        long double accuracy = 0;
        for (int twice = 0; twice < 2; ++twice) {  // the repaired text needs no second repair
            ReadPictureParams(PictureTag::Nth, controls, Palette{}, accuracy);
            EXPECT_EQ(controls.Text(Ctl::EditLimit2), c.shown) << c.a << " / " << c.b;
        }
    }
}

// Five digits fixed with six decimals; from 100000 on the value's own text.
TEST(PictureParams, ARepairedLimitShowsFiveDigitsWithSixDecimals) {
    const std::pair<long double, const char*> texts[] = {
        {1.2L, "1.200000"},         {1.23456L, "1.234600"},  {12345.67L, "12346.000000"},
        {99999.4L, "99999.000000"}, {99999.97L, "99999.97"}, {120000.2L, "120000.2"}};
    for (const auto& [b, text] : texts) EXPECT_EQ(RepairedLimitText(b), text);
    SetDecimalChar(',');
    EXPECT_EQ(RepairedLimitText(1.2L), "1,200000");
    EXPECT_EQ(RepairedLimitText(120000.2L), "120000,2");
    SetDecimalChar('.');
}

TEST(PictureParams, ABadAccuracyIsAThousandthWithItsFieldFocused) {
    ControlValues controls;
    long double accuracy = 0;
    testing::Apply(controls, "EditPresnost=0");
    EXPECT_EQ(EditPresnostExit(controls, accuracy), 0.001L);
    EXPECT_EQ(accuracy, 0.001L);
    EXPECT_EQ(controls.focused, Ctl::EditPresnost);
}

}  // namespace
}  // namespace vorla
