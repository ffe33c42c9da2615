// Random scenes, axes and tabula sizes, every picture kind: no fault, only values a kind may
// store, and the same result on any thread count.
#include <gtest/gtest.h>

#include <random>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

const char* const kExtremes[] = {"0", "-1",  "1e-300", "1e300", "-1e300", "1e-12",
                                 "1", "0.5", "-2.5",   "3",     "1/3",    "1e4000"};

std::string RandomNumber(std::mt19937& rng) {
    std::uniform_int_distribution<int> pick(0, 3);
    if (pick(rng) == 0) {
        std::uniform_int_distribution<size_t> e(0, std::size(kExtremes) - 1);
        return kExtremes[e(rng)];
    }
    std::uniform_real_distribution<double> v(-6, 6);
    return GeneralText(v(rng));
}

// Whether `v` is a value that picture `tag` may leave in a cell.
bool Allowed(int tag, int v, const Controls& c) {
    if (v == -1) return true;
    switch (tag) {
        case 1:
        case 8:
            return v >= 1 && v <= 8;
        case 2:
            return v >= 1 && v <= c.Spin(Ctl::SpinPeriodIter);
        case 3:
            return v >= 1 && v <= 16;
        case 7:
            return v >= 0 && v <= c.Spin(Ctl::SpinNumRect);
        case 15:
            return v >= 1 && v <= c.Spin(Ctl::SpinInfinityTest);
        case 16:
            return v >= 1 && v <= c.Spin(Ctl::SpinClosestIter);
        case 4:
        case 17:
        case 22:
            return v >= 0;
        default:
            return true;  // the Lyapunov pictures: any thousandth of an exponent
    }
}

void Configure(PictureFixture& f, std::mt19937& rng, int task) {
    f.session.ComboTypUlohyChange(task - 2);
    for (int i = 0; i < 11; ++i) f.controls.SetText(CircleField(i), RandomNumber(rng));
    // Centres on the unit circle and coincident centres now and then.
    if (rng() % 4 == 0) f.controls.SetText(Ctl::EditKd, "1");
    if (rng() % 4 == 0)
        f.controls.SetText(Ctl::EditKm, f.controls.Text(Ctl::EditKd)),
            f.controls.SetText(Ctl::EditKn, "0");
    f.controls.SetText(Ctl::edtXod, RandomNumber(rng));
    f.controls.SetText(Ctl::edtXdo,
                       rng() % 5 == 0 ? f.controls.Text(Ctl::edtXod) : RandomNumber(rng));
    f.controls.SetText(Ctl::edtYzero, RandomNumber(rng));
    f.controls.SetText(Ctl::EditNekonecno, rng() % 3 == 0 ? "1e300"
                                           : rng() % 2    ? "1e-300"
                                                          : "1000");
    for (Ctl spin :
         {Ctl::SpinKonvergIter, Ctl::SpinPeriodIter, Ctl::SpinCalcIter, Ctl::SpinInfinityTest,
          Ctl::SpinClosestIter, Ctl::SpinLimit, Ctl::SpinRegionIter, Ctl::SpinLyapIter})
        f.controls.SetText(spin, std::to_string(1 + rng() % 40));
    f.controls.SetText(Ctl::SpinRectDensity, std::to_string(1 + rng() % 12));
    for (Ctl edit : {Ctl::EditPresnost, Ctl::EditTotoznost, Ctl::EditMaxIterValue, Ctl::EditLimit1,
                     Ctl::EditLimit2, Ctl::EditX1, Ctl::EditX2, Ctl::EditY1, Ctl::EditY2})
        f.controls.SetText(edit, RandomNumber(rng));
}

TEST(RandomScenes, EveryKindStaysDefinedAndThreadIndependent) {
    std::mt19937 rng(20261206);
    const int tags[] = {1, 2, 3, 4, 7, 8, 15, 16, 17, 18, 19, 20, 21, 22};
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + static_cast<int>(rng() % 14), h = 1 + static_cast<int>(rng() % 12);
        const int task = 2 + static_cast<int>(rng() % 5);
        const std::mt19937 state = rng;
        for (int tag : tags) {
            PictureFixture one(w, h, 0, 1), two(w, h, 0, 3);
            std::mt19937 r1 = state, r2 = state;
            Configure(one, r1, task);
            Configure(two, r2, task);
            one.Run(tag);
            two.Run(tag);
            SCOPED_TRACE("round " + std::to_string(round) + " tag " + std::to_string(tag) + " " +
                         std::to_string(w) + "x" + std::to_string(h) + " task " +
                         std::to_string(task));
            EXPECT_EQ(one.session.grid.Cells(), two.session.grid.Cells());
            EXPECT_EQ(one.Pixels(), two.Pixels());
            for (int v : one.session.grid.Cells()) ASSERT_TRUE(Allowed(tag, v, one.controls)) << v;
            EXPECT_EQ(one.session.grid.Size(), static_cast<size_t>(w + 1) * (h + 1));
        }
        rng.discard(1000);
    }
}

}  // namespace
}  // namespace vorla
