// Orbits of one row stepped in lanes: a thread keeps K orbits of the same map going in
// lockstep, so that the divisions of one orbit overlap those of the others instead of
// waiting on their own chain, and refills a lane with the row's next pixel as soon as its
// orbit is classified. Each orbit runs exactly the operations it would run alone. Where the
// map can step several points link by link (Map::Lanes: the four- and five-circle maps), the
// lanes' links sit side by side in the instruction stream; a whole step of one orbit after
// another leaves the processor's window too full of one chain to reach the next one's work.
#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <type_traits>
#include <utility>

#include "pictures/driver.h"

namespace vorla {

// What the picture loops know of each map, in one place.
//   kLanes: how many orbits a thread steps together, as measured on one core of the 2-core
//     machine (convergence, periodicity, infinity reach and closest order). Every lane keeps
//     its point in memory, and 80-bit stores are slow: more lanes than the divider needs
//     cost more than they give, and the squaring, with no division to wait for, loses with
//     two.
//   kChain: the circles of the chain of inversions the map stands for, for the pictures
//     that run the chain themselves; the squaring runs the whole chain, as five circles do.
// Whether a map steps several points link by link is its own Lanes member (LinkByLink).
template <class Map>
struct MapTraits;
template <>
struct MapTraits<TwoCircle> {
    static constexpr int kLanes = 3, kChain = 2;
};
template <>
struct MapTraits<ThreeCircle> {
    static constexpr int kLanes = 2, kChain = 3;
};
template <>
struct MapTraits<FourCircle> {
    static constexpr int kLanes = 2, kChain = 4;
};
template <>
struct MapTraits<FiveCircle> {
    static constexpr int kLanes = 2, kChain = 5;
};
template <>
struct MapTraits<UnitCircleSquare> {
    static constexpr int kLanes = 1, kChain = 5;
};

namespace lanes {

// The point before a step, for an orbit's Before and After.
struct Point {
    long double x, y;
};
struct Nothing {};

// clang-format off

// What every orbit of a kind does, for StepRow: Start(x, y) begins the pixel's orbit at
// (x, y) and is true when it is classified already; Result() gives the pixel.
template <class O>
concept PixelOrbit = std::copyable<O> && requires(O& o, const O& c, long double x) {
    { o.Start(x, x) } -> std::same_as<bool>;
    { c.Result() } -> std::same_as<PixelResult>;
};

// An orbit that is its point X, Y stepped by the map: After() or After(before), after one
// map step of X, Y, is true when it is classified. Before() (optional) gives what After
// needs of the point before the step, kept in locals of the loop rather than stored in the
// orbit every step.
template <class O>
concept MapStepped = PixelOrbit<O> && requires(O& o) { o.X = o.Y; } &&
    (requires(O& o) { { o.After() } -> std::same_as<bool>; } ||
     requires(O& o) { { o.After(o.Before()) } -> std::same_as<bool>; });

// An orbit that steps its own way: Step(map) is one step, true when it is classified.
template <class O, class Map>
concept SelfStepped = PixelOrbit<O> && requires(O& o, const Map& map) {
    { o.Step(map) } -> std::same_as<bool>;
};

// The orbits StepRow takes. An orbit whose step is mostly work of its own rather than the
// map's may cap its lanes (kMaxLanes); with kSteppedInPlace its lanes are stepped in place
// (faster for the infinity chain, by measurement) rather than in a copy.
template <class O, class Map>
concept Orbit = MapStepped<O> || SelfStepped<O, Map>;

// A map that steps the points of several lanes link by link, side by side.
template <class Map, class... P>
concept LinkByLink = requires(const Map& map, P&... p) { map.Lanes(p...); };

// clang-format on

}  // namespace lanes

// The lanes an orbit of a kind runs in on a map.
template <class Orbit, class Map>
constexpr int LanesFor() {
    using O = std::remove_cv_t<Orbit>;
    if constexpr (requires { O::kMaxLanes; })
        return std::min(O::kMaxLanes, MapTraits<Map>::kLanes);
    else
        return MapTraits<Map>::kLanes;
}

namespace lanes {

template <class O>
VORLA_INLINE auto Before(const O& o) {
    if constexpr (requires { o.Before(); })
        return o.Before();
    else
        return Nothing{};
}
template <class O, class B>
VORLA_INLINE bool After(O& o, const B& before) {
    if constexpr (std::is_same_v<B, Nothing>)
        return o.After();
    else
        return o.After(before);
}

// One step of one orbit.
template <class Orbit, class Map>
VORLA_INLINE bool StepOne(Orbit& o, const Map& map) {
    if constexpr (MapStepped<Orbit>) {
        const auto before = Before(o);
        map(o.X, o.Y);
        return After(o, before);
    } else {
        return o.Step(map);
    }
}

// One step of every lane; the mask of the orbits classified.
template <class Orbit, class Map, std::size_t... L>
VORLA_INLINE unsigned StepAll(std::array<Orbit, sizeof...(L)>& lane, const Map& map,
                              std::index_sequence<L...>) {
    unsigned done = 0;
    // A single lane steps with the map itself: the tests compare the lanes with it.
    if constexpr (sizeof...(L) > 1 && MapStepped<Orbit> && LinkByLink<Map, decltype(lane[L])...>) {
        const std::array before{Before(lane[L])...};
        map.Lanes(lane[L]...);
        ((done |= static_cast<unsigned>(After(lane[L], before[L])) << L), ...);
    } else {
        // Whole steps orbit by orbit, for a map without Lanes or a single lane.
        ((done |= static_cast<unsigned>(StepOne(lane[L], map)) << L), ...);
    }
    return done;
}

// Steps every lane until at least one orbit is classified; the mask of those that are. The
// lanes are stepped in a copy that nothing else sees, so that their values can stay in
// registers and spill slots of this loop instead of going through the array every step.
template <class Orbit, class Map, std::size_t... L>
VORLA_INLINE unsigned StepUntilDone(std::array<Orbit, sizeof...(L)>& lanes, const Map& map,
                                    std::index_sequence<L...> all) {
    std::array<Orbit, sizeof...(L)> lane = lanes;
    unsigned done;
    do {
        done = StepAll(lane, map, all);
    } while (!done);
    lanes = lane;
    return done;
}

template <class Orbit, std::size_t... L>
std::array<Orbit, sizeof...(L)> Copies(const Orbit& orbit, std::index_sequence<L...>) {
    return {{(static_cast<void>(L), orbit)...}};
}

}  // namespace lanes

// Computes the pixels 0..lastCol of the row at height y with K lanes, each a copy of
// `orbit`. Looks at the cancel flag before every pixel it starts and returns once it is set.
template <int K, class Orbit, class Map>
requires lanes::Orbit<Orbit, Map>
void StepRow(const PictureContext& ctx, const Map& map, const Orbit& orbit, const TAxisB& axes,
             long double y, int lastCol, PixelResult* out) {
    constexpr auto all = std::make_index_sequence<K>{};
    std::array<Orbit, K> lane = lanes::Copies(orbit, all);
    std::array<int, K> col;
    int next = 0;
    // Starts the row's next pixel in `o` (a pixel classified without a step is written at
    // once): its column, or -1 when the row is done or the picture cancelled.
    auto start = [&](Orbit& o) {
        while (next <= lastCol) {
            if (ctx.Cancelled()) {
                next = lastCol + 1;
                return -1;
            }
            const int c = next++;
            if (!o.Start(axes.XOfColumn(c), y)) return c;
            out[c] = o.Result();
        }
        return -1;
    };
    bool full = true;
    for (int l = 0; l < K; ++l) full &= (col[l] = start(lane[l])) >= 0;
    while (full) {
        unsigned done;
        if constexpr (requires { Orbit::kSteppedInPlace; }) {
            if (!(done = lanes::StepAll(lane, map, all))) continue;
        } else {
            done = lanes::StepUntilDone(lane, map, all);
        }
        for (int l = 0; l < K; ++l) {
            if (!(done >> l & 1)) continue;
            out[col[l]] = lane[l].Result();
            full &= (col[l] = start(lane[l])) >= 0;
        }
    }
    // The row has no pixel left for a lane: the orbits still running end one at a time.
    for (int l = 0; l < K; ++l) {
        if (col[l] < 0) continue;
        if (ctx.Cancelled()) return;
        while (!lanes::StepOne(lane[l], map)) {
        }
        out[col[l]] = lane[l].Result();
    }
}

// The row walk of the kinds whose time is the map: makeOrbit(map, scene) gives the orbit of
// one pixel for a band's map and scene, which StepRow runs in the map's lanes (or in one,
// for ctx.oneLane).
template <class MakeOrbit>
void WalkOrbits(PictureContext& ctx, RowRange range, MakeOrbit&& makeOrbit) {
    WalkRows(ctx, range,
             [&](const auto& map, const Scene& scene, const TAxisB& axes, int r, PixelResult* out,
                 int lastCol) {
                 const auto orbit = makeOrbit(map, scene);
                 constexpr int K = LanesFor<decltype(orbit), std::decay_t<decltype(map)>>();
                 const long double y = axes.YOfRow(r);
                 if (ctx.oneLane)
                     StepRow<1>(ctx, map, orbit, axes, y, lastCol, out);
                 else
                     StepRow<K>(ctx, map, orbit, axes, y, lastCol, out);
             });
}

}  // namespace vorla
