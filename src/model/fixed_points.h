// The fixed points of the maps that have them in closed form.
#pragma once

#include <array>

#include "model/scene.h"

namespace vorla {

struct FixedPointSet {
    int FixedCount = 0;  // valid entries: 0, 1 or 2
    std::array<long double, 24> FixedX{};
    std::array<long double, 24> FixedY{};
};

// The two roots of D z^2 - (1 + D^2 - R^2) z + D = 0: on the X axis, or a conjugate pair on
// K1. D = 0 (K2 concentric with K1) gives no point.
void TwoCircleFixedPoints(const CircleSet& k, FixedPointSet& set);
// The point 1 of the squaring on the unit circle.
void UnitCircleSquareFixedPoints(FixedPointSet& set);
// Fills the set for the scene's task type: types 3 to 5 and no task give no point.
void FixedPoints(const Scene& scene, FixedPointSet& set);

}  // namespace vorla
