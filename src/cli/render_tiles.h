// The renderer's deep-zoom folders (--tiles DIR): a picture drawn, or joined from bands, into
// the tiles and page of app/deep_zoom.h, with the tiles' progress on the terminal.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "app/picture_file.h"
#include "app/scene_file.h"
#include "app/scene_render.h"
#include "base/status.h"
#include "cli/band_file.h"
#include "cli/render_options.h"

namespace vorla {

// Why the tile folder of `o` cannot be written, known before anything is drawn: exit code 2
// for a folder that may not be replaced or a grid file inside it, 1 for the viewer's files
// missing; code 0 when it may be written.
struct TileRefusal {
    int code = 0;
    std::string message;
};
TileRefusal CheckTileOutput(const RenderOptions& o);

// Draws the picture of `scene` on the prepared `render` into the folder `o.tiles` (and the
// grid `o.gridFile`); a signal ends it. The picture's own failure comes back in `drawn`; a
// file's failure is the result, `step` naming it.
Status DrawTileFolder(const RenderOptions& o, const SceneState& scene,
                      const RenderSettings& settings, SceneRender& render, std::ostream& err,
                      Status& drawn, std::string& step);

// Writes the rows of joined bands, which `fill` sends, into the folder `o.tiles` with the
// page the bands carry (`top`, the first band's header). The bands' own failure comes back
// in `read`.
Status JoinTileFolder(const RenderOptions& o, const BandHeader& top,
                      const std::function<Status(RowSink&)>& fill, std::ostream& err, Status& read,
                      std::string& step);

}  // namespace vorla
