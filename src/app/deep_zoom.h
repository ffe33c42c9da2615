// Deep-zoom folders: a picture of any size cut by libvips into a pyramid of PNG tiles (the
// Deep Zoom layout), with a page that shows it zooming and panning from disk or from any
// static web server, the plane point under the pointer, the picture's kind, its scene and a
// scale bar. The renderer and the window both write them through here; this unit alone links
// libvips.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "app/picture_file.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "base/status.h"
#include "plane/viewport.h"

namespace vorla {

// The names in a tile folder: the page, the view and scene files, the pyramid (its .dzi file
// and the folder of its levels) and the viewer's own files.
inline constexpr const char* kTilePageFile = "index.html";
inline constexpr const char* kTileViewFile = "view.json";
inline constexpr const char* kTileSceneFile = "scene.json";
inline constexpr const char* kTileImage = "vorla";  // vorla.dzi, vorla_files/
inline constexpr const char* kTileViewerFolder = "viewer";
// The side of a tile without its overlap, and the overlap: libvips' defaults, which the page
// is told in the view file.
inline constexpr int kTileSize = 254;
inline constexpr int kTileOverlap = 1;

// What a tile folder says besides its pixels: the text of its view file (the picture's size
// and kind, and the plane point of each pixel) and of its scene file (as the window saves
// scenes, so that the window and the renderer open it).
struct TilePage {
    std::string view;
    std::string scene;
};

// The axes of a width x height picture of `scene`, whose pixel (c, r) is drawn from the point
// (XOfColumn(c), YOfRow(r)); fails when the axes fields give no usable range.
Result<TAxisB> PictureAxes(const SceneState& scene, int width, int height);

// The page of the picture of `scene` (its pictureKind) drawn with `settings` (size, the
// tabula cleared first, overlays, seed); fails as PictureAxes.
Result<TilePage> MakeTilePage(const SceneState& scene, const RenderSettings& settings);

// The folder of the viewer's files (the page's script and style, OpenSeadragon and its
// licence): "viewer" beside the program, else in the installed data folder. Fails naming the
// folders looked in when neither holds them.
Result<std::string> FindViewerFolder();

// Whether `dir` may be written as a tile folder: a name that does not exist, an empty folder,
// or a tile folder written before (its view file, and only the names a tile folder holds),
// which is then replaced whole. Anything else is refused, saying why.
Status CheckTileFolder(const std::string& dir);

// Where a tile folder goes.
struct TileFolder {
    std::string dir;     // the folder
    std::string viewer;  // the viewer's files (FindViewerFolder)
    std::string grid;    // the value grid file, as the picture's --grid; empty: none
};

// Told how far the cutting of tiles is, in percent (from libvips' threads).
using TilesProgress = std::function<void(int percent)>;

// Writes the tile folder of a width x height picture whose rows `fill` sends to the sink it is
// given. Everything goes into a temporary folder beside `dir`: the rows to a PNG file there
// (64 rows held at a time), libvips cuts it into tiles (a strip of tiles per level held at a
// time), the page, view, scene and viewer files join them, and the folder takes the name
// `dir` only when complete, replacing a tile folder there. A failure or an end leaves no
// folder behind and `dir` as it was; `cancel` (may be null) ends the tiles at their next
// progress. `fill`'s own failure comes back in `filled`, told apart from the files', a cancel
// as kCancelled; `step` names what failed ("cannot write X").
Status WriteTileFolder(const TileFolder& folder, const TilePage& page, int width, int height,
                       int kind, const std::function<Status(RowSink&)>& fill,
                       const std::atomic<bool>* cancel, const TilesProgress& tiles, Status& filled,
                       std::string& step);

// Draws `scene` as `settings` say (a band of rows at a time, or whole for the rectangle
// iterations) on `render`, which is prepared, into the tile folder. `cancel` (may be null)
// ends the picture at once and the tiles at their next progress. The picture's own failure
// comes back in `drawn`, a cancel as kCancelled.
Status DrawTiles(SceneRender& render, const SceneState& scene, const RenderSettings& settings,
                 const TileFolder& folder, const std::atomic<bool>* cancel,
                 const TilesProgress& tiles, Status& drawn, std::string& step);

// As RenderToFiles, into a tile folder: the window's "Export deep zoom".
Status RenderToTiles(const SceneState& scene, RenderSettings settings, const TileFolder& folder,
                     Host& host, const std::atomic<bool>* cancel, const TilesProgress& tiles,
                     Status& drawn, std::string& step);

}  // namespace vorla
