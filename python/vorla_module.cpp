// The Python module `vorla`: scenes, pictures and orbits of the program, with the pictures'
// pixels and value grids as NumPy arrays. It is one more face over the application layer:
// every picture is drawn by SceneRender, as the renderer and "Render at size" draw it.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "app/picture_file.h"
#include "app/picture_params.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "app/session.h"
#include "app/view_moves.h"
#include "flight.h"
#include "model/controls.h"
#include "model/examples.h"
#include "model/fixed_points.h"
#include "model/scene.h"
#include "picture.h"
#include "pictures/kinds.h"
#include "pictures/lyapunov.h"
#include "plane/image_file.h"
#include "render_beside.h"
#include "scene.h"
#include "values.h"

namespace vorla::python {
namespace {

constexpr long long kMaxSide = kMaxPictureSide;  // each side of a picture, as --size takes it
constexpr long long kMaxPixels = 1LL << 40;      // and its pixels
constexpr long long kMaxOrbitSteps = 100000000;  // 3.2 GB of points

// A session over a scene on a one-pixel tabula with one thread: the map, the colours and the
// Lyapunov scale as the program holds them for the scene.
class SceneSession {
  public:
    explicit SceneSession(const SceneState& scene) : render_(scene, host_, OnePixel()) {
        if (Status prepared = render_.Prepare(); !prepared)
            Raise(PyExc_MemoryError, prepared.Message());
    }
    Session& session() { return render_.session; }
    ControlValues& controls() { return render_.controls; }
    // The scene with its map, as a picture would iterate it; no task type or a bad bound of
    // infinity raise ValueError, as they refuse a picture.
    const Scene& MapScene() {
        if (!session().EditNekonecnoExit())
            Raise(PyExc_ValueError, std::string(kBadNumberMessage) + " (EditNekonecno: '" +
                                        controls().Text(Ctl::EditNekonecno) + "')");
        if (!session().scene().HasMap()) Raise(PyExc_ValueError, kNoTaskMessage);
        return session().scene();
    }

  private:
    static RenderSettings OnePixel() {
        RenderSettings s;
        s.width = s.height = s.threads = 1;
        return s;
    }
    Host host_;
    SceneRender render_;
};

// --- picture kinds -----------------------------------------------------------------------

std::vector<const PictureKindInfo*> Kinds() {
    std::vector<const PictureKindInfo*> kinds;
    for (int tag = 1; tag <= 64; ++tag)
        if (const PictureKindInfo* k = FindPictureKind(tag)) kinds.push_back(k);
    return kinds;
}

std::string KindNames() {
    std::string names;
    for (const PictureKindInfo* k : Kinds())
        names += std::string(names.empty() ? "" : ", ") + k->name;
    return names;
}

// The tag of a kind given by its name or its menu tag; None gives `fallback`.
int KindTag(py::handle kind, int fallback) {
    if (kind.is_none()) return fallback;
    if (py::isinstance<py::str>(kind)) {
        const std::string name = FieldText(kind, "kind");
        if (const PictureKindInfo* k = FindPictureKind(name)) return k->tag;
        Raise(PyExc_ValueError, "unknown picture '" + name + "'; the kinds: " + KindNames());
    }
    const long long tag = WholeNumber(kind, "kind", 1, 64);
    if (!FindPictureKind(static_cast<int>(tag)))
        Raise(PyExc_ValueError,
              "no picture has the tag " + std::to_string(tag) + "; the kinds: " + KindNames());
    return static_cast<int>(tag);
}

// --- arrays --------------------------------------------------------------------------------

// An (n, 2) array of numpy.longdouble that owns `points` (x, y, x, y, …) without a copy.
py::array PointArray(std::vector<long double>&& points) {
    auto* owned = new std::vector<long double>(std::move(points));
    const py::capsule owner(owned,
                            [](void* p) { delete static_cast<std::vector<long double>*>(p); });
    const auto n = static_cast<py::ssize_t>(owned->size() / 2);
    return py::array_t<long double>({n, py::ssize_t{2}}, owned->data(), owner);
}

// Colours (0x00BBGGRR) as an (n, 3) array of uint8, red first.
py::array ColourArray(const std::vector<Colour>& colours) {
    py::array_t<std::uint8_t> a({static_cast<py::ssize_t>(colours.size()), py::ssize_t{3}});
    auto out = a.mutable_unchecked<2>();
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const auto r = static_cast<py::ssize_t>(i);
        out(r, 0) = static_cast<std::uint8_t>(RedOf(colours[i]));
        out(r, 1) = static_cast<std::uint8_t>(GreenOf(colours[i]));
        out(r, 2) = static_cast<std::uint8_t>(BlueOf(colours[i]));
    }
    return a;
}

// An RGB32 image as an (h, w, 3) array of uint8, copied.
py::array ImageArray(const QImage& image) {
    py::array_t<std::uint8_t> a({static_cast<py::ssize_t>(image.height()),
                                 static_cast<py::ssize_t>(image.width()), py::ssize_t{3}});
    auto out = a.mutable_unchecked<3>();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out(y, x, 0) = static_cast<std::uint8_t>(row[x] >> 16);
            out(y, x, 1) = static_cast<std::uint8_t>(row[x] >> 8);
            out(y, x, 2) = static_cast<std::uint8_t>(row[x]);
        }
    }
    return a;
}

// The colours of the ramp from `from` to `to` in 256 steps.
std::vector<Colour> RampColours(Colour from, Colour to) {
    Palette p;
    p.RampFromColor = from;
    p.RampToColor = to;
    std::vector<Colour> colours;
    for (int n = 0; n < 256; ++n) colours.push_back(p.MixColorsByte(n));
    return colours;
}

template <std::size_t N>
std::vector<Colour> AllColours(const std::array<Colour, N>& table) {
    return std::vector<Colour>(table.begin(), table.end());
}

// The colours of a kind's values, for a legend.
struct KindColours {
    std::vector<Colour> operator()(const ConvergenceParams& p) const {
        return AllColours(p.classColours);
    }
    std::vector<Colour> operator()(const PeriodParams& p) const {
        return AllColours(p.periodColours);
    }
    std::vector<Colour> operator()(const LimitParams& p) const {
        return RampColours(p.rampFrom, p.rampTo);
    }
    std::vector<Colour> operator()(const RegionParams& p) const {
        return AllColours(p.regionColours);
    }
    std::vector<Colour> operator()(const InfinityParams& p) const {
        return AllColours(p.stepColours);
    }
    std::vector<Colour> operator()(const ClosestParams& p) const {
        return AllColours(p.periodColours);
    }
    std::vector<Colour> operator()(const LastTwoParams& p) const {
        return RampColours(p.rampFrom, p.rampTo);
    }
    std::vector<Colour> operator()(const LyapunovParams& p) const {
        Palette scale;
        scale.LyapNegColor = p.negative;
        scale.LyapZeroColor = p.zero;
        scale.LyapPosColor = p.positive;
        // The rows of the scale, as DrawLyapunovScale colours them.
        std::vector<Colour> colours;
        for (int y = 0; y < kScaleHeight; ++y)
            colours.push_back(
                scale.LyapunovScaleColor(static_cast<float>(2.0L * y / (kScaleHeight - 1) - 1)));
        return colours;
    }
    std::vector<Colour> operator()(const RectangleParams& p) const {
        return std::vector<Colour>(p.stepColours.begin() + 1, p.stepColours.end());
    }
};

// --- controls ------------------------------------------------------------------------------

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
            return "edit";
        case ControlKind::Spin:
            return "spin";
        case ControlKind::Check:
            return "check";
        case ControlKind::ColourLabel:
            return "colour";
    }
    return "";
}

// A control's value as a scene file holds it: an edit's text, a spin's number, a check box's
// state, a colour's name or #RRGGBB.
py::object ControlValue(const Controls& controls, const ControlSpec& f) {
    switch (f.kind) {
        case ControlKind::Edit:
            return py::str(controls.Text(f.id));
        case ControlKind::Spin:
            return py::int_(controls.Spin(f.id));
        case ControlKind::Check:
            return py::bool_(controls.Checked(f.id));
        case ControlKind::ColourLabel:
            return py::str(ColourValue(controls.LabelColour(f.id)));
    }
    return py::none();
}

std::string ControlNames() {
    std::string names;
    for (const ControlSpec& f : ControlTable())
        names += std::string(names.empty() ? "" : " ") + f.name;
    return names;
}

const ControlSpec& FindSpec(py::handle name) {
    if (!py::isinstance<py::str>(name))
        Raise(PyExc_KeyError, "a control is named by a str, not " + Repr(name));
    const std::string text = FieldText(name, "a control's name");
    const std::optional<Ctl> c = FindControl(text);
    if (!c)
        Raise(PyExc_KeyError,
              "unknown control '" + ShortText(text) + "'; valid names: " + ControlNames());
    return Spec(*c);
}

// --- the view ------------------------------------------------------------------------------

PyScene WithTexts(const PyScene& scene, const AxesTexts& texts) {
    PyScene moved = scene;
    WriteAxesTexts(moved.state.controls, texts);
    static const char* const names[] = {"x_from", "x_to", "y_rel"};
    const Ctl fields[] = {Ctl::edtXod, Ctl::edtXdo, Ctl::edtYzero};
    for (int i = 0; i < 3; ++i)
        if (!moved.state.controls.ReadNumber(fields[i]))
            Raise(PyExc_ValueError, std::string(names[i]) + " takes a number, not '" +
                                        moved.state.controls.Text(fields[i]) + "'");
    if (const Result<AxesRange> r = FieldRange(moved.state.controls, scene.Width(), scene.Height());
        !r)
        Raise(PyExc_ValueError, r.Message());
    return moved;
}

std::string ViewRepr(const View& v) {
    return "View(x_from='" + v.texts.xFrom + "', x_to='" + v.texts.xTo + "', y_rel='" +
           v.texts.yRel + "')";
}

// --- the picture ---------------------------------------------------------------------------

py::array RgbArray(Picture& p, py::handle owner) {
    // RGB32 is B, G, R, A in memory on this little-endian machine: red at byte 2, going back.
    uchar* bits = p.image.bits();  // the one owner: no copy
    const auto line = static_cast<py::ssize_t>(p.image.bytesPerLine());
    return py::array(
        py::dtype::of<std::uint8_t>(),
        {static_cast<py::ssize_t>(p.height), static_cast<py::ssize_t>(p.width), py::ssize_t{3}},
        {line, py::ssize_t{4}, py::ssize_t{-1}}, bits + 2, owner);
}

py::array GridArray(Picture& p, py::handle owner) {
    // The grid has a cell more in each direction; the picture's are the first H * W.
    const auto w = static_cast<py::ssize_t>(p.width);
    return py::array(py::dtype::of<std::int32_t>(), {static_cast<py::ssize_t>(p.height), w},
                     {w * 4, py::ssize_t{4}}, p.grid.Cells().data(), owner);
}

void SavePicture(const Picture& p, py::handle path, py::handle gridPath) {
    const std::string picture = PathOf(path);
    const char* format = PictureFormatOf(picture);
    if (!format) Raise(PyExc_ValueError, "the picture file must end in .png or .bmp: " + picture);
    const std::string grid = gridPath.is_none() ? "" : PathOf(gridPath);
    if (!grid.empty() && SameFile(picture, grid))
        Raise(PyExc_ValueError,
              "the picture " + picture + " and the grid " + grid + " are the same file");
    std::string step;
    Status saved;
    {
        const py::gil_scoped_release release;
        saved = Guarded([&] {
            return WritePicture({picture, format, grid}, p.image, p.grid, p.tag, step);
        });
    }
    if (!saved)
        Raise(saved.Message() == kOutOfMemory ? PyExc_MemoryError : PyExc_OSError,
              step + ": " + saved.Message());
}

// --- the scene's operations ----------------------------------------------------------------

PyScene LoadScene(py::handle path) {
    const std::string name = PathOf(path);
    std::vector<std::string> warnings;
    const Result<SceneState> read = ReadSceneFile(name, &warnings);
    if (!read) {
        const std::string& m = read.Message();
        // The file itself could not be read: the system's failure, not the scene's.
        const bool unreadable = m.rfind(name + ": cannot be read: ", 0) == 0;
        Raise(unreadable ? PyExc_OSError : PyExc_ValueError, m);
    }
    for (const std::string& w : warnings)
        if (PyErr_WarnEx(PyExc_UserWarning, w.c_str(), 2) != 0) throw py::error_already_set();
    return PyScene{read.Value()};
}

void SaveScene(const PyScene& scene, py::handle path) {
    const std::string name = PathOf(path);
    if (const Status saved = WriteSceneFile(scene.state, name); !saved)
        Raise(PyExc_OSError, "cannot write " + name + ": " + saved.Message());
}

std::unique_ptr<Picture> Render(const PyScene& scene, py::handle kind, py::handle size,
                                py::handle threads, py::handle seed, bool overlay, bool fixedPoints,
                                bool clear, py::object progress) {
    RenderRequest r;
    r.tag = KindTag(
        kind, scene.state.pictureKind > 0 ? scene.state.pictureKind : PictureTag::Convergence);
    r.width = scene.Width();
    r.height = scene.Height();
    if (!size.is_none()) {
        const std::string takes =
            "size takes (width, height), each from 1 to 1000000, not " + Repr(size);
        if (!py::isinstance<py::sequence>(size) || py::isinstance<py::str>(size) ||
            py::len(size) != 2)
            Raise(PyExc_TypeError, takes);
        const auto sides = py::reinterpret_borrow<py::sequence>(size);
        r.width = static_cast<int>(WholeNumber(sides[0], "size's width", 1, kMaxSide));
        r.height = static_cast<int>(WholeNumber(sides[1], "size's height", 1, kMaxSide));
        if (static_cast<long long>(r.width) * r.height > kMaxPixels) Raise(PyExc_ValueError, takes);
    }
    if (!threads.is_none()) r.threads = static_cast<int>(WholeNumber(threads, "threads", 1, 1024));
    if (!seed.is_none()) r.seed = Seed(seed);
    r.overlay = overlay;
    r.fixedPoints = fixedPoints;
    r.clear = clear;
    r.progress = std::move(progress);
    return RenderPicture(scene.state, r);
}

py::array Orbit(const PyScene& scene, py::handle x, py::handle y, py::handle steps) {
    long double X = RealNumber(x, "x"), Y = RealNumber(y, "y");
    const long long n = WholeNumber(steps, "steps", 0, kMaxOrbitSteps);
    SceneSession session(scene.state);
    const Scene map = session.MapScene();
    std::vector<long double> points;
    points.reserve(2 * static_cast<std::size_t>(std::min<long long>(n + 1, 1 << 20)));
    points.push_back(X);
    points.push_back(Y);
    RunInSlices(n, [&](long long) {
        IterationMap(map, X, Y);
        // A point beyond the numbers the program holds has left the plane: the orbit ends.
        if (!std::isfinite(X) || !std::isfinite(Y)) return false;
        points.push_back(X);
        points.push_back(Y);
        return true;
    });
    return PointArray(std::move(points));
}

py::tuple Step(const PyScene& scene, py::handle xs, py::handle ys) {
    const py::module_ np = py::module_::import("numpy");
    const py::object type = np.attr("longdouble");
    const py::tuple both =
        np.attr("broadcast_arrays")(np.attr("asarray")(xs, type), np.attr("asarray")(ys, type));
    // Fresh arrays of their own, C order, for the results.
    auto X = py::array_t<long double, py::array::c_style>::ensure(
        np.attr("array")(both[0], type, py::arg("copy") = true, py::arg("order") = "C"));
    auto Y = py::array_t<long double, py::array::c_style>::ensure(
        np.attr("array")(both[1], type, py::arg("copy") = true, py::arg("order") = "C"));
    if (!X || !Y) throw py::error_already_set();
    SceneSession session(scene.state);
    const Scene map = session.MapScene();
    long double* px = X.mutable_data();
    long double* py_ = Y.mutable_data();
    RunInSlices(X.size(), [&](long long i) {
        IterationMap(map, px[i], py_[i]);
        return true;
    });
    return py::make_tuple(X, Y);
}

py::array FixedPointArray(const PyScene& scene) {
    SceneSession session(scene.state);
    FixedPointSet set;
    FixedPoints(session.MapScene(), set);
    std::vector<long double> points;
    for (int i = 0; i < set.FixedCount; ++i) {
        points.push_back(set.FixedX[i]);
        points.push_back(set.FixedY[i]);
    }
    return PointArray(std::move(points));
}

py::array KindPalette(const PyScene& scene, py::handle kind) {
    const int tag = KindTag(kind, PictureTag::Convergence);
    SceneSession session(scene.state);
    // The parameters as a picture of the kind would read them when it begins.
    ControlValues controls(session.controls());
    long double accuracy = 0;
    return ColourArray(std::visit(
        KindColours{}, ReadPictureParams(tag, controls, session.session().palette(), accuracy)));
}

py::array LyapunovScale(const PyScene& scene) {
    SceneSession session(scene.state);
    session.session().KresliStupnici();
    return ImageArray(session.session().scaleImage().Image());
}

py::list ControlList(const PyScene& scene) {
    static const ControlValues defaults;
    py::list list;
    for (const ControlSpec& f : ControlTable()) {
        py::dict c;
        c["name"] = f.name;
        c["kind"] = KindName(f.kind);
        c["value"] = ControlValue(scene.state.controls, f);
        c["default"] = ControlValue(defaults, f);
        c["min"] =
            f.kind == ControlKind::Spin ? py::object(py::int_(f.min)) : py::object(py::none());
        c["max"] =
            f.kind == ControlKind::Spin ? py::object(py::int_(f.max)) : py::object(py::none());
        list.append(c);
    }
    return list;
}

PyScene Zoom(const PyScene& scene, py::handle cx, py::handle cy, py::handle factor) {
    const long double x = RealNumber(cx, "cx"), y = RealNumber(cy, "cy");
    const long double f = RealNumber(factor, "factor");
    if (!(f > 0)) Raise(PyExc_ValueError, "factor takes a number above 0, not " + Repr(factor));
    const int W = scene.Width(), H = scene.Height();
    const Result<AxesRange> range = FieldRange(scene.state.controls, W, H);
    if (!range) Raise(PyExc_ValueError, range.Message());
    const AxesRange zoomed = ZoomAboutPoint(range.Value(), W, H, x, y, f);
    if (const RangeFault fault = CheckRange(zoomed, W, H); fault != RangeFault::None)
        Raise(PyExc_ValueError, RangeFaultMessage(fault));
    return WithTexts(scene, TextsOf(zoomed));
}

std::string SceneRepr(const PyScene& s) {
    const PictureKindInfo* kind = FindPictureKind(s.state.pictureKind);
    const TaskType task = s.state.taskType;
    const View v = ViewOf(s.state.controls);
    return "<vorla.Scene task=" +
           (task == TaskType::None ? std::string("None") : std::to_string(TaskNumber(task))) +
           " kind=" + (kind ? kind->name : "None") + " size=" + std::to_string(s.Width()) + "x" +
           std::to_string(s.Height()) + " view=(" + v.texts.xFrom + ", " + v.texts.xTo + ", " +
           v.texts.yRel + ")>";
}

}  // namespace
}  // namespace vorla::python

namespace vp = vorla::python;
using vorla::python::Picture;
using vorla::python::PyScene;
using vorla::python::View;

PYBIND11_MODULE(vorla, m) {
    namespace py = pybind11;
    m.doc() =
        "Vorla: the dynamics of circle inversion, from Python.\n\n"
        "A Scene holds what the window's controls hold (the circles, the view, the settings of\n"
        "every picture kind, the colours) and the task type. Its render() draws a picture as\n"
        "vorla-render draws it, bit for bit, and gives a Picture whose .rgb and .grid are NumPy\n"
        "views of the picture's own memory. orbit() and step() iterate the scene's map in the\n"
        "program's 80-bit extended reals (numpy.longdouble).\n\n"
        "    import vorla\n"
        "    p = vorla.Scene.example(3).render('convergence')\n"
        "    p.rgb.shape, p.grid.dtype   # ((450, 542, 3), dtype('int32'))\n";
    m.attr("__version__") = VORLA_VERSION;
    py::list kinds;
    for (const vorla::PictureKindInfo* k : vp::Kinds()) kinds.append(k->name);
    m.attr("KINDS") = py::tuple(kinds);

    py::class_<View>(
        m, "View",
        "The visible part of the plane as the axes fields hold it: 'X from', 'X to'\n"
        "and 'Axis Y relatively' (the height of the X axis over the bottom edge, as a\n"
        "fraction of the picture's height). The Y range follows from the picture's\n"
        "shape: its scale is the X one.")
        .def_property_readonly(
            "x_from", [](const View& v) { return vp::LongDouble(v.range.XFrom); },
            "The plane's X at the left edge, as a numpy.longdouble.")
        .def_property_readonly(
            "x_to", [](const View& v) { return vp::LongDouble(v.range.XTo); },
            "The plane's X at the right edge, as a numpy.longdouble.")
        .def_property_readonly(
            "y_rel", [](const View& v) { return vp::LongDouble(v.range.YRelative); },
            "Where the X axis lies, from 0 (bottom edge) to 1 (top edge), as a numpy.longdouble.")
        .def_property_readonly(
            "texts",
            [](const View& v) { return py::make_tuple(v.texts.xFrom, v.texts.xTo, v.texts.yRel); },
            "The three fields' texts, as typed (e.g. ('-3', '7', '1/3')).")
        // Another type compares unequal (NotImplemented), not as an error.
        .def(
            "__eq__", [](const View& a, const View& b) { return a.texts == b.texts; },
            py::is_operator())
        .def("__repr__", &vp::ViewRepr);

    py::class_<Picture>(
        m, "Picture",
        "A picture drawn by Scene.render(): its pixels, its value grid and how it was\n"
        "drawn. The arrays are views of the picture's own memory, which they keep\n"
        "alive; writing into them changes the picture that save() writes.")
        .def_property_readonly(
            "rgb", [](py::object self) { return vp::RgbArray(self.cast<Picture&>(), self); },
            "The pixels, an (H, W, 3) uint8 array, red first, row 0 at the top: a view of the\n"
            "picture's memory (no copy), byte for byte the pixels vorla-render writes.")
        .def_property_readonly(
            "grid", [](py::object self) { return vp::GridArray(self.cast<Picture&>(), self); },
            "The value grid, an (H, W) int32 array: what the picture stored for each pixel (a\n"
            "class, a period, a step count, thousandths of an exponent…, -1 where nothing was\n"
            "stored), as vorla-render's --grid file holds it. A view, no copy.")
        .def_property_readonly(
            "kind",
            [](const Picture& p) { return std::string(vorla::FindPictureKind(p.tag)->name); },
            "The picture kind's name, one of vorla.KINDS.")
        .def_readonly("tag", &Picture::tag, "The picture kind's menu tag (the grid file's KIND).")
        .def_property_readonly(
            "size", [](const Picture& p) { return py::make_tuple(p.width, p.height); },
            "(width, height) in pixels.")
        .def_readonly("seed", &Picture::seed,
                      "The random seed the picture was drawn with (only lyap-d uses it): pass it\n"
                      "to render() to draw the same picture again.")
        .def_readonly("view", &Picture::view, "The View the picture shows.")
        .def_property_readonly(
            "extent",
            [](const Picture& p) {
                const vorla::TAxisB& a = p.axes;
                // Pixel (c, r) is computed at (XMin + c XStep, YMax - r YStep): centred in
                // its square of the image.
                return py::make_tuple(static_cast<double>(a.XMin - a.XStep / 2),
                                      static_cast<double>(a.XMax - a.XStep / 2),
                                      static_cast<double>(a.YMin + a.YStep / 2),
                                      static_cast<double>(a.YMax + a.YStep / 2));
            },
            "(left, right, bottom, top) in plane coordinates, for matplotlib's\n"
            "imshow(p.rgb, extent=p.extent): each pixel's square is centred on the point its\n"
            "orbit started from.")
        .def("save", &vp::SavePicture, py::arg("path"), py::arg("grid") = py::none(),
             "save(path, grid=None)\n\n"
             "Writes the picture as a PNG or BMP file (by the name's extension) through the\n"
             "program's own writer, and the value grid as a text file when `grid` names one:\n"
             "the files vorla-render writes for the same picture. An existing file is replaced\n"
             "only by a complete new one. Raises OSError when a file cannot be written.")
        .def("__repr__", [](const Picture& p) {
            return "<vorla.Picture " + std::string(vorla::FindPictureKind(p.tag)->name) + " " +
                   std::to_string(p.width) + "x" + std::to_string(p.height) + " " +
                   vp::ViewRepr(p.view) + ">";
        });

    py::class_<PyScene>(m, "Scene",
                        "A scene: every control of the window (by the window's names, e.g.\n"
                        "'EditKd', 'SpinKonvergIter', 'LabelB1'), the task type, the picture kind\n"
                        "and the tabula's size, as a scene file holds them. Scene() has the\n"
                        "window's defaults, with no task type chosen.")
        .def(py::init<>(), "Scene()\n\nA scene with the window's defaults and no task type.")
        .def_static(
            "example",
            [](py::handle n) {
                return PyScene{
                    vorla::ExampleScene(static_cast<int>(vp::WholeNumber(n, "example", 1, 14)))};
            },
            py::arg("n"),
            "Scene.example(n)\n\nExample n (1 to 14) of the Examples menu over the default "
            "controls,\n"
            "as vorla-render --example n loads it.")
        .def_static("load", &vp::LoadScene, py::arg("path"),
                    "Scene.load(path)\n\nReads a scene file saved by the window or by save(); a\n"
                    "file that is not a whole, valid scene raises ValueError naming the key at\n"
                    "fault, an unreadable one OSError. Keys of newer programs are skipped with a\n"
                    "warning.")
        .def(
            "save", &vp::SaveScene, py::arg("path"),
            "save(path)\n\nWrites the scene file (JSON, the window's format); an existing file is\n"
            "replaced only by a complete new one.")
        .def(
            "copy", [](const PyScene& s) { return s; }, "A scene of its own with the same values.")
        .def("__copy__", [](const PyScene& s) { return s; })
        .def(
            "__deepcopy__", [](const PyScene& s, py::handle) { return s; }, py::arg("memo"))
        .def(
            "__eq__",
            [](const PyScene& a, const PyScene& b) {
                return vorla::SceneFileText(a.state) == vorla::SceneFileText(b.state);
            },
            py::is_operator())
        .def("__repr__", &vp::SceneRepr)
        .def_property(
            "task",
            [](const PyScene& s) -> py::object {
                if (s.state.taskType == vorla::TaskType::None) return py::none();
                return py::int_(vorla::TaskNumber(s.state.taskType));
            },
            [](PyScene& s, py::handle task) {
                s.state.taskType = task.is_none() ? vorla::TaskType::None
                                                  : vorla::TaskOfNumber(static_cast<int>(
                                                        vp::WholeNumber(task, "task", 2, 6)));
            },
            "The task type: 2 to 5, the composition of the inversions in that many circles (K1\n"
            "the unit circle first), or 6, complex squaring projected on the unit circle; None\n"
            "before one is chosen.")
        .def_property(
            "kind",
            [](const PyScene& s) -> py::object {
                const vorla::PictureKindInfo* k = vorla::FindPictureKind(s.state.pictureKind);
                return k ? py::object(py::str(k->name)) : py::object(py::none());
            },
            [](PyScene& s, py::handle kind) { s.state.pictureKind = vp::KindTag(kind, 0); },
            "The scene's picture kind (a name of vorla.KINDS, or None): what render() draws when\n"
            "it is given no kind, and what a scene file keeps as the last picture.")
        .def_property(
            "size", [](const PyScene& s) { return py::make_tuple(s.Width(), s.Height()); },
            [](PyScene& s, py::handle size) {
                if (!py::isinstance<py::sequence>(size) || py::isinstance<py::str>(size) ||
                    py::len(size) != 2)
                    vp::Raise(PyExc_TypeError, "size takes (width, height), not " + vp::Repr(size));
                const auto sides = py::reinterpret_borrow<py::sequence>(size);
                const long long w =
                    vp::WholeNumber(sides[0], "size's width", 1, vorla::kMaxPictureSide);
                const long long h =
                    vp::WholeNumber(sides[1], "size's height", 1, vorla::kMaxPictureSide);
                s.state.width = static_cast<int>(w);
                s.state.height = static_cast<int>(h);
            },
            "The tabula's (width, height), each 1 to 1000000 as a scene file holds it: what "
            "render()\n"
            "draws when it is given no size, and the shape the view's Y range follows.")
        .def(
            "__getitem__",
            [](const PyScene& s, py::handle name) {
                return vp::ControlValue(s.state.controls, vp::FindSpec(name));
            },
            py::arg("name"),
            "scene[name]: a control's value as a scene file holds it: an edit's text (str), a\n"
            "spin's number (int, brought into its range), a check box's state (bool), a colour\n"
            "label's colour (a name or '#RRGGBB').")
        .def(
            "__setitem__",
            [](PyScene& s, py::handle name, py::handle value) {
                const vorla::ControlSpec& f = vp::FindSpec(name);
                const std::string text = vp::FieldText(value, f.name);
                if (const vorla::Status taken = vorla::CheckControlText(f, text); !taken)
                    vp::Raise(PyExc_ValueError, taken.Message());
                (void)s.state.controls.Set(f.name, text);
            },
            py::arg("name"), py::arg("value"),
            "scene[name] = text: sets a control from the text a user would type, with exactly\n"
            "the checks of vorla-render --set NAME=TEXT: a number for an edit (fractions such\n"
            "as '1/3', either decimal separator; above 0, or 0 or more, where the field needs\n"
            "it), digits alone for a spin (brought into its range when read), on/off (or 1/0,\n"
            "true/false, yes/no) for a check box, a colour name, '#RRGGBB' or 'r,g,b' for a\n"
            "colour label. A number is taken as str() writes it, a bool as on/off. An unknown\n"
            "name raises KeyError, a text the control does not take ValueError.")
        .def("__contains__",
             [](const PyScene&, py::handle name) {
                 return py::isinstance<py::str>(name) &&
                        vorla::FindControl(vp::FieldText(name, "a control's name")).has_value();
             })
        .def(
            "__iter__",
            [](const PyScene&) {
                py::list names;
                for (const vorla::ControlSpec& f : vorla::ControlTable()) names.append(f.name);
                return py::iter(names);
            },
            "The controls' names, in the order of the control table.")
        .def("__len__", [](const PyScene&) { return vorla::kControlCount; })
        .def("controls", &vp::ControlList,
             "controls()\n\nEvery control as a dict: 'name', 'kind' ('edit', 'spin', 'check' or\n"
             "'colour'), 'value' and 'default' (as scene[name] gives them), and for a spin\n"
             "'min' and 'max', the range it is brought into (None for the others).")
        .def_property_readonly(
            "view", [](const PyScene& s) { return vorla::python::ViewOf(s.state.controls); },
            "The View the axes fields hold; a field with a bad number reads as its default.")
        .def(
            "with_view",
            [](const PyScene& s, py::handle xFrom, py::handle xTo, py::handle yRel) {
                const vorla::AxesTexts texts{vp::FieldText(xFrom, "x_from"),
                                             vp::FieldText(xTo, "x_to"),
                                             vp::FieldText(yRel, "y_rel")};
                return vp::WithTexts(s, texts);
            },
            py::arg("x_from"), py::arg("x_to"), py::arg("y_rel"),
            "with_view(x_from, x_to, y_rel)\n\nA copy of the scene showing another part of the\n"
            "plane: the three axes fields set from texts ('1/3') or numbers (numpy.longdouble\n"
            "taken whole). A text that is no number, or a range without a scale at the scene's\n"
            "size (equal ends, too wide or too narrow), raises ValueError.")
        .def("zoom", &vp::Zoom, py::arg("cx"), py::arg("cy"), py::arg("factor"),
             "zoom(cx, cy, factor)\n\nA copy of the scene whose view is `factor` times as wide\n"
             "(below 1 zooms in) about the plane's point (cx, cy), which stays where it is in the\n"
             "picture (at the scene's size), as the window's wheel zooms about the cursor. The\n"
             "new range is written into the axes fields as the shortest texts that read back\n"
             "as its numbers.")
        .def("render", &vp::Render, py::arg("kind") = py::none(), py::arg("size") = py::none(),
             py::kw_only(), py::arg("threads") = py::none(), py::arg("seed") = py::none(),
             py::arg("overlay") = false, py::arg("fixed_points") = false, py::arg("clear") = false,
             py::arg("progress") = py::none(),
             "render(kind=None, size=None, *, threads=None, seed=None, overlay=False,\n"
             "       fixed_points=False, clear=False, progress=None) -> Picture\n\n"
             "Draws a picture of the scene, as vorla-render draws it for the same scene and\n"
             "options (--picture, --size, --threads, --seed, --overlay, --fixed-points, --clear):\n"
             "the same pixels and grid, byte for byte.\n\n"
             "kind: a name of vorla.KINDS or a menu tag; None: the scene's kind, else\n"
             "'convergence'. size: (width, height), each 1 to 1000000; None: the scene's size\n"
             "(542 x 450 unless set). threads: the workers, 1 to 1024; None: one per core.\n"
             "seed: the random seed of lyap-d; None: one from the clock (Picture.seed tells it).\n"
             "overlay: the basic circles drawn over the picture; fixed_points: the map's fixed\n"
             "points marked; clear: the tabula cleared to the basic circles first.\n"
             "progress: a callable progress(done, total), called with the rows done of the\n"
             "picture's rows (for the rectangle iterations, the steps done of its steps) as\n"
             "bands end, and once with (total, total); or True for a tqdm bar.\n\n"
             "The picture computes without the interpreter lock, so other threads run meanwhile.\n"
             "Ctrl+C ends it at once with KeyboardInterrupt. A picture the memory cannot hold\n"
             "raises MemoryError, threads refused RuntimeError, each with the renderer's\n"
             "message; no task type, a bad bound of infinity (EditNekonecno) or a view without\n"
             "a scale raise ValueError. Edits holding no number are warned of (UserWarning) and\n"
             "read as their defaults, as vorla-render warns.")
        .def("orbit", &vp::Orbit, py::arg("x"), py::arg("y"), py::arg("steps"),
             "orbit(x, y, steps) -> numpy.ndarray\n\n"
             "The orbit of the point (x, y) under the scene's map: an (N, 2) array of\n"
             "numpy.longdouble, the program's 80-bit extended reals, no value rounded to\n"
             "double. Row 0 is the point itself, row k its k-th iterate; N is steps + 1, or\n"
             "fewer when the map leaves the plane (an iterate overflows), where the orbit ends.\n"
             "steps is 0 to 100000000; Ctrl+C ends a long orbit with KeyboardInterrupt.")
        .def("step", &vp::Step, py::arg("xs"), py::arg("ys"),
             "step(xs, ys) -> (xs, ys)\n\nOne step of the scene's map from each point (xs[i], "
             "ys[i]):\n"
             "numbers or arrays of any shape that broadcast together, taken as numpy.longdouble;\n"
             "gives two new numpy.longdouble arrays of the broadcast shape.")
        .def("fixed_points", &vp::FixedPointArray,
             "fixed_points() -> numpy.ndarray\n\nThe fixed points of the map where the program "
             "knows\n"
             "them in closed form (two circles, and the squaring's point 1), as an (n, 2) array\n"
             "of numpy.longdouble; none (n = 0) for three to five circles.")
        .def("palette", &vp::KindPalette, py::arg("kind") = py::none(),
             "palette(kind=None) -> numpy.ndarray\n\nThe colours of a kind's values, an (n, 3) "
             "uint8\n"
             "array, for a legend: convergence, its 8 classes; periodicity, preperiodicity and\n"
             "the closest kinds, periods 1 to 15, then 'none'; end-regions, its 8 regions;\n"
             "infinity and rectangle, steps 1 to 12; nth and last-two, 256 steps of their ramp\n"
             "from the lower end to the upper; the Lyapunov kinds, the scale's 241 colours from\n"
             "exponent -1 to +1. kind None is convergence.")
        .def("lyapunov_scale", &vp::LyapunovScale,
             "lyapunov_scale() -> numpy.ndarray\n\nThe Lyapunov colour scale as the window shows "
             "it and\n"
             "vorla-render --scale-image writes it: a (241, 25, 3) uint8 image, exponent -1 in\n"
             "the top row, 0 in the middle and +1 in the bottom row.");

    vorla::python::DefineFlight(m);
}
