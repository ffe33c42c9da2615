// Tables of one plane point per case for the picture kinds: the value and the colour that a
// kind gives a chosen point, on orbits whose every step is known: the squaring on the unit
// circle (task 6) and K2 around the origin, where one step of the two-circle map multiplies
// by R^2 exactly.
#include <cmath>
#include <string>
#include <vector>

#include "app/picture_params.h"
#include "pictures/lyapunov.h"
#include "support/picture_fixture.h"

namespace vorla::testing {
namespace {

// A 1 x 1 tabula whose pixel is exactly the plane point (x, y), over the start circles;
// the class and region colours are distinct and made up.
struct PointScene {
    ControlValues controls;
    Scene scene;
    Viewport view;
    Palette palette;
    Tabula tabula{1, 1};
    ValueGrid grid;
    RowPool pool{1};
    long double accuracy = 0.01L;

    PointScene(int task, long double x, long double y) {
        scene.k = StartCircles();
        scene.taskType = TaskOfNumber(task);
        view.W = view.H = 1;
        view.axes.SetPixelRange(1, 1);
        view.axes.SetXRange(x, x + 1);
        view.axes.SetYRange(y - 1, y);
        grid.Resize(1, 1);
        for (int i = 0; i < 8; ++i) {
            palette.ClassColors[i] = Rgb(10 + 20 * i, 90, 160);
            palette.RegionColors[i] = Rgb(160, 10 + 20 * i, 90);
        }
        tabula.Fill(kUnpainted);
    }
    // Reads the parameters of picture `tag` as the window does when a picture begins.
    void Run(int tag) {
        const PictureParams params = ReadPictureParams(tag, controls, palette, accuracy);
        PictureContext ctx{scene, view, tabula, grid, pool, {}, 0};
        FindPictureKind(tag)->run(ctx, params);
    }
    int Value() const { return grid.At(0, 0); }
    Colour Pixel() const { return tabula.Pixel(0, 0); }
};

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
// 2*pi/3 and 4*pi/3 take turns; half way to it from the origin falls into it.
const Point c2 = Cycle(1, 2), halfC2{c2.x / 2, c2.y / 2};

using Look = Colour (*)(const PointScene&);
template <Colour c>
constexpr Look Is = [](const PointScene&) { return c; };
constexpr Look Left = [](const PointScene&) { return kUnpainted; };
template <int i>
constexpr Look P = [](const PointScene& s) { return s.palette.PeriodColors[i]; };
Palette Ramp(const PointScene& s, Ctl from, Ctl to) {
    Palette ramp;
    ramp.RampFromColor = s.controls.LabelColour(from);
    ramp.RampToColor = s.controls.LabelColour(to);
    return ramp;
}

// Scene changes: K2 and K3 centred at the origin, scaling by r2, with the bound `bound`.
template <int r2, int bound = 1000>
void Scaled(Scene& s) {
    s.k.D = s.k.M = s.k.N = 0;
    s.k.R = std::sqrt(r2);
    s.k.R2 = r2;
    s.SetInfinityBound(bound);
}
template <int bound>
void Bound(Scene& s) {
    s.SetInfinityBound(bound);
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

// Runs picture `tag` on each case, with the `common` settings before the case's own.
void Check(int tag, const std::vector<Case>& cases, const char* common = "") {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("tag ") + std::to_string(tag) + ": " + c.what);
        PointScene s(c.task, c.at.x, c.at.y);
        if (c.scene) c.scene(s.scene);
        Apply(s.controls, std::string(common) + " " + c.settings);
        s.Run(tag);
        EXPECT_EQ(s.Value(), c.value);
        if (c.look) {
            EXPECT_EQ(s.Pixel(), c.look(s));
        }
    }
}

template <int i>
constexpr Look Class = [](const PointScene& s) { return s.palette.ClassColors[i]; };

TEST(Convergence, ClassByTheLastStepAndItsDirection) {
    Check(PictureTag::Convergence,
          {{"1 is fixed: class 7", 6, {1, 0}, "", 7, Class<6>},
           {"a step of 0.5 to the right", 6, {0.5L, 0}, "", 1},
           {"short enough", 6, {0.5L, 0}, "EditPresnost=0.6", 7},
           {"equal to the accuracy", 6, {0.5L, 0}, "EditPresnost=0.5", 1},
           {"left and down", 6, {0.6L, -0.8L}, "", 2},
           {"left and up", 6, {0.6L, 0.8L}, "", 3}},
          "SpinKonvergIter=1");
}

TEST(Periodicity, TheFirstReturnWithinTheTolerance) {
    Check(PictureTag::Periodicity,
          {{"fixed point", 6, {1, 0}, "", 1, P<0>},
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

TEST(Preperiodicity, TheLengthOfTheCycleReached) {
    Check(PictureTag::Preperiodicity,
          {{"fixed start", 6, {1, 0}, "SpinPeriodIter=1", 1, P<0>},
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

template <float f>  // along the ramp between the limits' labels
constexpr Look Mix = [](const PointScene& s) {
    return Ramp(s, Ctl::LabelLimitD, Ctl::LabelLimitH).MixColorsFraction(f);
};

TEST(Nth, TheDistanceOfTheNthIterateOnTheRampAndInBands) {
    // On the squaring task (x, 0) ends at (1, 0): |x - 1| away. Limits a and b, bands of b.
    Check(
        PictureTag::Nth,
        {{"below a", 6, {1.25L, 0}, "EditLimit1=0.5", 0, Is<kRed>},
         {"no bands", 6, {1.25L, 0}, "EditLimit1=0.5 CheckUplnost=0 CheckBila=0", 0, Is<kRed>},
         {"half way up the ramp", 6, {1.5L, 0}, "EditLimit1=0", 0, Mix<0.5f>},
         {"at a: the lower colour", 6, {1.5L, 0}, "EditLimit1=0.5", 0, Is<Rgb(255, 255, 0)>},
         {"at b: the upper colour", 6, {2, 0}, "EditLimit1=0.5", 1, Is<kBlack>},
         {"band 2 is navy", 6, {0.5L, 0}, "EditLimit2=0.2", 0, Is<Rgb(0, 0, 128)>},
         {"band 53 is 0: black", 6, {0.5L, 0}, "EditLimit1=0.001 EditLimit2=1/107", 0, Is<kBlack>},
         {"above, white", 6, {4, 0}, "EditLimit1=0 CheckUplnost=0", 3, Is<kWhite>},
         {"above, as it was", 6, {3.75L, 0}, "EditLimit1=0 CheckUplnost=0 CheckBila=0", 2, Left},
         // Doubling from (1, 0): the 3rd iterate is 8, 7 away.
         {"3rd iterate", 2, {1, 0}, "SpinLimit=3", 7, nullptr, Scaled<2>},
         {"1st iterate", 2, {1, 0}, "SpinLimit=1", 1, nullptr, Scaled<2>}});
}

template <int i>
constexpr Look Region = [](const PointScene& s) { return s.palette.RegionColors[i]; };
template <int i>
constexpr Look Lighter = [](const PointScene& s) { return LightenColor(Region<i>(s)); };
template <int i>
constexpr Look LighterDarker = [](const PointScene& s) { return DarkenColor(Lighter<i>(s)); };

TEST(EndRegions, TheQuadrantOfTheLastIterateAndTheCirclesItLiesIn) {
    // K2 (0, 0) with R^2 = 4: one step multiplies by 4. The axes belong to the right and
    // the upper half, the unit circle to the outside. Inside K2 the colour is lightened, on
    // task 3 inside K3 (the unit circle) darkened too; task 2 never darkens.
    Check(PictureTag::EndRegions,
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
           // Doubling from 1/8: 2 steps end inside K1, 3 on its edge.
           {"2 steps", 2, {0.125L, 0}, "SpinRegionIter=2", 1, nullptr, Scaled<2>},
           {"3 steps", 2, {0.125L, 0}, "SpinRegionIter=3", 5, nullptr, Scaled<2>}},
          "SpinRegionIter=1");
}

// The infinity-reach picture on one point: the step at which the orbit reaches a centre that
// the next inversion sends to infinity.
void K2At4(Scene& s) {
    s.k.D = 4;
}

TEST(Infinity, TheStepThatReachesACentreInItsStepColour) {
    // Doubling from (1, 0): the step whose start lies beyond L escapes at K2, its K1 image
    // lying within 1/L of the origin. The step colours are those of the rectangle labels.
    Check(PictureTag::Infinity,
          {{"the origin at once", 2, {0, 0}, "", 1, Is<Rgb(0, 255, 255)>},
           {"sent by K1 onto K2's centre", 2, {0.25L, 0}, "", 1, nullptr, K2At4},
           {"step 12", 2, {1, 0}, "", 12, Is<kBlack>, Scaled<2, 2000>},
           {"step 13 takes label 1", 2, {1, 0}, "", 13, Is<Rgb(0, 255, 255)>, Scaled<2, 3000>},
           {"in the last step", 2, {1, 0}, "SpinInfinityTest=13", 13, nullptr, Scaled<2, 3000>},
           {"a step short", 2, {1, 0}, "SpinInfinityTest=12", -1, Is<kWhite>, Scaled<2, 3000>},
           // L = 2: squared distances of 1/4 at steps 1 and 3 are no escape.
           {"equal to the tolerance", 2, {0.5L, 0}, "", 4, nullptr, Scaled<2, 2>},
           {"below the tolerance", 2, {0.49L, 0}, "", 1, nullptr, Scaled<2, 2>}});
}

// After K1 and K2, (1, 0) is at (2, 0), which K3 and K4 keep; the next circle of the chain
// centred there makes it escape at once, but only when the task includes it.
TEST(Infinity, ACentreCountsOnlyWhenTheTaskHasItsCircle) {
    const struct {
        int task, centred;
        bool atOnce;
    } chain[] = {{2, 3, false}, {3, 3, true}, {3, 4, false}, {4, 4, true},
                 {4, 5, false}, {5, 5, true}, {6, 5, true}};
    for (const auto& c : chain) {
        PointScene s(c.task, 1, 0);
        Scaled<2>(s.scene);
        CircleSet& k = s.scene.k;
        k.M = 10, k.N = 0, k.S2 = 64;    // (2, 0) lies on K3
        k.U = -10, k.V = 0, k.W2 = 144;  // and on K4
        k.A = 30, k.B = 30, k.C2 = 1;
        if (c.centred == 3) k.M = 2;
        if (c.centred == 4) k.U = 2;
        if (c.centred == 5) k.A = 2, k.B = 0;
        s.Run(PictureTag::Infinity);
        EXPECT_EQ(s.Value() == 1, c.atOnce) << "task " << c.task << " K" << c.centred;
    }
}

// The order of the closest iterate; its distance in thousandths, a colour per whole unit.
TEST(Closest, TheOrderAndTheDistanceOfTheClosestIterate) {
    Check(PictureTag::ClosestOrder,
          {{"equal distances keep the earliest", 6, {0.5L, 0}, "", 1, P<1>},
           {"half way to the 2-cycle", 6, halfC2, "SpinClosestIter=3", 2, P<2>},
           {"14-cycle", 6, Cycle(2895, 14), "SpinClosestIter=15", 14, P<14>},
           {"15-cycle wraps", 6, Cycle(2895, 15), "SpinClosestIter=16", 15, P<0>},
           {"16-cycle", 6, Cycle(2895, 16), "SpinClosestIter=17", 16, P<1>},
           {"39^2 is not below L", 6, {40, 0}, "", -1, P<15>},
           {"31^2 is", 6, {32, 0}, "", 1}});
    Check(PictureTag::ClosestDistance,
          {{"none", 6, {1, 0}, "", 0, P<0>},
           {"a quarter", 6, {1.25L, 0}, "", 250, P<0>},
           {"1.5", 6, {2.5L, 0}, "", 1500, P<1>},
           {"2.5", 6, {3.5L, 0}, "", 2500, P<2>},
           {"16.5", 6, {17.5L, 0}, "", 16500, P<1>},
           {"nothing within the bound: sqrt(L)", 6, {40, 0}, "", 31623, P<1>},
           {"the same with L = 4", 6, {40, 0}, "", 2000, P<2>, Bound<4>}});
}

template <int n>  // along the ramp between the iterations' labels
constexpr Look Byte = [](const PointScene& s) {
    return Ramp(s, Ctl::LabelItersFrom, Ctl::LabelItersTo).MixColorsByte(n);
};

TEST(LastTwo, TheLastStepInThousandthsOnTheRamp) {
    // On the squaring task (x, 0) goes to (1, 0) at once: one step of x - 1.
    constexpr Look To = Is<Rgb(160, 0, 0)>, Mid = Byte<128>;
    Check(
        PictureTag::LastTwo,
        {{"no step: the from colour", 6, {1, 0}, "", 0, Is<Rgb(255, 255, 0)>},
         {"a step of v: the to colour", 6, {0.5L, 0}, "EditMaxIterValue=0.5", 500, To},
         {"above v: white", 6, {0.5L, 0}, "EditMaxIterValue=0.4999", 500, Is<kWhite>},
         {"127.5 rounds to 128", 6, {2, 0}, "", 1000, Byte<128>},
         {"v not positive is 2", 6, {2, 0}, "EditMaxIterValue=0", 1000, Byte<128>},
         {"the 2nd and the 1st iterate", 6, {2, 0}, "SpinCalcIter=2", 0},
         {"doubling: 4 to 8", 2, {1, 0}, "SpinCalcIter=3 EditMaxIterValue=8", 4000, Mid, Scaled<2>},
         {"187.5 thousandths", 2, {0.1875L, 0}, "", 188, nullptr, Scaled<2>}},
        "SpinCalcIter=1");
}

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
