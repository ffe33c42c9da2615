// A picture drawn from a scene by a session of its own, at any size: what the renderer draws,
// and what the window's "Render at size" draws beside its own session. Both go through here,
// so that the same scene gives the same picture.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "app/band_render.h"
#include "app/picture_file.h"
#include "app/scene_file.h"
#include "app/session.h"
#include "base/status.h"
#include "model/controls.h"

namespace vorla {

// How to draw a scene.
struct RenderSettings {
    int width = kDefaultTabulaWidth, height = kDefaultTabulaHeight;
    int threads = 0;                    // the picture workers; 0: one per core
    bool clear = false;                 // "Clear the tabula" checked, whatever the scene says
    bool overlay = false;               // the basic circles drawn after the picture
    bool fixedPoints = false;           // the fixed points marked after the picture
    std::optional<std::uint64_t> seed;  // unset: the picture takes one from the clock
    int bandRows = 0;  // for DrawRows: the rows held at a time; 0: Draw, the whole picture
};

// Whether the memory can hold a picture of width x height with its value grid and its
// file's bytes; a failure says what it needs and what there is.
Status CheckRenderMemory(long long width, long long height);

// The scene of example `number` (1..14) over the default controls.
SceneState ExampleScene(int number);

// The rows a picture streamed into a file holds at a time.
inline constexpr int kStreamRows = 64;

// Whether a picture of kind `tag` written in `format` ("PNG", "BMP") is drawn and written a
// band of kStreamRows at a time, rather than held whole: a PNG file of any kind but the
// rectangle iterations, which draw anywhere.
bool StreamsInBands(int tag, const char* format);
class SceneRender {
  public:
    SceneRender(const SceneState& scene, Host& host, const RenderSettings& settings);

    // The tabula sized, the scene's controls and task type put in place and the circles
    // read, as the window holds them. Fails when the memory cannot hold the picture.
    Status Prepare();
    // Reads the bound of infinity and the axes, clears the tabula to the basic circles and
    // draws the picture, then the overlays asked for. The picture ends at once when
    // `cancel` is set. Fails, drawing nothing, for a bad bound of infinity, an unusable
    // range or no task type.
    Status Draw(const std::atomic<bool>* cancel = nullptr);
    // As Draw, for rows first..last (-1: to the end) of a picture computed band by band
    // (settings.bandRows at a time; the kinds ComputesInBands allows), each row going to
    // `sink` as soon as its band is done. A cancel ends it with kCancelled.
    Status DrawRows(RowSink& sink, int first = 0, int last = -1,
                    const std::atomic<bool>* cancel = nullptr);

    ControlValues controls;  // what the session reads
    Session session;

  private:
    SceneState scene_;
    RenderSettings settings_;
};

// Draws `scene` as `settings` say into `files` (settings.bandRows is chosen here): a
// streamed picture in the memory of its bands, another whole, after checking that the memory
// can hold what it needs. `host` polls the picture; `cancel` (may be null) ends it at once,
// writing nothing. The picture's own failure comes back in `drawn`; a file's failure is the
// result, with `step` saying what failed ("cannot write X", "cannot make a WxH picture").
Status RenderToFiles(const SceneState& scene, RenderSettings settings, const PictureFiles& files,
                     Host& host, const std::atomic<bool>* cancel, Status& drawn, std::string& step);

}  // namespace vorla
