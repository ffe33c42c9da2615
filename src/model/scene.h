// The circles K1..K5, the task type and the five one-step maps of the plane.
#pragma once

#include <array>
#include <string>
#include <utility>

#include "model/step_count.h"
#include "plane/viewport.h"

namespace vorla {

// The values of the circles and their squared radii.
struct CircleSet {
    // K1 is the unit circle; K2 (D, 0) R; K3 (M, N) S; K4 (U, V) W; K5 (A, B) C.
    long double D = 0, R = 0, M = 2, N = 2, S = 1, U = 3, V = 3, W = 1, A = 1, B = 3, C = 2;
    long double R2 = 0, S2 = 1, W2 = 1, C2 = 4;
    // Squares the radii R, S, W and C again.
    void UpdateSquares() {
        R2 = R * R;
        S2 = S * S;
        W2 = W * W;
        C2 = C * C;
    }
};

// The task type: none chosen yet, the composition of the inversions in two to five circles
// (K1 first), or the squaring of complex numbers projected on the unit circle. Its number is
// the one the scene text, the scene files and the renderer's --task show.
enum class TaskType : int {
    None = -1,
    TwoCircles = 2,
    ThreeCircles = 3,
    FourCircles = 4,
    FiveCircles = 5,
    Squaring = 6,
};

// The task type of a number (2..6, or -1 for none); None for any other number.
constexpr TaskType TaskOfNumber(int number) {
    return number >= 2 && number <= 6 ? static_cast<TaskType>(number) : TaskType::None;
}
// The number of a task type: 2..6, -1 for none.
constexpr int TaskNumber(TaskType t) {
    return static_cast<int>(t);
}
// The task type of item `index` (0..4) of the task-type box; None for any other index.
constexpr TaskType TaskOfItem(int index) {
    return index >= 0 && index <= 4 ? static_cast<TaskType>(index + 2) : TaskType::None;
}
// The item of the task-type box that shows a task type; -1 for none.
constexpr int ItemOfTask(TaskType t) {
    return t == TaskType::None ? -1 : TaskNumber(t) - 2;
}
// How many circles a task inverts in: 2..5; 0 for the squaring and for none.
constexpr int CircleCount(TaskType t) {
    return t >= TaskType::TwoCircles && t <= TaskType::FiveCircles ? TaskNumber(t) : 0;
}

// What the maps need: the circles, the bound of infinity and the task type.
struct Scene {
    CircleSet k;
    long double L = 1000;           // InfinityBound
    long double tolerance = 1e-6L;  // CentreTolerance = 1/L^2
    TaskType taskType = TaskType::None;

    // Sets the bound of infinity L and the centre tolerance 1/L^2 with it.
    void SetInfinityBound(long double bound) {
        L = bound;
        tolerance = 1 / (L * L);
    }
    // Whether a task type with a map is chosen.
    bool HasMap() const { return taskType != TaskType::None; }
};

// K2..K5 as discs of the plane, for the viewport's pixel forms.
inline std::array<Disc, 4> CircleDiscs(const CircleSet& k) {
    return {{{k.D, 0, k.R}, {k.M, k.N, k.S}, {k.U, k.V, k.W}, {k.A, k.B, k.C}}};
}

// Reads the eleven field texts (D..C order) into the circle set, silently falling back to
// each field's fallback of the control table.
void ReadCircleTexts(CircleSet& k, const std::array<std::string, 11>& texts);
// The published text: task type and the raw field texts, each followed by "=".
std::string SceneText(TaskType taskType, const std::array<std::string, 11>& texts);
// Stores a value by the Tag of its field (101..111 circle values); false for other tags.
bool StoreCircleByTag(CircleSet& k, int tag, long double value);

// --- the maps, inline so that picture loops inline them per step -------------------------

// Forced: a map left out of line in a picture's loop would cost a call per step and keep
// the orbits of several lanes from overlapping.
#define VORLA_INLINE [[gnu::always_inline]] inline

namespace detail {
// Inverts (x, y), at squared distance d from the centre, in a circle of squared radius r2.
VORLA_INLINE void Invert(long double cx, long double cy, long double r2, long double d,
                         long double& x, long double& y) {
    x = cx + (x - cx) * r2 / d;
    y = cy + (y - cy) * r2 / d;
}
// Where a point at a centre goes: (+-L, +-L), each sign by the side of the centre it is on.
VORLA_INLINE void FarPoint(const Scene& s, long double cx, long double cy, long double& x,
                           long double& y) {
    x = x >= cx ? s.L : -s.L;
    y = y >= cy ? s.L : -s.L;
}
// One link of the uniform chain: inversion, or the far point at a centre.
VORLA_INLINE void Link(const Scene& s, long double cx, long double cy, long double r2,
                       long double& x, long double& y) {
    const long double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    if (d < s.tolerance)
        FarPoint(s, cx, cy, x, y);
    else
        Invert(cx, cy, r2, d, x, y);
}
// The first link, in the unit circle K1.
VORLA_INLINE void UnitLink(const Scene& s, long double& X, long double& Y) {
    const long double d = X * X + Y * Y;
    if (d < s.tolerance) {
        FarPoint(s, 0, 0, X, Y);
    } else {
        X = X / d;
        Y = Y / d;
    }
}

// The stages of the three-circle map, each on the point as it stands: false when the point
// was at a centre and has taken its place for the whole step.
//
// Three circles: the inversion in K1, the centre of K1 going to the inverse of K2's centre
// in K3.
VORLA_INLINE bool ThreeFirst(const Scene& s, long double& X, long double& Y) {
    const CircleSet& k = s.k;
    const long double d1 = X * X + Y * Y;
    if (d1 < s.tolerance) {
        const long double e = (k.D - k.M) * (k.D - k.M) + k.N * k.N;
        if (e >= s.tolerance) {
            X = (k.D - k.M) * k.S2 / e + k.M;
            Y = k.N * (1 - k.S2 / e);
        } else {
            X = k.M >= k.D ? s.L : -s.L;
            Y = k.N >= 0 ? s.L : -s.L;
        }
        return false;
    }
    X = X / d1;
    Y = Y / d1;
    return true;
}
// Three circles: the inversion in K2, the centre of K2 going to K3's.
VORLA_INLINE bool ThreeSecond(const Scene& s, long double& X, long double& Y) {
    const CircleSet& k = s.k;
    const long double d2 = (k.D - X) * (k.D - X) + Y * Y;
    if (d2 < s.tolerance) {
        X = k.M;
        Y = k.N;
        return false;
    }
    X = k.D + (X - k.D) * k.R2 / d2;
    Y = Y * k.R2 / d2;
    return true;
}
// Four circles: the inversion in K4 after the three-circle map.
VORLA_INLINE void FourLast(const Scene& s, long double& X, long double& Y) {
    const CircleSet& k = s.k;
    const long double f = (k.U - X) * (k.U - X) + (k.V - Y) * (k.V - Y);
    if (f < s.tolerance)
        FarPoint(s, k.U, k.V, X, Y);
    else
        Invert(k.U, k.V, k.W2, f, X, Y);
}

struct PointRef {
    long double& X;
    long double& Y;
};

// The maps of the points p (anything with X and Y) side by side, stage by stage: each point
// runs exactly its own operations, but the stages of all of them sit next to each other in
// the instruction stream, so the processor finds the other points' work beside each point's
// wait on its division.
template <std::size_t... L, class... P>
VORLA_INLINE void FourLanes(const Scene& s, std::index_sequence<L...>, P&... p) {
    const CircleSet& k = s.k;
    bool on[] = {ThreeFirst(s, p.X, p.Y)...};
    ((on[L] = on[L] && ThreeSecond(s, p.X, p.Y)), ...);
    ((on[L] ? Link(s, k.M, k.N, k.S2, p.X, p.Y) : void()), ...);
    (FourLast(s, p.X, p.Y), ...);
}
template <class... P>
VORLA_INLINE void FiveLanes(const Scene& s, P&... p) {
    const CircleSet& k = s.k;
    (UnitLink(s, p.X, p.Y), ...);
    (Link(s, k.D, 0, k.R2, p.X, p.Y), ...);
    (Link(s, k.M, k.N, k.S2, p.X, p.Y), ...);
    (Link(s, k.U, k.V, k.W2, p.X, p.Y), ...);
    (Link(s, k.A, k.B, k.C2, p.X, p.Y), ...);
}
}  // namespace detail

// Inversion in K1, then in K2.
VORLA_INLINE void TwoCircleMap(const Scene& s, long double& X, long double& Y) {
    const CircleSet& k = s.k;
    const long double d1 = X * X + Y * Y;
    if (d1 < s.tolerance) {
        X = k.D;
        Y = 0;
        return;
    }
    long double px = X / d1, py = Y / d1;
    const long double d2 = (k.D - px) * (k.D - px) + py * py;
    if (d2 < s.tolerance) {
        detail::FarPoint(s, k.D, 0, px, py);
        X = px;
        Y = py;
        return;
    }
    X = k.D + (px - k.D) * k.R2 / d2;
    Y = py * k.R2 / d2;
}

// Inversion in K1, K2, then K3.
VORLA_INLINE void ThreeCircleMap(const Scene& s, long double& X, long double& Y) {
    if (detail::ThreeFirst(s, X, Y) && detail::ThreeSecond(s, X, Y))
        detail::Link(s, s.k.M, s.k.N, s.k.S2, X, Y);
}

// Inversion in K1, K2, K3, then K4.
VORLA_INLINE void FourCircleMap(const Scene& s, long double& X, long double& Y) {
    ThreeCircleMap(s, X, Y);
    detail::FourLast(s, X, Y);
}

// Inversion in K1 to K5 in turn, each through one uniform link.
VORLA_INLINE void FiveCircleMap(const Scene& s, long double& X, long double& Y) {
    detail::PointRef p{X, Y};
    detail::FiveLanes(s, p);
}

// Squaring as a complex number, projected onto the unit circle K1.
VORLA_INLINE void UnitCircleSquareMap(const Scene& s, long double& X, long double& Y) {
    long double x = X * X - Y * Y;
    long double y = 2 * X * Y;
    const long double m = x * x + y * y;
    if (m == 0) {
        // The origin has no direction to project on: it goes to 1, the fixed point.
        X = 1;
        Y = 0;
        return;
    }
    long double dm = m - 1;
    if (dm < 0) dm = -dm;
    if (dm > s.tolerance) {
        const long double r = __builtin_sqrtl(m);
        x = x / r;
        y = y / r;
    }
    X = x;
    Y = y;
}

// Function objects for the picture loops: the map is chosen once per batch of rows.
// Lanes(p...) steps several points (anything with X and Y) at once, for the orbit lanes;
// the two- and three-circle maps have none, as their orbits measured faster stepped whole,
// one after the other.
struct TwoCircle {
    const Scene& s;
    VORLA_INLINE void operator()(long double& x, long double& y) const {
        steps::Count();
        TwoCircleMap(s, x, y);
    }
};
struct ThreeCircle {
    const Scene& s;
    VORLA_INLINE void operator()(long double& x, long double& y) const {
        steps::Count();
        ThreeCircleMap(s, x, y);
    }
};
struct FourCircle {
    const Scene& s;
    VORLA_INLINE void operator()(long double& x, long double& y) const {
        steps::Count();
        FourCircleMap(s, x, y);
    }
    template <class... P>
    VORLA_INLINE void Lanes(P&... p) const {
        ((static_cast<void>(p), steps::Count()), ...);
        detail::FourLanes(s, std::index_sequence_for<P...>{}, p...);
    }
};
struct FiveCircle {
    const Scene& s;
    VORLA_INLINE void operator()(long double& x, long double& y) const {
        steps::Count();
        FiveCircleMap(s, x, y);
    }
    template <class... P>
    VORLA_INLINE void Lanes(P&... p) const {
        ((static_cast<void>(p), steps::Count()), ...);
        detail::FiveLanes(s, p...);
    }
};
struct UnitCircleSquare {
    const Scene& s;
    VORLA_INLINE void operator()(long double& x, long double& y) const {
        steps::Count();
        UnitCircleSquareMap(s, x, y);
    }
};

// Calls fn(map) with the map object of the scene's task type; false when there is none.
template <class Fn>
bool WithMap(const Scene& s, Fn&& fn) {
    switch (s.taskType) {
        case TaskType::TwoCircles:
            fn(TwoCircle{s});
            return true;
        case TaskType::ThreeCircles:
            fn(ThreeCircle{s});
            return true;
        case TaskType::FourCircles:
            fn(FourCircle{s});
            return true;
        case TaskType::FiveCircles:
            fn(FiveCircle{s});
            return true;
        case TaskType::Squaring:
            fn(UnitCircleSquare{s});
            return true;
        case TaskType::None:
            return false;
    }
    return false;
}

// One step of the scene's map (for tools that step a single orbit).
inline void IterationMap(const Scene& s, long double& x, long double& y) {
    WithMap(s, [&](auto map) { map(x, y); });
}

}  // namespace vorla
