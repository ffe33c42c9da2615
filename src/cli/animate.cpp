#include "cli/animate.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/keyframes.h"
#include "app/movie.h"
#include "app/picture_file.h"
#include "app/picture_runner.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "cli/interrupt.h"
#include "model/controls.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

// The movie's progress bar: frames done, the rows of the frame being drawn and the time left.
// A signal ends the picture at its next poll.
class ProgressHost : public MovieHost {
  public:
    ProgressHost(std::ostream& err, bool shown, int rows) : err_(err), shown_(shown), rows_(rows) {}
    void FrameBegins(int number, int done, int count) override {
        number_ = number;
        done_ = done;
        count_ = count;
        if (!started_) started_ = std::chrono::steady_clock::now();
        Show(0, false);
    }
    bool Poll(int row) override {
        if (InterruptSignal()) return true;
        Show(row, true);
        return false;
    }
    void Finish() {
        if (shown_ && started_) err_ << "\r" << std::string(90, ' ') << "\r" << std::flush;
    }

  private:
    void Show(int row, bool rows) {
        if (!shown_ || count_ <= 0) return;
        const double share = std::clamp(static_cast<double>(row) / std::max(rows_, 1), 0.0, 1.0);
        const double done = done_ + (rows ? share : 0.0);
        const int width = 30;
        const int bar = static_cast<int>(done * width / count_);
        err_ << "\r[" << std::string(bar, '#') << std::string(width - bar, ' ') << "] " << done_
             << "/" << count_ << " frames, frame " << number_;
        if (rows) err_ << " row " << std::clamp(row, 0, rows_) << "/" << rows_;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - *started_).count();
        err_ << ", " << ProgressText(std::llround(done * 1000), count_ * 1000LL, seconds) << "   "
             << std::flush;
    }

    std::ostream& err_;
    bool shown_;
    int rows_;
    int number_ = 0, done_ = 0, count_ = 0;
    std::optional<std::chrono::steady_clock::time_point> started_;
};

// Warns of the edits whose text is no number there: they read as their fallback in every
// frame, as in the window.
void WarnOfBadNumbers(const SceneState& frame, std::ostream& err) {
    for (const ControlSpec& f : ControlTable())
        if (f.kind == ControlKind::Edit && f.id != Ctl::EditNekonecno &&
            !frame.controls.ReadNumber(f.id))
            err << "vorla-render: warning: " << f.name << ": '"
                << ShortText(frame.controls.Text(f.id)) << "' is not a number there; it reads as "
                << GeneralText(f.fallback) << ", as in the window\n";
}

// The keyframes of the options: each scene file with the options' task type, settings and
// picture; or the message of the first that cannot be read.
Result<std::vector<SceneState>> ReadKeyframes(const RenderOptions& o, std::ostream& err) {
    std::vector<SceneState> keys;
    for (const std::string& file : o.keyframes) {
        std::vector<std::string> warnings;
        Result<SceneState> read = ReadSceneFile(file, &warnings);
        if (!read) return Failure{read.Message()};
        if (!o.quiet)
            for (const std::string& w : warnings) err << "vorla-render: warning: " << w << "\n";
        SceneState scene = read.Value();
        if (o.task) scene.taskType = TaskOfNumber(o.task);
        if (scene.taskType == TaskType::None)
            return Failure{file + ": the scene has no task type (--task gives one)"};
        for (const auto& [name, text] : o.sets)
            if (Status set = scene.controls.Set(name, text); !set) return Failure{set.Message()};
        if (o.tagGiven || scene.pictureKind == PictureTag::None) scene.pictureKind = o.tag;
        keys.push_back(std::move(scene));
    }
    return keys;
}

// Where the movie goes, checked before anything is drawn: the exit code of a refusal, or 0.
int CheckOutput(const RenderOptions& o, MovieKind kind, std::ostream& err) {
    struct stat st {};
    const bool exists = ::stat(o.output.c_str(), &st) == 0;
    if (kind == MovieKind::Folder) {
        if (PictureFormatOf(o.output))
            return Fail(err, 2,
                        "a movie goes into a folder or a .mp4, .webm or .gif file, not the "
                        "picture file " +
                            o.output);
        if (exists && !S_ISDIR(st.st_mode))
            return Fail(err, 2, o.output + " is a file, not a folder for the frames");
        return 0;
    }
    if (o.firstFrame)
        return Fail(err, 2,
                    "--frames-range draws frames into a folder; a video takes them all (--encode "
                    "makes it of frames drawn apart)");
    if (exists && S_ISDIR(st.st_mode)) return Fail(err, 2, o.output + " is a folder");
    return 0;
}

// Prints the published scene text of every frame asked for, drawing nothing.
int PrintScenes(const Flight& flight, const RenderOptions& o, std::ostream& out) {
    const int first = o.firstFrame ? o.firstFrame : 1, last = o.lastFrame ? o.lastFrame : o.frames;
    Host host;
    for (int n = first; n <= last; ++n) {
        RenderSettings one;
        one.width = one.height = one.threads = 1;
        SceneRender render(FlightFrame(flight, o.frames, n - 1), host, one);
        if (Status prepared = render.Prepare(); !prepared) return 1;
        out << render.session.PublishedScene() << "\n";
    }
    return 0;
}

// Writes the Lyapunov colour scale of the first frame (the colours are its in every frame).
Status WriteScale(const Flight& flight, const RenderOptions& o, const char* format) {
    Host host;
    RenderSettings one;
    one.width = one.height = one.threads = 1;
    SceneRender render(FlightFrame(flight, o.frames, 0), host, one);
    if (Status prepared = render.Prepare(); !prepared) return prepared;
    render.session.KresliStupnici();
    return SaveImageFile(render.session.scaleImage().Image(), o.scaleFile, format);
}

int Animate(const RenderOptions& o, std::ostream& out, std::ostream& err) {
    const MovieKind kind = MovieKindOf(o.output);
    if (const int refused = o.printScene ? 0 : CheckOutput(o, kind, err)) return refused;
    const char* scaleFormat = o.scaleFile.empty() ? nullptr : PictureFormatOf(o.scaleFile);
    if (!o.printScene && !o.scaleFile.empty() && !scaleFormat)
        return Fail(err, 2, "the scale image file must end in .png or .bmp: " + o.scaleFile);
    if (scaleFormat && SameFile(o.scaleFile, o.output))
        return Fail(
            err, 2,
            "the movie " + o.output + " and --scale-image " + o.scaleFile + " are the same file");
    MovieJob job;
    if (kind != MovieKind::Folder && !o.printScene) {
        const Result<std::string> ffmpeg = FindFfmpeg();
        if (!ffmpeg) return Fail(err, 2, ffmpeg.Message());
        job.ffmpeg = ffmpeg.Value();
    }
    const Result<std::vector<SceneState>> keys = ReadKeyframes(o, err);
    if (!keys) return Fail(err, 2, keys.Message());
    const SceneState& first = keys->front();
    const bool sceneSize = !o.sizeGiven && first.width > 0;
    const int W = sceneSize ? first.width : o.width, H = sceneSize ? first.height : o.height;
    if (!o.quiet && !o.sizeGiven &&
        std::any_of(keys->begin(), keys->end(), [&](const SceneState& k) {
            return k.width != first.width || k.height != first.height;
        }))
        err << "vorla-render: warning: the keyframes' tabula sizes differ; every frame is " << W
            << "x" << H << " as " << o.keyframes.front() << " (--size gives another)\n";
    const Result<Flight> flight = PlanFlight(keys.Value(), o.keyframes, W, H, o.ease);
    if (!flight) return Fail(err, 2, flight.Message());
    if (o.printScene) return PrintScenes(flight.Value(), o, out);
    if (!o.quiet) {
        for (const std::string& held : flight->held)
            err << "vorla-render: warning: the keyframes differ in " << held
                << "; every frame keeps those of " << o.keyframes.front() << "\n";
        const auto [vw, vh] = VideoSize(kind, W, H);
        if (vw != W || vh != H)
            err << "vorla-render: warning: an .mp4 needs even sides; the video is " << vw << "x"
                << vh << ", without the frames' last " << (vw != W ? "column" : "row")
                << (vw != W && vh != H ? " and row" : "") << "\n";
        WarnOfBadNumbers(FlightFrame(flight.Value(), o.frames, 0), err);
    }
    if (VideoSize(kind, W, H).first < 2 || VideoSize(kind, W, H).second < 2)
        if (kind == MovieKind::Mp4) return Fail(err, 2, "an .mp4 needs frames of 2x2 or more");
    job.settings.threads = o.threads;
    job.settings.clear = o.clear;
    job.settings.overlay = o.overlay;
    job.settings.fixedPoints = o.fixedPoints;
    // Frames drawn apart must draw one movie, the random pictures too.
    job.settings.seed = o.haveSeed ? o.seed : 0;
    job.frames = o.frames;
    job.first = o.firstFrame ? o.firstFrame : 1;
    job.last = o.lastFrame ? o.lastFrame : o.frames;
    job.fps = o.fps;
    ProgressHost host(err, !o.quiet && ::isatty(2), H);
    Status drawn;
    std::string step = "cannot start";
    const Status made =
        MakeMovie(flight.Value(), job, o.output, host, InterruptFlag(), drawn, step);
    host.Finish();
    if (!drawn) return Fail(err, 2, drawn.Message());
    if (!made) return Fail(err, 1, step + ": " + made.Message());
    if (scaleFormat) {
        if (Status saved = WriteScale(flight.Value(), o, scaleFormat); !saved)
            return Fail(err, 1, "cannot write " + o.scaleFile + ": " + saved.Message());
    }
    return 0;
}

}  // namespace

int RunAnimate(const RenderOptions& o, std::ostream& out, std::ostream& err) {
    int code = 0;
    const Status ran = Guarded([&] { code = Animate(o, out, err); });
    return ran ? code : Fail(err, 1, "cannot make the movie: " + ran.Message());
}

int RunEncode(const RenderOptions& o, std::ostream& err) {
    if (MovieKindOf(o.output) == MovieKind::Folder)
        return Fail(err, 2,
                    "--encode makes a video: OUTPUT ends in .mp4, .webm or .gif, not " + o.output);
    struct stat st {};
    if (::stat(o.encodeFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Fail(err, 2, "--encode takes the folder of the frames, not " + o.encodeFolder);
    const Result<std::string> ffmpeg = FindFfmpeg();
    if (!ffmpeg) return Fail(err, 2, ffmpeg.Message());
    MovieJob job;
    job.ffmpeg = ffmpeg.Value();
    job.frames = o.frames;
    job.fps = o.fps;
    ProgressHost host(err, !o.quiet && ::isatty(2), 0);
    Status read;
    std::string step = "cannot start";
    int code = 0;
    const Status ran = Guarded([&] {
        const Status made =
            EncodeFrames(o.encodeFolder, job, o.output, host, InterruptFlag(), read, step);
        host.Finish();
        code = !read   ? Fail(err, 2, read.Message())
               : !made ? Fail(err, 1, step + ": " + made.Message())
                       : 0;
    });
    return ran ? code : Fail(err, 1, "cannot make the video: " + ran.Message());
}

}  // namespace vorla
