#include "pictures/kinds.h"

namespace vorla {
namespace {
const PictureKindInfo kKinds[] = {
    {1, "convergence", "KresliConverg", "Convergention of orbits, direction of last iteration.",
     &KresliConverg},
    {2, "periodicity", "KresliPeriody", "Periodicity: The first iteration within the accuracy.",
     &KresliPeriody},
    {3, "preperiodicity", "KresliPrePeriody", "Preperiodicity: Reaching the cycle up to 16.",
     &KresliPrePeriody},
    {4, "nth", "KresliLimit", "Distance between the point and the n-th iteration.", &KresliLimit},
    {kRectangleTag, "rectangle", "KresliRect", "Iterations of a rectangle.", &KresliRect},
    {8, "end-regions", "KresliRegions", "End-regions:  Where the last iteration ended.",
     &KresliRegions},
    {15, "infinity", "KresliInfinity", "When the orbit reaches the infinity limit.",
     &KresliInfinity},
    {16, "closest-order", "KresliClosestOrder", "Which of iterations is the closest.",
     &KresliClosestOrder},
    {17, "last-two", "KresliIterace", "Color acording to distance of the last 2 iterations.",
     &KresliIterace},
    {18, "lyap-x", "KresliLyapX", "Lyapunov's exponent for X-coordinate.", &KresliLyapX},
    {19, "lyap-y", "KresliLyapY", "Lyapunov's exponent for Y-coordinate.", &KresliLyapY},
    {20, "lyap-sum", "KresliLyapXY", "Lyapunov's exponent for booth coordinates.", &KresliLyapXY},
    {21, "lyap-d", "KresliLyapD", "Lyapunov's exponents by constant displacement.", &KresliLyapD},
    {22, "closest-dist", "KresliClosestDist", "Distance of the closest iteration.",
     &KresliClosestDist},
};
}  // namespace

const PictureKindInfo* PictureKinds(int& count) {
    count = static_cast<int>(sizeof kKinds / sizeof kKinds[0]);
    return kKinds;
}

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
