#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
