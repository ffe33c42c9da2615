#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
