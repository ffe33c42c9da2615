#include "pictures/kinds.h"

namespace vorla {
namespace {

// A kind's routine over the alternative of the parameters that it reads.
template <class Params, void (*Routine)(PictureContext&, const Params&)>
void Run(PictureContext& ctx, const PictureParams& params) {
    if (const Params* p = std::get_if<Params>(&params)) Routine(ctx, *p);
}

const PictureKindInfo kKinds[] = {
    {1, "convergence", "KresliConverg", "Convergention of orbits, direction of last iteration.",
     &Run<ConvergenceParams, KresliConverg>},
    {2, "periodicity", "KresliPeriody", "Periodicity: The first iteration within the accuracy.",
     &Run<PeriodParams, KresliPeriody>},
    {3, "preperiodicity", "KresliPrePeriody", "Preperiodicity: Reaching the cycle up to 16.",
     &Run<PeriodParams, KresliPrePeriody>},
    {4, "nth", "KresliLimit", "Distance between the point and the n-th iteration.",
     &Run<LimitParams, KresliLimit>},
    {PictureTag::Rectangle, "rectangle", "KresliRect", "Iterations of a rectangle.",
     &Run<RectangleParams, KresliRect>},
    {8, "end-regions", "KresliRegions", "End-regions:  Where the last iteration ended.",
     &Run<RegionParams, KresliRegions>},
    {15, "infinity", "KresliInfinity", "When the orbit reaches the infinity limit.",
     &Run<InfinityParams, KresliInfinity>},
    {16, "closest-order", "KresliClosestOrder", "Which of iterations is the closest.",
     &Run<ClosestParams, KresliClosestOrder>},
    {17, "last-two", "KresliIterace", "Color acording to distance of the last 2 iterations.",
     &Run<LastTwoParams, KresliIterace>},
    {18, "lyap-x", "KresliLyapX", "Lyapunov's exponent for X-coordinate.",
     &Run<LyapunovParams, KresliLyapX>},
    {19, "lyap-y", "KresliLyapY", "Lyapunov's exponent for Y-coordinate.",
     &Run<LyapunovParams, KresliLyapY>},
    {20, "lyap-sum", "KresliLyapXY", "Lyapunov's exponent for booth coordinates.",
     &Run<LyapunovParams, KresliLyapXY>},
    {21, "lyap-d", "KresliLyapD", "Lyapunov's exponents by constant displacement.",
     &Run<LyapunovParams, KresliLyapD>},
    {22, "closest-dist", "KresliClosestDist", "Distance of the closest iteration.",
     &Run<ClosestParams, KresliClosestDist>},
};

}  // namespace

const PictureKindInfo* FindPictureKind(int tag) {
    for (const auto& k : kKinds)
        if (k.tag == tag) return &k;
    return nullptr;
}

const PictureKindInfo* FindPictureKind(const std::string& name) {
    for (const auto& k : kKinds)
        if (name == k.name) return &k;
    return nullptr;
}

std::string PictureStatusTexts(int tag) {
    const PictureKindInfo* k = FindPictureKind(tag);
    return k ? k->status : "";
}

}  // namespace vorla
