#include <array>
#include <cmath>

#include "pictures/kinds.h"
#include "pictures/lanes.h"

namespace vorla {
namespace {

// Stepped until the new point repeats one of the last 16 within the tolerance, at most n
// times: the length of that cycle.
struct CycleOrbit {
    int n;
    long double tol;
    const std::array<Colour, 16>* colours;
    // Its steps are mostly the comparisons with the window, not the map, so other lanes
    // find no idle divider to use: measured slower with two lanes than with one.
    static constexpr int kMaxLanes = 1;
    // The last 16 points of the orbit as a ring: `oldest` is the physical slot of logical
    // entry 0, `count` the entries held (m + 1). Dropping the oldest is one index step instead
    // of shifting fifteen entries.
    long double wx[16], wy[16];
    long double X = 0, Y = 0;
    int oldest = 0, count = 1, i = 0, q = 0;

    bool Start(long double x, long double y) {
        X = wx[0] = x;
        Y = wy[0] = y;
        oldest = 0;
        count = 1;
        i = 0;
        q = 0;
        return n <= 0;
    }
    VORLA_INLINE bool After() {
        ++i;
        for (int j = 0; j < count; ++j) {
            const int s = (oldest + j) & 15;
            if (std::fabs(wx[s] - X) < tol && std::fabs(wy[s] - Y) < tol) {
                q = count - j;  // m - j + 1
                return true;
            }
        }
        int slot;
        if (count < 16) {
            slot = (oldest + count) & 15;
            ++count;
        } else {
            slot = oldest;
            oldest = (oldest + 1) & 15;
        }
        wx[slot] = X;
        wy[slot] = Y;
        return i >= n;
    }
    PixelResult Result() const {
        if (q) return PixelResult{(*colours)[q - 1], q};
        // No cycle seen: the pixel keeps whatever the tabula showed.
        return PixelResult{kWhite, -1, false};
    }
};

}  // namespace

void KresliPrePeriody(PictureContext& ctx, const PeriodParams& p) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    const CycleOrbit orbit{p.iterations, p.tolerance, &p.periodColours, {}, {}};
    WalkOrbits(ctx, RowRange::Tabula, [&](const auto&, const Scene&) { return orbit; });
}

}  // namespace vorla
