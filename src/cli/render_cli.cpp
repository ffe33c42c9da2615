#include "cli/render_cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/band_render.h"
#include "app/picture_file.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "app/session.h"
#include "cli/band_file.h"
#include "cli/render_options.h"
#include "model/controls.h"
#include "model/examples.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "plane/number_text.h"
#include "plane/png_rows.h"

namespace vorla {
namespace {

// The renderer's window: plain control values, a progress bar, no event loop.
class RenderHost : public Host {
  public:
    RenderHost(std::ostream& err, bool progress) : err_(err), progress_(progress) {}
    int rows = 0;      // the rows to draw
    int firstRow = 0;  // the first of them
    bool Poll(int row) override {
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

// A step that failed (a file not written, memory or threads refused): its message, exit 1.
int Failed(std::ostream& err, const std::string& step, const Status& why) {
    err << "vorla-render: " << step << ": " << why.Message() << "\n";
    return 1;
}

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

// Draws the picture of checked options from `scene` and writes its files; returns the exit
// code. `step` says what it is doing, for the message of a failure that ends it.
int Render(const RenderOptions& o, SceneState scene, const char* format, const char* scaleFormat,
           std::ostream& out, std::ostream& err, std::string& step) {
    if (o.task) scene.taskType = TaskOfNumber(o.task);
    for (const auto& [name, text] : o.sets)
        if (const Status set = scene.controls.Set(name, text); !set) {
            err << "vorla-render: " << set.Message() << "\n";
            return 2;
        }
    RenderSettings settings;
    if (o.sizeGiven || scene.width <= 0) {
        settings.width = o.width;
        settings.height = o.height;
    } else {
        settings.width = scene.width;
        settings.height = scene.height;
    }
    settings.threads = o.threads;
    settings.clear = o.clear;
    settings.overlay = o.overlay;
    settings.fixedPoints = o.fixedPoints;
    if (o.haveSeed) settings.seed = o.seed;
    const int tag = scene.pictureKind;
    // A PNG or a band goes out a band of rows at a time, whatever the picture's height; the
    // rectangle iterations draw anywhere and need the whole picture.
    const bool inBands =
        !o.printScene && ComputesInBands(tag) && (o.rowsGiven || std::string(format) == "PNG");
    if (o.rowsGiven) {
        if (!ComputesInBands(tag)) {
            err << "vorla-render: the rectangle iterations draw anywhere: they cannot be drawn "
                   "in bands\n";
            return 2;
        }
        if (o.lastRow >= settings.height) {
            err << "vorla-render: --rows goes beyond the picture's " << settings.height
                << " rows\n";
            return 2;
        }
        // Bands drawn apart must draw one picture, the random ones too.
        settings.seed = settings.seed.value_or(0);
    }
    if (inBands) settings.bandRows = 64;
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    // The scene text needs no picture: a tabula of one pixel and one thread.
    if (o.printScene) settings.width = settings.height = settings.threads = 1;
    RenderHost host(err, !o.quiet && ::isatty(2));
    step = "cannot start " + std::to_string(settings.threads) + " threads";
    SceneRender render(scene, host, settings);
    if (const Status started = render.session.pool().Started(); !started)
        return Failed(err, step, started);
    step = "cannot make a " + size + " picture";
    if (const Status prepared = render.Prepare(); !prepared) return Failed(err, step, prepared);
    const ControlValues& controls = render.controls;
    Session& s = render.session;
    if (o.printScene) {
        out << s.PublishedScene() << "\n";
        return 0;
    }
    // The edits are read silently with a fallback: a bad text there deserves a word. The
    // bound of infinity is refused instead.
    if (!o.quiet)
        for (const ControlSpec& f : ControlTable()) {
            if (f.kind != ControlKind::Edit || f.id == Ctl::EditNekonecno) continue;
            if (!controls.ReadNumber(f.id))
                err << "vorla-render: warning: " << f.name << ": '" << controls.Text(f.id)
                    << "' is not a valid number here; its default is used\n";
        }
    step = "cannot draw the " + size + " picture";
    host.firstRow = o.rowsGiven ? o.firstRow : 0;
    host.rows = o.rowsGiven ? o.lastRow - o.firstRow + 1 : settings.height;
    Status drawn;  // the picture's own failure, told apart from a file's
    if (!inBands) {
        drawn = render.Draw();
        host.Finish();
        if (!drawn) {
            err << "vorla-render: " << drawn.Message() << "\n";
            return 2;
        }
        if (const Status saved = WritePicture({o.output, format, o.gridFile}, s.tabula().Image(),
                                              s.grid(), s.PictureKind(), step);
            !saved)
            return Failed(err, step, saved);
    } else if (o.rowsGiven) {
        const BandHeader header{settings.width,
                                settings.height,
                                o.firstRow,
                                o.lastRow,
                                tag,
                                PictureFingerprint(scene, settings, tag)};
        step = "cannot write " + o.output;
        const Status saved = SaveFile(o.output, [&](std::FILE* f) -> Status {
            Result<std::unique_ptr<BandWriter>> band = BandWriter::Start(f, header);
            if (!band) return band.ToStatus();
            BandSink sink(*band.Value());
            drawn = render.DrawRows(sink, o.firstRow, o.lastRow);
            return drawn ? band.Value()->Finish() : drawn;
        });
        host.Finish();
        if (!drawn) {
            err << "vorla-render: " << drawn.Message() << "\n";
            return 2;
        }
        if (!saved) return Failed(err, step, saved);
    } else {
        const Status saved = WritePictureRows(
            {o.output, "PNG", o.gridFile}, settings.width, settings.height, tag,
            [&](RowSink& sink) { return render.DrawRows(sink); }, drawn, step);
        host.Finish();
        if (!drawn) {
            err << "vorla-render: " << drawn.Message() << "\n";
            return 2;
        }
        if (!saved) return Failed(err, step, saved);
    }
    if (scaleFormat) {
        step = "cannot write " + o.scaleFile;
        s.KresliStupnici();
        if (const Status saved = SaveImageFile(s.scaleImage().Image(), o.scaleFile, scaleFormat);
            !saved)
            return Failed(err, step, saved);
    }
    return 0;
}

// Joins band files into the picture `o.output` (and the grid `o.gridFile`), a row at a time;
// returns the exit code.
int Assemble(const RenderOptions& o, std::ostream& err, std::string& step) {
    struct Band {
        std::string path;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{nullptr, std::fclose};
        std::unique_ptr<BandReader> reader;
    };
    std::vector<Band> bands(o.bands.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        Band& b = bands[i];
        b.path = o.bands[i];
        b.file.reset(std::fopen(b.path.c_str(), "rb"));
        if (!b.file) {
            err << "vorla-render: cannot read " << b.path << ": " << std::strerror(errno) << "\n";
            return 2;
        }
        Result<std::unique_ptr<BandReader>> r = BandReader::Start(b.file.get());
        if (!r) {
            err << "vorla-render: " << b.path << ": " << r.Message() << "\n";
            return 2;
        }
        b.reader = std::move(const_cast<std::unique_ptr<BandReader>&>(r.Value()));
    }
    std::sort(bands.begin(), bands.end(), [](const Band& a, const Band& b) {
        return a.reader->Header().first < b.reader->Header().first;
    });
    const BandHeader& top = bands.front().reader->Header();
    int next = 0;
    for (const Band& b : bands) {
        const BandHeader& h = b.reader->Header();
        if (h.width != top.width || h.height != top.height || h.kind != top.kind ||
            h.scene != top.scene) {
            err << "vorla-render: " << b.path << " is a band of another picture than "
                << bands.front().path << "\n";
            return 2;
        }
        if (h.first != next) {
            err << "vorla-render: " << (h.first > next ? "rows " : "overlapping rows ")
                << std::min(next, h.first) << " to " << std::max(next, h.first) - 1
                << (h.first > next ? " are in no band" : " are in two bands") << " (at " << b.path
                << ")\n";
            return 2;
        }
        next = h.last + 1;
    }
    if (next != top.height) {
        err << "vorla-render: rows " << next << " to " << top.height - 1 << " are in no band\n";
        return 2;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(top.width));
    std::vector<std::int32_t> values(static_cast<std::size_t>(top.width));
    Status read;  // a band's own failure, told apart from the files'
    const Status saved = WritePictureRows(
        {o.output, "PNG", o.gridFile}, top.width, top.height, top.kind,
        [&](RowSink& sink) -> Status {
            for (Band& b : bands)
                for (int r = b.reader->Header().first; r <= b.reader->Header().last; ++r) {
                    if (Status got = b.reader->Row(pixels.data(), values.data()); !got)
                        return Failure{b.path + ": " + got.Message()};
                    if (Status put = sink.Row(r, pixels.data(), values.data()); !put) return put;
                }
            return {};
        },
        read, step);
    if (!read) {
        err << "vorla-render: " << read.Message() << "\n";
        return 2;
    }
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
        err << "vorla-render: " << parsed.Message() << "\n" << kRenderUsage;
        return 2;
    }
    const RenderOptions& o = parsed.Value();
    if (o.help) {
        out << kRenderUsage;
        return 0;
    }
    if (o.assemble) {
        if (std::string(PictureFormatOf(o.output) ? PictureFormatOf(o.output) : "") != "PNG") {
            err << "vorla-render: the joined picture must be a .png file: " << o.output << "\n";
            return 2;
        }
        if (!o.gridFile.empty() && SameFile(o.output, o.gridFile)) {
            err << "vorla-render: the picture and --grid are the same file\n";
            return 2;
        }
        std::string step = "cannot join the bands";
        int code = 0;
        const Status ran = Guarded([&] { code = Assemble(o, err, step); });
        return ran ? code : Failed(err, step, ran);
    }
    const char* format = o.rowsGiven ? "band" : PictureFormatOf(o.output);
    if (!o.printScene && !format) {
        err << "vorla-render: the output file must end in .png or .bmp: " << o.output << "\n";
        return 2;
    }
    const char* scaleFormat = o.scaleFile.empty() ? nullptr : PictureFormatOf(o.scaleFile);
    if (!o.printScene && !o.scaleFile.empty() && !scaleFormat) {
        err << "vorla-render: the scale image file must end in .png or .bmp: " << o.scaleFile
            << "\n";
        return 2;
    }
    SceneState scene = ExampleScene(o.example);
    if (!o.sceneFile.empty()) {
        std::vector<std::string> warnings;
        Result<SceneState> read = ReadSceneFile(o.sceneFile, &warnings);
        if (!read) {
            err << "vorla-render: " << read.Message() << "\n";
            return 2;
        }
        if (!o.quiet)
            for (const std::string& w : warnings) err << "vorla-render: warning: " << w << "\n";
        scene = read.Value();
    }
    // Both the options and a scene file name a kind that exists.
    if (o.tagGiven || scene.pictureKind == PictureTag::None) scene.pictureKind = o.tag;
    // One file written twice would keep only the last of the two.
    if (const std::string shared = o.printScene ? "" : SharedOutput(o); !shared.empty()) {
        err << "vorla-render: " << shared << "\n";
        return 2;
    }
    // Memory or threads refused anywhere end the step with its message.
    int code = 0;
    std::string step = "cannot start";
    const Status ran =
        Guarded([&] { code = Render(o, std::move(scene), format, scaleFormat, out, err, step); });
    return ran ? code : Failed(err, step, ran);
}

}  // namespace vorla
