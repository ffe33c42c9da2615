// The axes and the circles of the task, drawn so that drawing them twice takes them off.
#pragma once

#include "colour/palette.h"
#include "model/scene.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// Draws the overlay in not-XOR mode with pen width `thickness`; leaves the pen in copy mode
// with the colour of the last circle, and the brush clear.
void Zadani1Click(Tabula& t, const Viewport& v, const Palette& p, TaskType taskType, int thickness);
// Clears the tabula to white, then draws the overlay.
void KresliZaklad(Tabula& t, const Viewport& v, const Palette& p, TaskType taskType, int thickness);

}  // namespace vorla
