#include "model/controls.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vorla {
namespace {

TEST(Controls, SpinsStayInRangeAndSettingsAreCheckedByKind) {
    ControlValues c;
    for (auto [text, value] : {std::pair{"0", 1}, {"13", 12}, {"99999999999999999999", 12}}) {
        c.SetText(Ctl::SpinNumRect, text);
        EXPECT_EQ(c.Spin(Ctl::SpinNumRect), value) << text;
    }
    EXPECT_EQ(c.Set("Nope", "1").Message(), "unknown control 'Nope'");
    EXPECT_EQ(c.Set("CheckBila", "maybe").Message(), "CheckBila takes on or off, not 'maybe'");
    EXPECT_TRUE(c.Set("LabelBA", "255,0,0"));
    EXPECT_EQ(c.LabelColour(Ctl::LabelBA), kRed);
}

TEST(Controls, EveryNameIsUniqueAndFindsItsControlExactlyToTheEndOfEachGroup) {
    std::set<std::string> names;
    for (int i = 0; i < kControlCount; ++i) {
        const Ctl id = static_cast<Ctl>(i);
        EXPECT_TRUE(names.insert(Spec(id).name).second) << Spec(id).name;
        EXPECT_EQ(FindControl(Spec(id).name), id) << Spec(id).name;
    }
    EXPECT_EQ(FindControl("Nope"), std::nullopt);
    EXPECT_EQ(FindControl("editkd"), std::nullopt);
    // The last member of each numbered group.
    const std::pair<Ctl, const char*> ends[] = {
        {CircleField(10), "EditKc"},   {CircleLabel(4), "LabelB5"}, {ClassLabel(7), "LabelBH"},
        {RegionLabel(7), "LabelKon7"}, {PeriodLabel(15), "lbl15"},  {RectLabel(11), "LabelRect12"}};
    for (const auto& [id, name] : ends) EXPECT_STREQ(Spec(id).name, name);
}

}  // namespace
}  // namespace vorla
