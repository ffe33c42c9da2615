#include "model/fixed_points.h"

#include <cmath>

namespace vorla {

void TwoCircleFixedPoints(const CircleSet& k, FixedPointSet& set) {
    const long double D = k.D;
    if (D == 0) {
        // The roots' formula divides by D; the map has no finite fixed point to mark.
        set.FixedCount = 0;
        return;
    }
    long double B = D * D - k.R * k.R;
    B = B + 1;
    const long double delta = B * B - 4 * D * D;
    set.FixedCount = 2;
    if (delta >= 0) {
        const long double s = std::sqrt(delta);
        set.FixedX[0] = (B + s) / (2 * D);
        set.FixedX[1] = (B - s) / (2 * D);
        set.FixedY[0] = set.FixedY[1] = 0;
    } else {
        set.FixedX[0] = set.FixedX[1] = B / (2 * D);
        // |B / 2D| < 1 here; rounding must not take the root's argument below zero.
        const long double rest = 1 - set.FixedX[0] * set.FixedX[0];
        set.FixedY[0] = rest > 0 ? std::sqrt(rest) : 0;
        set.FixedY[1] = -set.FixedY[0];
    }
}

void UnitCircleSquareFixedPoints(FixedPointSet& set) {
    set.FixedCount = 1;
    set.FixedX[0] = 1;
    set.FixedY[0] = 0;
}

void FixedPoints(const Scene& scene, FixedPointSet& set) {
    switch (scene.taskType) {
        case TaskType::TwoCircles:
            TwoCircleFixedPoints(scene.k, set);
            break;
        case TaskType::Squaring:
            UnitCircleSquareFixedPoints(set);
            break;
        default:
            set.FixedCount = 0;
            break;
    }
}

}  // namespace vorla
