#include "app/keyframes.h"

#include <algorithm>
#include <cmath>

#include "app/view_moves.h"
#include "model/controls.h"

namespace vorla {
namespace {

bool IsAxis(Ctl c) {
    return c == Ctl::edtXod || c == Ctl::edtXdo || c == Ctl::edtYzero;
}

// The names of the controls of `kind` in which the keyframes differ from the first.
std::string Differing(const std::vector<SceneState>& keys, ControlKind kind) {
    std::string names;
    for (const ControlSpec& f : ControlTable()) {
        if (f.kind != kind) continue;
        for (const SceneState& k : keys) {
            const ControlValues &a = keys.front().controls, &b = k.controls;
            const bool same = kind == ControlKind::ColourLabel
                                  ? a.LabelColour(f.id) == b.LabelColour(f.id)
                                  : a.Text(f.id) == b.Text(f.id);
            if (!same) {
                names += std::string(names.empty() ? "" : ", ") + f.name;
                break;
            }
        }
    }
    return names;
}

// Checks the pair of neighbouring keyframes a and b (named `na`, `nb`).
Status CheckPair(const SceneState& a, const SceneState& b, const std::string& na,
                 const std::string& nb, int W, int H) {
    for (const ControlSpec& f : ControlTable()) {
        if (f.kind != ControlKind::Edit || IsAxis(f.id)) continue;
        if (a.controls.Text(f.id) == b.controls.Text(f.id)) continue;
        for (const auto& [key, name] : {std::pair{&a, &na}, std::pair{&b, &nb}})
            if (!key->controls.ReadNumber(f.id))
                return Failure{*name + ": " + f.name + ": '" + ShortText(key->controls.Text(f.id)) +
                               "' is no number the field takes; the keyframes differ there, so "
                               "each must give one"};
    }
    if (ReadAxesTexts(a.controls) == ReadAxesTexts(b.controls)) return {};
    const Result<AxesRange> ra = FieldRange(a.controls, W, H), rb = FieldRange(b.controls, W, H);
    if (!ra) return Failure{na + ": " + ra.Message()};
    if (!rb) return Failure{nb + ": " + rb.Message()};
    if ((ra->XTo > ra->XFrom) != (rb->XTo > rb->XFrom))
        return Failure{nb + ": its X axis runs the other way than that of " + na};
    return {};
}

// The text of control `c` a share u of the way from a to b (0 < u < 1).
std::string Between(const ControlValues& a, const ControlValues& b, Ctl c, long double u) {
    if (Spec(c).kind == ControlKind::Spin) {
        const long double ia = a.Spin(c), ib = b.Spin(c);
        return std::to_string(std::llround(ia + (ib - ia) * u));
    }
    const long double va = a.Number(c), vb = b.Number(c);
    return ExactNumberText(va + (vb - va) * u);
}

}  // namespace

AxesRange BetweenViews(const AxesRange& a, const AxesRange& b, int W, int H, long double u) {
    const long double wa = a.XTo - a.XFrom, wb = b.XTo - b.XFrom;
    const long double zoom = std::log(wb / wa);
    const long double w = wa * std::exp(u * zoom);
    // The centre goes the share of its way that the width has gone: what stays in place on
    // the tabula is the point both views show at the same place.
    const long double share = zoom == 0 ? u : std::expm1(u * zoom) / std::expm1(zoom);
    const long double aspect = static_cast<long double>(H) / W;
    const long double ax = (a.XFrom + a.XTo) / 2, bx = (b.XFrom + b.XTo) / 2;
    const long double ay = (0.5L - a.YRelative) * aspect * wa;
    const long double by = (0.5L - b.YRelative) * aspect * wb;
    const long double x = ax + (bx - ax) * share, y = ay + (by - ay) * share;
    return {x - w / 2, x + w / 2, 0.5L - y / (aspect * w)};
}

Result<Flight> PlanFlight(const std::vector<SceneState>& keys,
                          const std::vector<std::string>& names, int W, int H, Ease ease) {
    if (keys.size() < 2 || names.size() != keys.size())
        return Failure{"a movie needs two keyframes or more"};
    for (size_t i = 1; i < keys.size(); ++i)
        if (keys[i].taskType != keys[0].taskType)
            return Failure{names[i] + " has task type " +
                           std::to_string(TaskNumber(keys[i].taskType)) + " and " + names[0] +
                           " task type " + std::to_string(TaskNumber(keys[0].taskType)) +
                           ": a movie keeps one task type, as the circles of one are not those "
                           "of another"};
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        if (Status pair = CheckPair(keys[i], keys[i + 1], names[i], names[i + 1], W, H); !pair)
            return Failure{pair.Message()};
    Flight flight{keys, W, H, ease, {}};
    for (const SceneState& k : keys)
        if (k.pictureKind != keys[0].pictureKind) {
            flight.held.push_back("the picture kind");
            break;
        }
    if (const std::string colours = Differing(keys, ControlKind::ColourLabel); !colours.empty())
        flight.held.push_back("the colours " + colours);
    if (const std::string checks = Differing(keys, ControlKind::Check); !checks.empty())
        flight.held.push_back("the check boxes " + checks);
    return flight;
}

SceneState FlightFrame(const Flight& flight, int frames, int index) {
    // Frame `index` lies `rest` / `steps` of the way from keyframe `s` to the next.
    const long long keys = static_cast<long long>(flight.keys.size());
    const long long steps = std::max(frames - 1, 1);
    const long long along = static_cast<long long>(std::clamp(index, 0, frames - 1)) * (keys - 1);
    long long s = along / steps, rest = along % steps;
    if (s >= keys - 1) {
        s = keys - 2;
        rest = steps;
    }
    const SceneState &a = flight.keys[s], &b = flight.keys[s + 1];
    SceneState frame = flight.keys.front();
    frame.width = flight.width;
    frame.height = flight.height;
    // At a keyframe its own texts, as typed.
    const SceneState* at = rest == 0 ? &a : rest == steps ? &b : nullptr;
    long double u = static_cast<long double>(rest) / steps;
    if (flight.ease == Ease::Smooth) u = u * u * (3 - 2 * u);
    for (const ControlSpec& f : ControlTable()) {
        if (f.kind != ControlKind::Edit && f.kind != ControlKind::Spin) continue;
        if (IsAxis(f.id)) continue;
        const std::string& text = a.controls.Text(f.id);
        frame.controls.SetText(f.id, at ? at->controls.Text(f.id)
                                     : text == b.controls.Text(f.id)
                                         ? text
                                         : Between(a.controls, b.controls, f.id, u));
    }
    const AxesTexts va = ReadAxesTexts(a.controls), vb = ReadAxesTexts(b.controls);
    if (at || va == vb) {
        WriteAxesTexts(frame.controls, at ? ReadAxesTexts(at->controls) : va);
    } else {
        const AxesRange ra = FieldRange(a.controls, flight.width, flight.height).ValueOr({});
        const AxesRange rb = FieldRange(b.controls, flight.width, flight.height).ValueOr({});
        WriteAxesTexts(frame.controls,
                       TextsOf(BetweenViews(ra, rb, flight.width, flight.height, u)));
    }
    return frame;
}

}  // namespace vorla
