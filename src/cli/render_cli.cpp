#include "cli/render_cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/band_render.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "app/session.h"
#include "cli/band_file.h"
#include "cli/picture_rows.h"
#include "model/controls.h"
#include "model/examples.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "plane/number_text.h"
#include "plane/png_rows.h"

namespace vorla {
namespace {

constexpr const char* kUsage =
    "usage: vorla-render [options] [OUTPUT]\n"
    "  OUTPUT             picture file, .png or .bmp (default vorla.png)\n"
    "  --example N        load example N (1-14); default 3\n"
    "  --scene FILE       load a scene file saved by the window instead (its picture and\n"
    "                     tabula size too, unless --picture, --tag or --size are given)\n"
    "  --task T           task type 2-6 (2-5 circles, 6 squaring on the unit circle)\n"
    "  --set NAME=TEXT    set a control by name, e.g. EditKd=2.5 (repeatable)\n"
    "  --picture NAME     convergence, periodicity, preperiodicity, nth, rectangle,\n"
    "                     end-regions, infinity, closest-order, last-two, lyap-x, lyap-y,\n"
    "                     lyap-sum, lyap-d, closest-dist (default convergence)\n"
    "  --tag N            the picture by its menu tag instead\n"
    "  --clear            clear the tabula and draw the basic circles first\n"
    "  --overlay          draw the basic circles after the picture\n"
    "  --fixed-points     mark the fixed points of the map after the picture (and overlay)\n"
    "  --size WxH         tabula size (default 542x450)\n"
    "  --threads N        worker threads (default: all cores)\n"
    "  --seed N           random seed (default: from the clock)\n"
    "  --grid FILE        write the value grid as text\n"
    "  --scale-image FILE write the Lyapunov colour scale (25x241), .png or .bmp\n"
    "  --print-scene      print the scene text and draw nothing\n"
    "  --rows FIRST:LAST  draw only those rows of the picture into a band file OUTPUT\n"
    "  --assemble OUT BAND...\n"
    "                     join band files into the PNG picture OUT (and --grid FILE)\n"
    "  --quiet            no progress bar, no warnings\n"
    "  --help             this text\n";

struct Options {
    std::string output = "vorla.png";
    int example = 3;
    int task = 0;
    std::vector<std::pair<std::string, std::string>> sets;
    int tag = 1;
    bool clear = false, overlay = false, printScene = false, quiet = false, help = false;
    bool fixedPoints = false;
    int width = 542, height = 450, threads = 0;
    bool haveSeed = false;
    unsigned long long seed = 0;
    std::string gridFile;
    std::string scaleFile;
    std::string sceneFile;
    bool tagGiven = false, sizeGiven = false;
    bool rowsGiven = false;
    int firstRow = 0, lastRow = -1;  // --rows
    bool assemble = false;           // --assemble: `output` is made of `bands`
    std::vector<std::string> bands;
};

// The largest side of a picture: its rows of pixels and values must fit in memory a band at
// a time, and its pixel count in the grid's indices.
constexpr long long kMaxSide = 1000000;

// A whole number written as digits alone (no blank, sign or empty part) within [lo, hi].
bool ParseDigits(const std::string& s, unsigned long long lo, unsigned long long hi,
                 unsigned long long& v) {
    if (s.empty() || s.size() > 20 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    v = std::strtoull(s.c_str(), nullptr, 10);
    return errno == 0 && v >= lo && v <= hi;
}

bool ParseLong(const std::string& s, long long lo, long long hi, long long& v) {
    unsigned long long u = 0;
    if (!ParseDigits(s, static_cast<unsigned long long>(lo), static_cast<unsigned long long>(hi),
                     u))
        return false;
    v = static_cast<long long>(u);
    return true;
}

std::string ValidControlNames() {
    std::string names;
    for (const auto& c : ControlTable()) names += std::string(names.empty() ? "" : " ") + c.name;
    return names;
}

// The options followed by a value.
bool TakesValue(const std::string& option) {
    for (const char* o : {"--example", "--scene", "--task", "--set", "--picture", "--tag", "--size",
                          "--threads", "--seed", "--grid", "--scale-image", "--rows", "--assemble"})
        if (option == o) return true;
    return false;
}

// The options, or the message of the first bad one.
Result<Options> Parse(int argc, char** argv) {
    Options o;
    bool haveOutput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (TakesValue(a) && i + 1 >= argc) return Failure{a + " needs a value"};
        auto value = [&]() -> std::string { return argv[++i]; };
        long long v = 0;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--example") {
            const std::string s = value();
            if (!ParseLong(s, 1, 14, v)) return Failure{"--example takes 1 to 14, not '" + s + "'"};
            o.example = static_cast<int>(v);
        } else if (a == "--scene") {
            o.sceneFile = value();
            if (o.sceneFile.empty()) return Failure{"--scene needs a file name"};
        } else if (a == "--task") {
            const std::string s = value();
            if (!ParseLong(s, 2, 6, v)) return Failure{"--task takes 2 to 6, not '" + s + "'"};
            o.task = static_cast<int>(v);
        } else if (a == "--set") {
            const std::string s = value();
            const size_t eq = s.find('=');
            if (eq == std::string::npos || eq == 0)
                return Failure{"--set takes NAME=TEXT, not '" + s + "'"};
            const std::string name = s.substr(0, eq);
            if (!FindControl(name))
                return Failure{"unknown control '" + name +
                               "'; valid names: " + ValidControlNames()};
            o.sets.emplace_back(name, s.substr(eq + 1));
        } else if (a == "--picture") {
            const std::string s = value();
            const PictureKindInfo* k = FindPictureKind(s);
            if (!k) return Failure{"unknown picture '" + s + "'"};
            o.tag = k->tag;
            o.tagGiven = true;
        } else if (a == "--tag") {
            const std::string s = value();
            if (!ParseLong(s, 0, 1000, v) || !FindPictureKind(static_cast<int>(v)))
                return Failure{"--tag takes the tag of a picture, not '" + s + "'"};
            o.tag = static_cast<int>(v);
            o.tagGiven = true;
        } else if (a == "--clear") {
            o.clear = true;
        } else if (a == "--overlay") {
            o.overlay = true;
        } else if (a == "--fixed-points") {
            o.fixedPoints = true;
        } else if (a == "--size") {
            const std::string s = value();
            const size_t x = s.find('x');
            long long w = 0, h = 0;
            if (x == std::string::npos || !ParseLong(s.substr(0, x), 1, kMaxSide, w) ||
                !ParseLong(s.substr(x + 1), 1, kMaxSide, h) || w * h > (1LL << 40))
                return Failure{"--size takes WxH with each from 1 to 1000000, not '" + s + "'"};
            o.width = static_cast<int>(w);
            o.height = static_cast<int>(h);
            o.sizeGiven = true;
        } else if (a == "--threads") {
            const std::string s = value();
            if (!ParseLong(s, 1, 1024, v))
                return Failure{"--threads takes 1 to 1024, not '" + s + "'"};
            o.threads = static_cast<int>(v);
        } else if (a == "--seed") {
            const std::string s = value();
            if (!ParseDigits(s, 0, ~0ULL, o.seed))
                return Failure{"--seed takes a whole number, not '" + s + "'"};
            o.haveSeed = true;
        } else if (a == "--grid") {
            o.gridFile = value();
            if (o.gridFile.empty()) return Failure{"--grid needs a file name"};
        } else if (a == "--scale-image") {
            o.scaleFile = value();
            if (o.scaleFile.empty()) return Failure{"--scale-image needs a file name"};
        } else if (a == "--rows") {
            const std::string s = value();
            const size_t colon = s.find(':');
            long long f = 0, l = 0;
            if (colon == std::string::npos || !ParseLong(s.substr(0, colon), 0, kMaxSide - 1, f) ||
                !ParseLong(s.substr(colon + 1), 0, kMaxSide - 1, l) || l < f)
                return Failure{"--rows takes FIRST:LAST with FIRST <= LAST, not '" + s + "'"};
            o.rowsGiven = true;
            o.firstRow = static_cast<int>(f);
            o.lastRow = static_cast<int>(l);
        } else if (a == "--assemble") {
            o.assemble = true;
            o.output = value();
            if (o.output.empty()) return Failure{"--assemble needs a file name"};
            haveOutput = true;
        } else if (a == "--print-scene") {
            o.printScene = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Failure{"unknown option '" + a + "'"};
        } else if (o.assemble) {
            o.bands.push_back(a);
        } else {
            if (haveOutput) return Failure{"only one output file may be given"};
            o.output = a;
            haveOutput = true;
        }
    }
    if (o.assemble && o.bands.empty()) return Failure{"--assemble needs band files"};
    if (o.rowsGiven && !o.gridFile.empty())
        return Failure{"a band file holds its grid rows; --grid goes with --assemble"};
    return o;
}

const char* FormatOf(const std::string& path) {
    auto ends = [&](const char* ext) {
        const std::string e = ext;
        if (path.size() < e.size()) return false;
        std::string tail = path.substr(path.size() - e.size());
        for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return tail == e;
    };
    if (ends(".png")) return "PNG";
    if (ends(".bmp")) return "BMP";
    return nullptr;
}

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

std::string GridText(const ValueGrid& g, int kind) {
    std::string s = std::to_string(g.Width()) + " " + std::to_string(g.Height()) + " " +
                    std::to_string(kind) + "\n";
    for (int r = 0; r < g.Height(); ++r) {
        for (int c = 0; c < g.Width(); ++c) {
            if (c) s += ' ';
            s += std::to_string(g.AtIndex(static_cast<size_t>(r) * g.Width() + c));
        }
        s += '\n';
    }
    return s;
}

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
    const std::string text = SceneFileText(scene) + " task " + std::to_string(scene.taskType) +
                             " clear " + std::to_string(s.clear) + " overlay " +
                             std::to_string(s.overlay) + " fixed " + std::to_string(s.fixedPoints);
    std::uint64_t h = 1469598103934665603ULL;  // FNV-1a
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return "picture " + std::to_string(tag) + " seed " + std::to_string(s.seed.value_or(0)) +
           " scene " + hex;
}

// Draws the picture of checked options from `scene` and writes its files; returns the exit
// code. `step` says what it is doing, for the message of a failure that ends it.
int Render(const Options& o, SceneState scene, const char* format, const char* scaleFormat,
           std::ostream& out, std::ostream& err, std::string& step) {
    if (o.task) scene.taskType = o.task;
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
    if (const Status started = render.session.pool.Started(); !started)
        return Failed(err, step, started);
    step = "cannot make a " + size + " picture";
    if (const Status prepared = render.Prepare(); !prepared) return Failed(err, step, prepared);
    const ControlValues& controls = render.controls;
    Session& s = render.session;
    if (o.printScene) {
        out << s.sceneText << "\n";
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
        step = "cannot write " + o.output;
        if (const Status saved = SaveImageFile(s.tabula.Image(), o.output, format); !saved)
            return Failed(err, step, saved);
        if (!o.gridFile.empty()) {
            step = "cannot write " + o.gridFile;
            if (const Status saved = SaveTextFile(GridText(s.grid, s.PictureKind), o.gridFile);
                !saved)
                return Failed(err, step, saved);
        }
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
        const Status saved = SavePictureRows(
            o.output, o.gridFile, settings.width, settings.height, tag,
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
        if (const Status saved = SaveImageFile(s.scaleImage.Image(), o.scaleFile, scaleFormat);
            !saved)
            return Failed(err, step, saved);
    }
    return 0;
}

// Joins band files into the picture `o.output` (and the grid `o.gridFile`), a row at a time;
// returns the exit code.
int Assemble(const Options& o, std::ostream& err, std::string& step) {
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
    const Status saved = SavePictureRows(
        o.output, o.gridFile, top.width, top.height, top.kind,
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
std::string SharedOutput(const Options& o) {
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
    const Result<Options> o = Parse(argc, argv);
    if (!o) return o.ToStatus();
    ControlValues controls;
    for (const auto& [name, text] : o->sets)
        if (Status set = controls.Set(name, text); !set) return set;
    return {};
}

int RunRender(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const Result<Options> parsed = Parse(argc, argv);
    if (!parsed) {
        err << "vorla-render: " << parsed.Message() << "\n" << kUsage;
        return 2;
    }
    const Options& o = parsed.Value();
    if (o.help) {
        out << kUsage;
        return 0;
    }
    if (o.assemble) {
        if (std::string(FormatOf(o.output) ? FormatOf(o.output) : "") != "PNG") {
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
    const char* format = o.rowsGiven ? "band" : FormatOf(o.output);
    if (!o.printScene && !format) {
        err << "vorla-render: the output file must end in .png or .bmp: " << o.output << "\n";
        return 2;
    }
    const char* scaleFormat = o.scaleFile.empty() ? nullptr : FormatOf(o.scaleFile);
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
    if (o.tagGiven || scene.pictureKind == 0) scene.pictureKind = o.tag;
    const PictureKindInfo* kind = FindPictureKind(scene.pictureKind);
    if (!o.printScene && (!kind || !kind->run)) {
        err << "vorla-render: the picture '" << (kind ? kind->name : "?")
            << "' is not available yet\n";
        return 2;
    }
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
