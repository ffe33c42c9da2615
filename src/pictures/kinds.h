// The picture kinds: their menu tags, names, status texts and routines.
#pragma once

#include <string>

#include "pictures/driver.h"

namespace vorla {

using PictureRoutine = void (*)(PictureContext&);

struct PictureKindInfo {
    int tag;
    const char* name;     // the renderer's --picture name
    const char* routine;  // the window operation
    const char* status;   // PictureStatusTexts[tag]
    PictureRoutine run;   // nullptr: not available
};

// Every kind of the Action and Draw menus, in menu-tag order.
const PictureKindInfo* PictureKinds(int& count);
const PictureKindInfo* FindPictureKind(int tag);
const PictureKindInfo* FindPictureKind(const std::string& name);
// The status text of a tag; empty for tags that no command uses.
std::string PictureStatusTexts(int tag);

void KresliConverg(PictureContext& ctx);
// Reads the accuracy of the convergence picture (fallback 0.001, focus on a bad text).
long double EditPresnostExit(Controls& controls, long double& accuracy);

// Periodicity (2), preperiodicity (3), end-regions (8), infinity reach (15) and the
// distances of iterations: the n-th (4), closest order (16), last two (17), closest
// distance (22).
void KresliPeriody(PictureContext& ctx);
void KresliPrePeriody(PictureContext& ctx);
void KresliRegions(PictureContext& ctx);
void KresliInfinity(PictureContext& ctx);
void KresliLimit(PictureContext& ctx);
void KresliClosestOrder(PictureContext& ctx);
void KresliIterace(PictureContext& ctx);
void KresliClosestDist(PictureContext& ctx);

// Lyapunov exponents (tags 18 to 21) and the rectangle iterations (tag 7).
void KresliLyapX(PictureContext& ctx);
void KresliLyapY(PictureContext& ctx);
void KresliLyapXY(PictureContext& ctx);
void KresliLyapD(PictureContext& ctx);
void KresliRect(PictureContext& ctx);

}  // namespace vorla
