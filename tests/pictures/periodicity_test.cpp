#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
