#include "cli/render_cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/band_render.h"
#include "app/deep_zoom.h"
#include "app/picture_file.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "app/session.h"
#include "cli/animate.h"
#include "cli/band_file.h"
#include "cli/interrupt.h"
#include "cli/render_options.h"
#include "cli/render_tiles.h"
#include "model/controls.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

// The renderer's window: plain control values, a progress bar, no event loop. A signal ends
// the picture at its next poll.
class RenderHost : public Host {
  public:
    RenderHost(std::ostream& err, bool progress) : err_(err), progress_(progress) {}
    int rows = 0;      // the rows to draw
    int firstRow = 0;  // the first of them
    bool Poll(int row) override {
        if (InterruptSignal()) return true;
        if (!progress_ || rows <= 0) return false;
        const auto now = std::chrono::steady_clock::now();
        if (row == firstRow || !started_) started_ = now;
        const long long done = std::clamp(row - firstRow, 0, rows);
        const double seconds = std::chrono::duration<double>(now - *started_).count();
        const int width = 30;
        const int bar = static_cast<int>(done * width / rows);
        err_ << "\r[" << std::string(bar, '#') << std::string(width - bar, ' ') << "] " << done
             << "/" << rows << " rows";
        if (done > 0 && seconds > 0.5) {
            const double rate = done / seconds;
            const long long left = static_cast<long long>((rows - done) / rate);
            err_ << ", " << static_cast<long long>(rate) << " rows/s, " << left / 60 << " min "
                 << left % 60 << " s left  ";
        }
        err_ << std::flush;
        return false;
    }
    void Finish() {
        if (progress_) err_ << "\r" << std::string(90, ' ') << "\r" << std::flush;
    }

  private:
    std::ostream& err_;
    bool progress_;
    std::optional<std::chrono::steady_clock::time_point> started_;
};

// A step that failed (a file not written, memory or threads refused): exit 1.
int Failed(std::ostream& err, const std::string& step, const Status& why) {
    return Fail(err, 1, step + ": " + why.Message());
}

// Passes rows on until a signal asks the render to end; then refuses them, so that the file
// they go to is dropped.
class InterruptibleSink : public RowSink {
  public:
    explicit InterruptibleSink(RowSink& to) : to_(to) {}
    Status Row(int row, const std::uint32_t* pixels, const std::int32_t* values) override {
        if (InterruptSignal()) return Failure{"interrupted"};
        return to_.Row(row, pixels, values);
    }

  private:
    RowSink& to_;
};

// Rows going to a band file.
class BandSink : public RowSink {
  public:
    explicit BandSink(BandWriter& band) : band_(band) {}
    Status Row(int, const std::uint32_t* pixels, const std::int32_t* values) override {
        return band_.Row(pixels, values);
    }

  private:
    BandWriter& band_;
};

// Everything that shapes a picture, as one line: bands of one picture have the same.
std::string PictureFingerprint(const SceneState& scene, const RenderSettings& s, int tag) {
    const std::string text = SceneFileText(scene) + " task " +
                             std::to_string(TaskNumber(scene.taskType)) + " clear " +
                             std::to_string(s.clear) + " overlay " + std::to_string(s.overlay) +
                             " fixed " + std::to_string(s.fixedPoints);
    std::uint64_t h = 1469598103934665603ULL;  // FNV-1a
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return "picture " + std::to_string(tag) + " seed " + std::to_string(s.seed.value_or(0)) +
           " scene " + hex;
}

// What one run draws, and how it goes out.
struct Job {
    SceneState scene;         // the scene with the options' task type and settings
    RenderSettings settings;  // size, threads, overlays, seed
    std::string format;       // "PNG", "BMP" or "band"
    bool streamed = false;    // rows go out as they are drawn, a band of rows held at a time
    std::string size;         // "WxH", for the messages
};

// The job of checked options over `scene`, or the message of a setting that cannot be drawn.
Result<Job> PlanJob(const RenderOptions& o, SceneState scene, const std::string& format) {
    Job job{std::move(scene), {}, format, false, {}};
    if (o.task) job.scene.taskType = TaskOfNumber(o.task);
    for (const auto& [name, text] : o.sets)
        if (const Status set = job.scene.controls.Set(name, text); !set)
            return Failure{set.Message()};
    RenderSettings& settings = job.settings;
    const bool sceneSize = !o.sizeGiven && job.scene.width > 0;
    settings.width = sceneSize ? job.scene.width : o.width;
    settings.height = sceneSize ? job.scene.height : o.height;
    settings.threads = o.threads;
    settings.clear = o.clear;
    settings.overlay = o.overlay;
    settings.fixedPoints = o.fixedPoints;
    if (o.haveSeed) settings.seed = o.seed;
    const int tag = job.scene.pictureKind;
    // A PNG or a band goes out a band of rows at a time, whatever the picture's height; the
    // rectangle iterations draw anywhere and need the whole picture.
    job.streamed =
        !o.printScene && (o.rowsGiven ? ComputesInBands(tag) : StreamsInBands(tag, format.c_str()));
    if (o.rowsGiven) {
        if (!ComputesInBands(tag))
            return Failure{"the rectangle iterations draw anywhere: they cannot be drawn in bands"};
        if (o.lastRow >= settings.height)
            return Failure{"--rows goes beyond the picture's " + std::to_string(settings.height) +
                           " rows"};
        // Bands drawn apart must draw one picture, the random ones too.
        settings.seed = settings.seed.value_or(0);
    }
    if (job.streamed) settings.bandRows = kStreamRows;
    job.size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    // The scene text needs no picture: a tabula of one pixel and one thread.
    if (o.printScene) settings.width = settings.height = settings.threads = 1;
    return job;
}

// Warns of the edits whose text is no number there: they read as their fallback, as in the
// window. (A --set value is refused instead; these come from a scene file.) The bound of
// infinity is refused when the picture is drawn.
void WarnOfBadNumbers(const ControlValues& controls, std::ostream& err) {
    for (const ControlSpec& f : ControlTable()) {
        if (f.kind != ControlKind::Edit || f.id == Ctl::EditNekonecno) continue;
        if (!controls.ReadNumber(f.id))
            err << "vorla-render: warning: " << f.name << ": '" << ShortText(controls.Text(f.id))
                << "' is not a number there; it reads as " << GeneralText(f.fallback)
                << ", as in the window\n";
    }
}

// Draws the whole picture in memory, then writes it (a BMP file, or the rectangle iterations,
// which draw anywhere); returns the exit code.
int DrawWhole(const RenderOptions& o, const Job& job, SceneRender& render, RenderHost& host,
              std::ostream& err, std::string& step) {
    const Status drawn = render.Draw(InterruptFlag());
    host.Finish();
    if (!drawn) return Fail(err, 2, drawn.Message());
    if (InterruptSignal()) return Fail(err, 2, "");
    const Session& s = render.session;
    if (const Status saved = WritePicture({o.output, job.format.c_str(), o.gridFile},
                                          s.tabula().Image(), s.grid(), s.PictureKind(), step);
        !saved)
        return Failed(err, step, saved);
    return 0;
}

// Draws the picture a band of rows at a time, each row going to the PNG file (and the grid)
// or to the band file as soon as its band is done; returns the exit code.
int DrawStreamed(const RenderOptions& o, const Job& job, SceneRender& render, RenderHost& host,
                 std::ostream& err, std::string& step) {
    const RenderSettings& settings = job.settings;
    Status drawn;  // the picture's own failure, told apart from a file's
    Status saved;
    if (o.rowsGiven) {
        // The page goes with the band, so that bands join into tiles as well.
        const TilePage page = MakeTilePage(job.scene, settings).ValueOr({});
        const BandHeader header{settings.width,
                                settings.height,
                                o.firstRow,
                                o.lastRow,
                                job.scene.pictureKind,
                                PictureFingerprint(job.scene, settings, job.scene.pictureKind),
                                page.view,
                                page.scene};
        step = "cannot write " + o.output;
        saved = SaveFile(o.output, [&](std::FILE* f) -> Status {
            Result<std::unique_ptr<BandWriter>> band = BandWriter::Start(f, header);
            if (!band) return band.ToStatus();
            BandSink bandSink(*band.Value());
            InterruptibleSink sink(bandSink);
            drawn = render.DrawRows(sink, o.firstRow, o.lastRow, InterruptFlag());
            return drawn ? band.Value()->Finish() : drawn;
        });
    } else {
        saved = WritePictureRows(
            {o.output, "PNG", o.gridFile}, settings.width, settings.height, job.scene.pictureKind,
            [&](RowSink& files) {
                InterruptibleSink sink(files);
                return render.DrawRows(sink, 0, -1, InterruptFlag());
            },
            drawn, step);
    }
    host.Finish();
    if (!drawn) return Fail(err, 2, drawn.Message());
    if (!saved) return Failed(err, step, saved);
    return 0;
}

// Draws the picture of checked options from `scene` and writes its files; returns the exit
// code. `step` says what it is doing, for the message of a failure that ends it.
int Render(const RenderOptions& o, SceneState scene, const std::string& format,
           const char* scaleFormat, std::ostream& out, std::ostream& err, std::string& step) {
    const Result<Job> planned = PlanJob(o, std::move(scene), format);
    if (!planned) return Fail(err, 2, planned.Message());
    const Job& job = planned.Value();
    RenderHost host(err, !o.quiet && ::isatty(2));
    step = "cannot start " + std::to_string(job.settings.threads) + " threads";
    SceneRender render(job.scene, host, job.settings);
    if (const Status started = render.session.pool().Started(); !started)
        return Failed(err, step, started);
    step = "cannot make a " + job.size + " picture";
    if (const Status prepared = render.Prepare(); !prepared) return Failed(err, step, prepared);
    if (o.printScene) {
        out << render.session.PublishedScene() << "\n";
        return 0;
    }
    if (!o.quiet) WarnOfBadNumbers(render.controls, err);
    step = "cannot draw the " + job.size + " picture";
    host.firstRow = o.rowsGiven ? o.firstRow : 0;
    host.rows = o.rowsGiven ? o.lastRow - o.firstRow + 1 : job.settings.height;
    if (!o.tiles.empty()) {
        Status drawn;
        const Status saved = DrawTileFolder(o, job.scene, job.settings, render, err, drawn, step);
        host.Finish();
        if (!drawn) return Fail(err, 2, drawn.Message());
        if (!saved) return Failed(err, step, saved);
    } else if (const int code = job.streamed ? DrawStreamed(o, job, render, host, err, step)
                                             : DrawWhole(o, job, render, host, err, step)) {
        return code;
    }
    if (scaleFormat) {
        step = "cannot write " + o.scaleFile;
        render.session.KresliStupnici();
        if (const Status saved =
                SaveImageFile(render.session.scaleImage().Image(), o.scaleFile, scaleFormat);
            !saved)
            return Failed(err, step, saved);
    }
    return 0;
}

// A band named for the join: its header, read once before any row.
struct BandEntry {
    std::string path;
    BandHeader header;
};

// Opens a band and reads its header; the file is closed with the reader's holder.
struct OpenBand {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{nullptr, std::fclose};
    std::unique_ptr<BandReader> reader;
};

Result<OpenBand> Open(const std::string& path) {
    OpenBand band;
    band.file.reset(std::fopen(path.c_str(), "rb"));
    if (!band.file) return Failure{"cannot read " + path + ": " + std::strerror(errno)};
    Result<std::unique_ptr<BandReader>> r = BandReader::Start(band.file.get());
    if (!r) return Failure{path + ": " + r.Message()};
    band.reader = std::move(const_cast<std::unique_ptr<BandReader>&>(r.Value()));
    return band;
}

// The bands' headers in row order, checked to make one picture together; or why they do not.
Result<std::vector<BandEntry>> PlanJoin(const std::vector<std::string>& paths) {
    std::vector<BandEntry> bands;
    bands.reserve(paths.size());
    for (const std::string& path : paths) {
        const Result<OpenBand> band = Open(path);
        if (!band) return Failure{band.Message()};
        bands.push_back({path, band->reader->Header()});
    }
    std::stable_sort(bands.begin(), bands.end(), [](const BandEntry& a, const BandEntry& b) {
        return a.header.first < b.header.first;
    });
    const BandHeader& top = bands.front().header;
    int next = 0;
    for (const BandEntry& b : bands) {
        const BandHeader& h = b.header;
        if (h.width != top.width || h.height != top.height || h.kind != top.kind ||
            h.scene != top.scene || h.viewText != top.viewText || h.sceneText != top.sceneText)
            return Failure{b.path + " is a band of another picture than " + bands.front().path};
        if (h.first != next)
            return Failure{std::string(h.first > next ? "rows " : "overlapping rows ") +
                           std::to_string(std::min(next, h.first)) + " to " +
                           std::to_string(std::max(next, h.first) - 1) +
                           (h.first > next ? " are in no band" : " are in two bands") + " (at " +
                           b.path + ")"};
        next = h.last + 1;
    }
    if (next != top.height)
        return Failure{"rows " + std::to_string(next) + " to " + std::to_string(top.height - 1) +
                       " are in no band (after " + bands.back().path + ")"};
    return bands;
}

// Joins band files into the picture `o.output` (and the grid `o.gridFile`), a row at a time
// and one band open at a time: the headers are read first, then each band whole in row
// order, its checksum and end checked before the next is opened. Returns the exit code.
int Assemble(const RenderOptions& o, std::ostream& err, std::string& step) {
    const Result<std::vector<BandEntry>> planned = PlanJoin(o.bands);
    if (!planned) return Fail(err, 2, planned.Message());
    const std::vector<BandEntry>& bands = planned.Value();
    const BandHeader& top = bands.front().header;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(top.width));
    std::vector<std::int32_t> values(static_cast<std::size_t>(top.width));
    Status read;  // a band's own failure, told apart from the files'
    const auto fill = [&](RowSink& files) -> Status {
        InterruptibleSink sink(files);
        for (const BandEntry& b : bands) {
            const Result<OpenBand> band = Open(b.path);
            if (!band) return Failure{band.Message()};
            BandReader& reader = *band->reader;
            if (!(reader.Header() == b.header))
                return Failure{b.path + ": changed while the bands were joined"};
            for (int r = b.header.first; r <= b.header.last; ++r) {
                if (Status got = reader.Row(pixels.data(), values.data()); !got)
                    return Failure{b.path + ": " + got.Message()};
                if (Status put = sink.Row(r, pixels.data(), values.data()); !put) return put;
            }
            if (Status whole = reader.Finish(); !whole)
                return Failure{b.path + ": " + whole.Message()};
        }
        return {};
    };
    const Status saved = o.tiles.empty()
                             ? WritePictureRows({o.output, "PNG", o.gridFile}, top.width,
                                                top.height, top.kind, fill, read, step)
                             : JoinTileFolder(o, top, fill, err, read, step);
    if (!read) return Fail(err, 2, read.Message());
    return saved ? 0 : Failed(err, step, saved);
}

// Names the first two output files that are one file; empty when there are none.
std::string SharedOutput(const RenderOptions& o) {
    const std::pair<const char*, const std::string*> files[] = {
        {"the picture", &o.output}, {"--grid", &o.gridFile}, {"--scale-image", &o.scaleFile}};
    for (size_t i = 0; i < std::size(files); ++i)
        for (size_t j = i + 1; j < std::size(files); ++j) {
            const std::string &a = *files[i].second, &b = *files[j].second;
            if (!a.empty() && !b.empty() && SameFile(a, b))
                return std::string(files[i].first) + " " + a + " and " + files[j].first + " " + b +
                       " are the same file";
        }
    return {};
}

// The join's checks before any band is read; returns the exit code.
int RunAssemble(const RenderOptions& o, std::ostream& err) {
    if (o.tiles.empty() &&
        std::string(PictureFormatOf(o.output) ? PictureFormatOf(o.output) : "") != "PNG")
        return Fail(err, 2, "the joined picture must be a .png file: " + o.output);
    if (const std::string shared = SharedOutput(o); !shared.empty()) return Fail(err, 2, shared);
    if (const TileRefusal refused = o.tiles.empty() ? TileRefusal{} : CheckTileOutput(o);
        refused.code)
        return Fail(err, refused.code, refused.message);
    // An output that is one of the bands would replace it before it was read.
    for (const std::string& band : o.bands)
        for (const std::string* output : {&o.output, &o.gridFile})
            if (!output->empty() && SameFile(*output, band))
                return Fail(err, 2, "the output " + *output + " is the band " + band);
    std::string step = "cannot join the bands";
    int code = 0;
    const Status ran = Guarded([&] { code = Assemble(o, err, step); });
    return ran ? code : Failed(err, step, ran);
}

}  // namespace

Status CheckRenderArguments(int argc, char** argv) {
    const Result<RenderOptions> o = ParseRenderOptions(argc, argv);
    if (!o) return o.ToStatus();
    ControlValues controls;
    for (const auto& [name, text] : o->sets)
        if (Status set = controls.Set(name, text); !set) return set;
    return {};
}

int RunRender(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const Result<RenderOptions> parsed = ParseRenderOptions(argc, argv);
    if (!parsed) {
        err << "vorla-render: " << parsed.Message() << "\n" << RenderUsage();
        return 2;
    }
    const RenderOptions& o = parsed.Value();
    if (o.help) {
        out << RenderUsage();
        return 0;
    }
    if (o.assemble) return RunAssemble(o, err);
    if (!o.keyframes.empty()) return RunAnimate(o, out, err);
    if (!o.encodeFolder.empty()) return RunEncode(o, err);
    const char* format = o.rowsGiven        ? "band"
                         : !o.tiles.empty() ? "PNG"
                                            : PictureFormatOf(o.output);
    if (!o.printScene && !format)
        return Fail(err, 2, "the output file must end in .png or .bmp: " + o.output);
    const char* scaleFormat = o.scaleFile.empty() ? nullptr : PictureFormatOf(o.scaleFile);
    if (!o.printScene && !o.scaleFile.empty() && !scaleFormat)
        return Fail(err, 2, "the scale image file must end in .png or .bmp: " + o.scaleFile);
    SceneState scene = ExampleScene(o.example);
    if (!o.sceneFile.empty()) {
        std::vector<std::string> warnings;
        Result<SceneState> read = ReadSceneFile(o.sceneFile, &warnings);
        if (!read) return Fail(err, 2, read.Message());
        if (!o.quiet)
            for (const std::string& w : warnings) err << "vorla-render: warning: " << w << "\n";
        scene = read.Value();
        if (scene.taskType == TaskType::None && !o.task)
            return Fail(err, 2, o.sceneFile + ": the scene has no task type (--task gives one)");
    }
    // Both the options and a scene file name a kind that exists.
    if (o.tagGiven || scene.pictureKind == PictureTag::None) scene.pictureKind = o.tag;
    // One file written twice would keep only the last of the two.
    if (const std::string shared = o.printScene ? "" : SharedOutput(o); !shared.empty())
        return Fail(err, 2, shared);
    if (const TileRefusal refused =
            o.tiles.empty() || o.printScene ? TileRefusal{} : CheckTileOutput(o);
        refused.code)
        return Fail(err, refused.code, refused.message);
    // Memory or threads refused anywhere end the step with its message.
    int code = 0;
    std::string step = "cannot start";
    const Status ran = Guarded([&] {
        code = Render(o, std::move(scene), format ? format : "", scaleFormat, out, err, step);
    });
    return ran ? code : Failed(err, step, ran);
}

}  // namespace vorla
