// The value and the colour that each picture kind gives one chosen plane point, on orbits
// whose every step is known: the squaring on the unit circle (task 6) and K2 around the
// origin, where one step of the two-circle map multiplies by R^2 exactly.
#include <gtest/gtest.h>

#include <memory>

#include "pictures/lyapunov.h"
#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PointScene;

struct Point {
    long double x, y;
};
constexpr long double kPi = 3.14159265358979323846264338327950288L;
Point Angle(long double t) {
    return {std::cos(t), std::sin(t)};
}
// The point of the unit circle at the angle 2*pi*j/(2^p - 1): a p-cycle of the squaring.
Point Cycle(int j, int p) {
    return Angle(2 * kPi * j / ((1L << p) - 1));
}
const Point c2 = Cycle(1, 2), halfC2{c2.x / 2, c2.y / 2};  // 2*pi/3 and 4*pi/3 take turns

// The colour that the pixel is expected to have.
using Look = Colour (*)(const PointScene&);
template <Colour c>
constexpr Look Is = [](const PointScene&) { return c; };
constexpr Look Left = [](const PointScene&) { return testing::kUnpainted; };
template <int i>
constexpr Look P = [](const PointScene& s) { return s.palette.PeriodColors[i]; };
template <int i>
constexpr Look Class = [](const PointScene& s) { return s.palette.ClassColors[i]; };
template <int i>
constexpr Look Region = [](const PointScene& s) { return s.palette.RegionColors[i]; };
template <int i>
constexpr Look Lighter = [](const PointScene& s) { return LightenColor(Region<i>(s)); };
template <int i>
constexpr Look LighterDarker = [](const PointScene& s) { return DarkenColor(Lighter<i>(s)); };
// The ramp between the colours of two labels.
Palette Ramp(const PointScene& s, Ctl from, Ctl to) {
    Palette ramp;
    ramp.RampFromColor = s.controls.LabelColour(from);
    ramp.RampToColor = s.controls.LabelColour(to);
    return ramp;
}
template <float f>  // along the n-th picture's ramp
constexpr Look Mix = [](const PointScene& s) {
    return Ramp(s, Ctl::LabelLimitD, Ctl::LabelLimitH).MixColorsFraction(f);
};
template <int n>  // along the last-two picture's ramp
constexpr Look Byte = [](const PointScene& s) {
    return Ramp(s, Ctl::LabelItersFrom, Ctl::LabelItersTo).MixColorsByte(n);
};
template <float L>
constexpr Look Scale = [](const PointScene& s) { return s.palette.LyapunovScaleColor(L); };

template <int r2, int bound = 1000>
void Scaled(Scene& s) {
    testing::Scaling(s, r2);
    s.SetInfinityBound(bound);
}
template <int bound>
void Bound(Scene& s) {
    s.SetInfinityBound(bound);
}
void K2At4(Scene& s) {
    s.k.D = 4;
}

struct Case {
    const char* what;
    int task;
    Point at;
    const char* settings;
    int value;
    Look look = nullptr;              // nullptr: any colour
    void (*scene)(Scene&) = nullptr;  // changes the circles or the bound
};

std::unique_ptr<PointScene> RunCase(int tag, const Case& c, const char* common = "") {
    auto s = std::make_unique<PointScene>(c.task, c.at.x, c.at.y);
    if (c.scene) c.scene(s->scene);
    testing::Apply(s->controls, std::string(common) + " " + c.settings);
    s->Run(tag);
    return s;
}

// Runs picture `tag` on each case, with the `common` settings before the case's own.
void Check(int tag, const std::vector<Case>& cases, const char* common = "") {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("tag ") + std::to_string(tag) + ": " + c.what);
        const auto s = RunCase(tag, c, common);
        EXPECT_EQ(s->Value(), c.value);
        if (c.look) {
            EXPECT_EQ(s->Pixel(), c.look(*s));
        }
    }
}

TEST(OnePoint, Convergence) {
    Check(1,
          {{"1 is fixed: class 7", 6, {1, 0}, "", 7, Class<6>},
           {"a step of 0.5 to the right", 6, {0.5L, 0}, "", 1},
           {"short enough", 6, {0.5L, 0}, "EditPresnost=0.6", 7},
           {"equal to the accuracy", 6, {0.5L, 0}, "EditPresnost=0.5", 1},
           {"left and down", 6, {0.6L, -0.8L}, "", 2},
           {"left and up", 6, {0.6L, 0.8L}, "", 3}},
          "SpinKonvergIter=1");
}

TEST(OnePoint, Periodicity) {
    Check(2, {{"fixed point", 6, {1, 0}, "", 1, P<0>},
              {"2-cycle", 6, c2, "", 2, P<1>},
              {"15-cycle, the last entry of its own", 6, Cycle(2895, 15), "", 15, P<14>},
              {"16-cycle takes entry 0", 6, Cycle(2895, 16), "", 16, P<0>},
              {"no return within n", 6, c2, "SpinPeriodIter=1", -1, P<15>},
              {"falls into a cycle elsewhere", 6, halfC2, "", -1},
              {"difference equal to the tolerance", 6, {0.5L, 0}, "EditTotoznost=0.5", -1},
              {"difference below it", 6, {0.5L, 0}, "EditTotoznost=0.50001", 1},
              {"tolerance 0 is 0.01", 6, {0.995L, 0}, "EditTotoznost=0", 1},
              {"tolerance 1/1000", 6, {0.995L, 0}, "EditTotoznost=1/1000", -1}});
}

TEST(OnePoint, Preperiodicity) {
    Check(3, {{"fixed start", 6, {1, 0}, "SpinPeriodIter=1", 1, P<0>},
              {"cycle reached from outside", 6, halfC2, "", 2, P<1>},
              {"two steps are not enough", 6, halfC2, "SpinPeriodIter=2", -1, Left},
              {"16 points fill the window", 6, Cycle(2895, 16), "SpinPeriodIter=40", 16, P<15>},
              {"a 17-cycle never matches", 6, Cycle(5079, 17), "SpinPeriodIter=40", -1, Left},
              // 144, 288, 216 degrees: the first image is no match for the start, the second
              // matches both the start and the first image; the start is compared first.
              {"oldest entry wins", 6, Angle(0.8L * kPi), "EditTotoznost=1.2", 2, P<1>},
              {"equal to the tolerance", 6, {0.5L, 0}, "SpinPeriodIter=1 EditTotoznost=0.5", -1},
              {"below it", 6, {0.5L, 0}, "SpinPeriodIter=1 EditTotoznost=0.50001", 1}});
}

TEST(OnePoint, Nth) {
    // On the squaring task (x, 0) ends at (1, 0): |x - 1| away. Limits a and b, bands of b.
    constexpr Look Red = Is<kRed>;
    Check(
        4,
        {{"below a", 6, {1.25L, 0}, "EditLimit1=0.5", 0, Is<kRed>},
         {"no bands", 6, {1.25L, 0}, "EditLimit1=0.5 CheckUplnost=0 CheckBila=0", 0, Red},
         {"half way up the ramp", 6, {1.5L, 0}, "EditLimit1=0", 0, Mix<0.5f>},
         {"at a: the lower colour", 6, {1.5L, 0}, "EditLimit1=0.5", 0, Is<Rgb(255, 255, 0)>},
         {"at b: the upper colour", 6, {2, 0}, "EditLimit1=0.5", 1, Is<kBlack>},
         {"band 2 is navy", 6, {0.5L, 0}, "EditLimit2=0.2", 0, Is<Rgb(0, 0, 128)>},
         {"band 53 is 0: black", 6, {0.5L, 0}, "EditLimit1=0.001 EditLimit2=1/107", 0, Is<kBlack>},
         {"above, white", 6, {4, 0}, "EditLimit1=0 CheckUplnost=0", 3, Is<kWhite>},
         {"above, as it was", 6, {3.75L, 0}, "EditLimit1=0 CheckUplnost=0 CheckBila=0", 2, Left},
         // Doubling from (1, 0): the 3rd iterate is 8, 7 away; SpinLimit is clamped.
         {"3rd iterate", 2, {1, 0}, "SpinLimit=3", 7, nullptr, Scaled<2>},
         {"1st iterate", 2, {1, 0}, "SpinLimit=1", 1, nullptr, Scaled<2>},
         {"0 is the 1st", 2, {1, 0}, "SpinLimit=0", 1, nullptr, Scaled<2>}});
    EXPECT_EQ(RunCase(4, {"", 2, {1, 0}, "SpinLimit=5000", 0, nullptr, Scaled<2>})->Value(),
              RunCase(4, {"", 2, {1, 0}, "SpinLimit=1000", 0, nullptr, Scaled<2>})->Value());
}

TEST(OnePoint, NthRepairsAnUpperLimitNotAboveTheLowerOne) {
    const struct {
        const char *a, *b, *shown;
    } cases[] = {{"0.5", "0.5", "1.200000"}, {"0", "0", "0.200000"}, {"1", "0.3", "2.200000"},
                 {"60000", "x", "120000.2"}, {"0.01", "1", "1"},     {"-1", "-1", "-1"}};
    for (const auto& c : cases) {
        PointScene s(6, 1, 0);
        testing::Apply(s.controls, std::string("EditLimit1=") + c.a + " EditLimit2=" + c.b);
        for (int twice = 0; twice < 2; ++twice) {  // the repaired text needs no second repair
            s.Run(4);
            EXPECT_EQ(s.controls.Text(Ctl::EditLimit2), c.shown) << c.a << " / " << c.b;
        }
    }
    // Five digits fixed with six decimals; from 100000 on the value's own text.
    const std::pair<long double, const char*> texts[] = {
        {1.2L, "1.200000"},         {1.23456L, "1.234600"},  {12345.67L, "12346.000000"},
        {99999.4L, "99999.000000"}, {99999.97L, "99999.97"}, {120000.2L, "120000.2"}};
    for (const auto& [b, text] : texts) EXPECT_EQ(RepairedLimitText(b), text);
    SetDecimalChar(',');
    EXPECT_EQ(RepairedLimitText(1.2L), "1,200000");
    EXPECT_EQ(RepairedLimitText(120000.2L), "120000,2");
    SetDecimalChar('.');
}

TEST(OnePoint, EndRegions) {
    // K2 (0, 0) with R^2 = 4: one step multiplies by 4. The axes belong to the right and
    // the upper half, the unit circle to the outside. Inside K2 the colour is lightened, on
    // task 3 inside K3 (the unit circle) darkened too; task 2 never darkens.
    Check(8,
          {{"(0.5, 0.5)", 2, {0.125L, 0.125L}, "", 1, Lighter<0>, Scaled<4>},
           {"(-0.5, 0.25)", 2, {-0.125L, 0.0625L}, "", 2, Lighter<1>, Scaled<4>},
           {"(-0.5, -0.25)", 2, {-0.125L, -0.0625L}, "", 3, Lighter<2>, Scaled<4>},
           {"(0, -0.5)", 2, {0, -0.125L}, "", 4, Lighter<3>, Scaled<4>},
           {"(-0.5, 0)", 2, {-0.125L, 0}, "", 2, Lighter<1>, Scaled<4>},
           {"(0, 0)", 2, {0, 0}, "", 1, Lighter<0>, Scaled<4>},
           {"(1, 0)", 2, {0.25L, 0}, "", 5, Lighter<4>, Scaled<4>},
           {"(-1.5, 0.5)", 2, {-0.375L, 0.125L}, "", 6, Lighter<5>, Scaled<4>},
           {"(-1, -1)", 2, {-0.25L, -0.25L}, "", 7, Lighter<6>, Scaled<4>},
           {"(1, -1)", 2, {0.25L, -0.25L}, "", 8, Lighter<7>, Scaled<4>},
           {"(1.5, 1.5) outside K2", 2, {0.375L, 0.375L}, "", 5, Region<4>, Scaled<4>},
           {"inside K2 and K3", 3, {0.25L, 0.25L}, "", 1, LighterDarker<0>, Scaled<4>},
           {"the squaring has no circles", 6, {1, 0}, "", 5, Region<4>},
           // Doubling from 1/8: 2 steps end inside K1, 3 on its edge; 0 steps count as 1.
           {"2 steps", 2, {0.125L, 0}, "SpinRegionIter=2", 1, nullptr, Scaled<2>},
           {"3 steps", 2, {0.125L, 0}, "SpinRegionIter=3", 5, nullptr, Scaled<2>},
           {"0 steps", 2, {0.125L, 0}, "SpinRegionIter=0", 1, nullptr, Scaled<2>}},
          "SpinRegionIter=1");
}

TEST(OnePoint, InfinityReach) {
    // Doubling from (1, 0): the step whose start lies beyond L escapes at K2, its K1 image
    // lying within 1/L of the origin. The step colours are those of the rectangle labels.
    Check(15, {{"the origin at once", 2, {0, 0}, "", 1, Is<Rgb(0, 255, 255)>},
               {"sent by K1 onto K2's centre", 2, {0.25L, 0}, "", 1, nullptr, K2At4},
               {"step 12", 2, {1, 0}, "", 12, Is<kBlack>, Scaled<2, 2000>},
               {"step 13 takes label 1", 2, {1, 0}, "", 13, Is<Rgb(0, 255, 255)>, Scaled<2, 3000>},
               {"in the last step", 2, {1, 0}, "SpinInfinityTest=13", 13, nullptr, Scaled<2, 3000>},
               {"a step short", 2, {1, 0}, "SpinInfinityTest=12", -1, Is<kWhite>, Scaled<2, 3000>},
               // L = 2: squared distances of 1/4 at steps 1 and 3 are no escape.
               {"equal to the tolerance", 2, {0.5L, 0}, "", 4, nullptr, Scaled<2, 2>},
               {"below the tolerance", 2, {0.49L, 0}, "", 1, nullptr, Scaled<2, 2>}});
    // After K1 and K2, (1, 0) is at (2, 0), which K3 and K4 keep; the next circle of the
    // chain centred there makes it escape at once, but only when the task includes it.
    const struct {
        int task, centred;
        bool atOnce;
    } chain[] = {{2, 3, false}, {3, 3, true}, {3, 4, false}, {4, 4, true},
                 {4, 5, false}, {5, 5, true}, {6, 5, true}};
    for (const auto& c : chain) {
        PointScene s(c.task, 1, 0);
        testing::Scaling(s.scene, 2);
        CircleSet& k = s.scene.k;
        k.M = 10, k.N = 0, k.S2 = 64;    // (2, 0) lies on K3
        k.U = -10, k.V = 0, k.W2 = 144;  // and on K4
        k.A = 30, k.B = 30, k.C2 = 1;
        if (c.centred == 3) k.M = 2;
        if (c.centred == 4) k.U = 2;
        if (c.centred == 5) k.A = 2, k.B = 0;
        s.Run(15);
        EXPECT_EQ(s.Value() == 1, c.atOnce) << "task " << c.task << " K" << c.centred;
    }
}

TEST(OnePoint, ClosestOrderAndDistance) {
    Check(16, {{"equal distances keep the earliest", 6, {0.5L, 0}, "", 1, P<1>},
               {"half way to the 2-cycle", 6, halfC2, "SpinClosestIter=3", 2, P<2>},
               {"14-cycle", 6, Cycle(2895, 14), "SpinClosestIter=15", 14, P<14>},
               {"15-cycle wraps", 6, Cycle(2895, 15), "SpinClosestIter=16", 15, P<0>},
               {"16-cycle", 6, Cycle(2895, 16), "SpinClosestIter=17", 16, P<1>},
               {"39^2 is not below L", 6, {40, 0}, "", -1, P<15>},
               {"31^2 is", 6, {32, 0}, "", 1}});
    // Thousandths of the distance; each whole unit steps one colour on.
    Check(22, {{"none", 6, {1, 0}, "", 0, P<0>},
               {"a quarter", 6, {1.25L, 0}, "", 250, P<0>},
               {"1.5", 6, {2.5L, 0}, "", 1500, P<1>},
               {"2.5", 6, {3.5L, 0}, "", 2500, P<2>},
               {"16.5", 6, {17.5L, 0}, "", 16500, P<1>},
               {"nothing within the bound: sqrt(L)", 6, {40, 0}, "", 31623, P<1>},
               {"the same with L = 4", 6, {40, 0}, "", 2000, P<2>, Bound<4>}});
}

TEST(OnePoint, LastTwo) {
    // On the squaring task (x, 0) goes to (1, 0) at once: one step of x - 1.
    constexpr Look To = Is<Rgb(160, 0, 0)>, Mid = Byte<128>;
    Check(
        17,
        {{"no step: the from colour", 6, {1, 0}, "", 0, Is<Rgb(255, 255, 0)>},
         {"a step of v: the to colour", 6, {0.5L, 0}, "EditMaxIterValue=0.5", 500, To},
         {"above v: white", 6, {0.5L, 0}, "EditMaxIterValue=0.4999", 500, Is<kWhite>},
         {"127.5 rounds to 128", 6, {2, 0}, "", 1000, Byte<128>},
         {"v not positive is 2", 6, {2, 0}, "EditMaxIterValue=0", 1000, Byte<128>},
         {"the 2nd and the 1st iterate", 6, {2, 0}, "SpinCalcIter=2", 0},
         {"doubling: 4 to 8", 2, {1, 0}, "SpinCalcIter=3 EditMaxIterValue=8", 4000, Mid, Scaled<2>},
         {"62.5 thousandths", 2, {0.0625L, 0}, "", 62, nullptr, Scaled<2>},
         {"187.5 thousandths", 2, {0.1875L, 0}, "", 188, nullptr, Scaled<2>}},
        "SpinCalcIter=1");
}

TEST(OnePoint, Lyapunov) {
    // On the unit circle (0.6, 0.8) -> (-0.28, 0.96) -> (-0.8432, -0.5376): the terms are
    // ln 1.5505 (X), ln 6.2033 (Y) and ln 0.30857 (their sum). Below its range n is 1.
    const Point p{0.6L, 0.8L};
    constexpr int kSmall = -9210;  // 1000 ln(0.0001): the term of a degenerate step
    Check(18, {{"one step", 6, p, "SpinLyapIter=1", 439, Scale<0.438541f>},
               {"n = 0", 6, p, "SpinLyapIter=0", 439},
               // The X axis is invariant under the two-circle map: the numerator is 0.
               {"orbit on a line", 2, {0.5L, 0}, "", kSmall, Is<Rgb(0, 0, 128)>}});
    Check(19, {{"one step", 6, p, "SpinLyapIter=1", 1825, Scale<1.825014f>}});
    // -1 -> 1 -> 1 and 0 -> 1 -> 1: one degenerate term, then rest, divided by the full n.
    Check(20, {{"one step", 6, p, "SpinLyapIter=1", -1176, Scale<-1.175811f>},
               {"-1 comes to rest", 6, {-1, 0}, "", -46},
               {"0 comes to rest", 6, {0, 0}, "", -46},
               {"1 is at rest", 6, {1, 0}, "", 0, Is<kWhite>},
               {"-1, one step", 6, {-1, 0}, "SpinLyapIter=1", kSmall},
               {"1, one step", 6, {1, 0}, "SpinLyapIter=1", 0}});
    // With the bound 50 the origin and its companion both lie at K1's centre: both go to
    // K2's centre and stay together, whatever the companion's angle.
    Check(21, {{"companion on the orbit", 2, {0, 0}, "", kSmall, nullptr, Bound<50>}});
    // The pictures' own logarithm gives logl's bits, as its check at start-up found.
    EXPECT_TRUE(InlineLnMatchesLibrary(1 << 20));
}

}  // namespace
}  // namespace vorla
