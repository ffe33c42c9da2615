#include "overlays/fixed_points.h"

namespace vorla {

void PevneBody1Click(Tabula& t, const Viewport& v, const Palette& p, const Scene& scene,
                     FixedPointSet& set) {
    FixedPoints(scene, set);
    const int n = set.FixedCount < 0 ? 0 : set.FixedCount > 5 ? 5 : set.FixedCount;
    for (int i = 0; i < n; ++i) {
        t.SetPenColor(p.CircleColors[i]);
        // Pixel positions are bounded well inside int, so the corners cannot overflow.
        const int k = v.axes.ColumnOfX(set.FixedX[i]), r = v.axes.RowOfY(set.FixedY[i]);
        t.Rectangle(k - 4, r - 4, k + 4, r + 4);
    }
}

}  // namespace vorla
