// Flights through keyframes, with worked numbers: the zoom at constant speed about the point
// both views share, numbers linear, whole numbers to the nearest, the ease, and what is
// refused. (What is held of the first keyframe: the movie tests.)
#include "app/keyframes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "app/view_moves.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

constexpr int kW = 542, kH = 450;

SceneState Key(const std::vector<std::pair<const char*, const char*>>& settings = {}) {
    SceneState s;
    s.taskType = TaskType::ThreeCircles;
    s.pictureKind = 1;
    for (const auto& [name, text] : settings) EXPECT_TRUE(s.controls.Set(name, text)) << name;
    return s;
}

// The flight through keyframes named k0.json, k1.json, ...
Result<Flight> Planned(const std::vector<SceneState>& keys, Ease ease = Ease::Linear) {
    std::vector<std::string> names;
    for (size_t i = 0; i < keys.size(); ++i) names.push_back("k" + std::to_string(i) + ".json");
    return PlanFlight(keys, names, kW, kH, ease);
}

Flight Plan(const std::vector<SceneState>& keys, Ease ease = Ease::Linear) {
    const Result<Flight> f = Planned(keys, ease);
    EXPECT_TRUE(f) << f.Message();
    return f.ValueOr({});
}

TAxisB Axes(const SceneState& frame) {
    return AxesOf(FieldRange(frame.controls, kW, kH).ValueOr({}), kW, kH);
}

// A zoom of 1000 about pixel (400, 100) in 4 frames: each frame a tenth as wide as the one
// before, and the point under that pixel stays under it.
TEST(Keyframes, AZoomOfAThousandInFourFramesNarrowsTenfoldAFrame) {
    SetDecimalChar('.');
    const SceneState a = Key();
    SceneState b = a;
    const AxesRange wide = FieldRange(a.controls, kW, kH).Value();
    WriteAxesTexts(b.controls, TextsOf(ZoomAbout(wide, kW, kH, 400, 100, 1e-3L)));
    const Flight flight = Plan({a, b});
    const TAxisB first = Axes(a);
    const long double w = wide.XTo - wide.XFrom;  // 10
    for (int k = 0; k < 4; ++k) {
        const SceneState frame = FlightFrame(flight, 4, k);
        const AxesRange r = FieldRange(frame.controls, kW, kH).Value();
        EXPECT_NEAR((r.XTo - r.XFrom) / (w / std::pow(10.0L, k)), 1, 1e-15L) << "frame " << k;
        const TAxisB axes = Axes(frame);
        EXPECT_NEAR(axes.XOfColumn(400), first.XOfColumn(400), 1e-6L * axes.XStep) << k;
        EXPECT_NEAR(axes.YOfRow(100), first.YOfRow(100), 1e-6L * axes.YStep) << k;
    }
    // The first and last frames are the keyframes as typed.
    EXPECT_EQ(ReadAxesTexts(FlightFrame(flight, 4, 0).controls), ReadAxesTexts(a.controls));
    EXPECT_EQ(ReadAxesTexts(FlightFrame(flight, 4, 3).controls), ReadAxesTexts(b.controls));
}

TEST(Keyframes, ViewsOfOneWidthPanAtConstantSpeed) {
    const AxesRange r = BetweenViews({0, 10, 0.5L}, {10, 20, 0.5L}, 100, 50, 0.3L);
    EXPECT_NEAR(r.XFrom, 3, 1e-15L);
    EXPECT_NEAR(r.XTo, 13, 1e-15L);
    EXPECT_NEAR(r.YRelative, 0.5L, 1e-15L);
    // Y relatively 0.5 to 0: the centre (y 0 to 2.5 on a range 5 high) goes 0.3 of the way.
    EXPECT_NEAR(BetweenViews({0, 10, 0.5L}, {0, 10, 0}, 100, 50, 0.3L).YRelative, 0.35L, 1e-15L);
}

// Numbers move linearly, whole numbers step to the nearest (halves away from zero), and a
// field the keyframes agree on keeps its text. Smooth: 3u² − 2u³ of the way at u = 0, 1/4,
// 1/2, 3/4, 1. Three keyframes are met in turn.
TEST(Keyframes, NumbersMoveLinearlyOrSmoothlyAndWholeNumbersStepToTheNearest) {
    SetDecimalChar('.');
    const std::tuple<const char*, std::vector<const char*>, std::vector<std::string>, Ease>
        cases[] = {
            {"EditKd", {"3.0", "4"}, {"3.0", "3.25", "3.5", "3.75", "4"}, Ease::Linear},
            {"EditKm", {"1/2", "-1/2"}, {"1/2", "0.25", "0", "-0.25", "-1/2"}, Ease::Linear},
            {"SpinKonvergIter", {"200", "203"}, {"200", "201", "202", "202", "203"}, Ease::Linear},
            {"EditKr", {"1/3", "1/3"}, {"1/3", "1/3", "1/3", "1/3", "1/3"}, Ease::Linear},
            {"EditKd", {"0", "1"}, {"0", "0.15625", "0.5", "0.84375", "1"}, Ease::Smooth},
            {"EditKd", {"0", "10", "0"}, {"0", "5", "10", "5", "0"}, Ease::Linear},
        };
    for (const auto& [field, keyTexts, frames, ease] : cases) {
        std::vector<SceneState> keys;
        for (const char* text : keyTexts) keys.push_back(Key({{field, text}}));
        const Flight flight = Plan(keys, ease);
        for (int k = 0; k < 5; ++k) {
            const SceneState frame = FlightFrame(flight, 5, k);
            EXPECT_EQ(frame.controls.Text(*FindControl(field)), frames[k]) << field << " " << k;
            EXPECT_EQ(frame.width, kW);
        }
    }
}

TEST(Keyframes, KeyframesThatCannotMakeAFlightAreRefused) {
    SceneState four = Key();
    four.taskType = TaskType::FourCircles;
    const std::pair<std::vector<SceneState>, const char*> cases[] = {
        {{Key()}, "two keyframes or more"},
        {{Key(), four}, "k1.json has task type 4 and k0.json task type 3: a movie keeps one"},
        {{Key(), Key({{"EditKd", "2"}}), Key({{"EditKd", "abc"}})}, "k2.json: EditKd: 'abc' is no"},
        {{Key(), Key({{"EditKr", "0"}})}, "k1.json: EditKr: '0' is no number"},
        {{Key(), Key({{"edtXod", "7"}})}, "k1.json: The axes range cannot be used"},
        {{Key(), Key({{"edtXod", "8"}, {"edtXdo", "-2"}})}, "k1.json: its X axis runs the other"},
    };
    for (const auto& [keys, says] : cases) {
        const Result<Flight> f = Planned(keys);
        ASSERT_FALSE(f) << says;
        EXPECT_NE(f.Message().find(says), std::string::npos) << f.Message();
    }
}

}  // namespace
}  // namespace vorla
