// vorla.flight: the scenes of a movie's frames, from the interpolation the renderer's
// --animate and the window's "Make movie" draw.
#pragma once

#include <pybind11/pybind11.h>

namespace vorla::python {

// Adds flight() to the module.
void DefineFlight(pybind11::module_& m);

}  // namespace vorla::python
