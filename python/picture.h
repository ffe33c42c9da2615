// A picture drawn for Python: the tabula's image and the value grid as the renderer draws
// them, handed over whole, so that NumPy arrays are views of them.
#pragma once

#include <pybind11/pybind11.h>

#include <QImage>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/scene_file.h"
#include "app/view_moves.h"
#include "pictures/value_grid.h"
#include "plane/viewport.h"

namespace vorla::python {

namespace py = pybind11;

// The view of a scene as its axes fields hold it: the three texts and the numbers the
// program reads from them.
struct View {
    AxesTexts texts;
    AxesRange range;
};
// The view the axes fields of `controls` hold.
View ViewOf(const Controls& controls);

// What a render is asked for besides the scene.
struct RenderRequest {
    int tag = 1;
    int width = 0, height = 0;
    int threads = 0;  // 0: one per core
    std::optional<std::uint64_t> seed;
    bool clear = false, overlay = false, fixedPoints = false;
    py::object progress;  // None, a callable (done, total), or True for a tqdm bar
};

// Why a scene without a task type draws nothing and has no map.
inline constexpr const char* kNoTaskMessage =
    "the scene has no task type (scene.task = 2 to 6 gives one)";

// A picture and its value grid, owned here; the arrays handed to Python are views of them.
struct Picture {
    QImage image;  // Format_RGB32, the only owner of its pixels
    ValueGrid grid;
    int tag = 1;
    int width = 0, height = 0;
    std::uint64_t seed = 0;
    View view;
    TAxisB axes;
};

// Draws `scene` as `request` says, as `vorla-render` draws it, beside the Python thread:
// Ctrl+C ends it at once (KeyboardInterrupt), and the progress function hears of every band.
// Memory or threads refused raise MemoryError or RuntimeError with the renderer's message; a
// picture the scene cannot give (no task type, a bad bound of infinity, an unusable range)
// raises ValueError.
std::unique_ptr<Picture> RenderPicture(const SceneState& scene, const RenderRequest& request);

}  // namespace vorla::python
