// The picture kinds: their menu tags, names, status texts and routines.
#pragma once

#include <string>

#include "pictures/driver.h"
#include "pictures/params.h"

namespace vorla {

// A routine that draws one kind of picture from its parameters (the alternative of
// PictureParams that its kind reads).
using PictureRoutine = void (*)(PictureContext&, const PictureParams&);

// The menu tags by which the window, the renderer and the scene files know the kinds.
// The rectangle iterations are the one kind whose poll counts iterations, not rows, and
// which draws anywhere on the tabula.
struct PictureTag {
    static constexpr int None = 0;  // no picture drawn yet
    static constexpr int Convergence = 1, Periodicity = 2, Preperiodicity = 3, Nth = 4,
                         Rectangle = 7, EndRegions = 8, Infinity = 15, ClosestOrder = 16,
                         LastTwo = 17, LyapunovX = 18, LyapunovY = 19, LyapunovSum = 20,
                         LyapunovDisplacement = 21, ClosestDistance = 22;
};

// One kind of picture as the menus and the renderer know it.
struct PictureKindInfo {
    int tag;
    const char* name;     // the renderer's --picture name
    const char* routine;  // the window operation
    const char* status;   // PictureStatusTexts[tag]
    PictureRoutine run;
};

// The kind of a menu tag, or nullptr.
const PictureKindInfo* FindPictureKind(int tag);
// The kind of a renderer name (--picture), or nullptr.
const PictureKindInfo* FindPictureKind(const std::string& name);
// The status text of a tag; empty for tags that no command uses.
std::string PictureStatusTexts(int tag);

// Draws the convergence picture: each pixel classed by whether its orbit's steps fall below
// the accuracy and by the direction of the last step.
void KresliConverg(PictureContext& ctx, const ConvergenceParams& p);

// Periodicity (2), preperiodicity (3), end-regions (8), infinity reach (15) and the
// distances of iterations: the n-th (4), closest order (16), last two (17), closest
// distance (22).

// Draws the periodicity picture: the first step at which the orbit comes back near its start.
void KresliPeriody(PictureContext& ctx, const PeriodParams& p);
// Draws the preperiodicity picture: the length of the first cycle the orbit falls into.
void KresliPrePeriody(PictureContext& ctx, const PeriodParams& p);
// Draws the end-regions picture: the quadrant, inside or outside K1, where the n-th iterate
// lies.
void KresliRegions(PictureContext& ctx, const RegionParams& p);
// Draws the infinity-reach picture: the step at which the orbit reaches a circle's centre,
// which the next inversion sends to infinity.
void KresliInfinity(PictureContext& ctx, const InfinityParams& p);
// Draws the n-th distance picture: how far the n-th iterate lies from its start.
void KresliLimit(PictureContext& ctx, const LimitParams& p);
// Draws the closest-order picture: which iterate comes closest to the start.
void KresliClosestOrder(PictureContext& ctx, const ClosestParams& p);
// Draws the last-two picture: the distance between the last two iterates.
void KresliIterace(PictureContext& ctx, const LastTwoParams& p);
// Draws the closest-distance picture: how close the orbit comes back to the start.
void KresliClosestDist(PictureContext& ctx, const ClosestParams& p);

// Lyapunov exponents (tags 18 to 21) and the rectangle iterations (tag 7).

// Draws Lyapunov X: the exponent from the slopes dY/dX through three successive iterates.
void KresliLyapX(PictureContext& ctx, const LyapunovParams& p);
// Draws Lyapunov Y: the exponent from the slopes dX/dY through three successive iterates.
void KresliLyapY(PictureContext& ctx, const LyapunovParams& p);
// Draws the Lyapunov sum: the exponent from a ratio of squared distances among three
// successive iterates.
void KresliLyapXY(PictureContext& ctx, const LyapunovParams& p);
// Draws the Lyapunov displacement: the exponent of the distance to a companion point started
// close by.
void KresliLyapD(PictureContext& ctx, const LyapunovParams& p);
// Draws the rectangle iterations: where the sample points of a rectangle land after each of
// the first steps.
void KresliRect(PictureContext& ctx, const RectangleParams& p);

}  // namespace vorla
