#include <array>
#include <cmath>

#include "pictures/kinds.h"
#include "pictures/lanes.h"

namespace vorla {
namespace {

// Stepped until the orbit comes back within the tolerance of its start, at most n times.
struct PeriodOrbit {
    int n;
    long double tol;
    const std::array<Colour, 16>* colours;
    long double X0 = 0, Y0 = 0, X = 0, Y = 0;
    int k = 0;
    bool found = false;

    bool Start(long double x, long double y) {
        X = X0 = x;
        Y = Y0 = y;
        k = 0;
        found = false;
        return n < 1;
    }
    VORLA_INLINE bool After() {
        ++k;
        if (std::fabs(X0 - X) < tol && std::fabs(Y0 - Y) < tol) return found = true;
        return k >= n;
    }
    PixelResult Result() const {
        if (found) return PixelResult{(*colours)[(k - 1) % 15], k};
        // Entry 15 is reserved for the points that never come back.
        return PixelResult{(*colours)[15], -1};
    }
};

}  // namespace

void KresliPeriody(PictureContext& ctx, const PeriodParams& p) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    if (!(ctx.scene.k.R > 0)) return;
    const PeriodOrbit orbit{p.iterations, p.tolerance, &p.periodColours};
    WalkOrbits(ctx, RowRange::Tabula, [&](const auto&, const Scene&) { return orbit; });
}

}  // namespace vorla
