// What every picture kind shares: the rows it walks and polls, the radius guard, prompt
// stops, values in range for random scenes, and the same result on any number of threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <set>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

struct Kind {
    int tag;
    bool plusOne;               // one more row and column than the tabula are computed
    bool guarded;               // with R = 0 nothing is drawn
    std::vector<int> examples;  // whole pictures of these examples
    int low, high;              // the values it stores besides -1 ...
    const char* spin = "";      // ... up to this spin's value, when one is named
    const char* settings = "";
};
constexpr int kAny = INT32_MAX;  // any thousandth of an exponent
// The rectangle iterations (7) do not walk the rows: they poll once per iteration.
const std::vector<Kind> kKinds = {
    {1, true, true, {3, 8, 10, 13}, 1, 8},
    {2, false, true, {10}, 1, 0, "SpinPeriodIter"},
    {3, false, false, {7}, 1, 16},
    {4, true, false, {1}, 0, kAny},
    {7, false, false, {3, 10}, 0, 0, "SpinNumRect"},
    {8, true, true, {5}, 1, 8},
    {15, true, false, {8}, 1, 0, "SpinInfinityTest", "EditNekonecno=10"},
    {16, false, false, {11}, 1, 0, "SpinClosestIter"},
    {17, true, false, {3}, 0, kAny},
    {18, true, false, {3}, -kAny, kAny},
    {19, true, false, {3}, -kAny, kAny},
    {20, true, false, {3, 13}, -kAny, kAny},
    {21, true, false, {3}, -kAny, kAny},
    {22, false, false, {14}, 0, kAny},
};

TEST(EveryKind, RowsPolledCellsWrittenAndTheRadiusGuard) {
    constexpr int kSentinel = 777777;  // a value that no kind computes
    const int W = 12, H = 48;
    for (const Kind& k : kKinds) {
        if (k.tag == 7) continue;
        PictureFixture f(W, H);
        f.session.grid.Fill(kSentinel);
        f.Run(k.tag);
        EXPECT_EQ(f.host.polls,
                  k.plusOne ? (std::vector<int>{0, 16, 32, 48}) : (std::vector<int>{0, 16, 32}))
            << "tag " << k.tag;
        // The extra column of a row is the first cell of the next one: up to H*W + W.
        const long long lastWritten = k.plusOne ? 1LL * H * W + W : 1LL * H * W - 1;
        const auto& cells = f.session.grid.Cells();
        for (long long i = 0; i < static_cast<long long>(cells.size()); ++i)
            ASSERT_EQ(cells[i] != kSentinel, i <= lastWritten) << "tag " << k.tag << " cell " << i;
        // With R = 0 a guarded kind leaves the tabula and the grid as they were.
        f.session.tabula.Fill(testing::kUnpainted);
        f.session.grid.Fill(kSentinel);
        f.Set("EditKr=0");
        f.host.status[7].clear();
        f.Run(k.tag);
        bool anyPixel = false, anyCell = false;
        for (auto p : f.Pixels()) anyPixel |= p != testing::kUnpainted;
        for (int v : f.session.grid.Cells()) anyCell |= v != kSentinel;
        EXPECT_EQ(f.host.status[7], PictureStatusTexts(k.tag));
        EXPECT_EQ(anyCell, !k.guarded) << "tag " << k.tag;
        EXPECT_FALSE(k.guarded && anyPixel) << "tag " << k.tag;
    }
}

TEST(EveryKind, WholePicturesAgreeOnAnyThreadCount) {
    for (const Kind& k : kKinds)
        for (int example : k.examples) {
            auto Picture = [&](int threads) {
                auto f = std::make_unique<PictureFixture>(48, 40, example, threads);
                f->Set(k.settings);
                f->Run(k.tag);
                return f;
            };
            const auto one = Picture(1);
            const auto& cells = one->session.grid.Cells();
            EXPECT_GE(std::set<int>(cells.begin(), cells.end()).size(), 2u)
                << "tag " << k.tag << " example " << example;
            for (int t : {2, 3}) {
                const auto many = Picture(t);
                EXPECT_EQ(many->Pixels(), one->Pixels()) << "tag " << k.tag << ", " << t;
                EXPECT_EQ(many->session.grid.Cells(), cells) << "tag " << k.tag << ", " << t;
            }
        }
}

TEST(EveryKind, StopAtEveryPollEndsThere) {
    for (const Kind& k : kKinds)
        for (int stopAt : {0, 16, 32}) {
            PictureFixture f(8, 40);
            f.Set("SpinNumRect=12");
            f.host.onPoll = [&](int row) {
                if (row == stopAt || (k.tag == 7 && row == 1 + stopAt / 16))
                    f.session.StopVypoctuClick();
            };
            f.Run(k.tag);
            ASSERT_FALSE(f.host.polls.empty());
            EXPECT_LE(f.host.polls.size(), static_cast<size_t>(stopAt / 16 + 1)) << k.tag;
        }
}

// Random scenes, axes and tabula sizes.
const char* const kExtremes[] = {"0", "-1",  "1e-300", "1e300", "-1e300", "1e-12",
                                 "1", "0.5", "-2.5",   "3",     "1/3",    "1e4000"};

std::string RandomNumber(std::mt19937& rng) {
    if (rng() % 4 == 0) return kExtremes[rng() % std::size(kExtremes)];
    return GeneralText(std::uniform_real_distribution<double>(-6, 6)(rng));
}

std::string RandomSettings(std::mt19937& rng) {
    std::string s;
    auto add = [&](const std::string& name, const std::string& text) {
        s += name + "=" + text + " ";
    };
    for (int i = 0; i < 11; ++i) add(Spec(CircleField(i)).name, RandomNumber(rng));
    // Centres on the unit circle and coincident centres now and then.
    if (rng() % 4 == 0) add("EditKd", "1");
    if (rng() % 4 == 0) add("EditKm", "1"), add("EditKn", "0");
    const std::string from = RandomNumber(rng);
    add("edtXod", from);
    add("edtXdo", rng() % 5 == 0 ? from : RandomNumber(rng));
    add("edtYzero", RandomNumber(rng));
    add("EditNekonecno", rng() % 3 == 0 ? "1e300" : rng() % 2 ? "1e-300" : "1000");
    for (const char* spin :
         {"SpinKonvergIter", "SpinPeriodIter", "SpinCalcIter", "SpinInfinityTest",
          "SpinClosestIter", "SpinLimit", "SpinRegionIter", "SpinLyapIter", "SpinNumRect"})
        add(spin, std::to_string(1 + rng() % 40));
    add("SpinRectDensity", std::to_string(1 + rng() % 12));
    for (const char* edit : {"EditPresnost", "EditTotoznost", "EditMaxIterValue", "EditLimit1",
                             "EditLimit2", "EditX1", "EditX2", "EditY1", "EditY2"})
        add(edit, RandomNumber(rng));
    return s;
}

TEST(EveryKind, RandomScenesStayDefinedAndThreadIndependent) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + static_cast<int>(rng() % 14), h = 1 + static_cast<int>(rng() % 12);
        const int task = 2 + static_cast<int>(rng() % 5);
        const std::string settings = RandomSettings(rng);
        for (const Kind& k : kKinds) {
            SCOPED_TRACE("round " + std::to_string(round) + " tag " + std::to_string(k.tag));
            PictureFixture one(w, h, 0, 1), three(w, h, 0, 3);
            for (PictureFixture* f : {&one, &three}) {
                f->session.ComboTypUlohyChange(task - 2);
                f->Set(settings);
                f->Run(k.tag);
            }
            EXPECT_EQ(one.session.grid.Cells(), three.session.grid.Cells());
            EXPECT_EQ(one.Pixels(), three.Pixels());
            EXPECT_EQ(one.session.grid.Size(), static_cast<size_t>(w + 1) * (h + 1));
            const int high = *k.spin ? one.controls.Spin(*FindControl(k.spin)) : k.high;
            for (int v : one.session.grid.Cells())
                ASSERT_TRUE(v == -1 || (v >= k.low && v <= high)) << v;
        }
    }
}

}  // namespace
}  // namespace vorla
