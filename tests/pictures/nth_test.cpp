#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
