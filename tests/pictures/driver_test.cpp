#include "pictures/driver.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>

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

// A picture of kind `tag` on 12 x 48 pixels over a tabula in kUnpainted, stopped at the
// poll of row `stopAt` (-1: not stopped).
constexpr int kW = 12, kH = 48;
std::unique_ptr<PictureFixture> StoppedAt(int tag, int stopAt, const char* settings = "") {
    auto f = std::make_unique<PictureFixture>(kW, kH);
    f->Paint(testing::kUnpainted);
    f->Set(settings);
    f->host.onPoll = [s = &f->session, stopAt](int row) {
        if (row == stopAt) s->StopVypoctuClick();
    };
    f->Run(tag);
    return f;
}

// Every kind polls before every sixteen rows up to a stop. The rows before the stop are the
// whole picture's and the rest are left as they were (every cell -1 since the resize); the
// extra column of a row is the first cell of the next one.
TEST(Driver, EveryKindPollsUpToAStopKeepsTheRowsDoneAndLeavesTheRest) {
    for (const Kind& k : kKinds) {
        if (k.tag == PictureTag::Rectangle) continue;
        const auto whole = StoppedAt(k.tag, -1);
        for (int stopAt : {-1, 0, 16, 32}) {
            SCOPED_TRACE("tag " + std::to_string(k.tag) + " stop " + std::to_string(stopAt));
            const auto f = StoppedAt(k.tag, stopAt);
            std::vector<int> polls;
            for (int r = 0; r <= (stopAt < 0 ? kH + k.plusOne - 1 : stopAt); r += 16)
                polls.push_back(r);
            EXPECT_EQ(f->host.polls, polls);
            if (stopAt < 0) continue;
            const long long lastWritten = stopAt ? 1LL * stopAt * kW - 1 + k.plusOne : -1;
            const auto& cells = f->session.grid().Cells();
            for (long long i = 0; i < static_cast<long long>(cells.size()); ++i) {
                if (i < 1LL * stopAt * kW) {
                    ASSERT_EQ(cells[i], whole->session.grid().Cells()[i]) << "cell " << i;
                } else if (i > lastWritten) {
                    ASSERT_EQ(cells[i], -1) << "cell " << i;
                }
            }
            for (int r = stopAt; r < kH; ++r)
                ASSERT_EQ(f->session.tabula().Pixel(kW - 1, r), testing::kUnpainted) << "row " << r;
        }
    }
}

// With R = 0 a guarded kind leaves the tabula and the grid as they were; the others compute.
TEST(Driver, OnlyTheGuardedKindsDrawNothingWithoutARadius) {
    for (const Kind& k : kKinds) {
        SCOPED_TRACE("tag " + std::to_string(k.tag));
        const auto f = StoppedAt(k.tag, -1, "EditKr=0");
        const auto& cells = f->session.grid().Cells();
        EXPECT_EQ(std::count(cells.begin(), cells.end(), -1) == std::ssize(cells), k.guarded);
        if (k.guarded) {
            EXPECT_EQ(f->Pixels(), std::vector<Colour>(kW * kH, testing::kUnpainted));
        }
    }
}

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

// A tabula's size, an example (0: none), a task type (0: the example's) and settings.
struct Scenes {
    int w, h, example, task;
    std::string settings;
};

// The single thread steps every orbit on its own, the three threads in lanes: whole pictures
// of the kind's examples (more than one value each), of every example, of whole-number
// starts, then random scenes, axes and tabula sizes. The values stored lie in the kind's range.
TEST(Driver, EveryKindGivesTheSamePictureOnAnyThreadCountWithValuesInItsRange) {
    for (const Kind& k : kKinds) {
        std::vector<Scenes> scenes;
        for (int example : k.examples) scenes.push_back({48, 40, example, 0, k.settings});
        for (int example = 1; example <= 14; ++example) scenes.push_back({37, 23, example, 0, ""});
        // Starts on the centres of K2 to K5 and the origin take the maps' rare paths.
        for (int task : {4, 5})
            scenes.push_back(
                {8, 8, 0, task,
                 "EditKd=2 EditKr=1 EditKm=0 EditKn=2 EditKs=1 EditKu=-2 EditKv=-1 "
                 "EditKw=1 EditKa=3 EditKb=-2 EditKc=1 edtXod=-4 edtXdo=4 edtYzero=1/2"});
        std::mt19937 rng(20261206);
        for (int round = 0; round < 40; ++round)
            scenes.push_back({1 + static_cast<int>(rng() % 14), 1 + static_cast<int>(rng() % 12), 0,
                              2 + static_cast<int>(rng() % 5), RandomSettings(rng)});
        for (size_t i = 0; i < scenes.size(); ++i) {
            const Scenes& s = scenes[i];
            SCOPED_TRACE("tag " + std::to_string(k.tag) + " " + std::to_string(s.example) + " " +
                         s.settings);
            PictureFixture one(s.w, s.h, s.example, 1), three(s.w, s.h, s.example, 3);
            one.session.SetOneLane(true);
            for (PictureFixture* f : {&one, &three}) {
                if (s.task) f->session.ComboTypUlohyChange(s.task - 2);
                f->Set(s.settings);
                (void)f->session.ActionClick(k.tag);
            }
            const auto& cells = three.session.grid().Cells();
            EXPECT_EQ(cells, one.session.grid().Cells());
            EXPECT_EQ(three.Pixels(), one.Pixels());
            if (i < k.examples.size()) {
                EXPECT_GE(std::set<int>(cells.begin(), cells.end()).size(), 2u);
            }
            const int high = *k.spin ? three.controls.Spin(*FindControl(k.spin)) : k.high;
            for (int v : cells) ASSERT_TRUE(v == -1 || (v >= k.low && v <= high)) << v;
        }
    }
}

// A cancel from another thread ends a picture within the band, which is dropped whole.
TEST(Driver, ACancelLeavesCompleteBandsOnly) {
    PictureFixture full(120, 100, 10, 2), cut(120, 100, 10, 2);
    for (PictureFixture* f : {&full, &cut}) f->Set("SpinInfinityTest=3000");
    full.Run(PictureTag::Infinity);

    ASSERT_TRUE(cut.session.BeginPicture(PictureTag::Infinity).ValueOr(false));
    std::atomic<bool> cancel{false};
    int polls = 0;
    std::thread canceller;
    cut.session.RunPicture(
        [&](int) {
            // Cancelled while the third band is being computed (on a slow machine perhaps a
            // later one: a poll after that waits for the cancel).
            if (++polls == 3)
                canceller = std::thread([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    cancel = true;
                });
            while (polls > 3 && !cancel) std::this_thread::yield();
            return false;
        },
        &cancel);
    canceller.join();
    cut.session.EndPicture();
    // The complete bands are the full picture's; every later row is untouched.
    auto row = [](const PictureFixture& f, int r) {
        const auto& cells = f.session.grid().Cells();
        return std::vector<std::int32_t>(cells.begin() + r * 120, cells.begin() + r * 120 + 120);
    };
    int done = 0;
    while (done < 100 && row(cut, done) == row(full, done)) ++done;
    EXPECT_GE(done, 32);
    EXPECT_EQ(done % 16, 0);
    for (int r = done; r < 100; ++r) EXPECT_EQ(row(cut, r), std::vector<std::int32_t>(120, -1));
}

}  // namespace
}  // namespace vorla
