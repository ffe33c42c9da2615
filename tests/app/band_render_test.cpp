// Computed band by band, every kind that can be has the pixels and grid values of a whole
// computation, overlays included, whatever the band height and the rows asked for; under the
// convergence the basic circles, their overlay and the fixed points of every example, with
// thin and thick pens, too.
#include "app/band_render.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

TEST(BandRender, BandsHaveTheWholePicturesPixelsAndValues) {
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
