#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
