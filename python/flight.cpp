#include "flight.h"

#include <string>
#include <vector>

#include "app/keyframes.h"
#include "scene.h"
#include "values.h"

namespace vorla::python {
namespace {

py::list Flight(py::handle keys, py::handle frames, const std::string& ease) {
    if (!py::isinstance<py::sequence>(keys) || py::isinstance<py::str>(keys))
        Raise(PyExc_TypeError, "keys takes a sequence of Scene, not " + Repr(keys));
    std::vector<SceneState> states;
    std::vector<std::string> names;
    for (py::handle key : py::reinterpret_borrow<py::sequence>(keys)) {
        if (!py::isinstance<PyScene>(key))
            Raise(PyExc_TypeError, "keys takes a sequence of Scene, not " + Repr(key));
        states.push_back(key.cast<const PyScene&>().state);
        names.push_back("keys[" + std::to_string(names.size()) + "]");
    }
    if (states.size() < 2) Raise(PyExc_ValueError, "a flight takes two keyframes or more");
    const int count = static_cast<int>(WholeNumber(frames, "frames", 2, kMaxMovieFrames));
    if (ease != "linear" && ease != "smooth")
        Raise(PyExc_ValueError, "ease takes 'linear' or 'smooth', not '" + ease + "'");

    const PyScene& first = keys.cast<py::sequence>()[0].cast<const PyScene&>();
    const Result<vorla::Flight> flight = PlanFlight(states, names, first.Width(), first.Height(),
                                                    ease == "smooth" ? Ease::Smooth : Ease::Linear);
    if (!flight) Raise(PyExc_ValueError, flight.Message());
    for (const std::string& held : flight->held) {
        const std::string warning =
            "the keyframes differ in " + held + "; every frame keeps those of keys[0]";
        if (PyErr_WarnEx(PyExc_UserWarning, warning.c_str(), 2) != 0) throw py::error_already_set();
    }
    py::list scenes;
    for (int k = 0; k < count; ++k) scenes.append(PyScene{FlightFrame(flight.Value(), count, k)});
    return scenes;
}

}  // namespace

void DefineFlight(py::module_& m) {
    m.def("flight", &Flight, py::arg("keys"), py::arg("frames"), py::arg("ease") = "linear",
          "flight(keys, frames, ease='linear') -> list[Scene]\n\n"
          "The scenes of a movie's frames from keys[0] to keys[-1] through each keyframe in\n"
          "turn, as vorla-render --animate draws them: the numeric fields move linearly, the\n"
          "whole numbers step to the nearest one, the view zooms at constant speed; the task\n"
          "type, picture kind, colours and check boxes are keys[0]'s (a UserWarning names what\n"
          "the keyframes differ in), and every frame has keys[0]'s size. frames: 2 to 99999;\n"
          "ease: 'linear', or 'smooth' to ease in and out of each keyframe. A change of task\n"
          "type, or a differing field that holds no number, raises ValueError.");
}

}  // namespace vorla::python
