// A picture run in its three steps, as the window runs it on a thread of its own: a cancel
// from another thread ends it within the band, which is dropped whole.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>

#include "app/band_render.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(PictureRun, ACancelLeavesCompleteBandsOnly) {
    PictureFixture full(120, 100, 10, 2), cut(120, 100, 10, 2);
    for (PictureFixture* f : {&full, &cut}) f->Set("SpinInfinityTest=3000");
    full.Run(15);

    ASSERT_TRUE(cut.session.BeginPicture(15).ValueOr(false));
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

TEST(PictureRun, TheControlsAreReadAndRepairedWhenThePictureBeginsOnly) {
    PictureFixture f(40, 30, 1);
    f.Set("EditLimit1=5 EditLimit2=1");  // a range the n-th picture repairs
    ASSERT_TRUE(f.session.BeginPicture(4).ValueOr(false));
    EXPECT_EQ(f.controls.Text(Ctl::EditLimit2), "10.200000");
    const ControlValues begun(f.controls);
    f.Set("EditLimit2=7 SpinLimit=9");  // typed while the picture runs: read by the next
    f.session.RunPicture({}, nullptr);
    f.session.EndPicture();
    PictureFixture again(40, 30, 1);
    again.controls = begun;
    again.Run(4);
    EXPECT_EQ(f.Pixels(), again.Pixels());
    EXPECT_EQ(f.controls.Text(Ctl::EditLimit2), "7");
}

// Computed band by band, every kind that can be has the pixels and grid values of a whole
// computation, overlays included, whatever the band height and the rows asked for; under the
// convergence the basic circles, their overlay and the fixed points of every example, with
// thin and thick pens, too.
TEST(PictureRun, BandsHaveTheWholePicturesPixelsAndValues) {
    for (int example = 1; example <= 14; ++example)
        for (int tag = 1; tag <= 22; ++tag) {
            const PictureKindInfo* kind = FindPictureKind(tag);
            if (!kind || !kind->run || !ComputesInBands(tag)) continue;
            if (tag != 1 && example != 3 && example != 10) continue;
            for (const char* pen : {"TloustKce=2", "TloustKce=1", "TloustKce=5"}) {
                SCOPED_TRACE(std::to_string(tag) + " example " + std::to_string(example) + pen);
                PictureFixture whole(61, 45, example, 2);
                whole.Set(pen);
                ASSERT_TRUE(whole.session.ButPrepocetClick());
                whole.Run(tag);
                whole.session.Zadani1Click();
                whole.session.PevneBody1Click();
                struct Rows : RowSink {
                    std::vector<int> seen;
                    const PictureFixture* whole;
                    Status Row(int r, const std::uint32_t* pixels,
                               const std::int32_t* values) override {
                        seen.push_back(r);
                        for (int c = 0; c < 61; ++c) {
                            EXPECT_EQ(Tabula::FromQt(pixels[c]),
                                      whole->session.tabula().Pixel(c, r));
                            EXPECT_EQ(values[c], whole->session.grid().At(c, r));
                        }
                        return {};
                    }
                };
                for (auto [rows, first, last] : {std::tuple{16, 0, -1}, {7, 10, 30}}) {
                    PictureFixture banded(61, 8, example, 2);
                    banded.Set(pen);
                    Rows sink;
                    sink.whole = &whole;
                    const BandRender what{tag, true, true, first, last, rows};
                    ASSERT_TRUE(RenderBands(banded.session, 61, 45, what, sink));
                    ASSERT_EQ(sink.seen.size(),
                              static_cast<std::size_t>((last < 0 ? 44 : last) - first + 1));
                }
                if (tag != 1) break;  // the other kinds with the pen of the fields' start
            }
        }
}

}  // namespace
}  // namespace vorla
