// The picture driver through the session, and what every picture kind shares: the value
// grid, the rows walked and polled, prompt stops that keep the rows done, pictures inside a
// poll, the texts and options read before a picture starts, the radius guard, values in range,
// the same result on any number of threads, the seed of the random companion points, and the
// row pool that runs the rows.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "pictures/row_pool.h"
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
    {7, false, false, {3, 7, 10}, 0, 0, "SpinNumRect"},
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

TEST(EveryKind, RowsPolledCellsWrittenStopsAndTheRadiusGuard) {
    const int W = 12, H = 48;
    for (const Kind& k : kKinds) {
        if (k.tag == 7) continue;
        PictureFixture whole(W, H);
        whole.Run(k.tag);
        // A whole picture, and one stopped at each poll: the rows before it are the whole
        // picture's and the rest are left as they were (every cell -1 since the resize). The
        // extra column of a row is the first cell of the next one.
        for (int stopAt : {-1, 0, 16, 32}) {
            SCOPED_TRACE("tag " + std::to_string(k.tag) + " stop " + std::to_string(stopAt));
            PictureFixture f(W, H);
            f.Paint(testing::kUnpainted);
            f.host.onPoll = [&](int row) {
                if (row == stopAt) f.session.StopVypoctuClick();
            };
            f.Run(k.tag);
            const int rows = stopAt < 0 ? H + k.plusOne : stopAt;
            std::vector<int> polls;
            for (int r = 0; r <= (stopAt < 0 ? rows - 1 : stopAt); r += 16) polls.push_back(r);
            EXPECT_EQ(f.host.polls, polls);
            EXPECT_EQ(f.host.status[7], PictureStatusTexts(k.tag));
            const long long lastWritten = rows ? 1LL * rows * W - 1 + k.plusOne : -1;
            const auto& cells = f.session.grid().Cells();
            for (long long i = 0; i < static_cast<long long>(cells.size()); ++i) {
                const bool computed = i<1LL * std::min(rows, H) * W, left = i> lastWritten;
                if (computed || left) {
                    ASSERT_EQ(cells[i], computed ? whole.session.grid().Cells()[i] : -1)
                        << "cell " << i;
                }
            }
            for (int r = rows; r < H; ++r)
                ASSERT_EQ(f.session.tabula().Pixel(W - 1, r), testing::kUnpainted) << "row " << r;
        }
        // With R = 0 a guarded kind leaves the tabula and the grid as they were.
        PictureFixture f(W, H);
        f.Paint(testing::kUnpainted);
        f.Set("EditKr=0");
        f.Run(k.tag);
        bool anyPixel = false, anyCell = false;
        for (auto p : f.Pixels()) anyPixel |= p != testing::kUnpainted;
        for (int v : f.session.grid().Cells()) anyCell |= v != -1;
        EXPECT_EQ(anyCell, !k.guarded) << "tag " << k.tag;
        EXPECT_FALSE(k.guarded && anyPixel) << "tag " << k.tag;
    }
}

// Random scenes, axes and tabula sizes.
const char* const kExtremes[] = {"0", "-1",  "1e-300", "1e300", "-1e300", "1e-12",
                                 "1", "0.5", "-2.5",   "3",     "1/3",    "1e4000"};

std::string RandomNumber(std::mt19937& rng) {
    if (rng() % 4 == 0) return kExtremes[rng() % std::size(kExtremes)];
    return GeneralText(std::uniform_real_distribution<double>(-6, 6)(rng));
}

// Every field a random number and every spin a small count; now and then centres on the
// unit circle, coincident centres and an empty X range; a bound of infinity of three kinds.
std::string RandomSettings(std::mt19937& rng) {
    std::string s;
    for (const ControlSpec& c : ControlTable()) {
        if (c.kind == ControlKind::Edit) s += std::string(c.name) + "=" + RandomNumber(rng) + " ";
        if (c.kind == ControlKind::Spin)
            s += std::string(c.name) + "=" + std::to_string(1 + rng() % 40) + " ";
    }
    if (rng() % 4 == 0) s += "EditKd=1 ";
    if (rng() % 4 == 0) s += "EditKm=1 EditKn=0 ";
    if (rng() % 5 == 0) {
        const std::string x = RandomNumber(rng);
        s += "edtXod=" + x + " edtXdo=" + x + " ";
    }
    s += std::string("EditNekonecno=") + (rng() % 3 == 0 ? "1e300" : rng() % 2 ? "1e-300" : "1000");
    return s + " SpinRectDensity=" + std::to_string(1 + rng() % 12);
}

// Pictures on one thread and on three, with and without lanes, agree pixel for pixel and
// value for value, with their values in range: whole pictures of examples, then random
// scenes, axes and tabula sizes.
TEST(EveryKind, PicturesAgreeOnAnyThreadCountAndStayInRange) {
    struct Case {
        int w, h, example, task;
        std::string settings;
    };
    std::vector<Case> random;
    std::mt19937 rng(20261206);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + static_cast<int>(rng() % 14), h = 1 + static_cast<int>(rng() % 12);
        const int task = 2 + static_cast<int>(rng() % 5);
        random.push_back({w, h, 0, task, RandomSettings(rng)});
    }
    for (const Kind& k : kKinds) {
        std::vector<Case> scenes;
        for (int example : k.examples) scenes.push_back({48, 40, example, 0, k.settings});
        scenes.insert(scenes.end(), random.begin(), random.end());
        for (const Case& s : scenes) {
            SCOPED_TRACE("tag " + std::to_string(k.tag) + " " + std::to_string(s.example) + " " +
                         s.settings);
            // The single thread steps every orbit on its own, the three threads in lanes.
            PictureFixture one(s.w, s.h, s.example, 1), three(s.w, s.h, s.example, 3);
            one.session.SetOneLane(true);
            for (PictureFixture* f : {&one, &three}) {
                if (s.task) f->session.ComboTypUlohyChange(s.task - 2);
                f->Set(s.settings);
                // An axes range without a scale is refused and the picture not started.
                const Controls& c = f->controls;
                const AxesRange typed{c.Number(Ctl::edtXod), c.Number(Ctl::edtXdo),
                                      c.Number(Ctl::edtYzero)};
                EXPECT_EQ(f->session.ActionClick(k.tag).Ok(),
                          CheckRange(typed, s.w, s.h) == RangeFault::None);
            }
            const auto& cells = one.session.grid().Cells();
            EXPECT_EQ(three.session.grid().Cells(), cells);
            EXPECT_EQ(three.Pixels(), one.Pixels());
            EXPECT_TRUE(!s.example || std::set<int>(cells.begin(), cells.end()).size() >= 2);
            const int high = *k.spin ? one.controls.Spin(*FindControl(k.spin)) : k.high;
            for (int v : cells) ASSERT_TRUE(v == -1 || (v >= k.low && v <= high)) << v;
        }
    }
}

// Every example in every kind that steps orbits in lanes, on one thread and on two, gives
// the pixels and cells of its orbits stepped one at a time.
TEST(EveryKind, LanesGiveTheOrbitsOneAtATime) {
    for (int example = 1; example <= 14; ++example)
        for (int tag : {1, 2, 3, 4, 8, 15, 16, 17, 22}) {
            SCOPED_TRACE("example " + std::to_string(example) + " tag " + std::to_string(tag));
            PictureFixture alone(37, 23, example, 1), one(37, 23, example, 1),
                two(37, 23, example, 2);
            alone.session.SetOneLane(true);
            for (PictureFixture* f : {&alone, &one, &two}) f->Run(tag);
            for (PictureFixture* f : {&one, &two}) {
                EXPECT_EQ(f->session.grid().Cells(), alone.session.grid().Cells());
                EXPECT_EQ(f->Pixels(), alone.Pixels());
            }
        }
}

// Start points on the circles' centres take the maps' rare paths, in the lanes too: a
// grid of whole numbers over circles centred on whole numbers, four and five circles.
TEST(EveryKind, LanesThroughTheCentresGiveTheOrbitsOneAtATime) {
    const std::string circles =
        "EditKd=2 EditKr=1 EditKm=0 EditKn=2 EditKs=1 EditKu=-2 EditKv=-1 EditKw=1 EditKa=3 "
        "EditKb=-2 EditKc=1 edtXod=-4 edtXdo=4 edtYzero=1/2";
    for (int task : {4, 5})
        for (int tag : {1, 2, 4, 8, 16, 17, 22}) {
            SCOPED_TRACE("task " + std::to_string(task) + " tag " + std::to_string(tag));
            PictureFixture alone(8, 8, 0, 1), lanes(8, 8, 0, 2);
            alone.session.SetOneLane(true);
            for (PictureFixture* f : {&alone, &lanes}) {
                f->session.ComboTypUlohyChange(task - 2);
                f->Set(circles);
                f->Run(tag);
            }
            // The pixels start on the origin and on the centres of K2 to K5.
            const TAxisB& axes = lanes.session.view().axes;
            std::set<std::pair<long double, long double>> starts;
            for (int r = 0; r <= 8; ++r)
                for (int c = 0; c <= 8; ++c) starts.insert({axes.XOfColumn(c), axes.YOfRow(r)});
            for (auto centre :
                 {std::pair{0.0L, 0.0L}, {2.0L, 0.0L}, {0.0L, 2.0L}, {-2.0L, -1.0L}, {3.0L, -2.0L}})
                ASSERT_TRUE(starts.count(centre)) << centre.first << " " << centre.second;
            EXPECT_EQ(lanes.session.grid().Cells(), alone.session.grid().Cells());
            EXPECT_EQ(lanes.Pixels(), alone.Pixels());
        }
}

TEST(ValueGridTest, IndexAndBounds) {
    ValueGrid g;
    g.Resize(5, 3);
    EXPECT_EQ(g.Size(), 6u * 4u);
    EXPECT_EQ(g.At(0, 0), -1);
    g.Set(2, 1, 7);
    EXPECT_EQ(g.AtIndex(1 * 5 + 2), 7);
    g.Set(5, 1, 9);  // column W lands in the first cell of the next row
    EXPECT_EQ(g.At(0, 2), 9);
    g.SetIndex(-1, 1);  // writes and reads outside are ignored
    g.SetIndex(24, 1);
    g.Set(1000, 1000, 1);
    EXPECT_EQ(g.At(-1, 0) + g.At(0, 1000), -2);
    g.Resize(2, 2);
    EXPECT_EQ(g.Cells(), std::vector<int>(9, -1));
}

TEST(Driver, SecondPictureInsideAPollEndsTheFirst) {
    PictureFixture f(20, 40);
    bool nested = false;
    f.host.onPoll = [&](int row) {
        if (row == 16 && !nested) {
            nested = true;
            (void)f.session.ActionClick(1);
        }
    };
    f.Run(1);
    // The outer picture's polls 0, 16; the nested one's 0, 16, 32; the nested picture's
    // end sets the stop, which the outer sees as soon as its poll at 16 returns.
    EXPECT_EQ(f.host.polls, (std::vector<int>{0, 16, 0, 16, 32}));
    EXPECT_GE(f.session.grid().At(5, 39), 1);  // the nested picture computed every row
}

TEST(Driver, WhatIsReadBeforeAPictureStarts) {
    // A bound of infinity that is not a positive number starts nothing.
    for (const char* bad : {"0", "-5", "abc"}) {
        PictureFixture f(16, 16);
        f.Set(std::string("EditNekonecno=") + bad);
        f.host.status[7] = "before";
        f.Run(1);
        EXPECT_TRUE(f.host.polls.empty() && f.host.status[7] == "before") << bad;
        EXPECT_TRUE(f.controls.focused == Ctl::EditNekonecno && f.session.scene().L == 1000) << bad;
    }
    // Nor does a session without a task type.
    PictureFixture none(16, 16, 0);
    none.Run(1);
    EXPECT_TRUE(none.host.polls.empty());
    EXPECT_EQ(none.host.status[7], kNoTaskStatus);
    // A bad accuracy falls back to 0.001 with the focus on its field; fractions are read.
    PictureFixture f(16, 16);
    f.Set("EditPresnost=0");
    f.Run(1);
    EXPECT_EQ(f.session.Accuracy(), 0.001L);
    EXPECT_EQ(f.controls.focused, Ctl::EditPresnost);
    f.Set("EditPresnost=1/100");
    f.Run(1);
    EXPECT_EQ(f.session.Accuracy(), 1.0L / 100);
    // The clear option paints the tabula white first; with R = 0 the picture draws nothing.
    f.Paint(kRed);
    f.Set("CheckClear=1 EditKr=0");
    f.Run(1);
    EXPECT_EQ(f.session.tabula().Pixel(15, 0), kWhite);
    EXPECT_EQ(f.host.status[7], PictureStatusTexts(1));
}

TEST(Driver, TheSeedDecidesTheLyapunovCompanionPoints) {
    PictureFixture a(48, 40, 3), b(48, 40, 3);
    b.session.SetSeed(999);
    a.Run(21);
    b.Run(21);
    EXPECT_NE(a.session.grid().Cells(), b.session.grid().Cells());
}

// Every row of every batch is done exactly once, before Run returns, whatever the pool's
// threads.
TEST(RowPool, EveryRowOnceBeforeRunReturns) {
    for (int threads : {3, 1, 4, 2}) {
        RowPool pool(threads);
        EXPECT_EQ(pool.Threads(), threads);
        for (int batch = 0; batch < 300; ++batch) {
            std::vector<std::atomic<int>> hits(1 + batch % 40);
            pool.Run(0, static_cast<int>(hits.size()) - 1, [&](int r) { ++hits[r]; });
            for (const auto& h : hits) ASSERT_EQ(h.load(), 1) << threads << " " << batch;
        }
    }
}

}  // namespace
}  // namespace vorla
