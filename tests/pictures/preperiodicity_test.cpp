#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
