// Movies between scenes: the scene of every frame of a flight through keyframes. The one
// interpolation of the program, which the renderer and the window both draw from: numbers move
// linearly, whole numbers step to the nearest one, and the view zooms at constant speed.
#pragma once

#include <string>
#include <vector>

#include "app/scene_file.h"
#include "base/status.h"
#include "plane/viewport.h"

namespace vorla {

// The most frames a movie has: their files are numbered with five digits.
inline constexpr int kMaxMovieFrames = 99999;

// How a flight moves between two keyframes: at constant speed, or easing in and out of each
// keyframe (smoothstep, 3u² − 2u³).
enum class Ease { Linear, Smooth };

// The view a share `u` (0..1) of the way from `a` to `b` on a W x H tabula: the width of the
// visible range changes geometrically (the zoom at constant speed), and the centre moves with
// it so that the point both views show at the same place of the tabula stays there; views of
// one width pan at constant speed. In long double throughout.
AxesRange BetweenViews(const AxesRange& a, const AxesRange& b, int W, int H, long double u);

// Keyframes checked for a flight on a W x H tabula.
struct Flight {
    std::vector<SceneState> keys;
    int width = 0, height = 0;
    Ease ease = Ease::Linear;
    // What every frame keeps of the first keyframe where the keyframes differ, for a warning
    // ("the picture kind", "the colours LabelBA, LabelB1"); empty when they differ in nothing
    // that is kept.
    std::vector<std::string> held;
};

// Checks keyframes (two or more; `names` names them in the messages) for a flight on a W x H
// tabula: a change of task type is refused, and so is a field the keyframes differ in whose
// text is no number it takes, or a view that cannot be used at that size.
Result<Flight> PlanFlight(const std::vector<SceneState>& keys,
                          const std::vector<std::string>& names, int W, int H, Ease ease);

// The scene of frame `index` (0 .. frames − 1) of a flight drawn in `frames` frames (two or
// more): the first frame is the first keyframe and the last the last, and the flight spends as
// many frames between each two keyframes. The circle values, the bound of infinity and the
// other numeric fields move linearly, the whole numbers (iterations, thickness) step to the
// nearest whole number, the view moves as BetweenViews; the task type, picture kind, colours
// and check boxes are the first keyframe's, and the tabula is the flight's size.
SceneState FlightFrame(const Flight& flight, int frames, int index);

}  // namespace vorla
