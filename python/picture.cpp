#include "picture.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "app/scene_render.h"
#include "pictures/kinds.h"
#include "plane/number_text.h"
#include "render_beside.h"
#include "values.h"

namespace vorla::python {
namespace {

// The renderer's window for a job on a runner's thread: every band's poll goes to the runner,
// which tells the waiting Python thread and answers whether the job must end.
class JobHost : public Host {
  public:
    PictureRunner::Job* job = nullptr;
    bool Poll(int row) override { return job && job->Band(row); }
};

// The progress function of a render: a callable, or a tqdm bar made here.
class Progress {
  public:
    Progress(const py::object& progress, int total) : total_(total) {
        if (progress.is_none() || (PyBool_Check(progress.ptr()) && progress.ptr() == Py_False))
            return;
        if (progress.ptr() == Py_True) {
            bar_ = py::module_::import("tqdm").attr("tqdm")(py::arg("total") = total,
                                                            py::arg("unit") = "row");
            return;
        }
        if (!PyCallable_Check(progress.ptr()))
            Raise(PyExc_TypeError,
                  "progress takes a callable (done, total), True or None, not " + Repr(progress));
        call_ = progress;
    }
    ~Progress() {
        if (!bar_) return;
        // Closed also when the render ends by an exception, which must go on up unchanged.
        PyObject *type, *value, *trace;
        PyErr_Fetch(&type, &value, &trace);
        if (PyObject* closed = PyObject_CallMethod(bar_.ptr(), "close", nullptr))
            Py_DECREF(closed);
        else
            PyErr_Clear();
        PyErr_Restore(type, value, trace);
    }
    void Report(int done) {
        done = std::clamp(done, 0, total_);
        if (done == reported_) return;
        reported_ = done;
        if (call_) call_(done, total_);
        if (bar_) bar_.attr("update")(done - bar_.attr("n").cast<long long>());
    }

  private:
    int total_;
    int reported_ = -1;
    py::object call_, bar_;
};

// A step that failed for want of memory or threads, with the renderer's message.
[[noreturn]] void RaiseFailure(PyObject* type, const std::string& step, const Status& why) {
    Raise(why.Message() == kOutOfMemory ? PyExc_MemoryError : type, step + ": " + why.Message());
}

}  // namespace

View ViewOf(const Controls& controls) {
    return {ReadAxesTexts(controls),
            {controls.Number(Ctl::edtXod), controls.Number(Ctl::edtXdo),
             controls.Number(Ctl::edtYzero)}};
}

std::unique_ptr<Picture> RenderPicture(const SceneState& state, const RenderRequest& request) {
    SceneState scene = state;
    scene.pictureKind = request.tag;
    RenderSettings settings;
    settings.width = request.width;
    settings.height = request.height;
    settings.threads = request.threads;
    settings.clear = request.clear;
    settings.overlay = request.overlay;
    settings.fixedPoints = request.fixedPoints;
    // A seed chosen here, as the session would choose it, so that the picture can tell it.
    settings.seed = request.seed.value_or(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    // The edits are read silently with their fallback, as in the window: a text that is no
    // number there (from a scene file) deserves a word, as the renderer gives it. The bound
    // of infinity is refused instead.
    for (const ControlSpec& f : ControlTable()) {
        if (f.kind != ControlKind::Edit || f.id == Ctl::EditNekonecno) continue;
        if (!scene.controls.ReadNumber(f.id)) {
            const std::string warning = std::string(f.name) + ": '" +
                                        ShortText(scene.controls.Text(f.id)) +
                                        "' is not a number there; it reads as " +
                                        GeneralText(f.fallback) + ", as in the window";
            if (PyErr_WarnEx(PyExc_UserWarning, warning.c_str(), 2) != 0)
                throw py::error_already_set();
        }
    }
    if (scene.taskType == TaskType::None) Raise(PyExc_ValueError, kNoTaskMessage);

    // The rectangle iterations poll at each of their steps, the other kinds at each band.
    const bool steps = request.tag == PictureTag::Rectangle;
    const int total =
        steps ? std::clamp(scene.controls.Spin(Ctl::SpinNumRect), 1, 12) : request.height;
    Progress progress(request.progress, total);
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);

    JobHost host;
    auto render = std::make_unique<SceneRender>(scene, host, settings);
    if (const Status started = render->session.pool().Started(); !started)
        RaiseFailure(PyExc_RuntimeError,
                     "cannot start " + std::to_string(settings.threads) + " threads", started);
    // What a failed step raises, and its words; a job thread refused is the first.
    std::string step = "cannot start the picture's thread";
    PyObject* fault = PyExc_RuntimeError;
    const Status drawn = RunBeside(
        [&](PictureRunner::Job& job) -> Status {
            host.job = &job;
            fault = PyExc_MemoryError;
            step = "cannot make a " + size + " picture";
            if (Status prepared = render->Prepare(); !prepared) return prepared;
            step = "cannot draw the " + size + " picture";
            // A refusal of the scene is no failure of a step: it comes back as it is.
            Status picture = render->Draw(job.Cancel());
            if (!picture && picture.Message() != kOutOfMemory) fault = PyExc_ValueError;
            return picture;
        },
        [&](int row) { progress.Report(steps ? row - 1 : row); });
    if (!drawn) {
        if (fault == PyExc_ValueError) Raise(fault, drawn.Message());
        RaiseFailure(fault, step, drawn);
    }
    progress.Report(total);

    auto picture = std::make_unique<Picture>();
    const Session& s = render->session;
    picture->image = s.tabula().Image();  // shared, not copied
    picture->grid = render->session.TakeGrid();
    picture->tag = request.tag;
    picture->width = settings.width;
    picture->height = settings.height;
    picture->seed = *settings.seed;
    picture->view = ViewOf(render->controls);
    picture->axes = s.view().axes;
    render.reset();  // the picture is now the one owner of the pixels
    return picture;
}

}  // namespace vorla::python
