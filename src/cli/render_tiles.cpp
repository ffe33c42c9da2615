#include "cli/render_tiles.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <system_error>

#include "app/deep_zoom.h"
#include "cli/interrupt.h"

namespace vorla {
namespace {

namespace fs = std::filesystem;

// The tiles' progress as a bar on the terminal, over the picture's: libvips tells it from its
// threads.
class TilesBar {
  public:
    TilesBar(std::ostream& err, bool shown) : err_(err), shown_(shown) {}
    TilesProgress Progress() {
        return [this](int percent) { Show(percent); };
    }
    void Finish() {
        if (shown_) err_ << "\r" << std::string(90, ' ') << "\r" << std::flush;
    }

  private:
    void Show(int percent) {
        if (!shown_) return;
        const std::lock_guard lock(mutex_);
        constexpr int kWidth = 30;
        const int bar = std::clamp(percent, 0, 100) * kWidth / 100;
        const std::string line = "[" + std::string(bar, '#') + std::string(kWidth - bar, ' ') +
                                 "] tiles " + std::to_string(percent) + " %";
        err_ << "\r" << line << std::string(90 - line.size(), ' ') << std::flush;
    }
    std::ostream& err_;
    bool shown_;
    std::mutex mutex_;
};

// The folder a name stands for, its missing tail included, for comparing two names.
fs::path Resolved(std::string name) {
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    std::error_code ec;
    const fs::path whole = fs::weakly_canonical(fs::absolute(name, ec), ec);
    return ec ? fs::path(name) : whole;
}

}  // namespace

TileRefusal CheckTileOutput(const RenderOptions& o) {
    if (Status may = CheckTileFolder(o.tiles); !may) return {2, may.Message()};
    if (!o.gridFile.empty()) {
        const fs::path parent = fs::path(o.gridFile).parent_path();
        if (Resolved(parent.empty() ? "." : parent.string()) == Resolved(o.tiles))
            return {2, "--grid " + o.gridFile + " is inside the tile folder " + o.tiles +
                           ", which is written whole: name a grid file outside it"};
    }
    if (const Result<std::string> viewer = FindViewerFolder(); !viewer)
        return {1, "cannot write " + o.tiles + ": " + viewer.Message()};
    return {};
}

Status DrawTileFolder(const RenderOptions& o, const SceneState& scene,
                      const RenderSettings& settings, SceneRender& render, std::ostream& err,
                      Status& drawn, std::string& step) {
    step = "cannot write " + o.tiles;
    const Result<std::string> viewer = FindViewerFolder();
    if (!viewer) return viewer.ToStatus();
    TilesBar bar(err, !o.quiet && ::isatty(2));
    const Status saved = DrawTiles(render, scene, settings, {o.tiles, viewer.Value(), o.gridFile},
                                   InterruptFlag(), bar.Progress(), drawn, step);
    bar.Finish();
    return saved;
}

Status JoinTileFolder(const RenderOptions& o, const BandHeader& top,
                      const std::function<Status(RowSink&)>& fill, std::ostream& err, Status& read,
                      std::string& step) {
    step = "cannot write " + o.tiles;
    const Result<std::string> viewer = FindViewerFolder();
    if (!viewer) return viewer.ToStatus();
    TilesBar bar(err, !o.quiet && ::isatty(2));
    const Status saved = WriteTileFolder(
        {o.tiles, viewer.Value(), o.gridFile}, {top.viewText, top.sceneText}, top.width, top.height,
        top.kind, fill, InterruptFlag(), bar.Progress(), read, step);
    bar.Finish();
    return saved;
}

}  // namespace vorla
