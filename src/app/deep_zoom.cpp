#include "app/deep_zoom.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vips/vips.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "app/view_moves.h"
#include "pictures/kinds.h"
#include "plane/image_file.h"

#ifndef VORLA_DATA_DIR
#define VORLA_DATA_DIR ""
#endif

namespace vorla {
namespace {

namespace fs = std::filesystem;

// The names a tile folder holds; a folder with any other is not one.
constexpr std::array<const char*, 6> kTileNames = {"index.html", "view.json",   "scene.json",
                                                   "vorla.dzi",  "vorla_files", "viewer"};
// The viewer's files copied into every tile folder, and the page's template, which is not.
constexpr std::array<const char*, 4> kViewerFiles = {
    "openseadragon.min.js", "openseadragon-LICENSE.txt", "vorla-view.js", "vorla-view.css"};
constexpr const char* kPageTemplate = "index.html";
// What marks a view file as this program's.
constexpr const char* kTileFormat = "vorla-tiles";

Failure Reason(const std::string& what, int err) {
    return Failure{what + ": " + std::strerror(err)};
}

// The system's word for `err`, where the step names the file.
Failure Why(int err) {
    return Failure{std::strerror(err)};
}

// The name without the slashes that may end it ("poster/" is the folder "poster").
std::string Trimmed(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// A number of the axes as the view file gives it: its text with 21 significant digits (which
// reads back as the same long double) and its exact value, significand x 2^exponent.
std::string AxisNumber(long double v) {
    char text[64];
    const auto printed = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 21);
    int exponent = 0;
    const long double fraction = std::frexp(v, &exponent);
    const long double significand = std::ldexp(std::fabs(fraction), 64);
    const auto whole = static_cast<unsigned long long>(significand);
    return "{\"text\": \"" + std::string(text, printed.ptr) + "\", \"significand\": \"" +
           (std::signbit(v) ? "-" : "") + std::to_string(whole) +
           "\", \"exponent\": " + std::to_string(exponent - 64) + "}";
}

// A text as a JSON string.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A JSON text inside a page's script element: '<' only stands in strings, where \u003c is the
// same character, so that no "</script>" of a scene's text can end the element.
std::string Embedded(const std::string& json) {
    std::string out;
    for (const char c : json) out += c == '<' ? std::string("\\u003c") : std::string(1, c);
    return out;
}

std::string HtmlText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
    for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
}

Result<std::string> ReadText(const std::string& path, long long limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Reason("cannot read " + path, errno ? errno : ENOENT);
    std::string text;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<size_t>(in.gcount()));
        if (static_cast<long long>(text.size()) > limit)
            return Failure{"cannot read " + path + ": it is too large"};
    }
    return text;
}

// Whether `dir` holds a view file of this program.
bool HoldsViewFile(const std::string& dir) {
    const Result<std::string> text = ReadText(dir + "/" + kTileViewFile, kMaxSceneFileSize);
    if (!text) return false;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(text.Value()));
    return json.isObject() && json.object().value("format").toString() == kTileFormat;
}

// A new folder beside `dir` (which is trimmed), with the permissions a new folder gets.
Result<std::string> MakeTemporaryFolder(const std::string& dir) {
    const std::string parent = fs::path(dir).parent_path().string();
    std::string name = (parent.empty() ? "" : parent + "/") + ".vorla-tiles-XXXXXX";
    if (!::mkdtemp(name.data())) return Why(errno);
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (::chmod(name.c_str(), 0777 & ~mask) != 0) {
        const int err = errno;
        ::rmdir(name.c_str());
        return Why(err);
    }
    return name;
}

// Removes a temporary folder, and what it holds, when it goes out of scope.
struct TemporaryFolder {
    std::string path;
    ~TemporaryFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// Puts the complete folder `from` under the name `dir`, replacing the tile folder or the empty
// folder there; `from` is left holding what `dir` held, if anything.
Status PutInPlace(const std::string& from, const std::string& dir) {
    // Looked at again: the folder may have changed since the picture began.
    if (Status may = CheckTileFolder(dir); !may) return may;
    if (::rename(from.c_str(), dir.c_str()) == 0) return {};
    if (errno != ENOTEMPTY && errno != EEXIST) return Why(errno);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, dir.c_str(), RENAME_EXCHANGE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return Why(errno);
    // A file system that cannot swap two names: the old folder steps aside first.
    Result<std::string> aside = MakeTemporaryFolder(dir);
    if (!aside) return aside.ToStatus();
    if (::rename(dir.c_str(), aside.Value().c_str()) != 0) {
        const int err = errno;
        ::rmdir(aside.Value().c_str());
        return Why(err);
    }
    if (::rename(from.c_str(), dir.c_str()) != 0) {
        const int err = errno;
        if (::rename(aside.Value().c_str(), dir.c_str()) != 0) {
            // The old folder stays under its temporary name, which the message gives.
            return Failure{std::string(std::strerror(err)) + "; the folder that was there is now " +
                           aside.Value()};
        }
        return Why(err);
    }
    if (::rename(aside.Value().c_str(), from.c_str()) != 0) {
        std::error_code ec;
        fs::remove_all(aside.Value(), ec);
    }
    return {};
}

// Writes every byte the folder holds to the disk, so that the name is given only to a folder
// that is there whole.
Status SyncFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Why(errno);
    const int rc = ::syncfs(fd);
    const int err = errno;
    ::close(fd);
    return rc == 0 ? Status() : Status(Why(err));
}

// --- libvips ---------------------------------------------------------------------------------

Status StartVips() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        started = VIPS_INIT("vorla") == 0;
        // Nothing is read twice: a cache would only hold memory.
        if (started) vips_cache_set_max(0);
    });
    return started ? Status() : Status(Failure{"libvips could not start"});
}

// libvips' messages since the last, on one line.
std::string VipsMessage() {
    std::string text = vips_error_buffer();
    vips_error_clear();
    while (!text.empty() && text.back() == '\n') text.pop_back();
    ReplaceAll(text, "\n", "; ");
    return text.empty() ? "libvips failed" : text;
}

struct Cutting {
    const std::atomic<bool>* cancel;
    const TilesProgress* tiles;
    std::atomic<int> percent{-1};
};

// libvips' progress, from its threads: told on, and an end asked for kills the pipeline.
void OnEval(VipsImage* image, VipsProgress* progress, void* data) {
    auto* c = static_cast<Cutting*>(data);
    if (c->cancel && *c->cancel) vips_image_set_kill(image, TRUE);
    if (*c->tiles && c->percent.exchange(progress->percent) != progress->percent)
        (*c->tiles)(progress->percent);
}

// Cuts the PNG file `png` into the pyramid `base`.dzi and `base`_files/, reading it a strip
// at a time.
Status CutTiles(const std::string& png, const std::string& base, const std::atomic<bool>* cancel,
                const TilesProgress& tiles) {
    if (Status started = StartVips(); !started) return started;
    VipsImage* in = nullptr;
    if (vips_pngload(png.c_str(), &in, "access", VIPS_ACCESS_SEQUENTIAL, nullptr) != 0)
        return Failure{VipsMessage()};
    Cutting cutting{cancel, &tiles};
    vips_image_set_progress(in, TRUE);
    g_signal_connect(in, "eval", G_CALLBACK(OnEval), &cutting);
    const int rc = vips_dzsave(in, base.c_str(), "suffix", ".png", "tile_size", kTileSize,
                               "overlap", kTileOverlap, "depth", VIPS_FOREIGN_DZ_DEPTH_ONEPIXEL,
                               "layout", VIPS_FOREIGN_DZ_LAYOUT_DZ, nullptr);
    g_object_unref(in);
    if (cancel && *cancel) {
        vips_error_clear();
        return Failure{kCancelled};
    }
    if (rc != 0) return Failure{VipsMessage()};
    // libvips' own notes on the image, with the date they were written: not the page's.
    std::error_code ec;
    fs::remove(base + "_files/vips-properties.xml", ec);
    if (tiles) tiles(100);
    return {};
}

// The page and the viewer's files, into the folder `to`.
Status WritePage(const std::string& viewer, const TilePage& page, const std::string& to) {
    Result<std::string> html = ReadText(viewer + "/" + kPageTemplate, 1 << 20);
    if (!html) return html.ToStatus();
    std::string text = html.Value();
    const QJsonObject view = QJsonDocument::fromJson(QByteArray::fromStdString(page.view)).object();
    ReplaceAll(text, "@VORLA_TITLE@",
               HtmlText("Vorla: " + view.value("picture").toString().toStdString() + ", " +
                        std::to_string(view.value("width").toInt()) + " x " +
                        std::to_string(view.value("height").toInt())));
    ReplaceAll(text, "@VORLA_VIEW@", Embedded(page.view));
    ReplaceAll(text, "@VORLA_SCENE@", Embedded(page.scene));
    const std::pair<const char*, const std::string*> files[] = {
        {kTilePageFile, &text}, {kTileViewFile, &page.view}, {kTileSceneFile, &page.scene}};
    for (const auto& [name, content] : files)
        if (Status saved = SaveTextFile(*content, to + "/" + name); !saved) return saved;
    const std::string folder = to + "/" + kTileViewerFolder;
    if (::mkdir(folder.c_str(), 0777) != 0) return Why(errno);
    for (const char* name : kViewerFiles) {
        const Result<std::string> copied = ReadText(viewer + "/" + name, 16 << 20);
        if (!copied) return copied.ToStatus();
        if (Status saved = SaveTextFile(copied.Value(), folder + "/" + name); !saved) return saved;
    }
    return {};
}

}  // namespace

Result<TAxisB> PictureAxes(const SceneState& scene, int width, int height) {
    const Result<AxesRange> range = FieldRange(scene.controls, width, height);
    if (!range) return Failure{range.Message()};
    return AxesOf(range.Value(), width, height);  // over the whole picture
}

Result<TilePage> MakeTilePage(const SceneState& scene, const RenderSettings& settings) {
    const Result<TAxisB> found = PictureAxes(scene, settings.width, settings.height);
    if (!found) return Failure{found.Message()};
    const TAxisB& a = found.Value();
    const PictureKindInfo* kind = FindPictureKind(scene.pictureKind);
    SceneState saved = scene;
    saved.width = settings.width;
    saved.height = settings.height;
    if (settings.clear) saved.controls.SetText(Ctl::CheckClear, "1");
    const auto flag = [](bool on) { return std::string(on ? "true" : "false"); };
    std::string v = "{\n";
    v += "    \"format\": " + Quoted(kTileFormat) + ",\n";
    v += "    \"version\": 1,\n";
    v += "    \"width\": " + std::to_string(settings.width) + ",\n";
    v += "    \"height\": " + std::to_string(settings.height) + ",\n";
    v += "    \"picture\": " + Quoted(kind ? kind->name : "") + ",\n";
    v += "    \"pictureTag\": " + std::to_string(scene.pictureKind) + ",\n";
    v += "    \"pictureTitle\": " + Quoted(kind ? kind->status : "") + ",\n";
    v += "    \"taskType\": " + std::to_string(TaskNumber(scene.taskType)) + ",\n";
    v += "    \"scene\": " + Quoted(kTileSceneFile) + ",\n";
    v += "    \"image\": {\"dzi\": " + Quoted(std::string(kTileImage) + ".dzi") +
         ", \"tiles\": " + Quoted(std::string(kTileImage) + "_files/") +
         ", \"format\": \"png\", \"tileSize\": " + std::to_string(kTileSize) +
         ", \"overlap\": " + std::to_string(kTileOverlap) + "},\n";
    v += "    \"pixel\": " +
         Quoted(
             "pixel (c, r), row 0 at the top, is drawn from the point x = xMin + c * xStep, "
             "y = yMax - r * yStep, each product and sum rounded to a 64-bit significand "
             "(x87 long double); significand x 2^exponent is each number exactly") +
         ",\n";
    v += "    \"xMin\": " + AxisNumber(a.XMin) + ",\n";
    v += "    \"xStep\": " + AxisNumber(a.XStep) + ",\n";
    v += "    \"yMax\": " + AxisNumber(a.YMax) + ",\n";
    v += "    \"yStep\": " + AxisNumber(a.YStep) + ",\n";
    v += "    \"xMax\": " + AxisNumber(a.XMax) + ",\n";
    v += "    \"yMin\": " + AxisNumber(a.YMin) + ",\n";
    v += "    \"clear\": " + flag(settings.clear) + ",\n";
    v += "    \"overlay\": " + flag(settings.overlay) + ",\n";
    v += "    \"fixedPoints\": " + flag(settings.fixedPoints) + ",\n";
    v += "    \"seed\": " +
         (settings.seed ? Quoted(std::to_string(*settings.seed)) : std::string("null")) + "\n";
    v += "}\n";
    return TilePage{v, SceneFileText(saved)};
}

Result<std::string> FindViewerFolder() {
    std::vector<std::string> places;
    char exe[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0)
        places.push_back(fs::path(std::string(exe, static_cast<size_t>(n))).parent_path() /
                         kTileViewerFolder);
    if (*VORLA_DATA_DIR) places.push_back(std::string(VORLA_DATA_DIR) + "/" + kTileViewerFolder);
    std::string looked;
    for (const std::string& place : places) {
        bool whole = fs::exists(place + "/" + kPageTemplate);
        for (const char* name : kViewerFiles) whole = whole && fs::exists(place + "/" + name);
        if (whole) return place;
        looked += (looked.empty() ? "" : " and ") + place;
    }
    return Failure{"the deep-zoom viewer's files are missing (looked in " + looked +
                   "); scripts/test and scripts/vorla install them"};
}

Status CheckTileFolder(const std::string& name) {
    const std::string dir = Trimmed(name);
    if (dir.empty()) return Failure{"no folder name for the tiles"};
    const std::string last = fs::path(dir).filename().string();
    if (last == "." || last == ".." || dir == "/")
        return Failure{name + ": name the tile folder itself"};
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0)
        return errno == ENOENT ? Status() : Status(Reason(name, errno));
    if (S_ISLNK(st.st_mode))
        return Failure{name + " is a symbolic link; name the tile folder itself"};
    if (!S_ISDIR(st.st_mode)) return Failure{name + " exists and is not a folder"};
    std::error_code ec;
    std::string stranger;
    bool empty = true;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        empty = false;
        const std::string entry = it->path().filename().string();
        bool known = false;
        for (const char* tile : kTileNames) known = known || entry == tile;
        if (!known) {
            stranger = entry;
            break;
        }
    }
    if (ec) return Failure{name + ": " + ec.message()};
    if (empty) return {};
    if (!stranger.empty())
        return Failure{name + " is a folder that is not a tile folder (it holds " +
                       ShortText(stranger) + "); it was left as it is: name another folder"};
    if (!HoldsViewFile(dir))
        return Failure{name + " is a folder that is not a tile folder (it has no view file of " +
                       "this program); it was left as it is: name another folder"};
    return {};
}

Status WriteTileFolder(const TileFolder& folder, const TilePage& page, int width, int height,
                       int kind, const std::function<Status(RowSink&)>& fill,
                       const std::atomic<bool>* cancel, const TilesProgress& tiles, Status& filled,
                       std::string& step) {
    const std::string dir = Trimmed(folder.dir);
    step = "cannot write " + folder.dir;
    Result<std::string> made = MakeTemporaryFolder(dir);
    if (!made) return made.ToStatus();
    const TemporaryFolder temporary{made.Value()};
    const std::string png = temporary.path + "/picture.png";
    Status saved =
        WritePictureRows({png, "PNG", folder.grid}, width, height, kind, fill, filled, step);
    // The picture file is the folder's, whose name the message gives.
    if (step == "cannot write " + png) step = "cannot write " + folder.dir;
    if (!saved || !filled) return saved;
    step = "cannot write " + folder.dir;
    if (Status cut = CutTiles(png, temporary.path + "/" + kTileImage, cancel, tiles); !cut) {
        if (cut.Message() != kCancelled) return cut;
        filled = cut;
        return {};
    }
    std::error_code ec;
    fs::remove(png, ec);
    if (Status written = WritePage(folder.viewer, page, temporary.path); !written) return written;
    if (Status synced = SyncFolder(temporary.path); !synced) return synced;
    if (cancel && *cancel) {
        filled = Failure{kCancelled};
        return {};
    }
    return PutInPlace(temporary.path, dir);
}

Status DrawTiles(SceneRender& render, const SceneState& scene, const RenderSettings& settings,
                 const TileFolder& folder, const std::atomic<bool>* cancel,
                 const TilesProgress& tiles, Status& drawn, std::string& step) {
    const Result<TilePage> page = MakeTilePage(scene, settings);
    if (!page) {
        drawn = page.ToStatus();
        return {};
    }
    const bool streamed = StreamsInBands(scene.pictureKind, "PNG");
    return WriteTileFolder(
        folder, page.Value(), settings.width, settings.height, scene.pictureKind,
        [&](RowSink& sink) -> Status {
            if (streamed) return render.DrawRows(sink, 0, -1, cancel);
            if (Status whole = render.Draw(cancel); !whole) return whole;
            if (cancel && *cancel) return Failure{kCancelled};
            return SendPictureRows(render.session.tabula().Image(), render.session.grid(), sink);
        },
        cancel, tiles, drawn, step);
}

Status RenderToTiles(const SceneState& scene, RenderSettings settings, const TileFolder& folder,
                     Host& host, const std::atomic<bool>* cancel, const TilesProgress& tiles,
                     Status& drawn, std::string& step) {
    settings.bandRows = StreamsInBands(scene.pictureKind, "PNG") ? kStreamRows : 0;
    step = "cannot make a " + std::to_string(settings.width) + "x" +
           std::to_string(settings.height) + " picture";
    SceneRender render(scene, host, settings);
    if (Status started = render.session.pool().Started(); !started) {
        step = "cannot start the picture threads";
        return started;
    }
    if (Status prepared = render.Prepare(); !prepared) return prepared;
    return DrawTiles(render, scene, settings, folder, cancel, tiles, drawn, step);
}

}  // namespace vorla
