#include "support/point_cases.h"

namespace vorla::testing {
namespace {

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

}  // namespace
}  // namespace vorla::testing
