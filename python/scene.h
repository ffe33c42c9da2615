// The scene object of the module, shared by the files that define its functions.
#pragma once

#include "app/scene_file.h"
#include "plane/tabula.h"

namespace vorla::python {

// A scene: every control, the task type, the last picture kind and the tabula's size, as a
// scene file holds them.
struct PyScene {
    SceneState state;

    int Width() const { return state.width > 0 ? state.width : kDefaultTabulaWidth; }
    int Height() const { return state.height > 0 ? state.height : kDefaultTabulaHeight; }
};

}  // namespace vorla::python
