// Marks the fixed points of the current map with small squares.
#pragma once

#include "colour/palette.h"
#include "model/fixed_points.h"
#include "model/scene.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// Fills `set` for the scene's task type, then draws a square of 8 by 8 pixels around each
// point, the i-th in CircleColors[i], with the pen width, mode and brush the tabula has.
void PevneBody1Click(Tabula& t, const Viewport& v, const Palette& p, const Scene& scene,
                     FixedPointSet& set);

}  // namespace vorla
