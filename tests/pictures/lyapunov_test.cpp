#include "pictures/lyapunov.h"

#include "support/point_cases.h"

namespace vorla::testing {
namespace {

template <float L>
constexpr Look Scale = [](const PointScene& s) { return s.palette.LyapunovScaleColor(L); };

// On the unit circle (0.6, 0.8) -> (-0.28, 0.96) -> (-0.8432, -0.5376): the terms are
// ln 1.5505 (X), ln 6.2033 (Y) and ln 0.30857 (their sum).
constexpr Point p{0.6L, 0.8L};
constexpr int kSmall = -9210;  // 1000 ln(0.0001): the term of a degenerate step

// X takes the slopes dY/dX, Y their inverses. The sum: -1 -> 1 -> 1 and 0 -> 1 -> 1 have one
// degenerate term, then rest, divided by the full n. With the bound 50 the origin and its
// companion both lie at K1's centre and go together to K2's, whatever the companion's angle.
TEST(Lyapunov, TheFourPicturesOnWorkedPoints) {
    Check(PictureTag::LyapunovX,
          {{"one step", 6, p, "SpinLyapIter=1", 439, Scale<0.438541f>},
           // The X axis is invariant under the two-circle map: the numerator is 0.
           {"orbit on a line", 2, {0.5L, 0}, "", kSmall, Is<Rgb(0, 0, 128)>}});
    Check(PictureTag::LyapunovY, {{"one step", 6, p, "SpinLyapIter=1", 1825, Scale<1.825014f>}});
    Check(PictureTag::LyapunovSum, {{"one step", 6, p, "SpinLyapIter=1", -1176, Scale<-1.175811f>},
                                    {"-1 comes to rest", 6, {-1, 0}, "", -46},
                                    {"0 comes to rest", 6, {0, 0}, "", -46},
                                    {"1 is at rest", 6, {1, 0}, "", 0, Is<kWhite>},
                                    {"-1, one step", 6, {-1, 0}, "SpinLyapIter=1", kSmall},
                                    {"1, one step", 6, {1, 0}, "SpinLyapIter=1", 0}});
    Check(PictureTag::LyapunovDisplacement,
          {{"companion on the orbit", 2, {0, 0}, "", kSmall, nullptr, Bound<50>}});
}

TEST(Lyapunov, TheSeedDecidesTheCompanionPoints) {
    PictureFixture a(48, 40, 3), b(48, 40, 3);
    b.session.SetSeed(999);
    for (PictureFixture* f : {&a, &b}) f->Run(PictureTag::LyapunovDisplacement);
    EXPECT_NE(a.session.grid().Cells(), b.session.grid().Cells());
}

TEST(Lyapunov, TheInlineLogarithmIsTheLibrarys) {
    EXPECT_TRUE(InlineLnMatchesLibrary(1 << 20));
}

}  // namespace
}  // namespace vorla::testing
