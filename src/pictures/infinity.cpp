#include <array>
#include <cmath>

#include "pictures/kinds.h"

namespace vorla {
namespace {

// One step of the task's chain of inversions, K1 first, with the at-centre test before each
// inversion. False: the orbit reaches infinity in this step.
inline bool InfinityStep(const Scene& s, long double e, long double& X, long double& Y) {
    steps::Count();
    const CircleSet& k = s.k;
    const long double d1 = X * X + Y * Y;
    if (std::fabs(d1) < e) return false;
    long double Px = X / d1, Py = Y / d1;

    const long double d2 = (k.D - Px) * (k.D - Px) + Py * Py;
    if (std::fabs(d2) < e) return false;
    X = (Px - k.D) * k.R2 / d2 + k.D;
    Y = Py * k.R2 / d2;
    if (s.taskType < 3) return true;

    const long double d3 = (X - k.M) * (X - k.M) + (Y - k.N) * (Y - k.N);
    if (std::fabs(d3) < e) return false;
    Px = (X - k.M) * k.S2 / d3 + k.M;
    Py = (Y - k.N) * k.S2 / d3 + k.N;
    if (s.taskType < 4) {
        X = Px;
        Y = Py;
        return true;
    }

    const long double d4 = (k.U - Px) * (k.U - Px) + (k.V - Py) * (k.V - Py);
    if (std::fabs(d4) < e) return false;
    X = (Px - k.U) * k.W2 / d4 + k.U;
    Y = (Py - k.V) * k.W2 / d4 + k.V;
    if (s.taskType < 5) return true;

    // Task types 5 and 6 both run the whole chain.
    const long double d5 = (k.A - X) * (k.A - X) + (k.B - Y) * (k.B - Y);
    if (std::fabs(d5) < e) return false;
    X = (X - k.A) * k.C2 / d5 + k.A;
    Y = (Y - k.B) * k.C2 / d5 + k.B;
    return true;
}

}  // namespace

void KresliInfinity(PictureContext& ctx) {
    std::array<Colour, 12> colours;
    for (int i = 0; i < 12; ++i) colours[i] = ctx.controls.LabelColour(RectLabel(i));
    const int N = ctx.controls.Spin(Ctl::SpinInfinityTest);
    ctx.tabula.SetPenMode(PenMode::Copy);
    // The chain is its own: the map handed in is not used, only the scene of the batch.
    WalkPixels(ctx, RowRange::PlusOne,
               [&](const auto&, const Scene& s, int, int, long double X, long double Y) {
                   const long double e = s.tolerance;
                   for (int k = 1; k <= N; ++k)
                       if (!InfinityStep(s, e, X, Y)) return PixelResult{colours[(k - 1) % 12], k};
                   return PixelResult{kWhite, -1};
               });
}

}  // namespace vorla
