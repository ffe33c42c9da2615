// Pictures larger than memory: computed a band of rows at a time, each band handed on row by
// row before the next is computed, with the pixels and values of a whole computation.
#pragma once

#include <atomic>
#include <cstdint>

#include "app/picture_file.h"
#include "app/session.h"
#include "base/status.h"

namespace vorla {

// What to compute: a picture kind, the overlays after it, and which rows.
struct BandRender {
    int tag = 1;               // the picture's menu tag
    bool overlay = false;      // the basic circles over the picture
    bool fixedPoints = false;  // the fixed points marked last
    int first = 0, last = -1;  // the rows; -1: to the picture's last
    int bandRows = 64;         // the rows held at a time
    // Set from any thread to end the picture at once (may be null): the rest is not sent.
    const std::atomic<bool>* cancel = nullptr;
};

// Whether a picture kind can be computed band by band: not the rectangle iterations, which
// draw anywhere.
bool ComputesInBands(int tag);

// Computes rows first..last of a width x height picture on `s`, whose scene and fields are
// set: every band starts as "Recalc." leaves the tabula (white with the basic circles), then
// takes the picture and the overlays asked for, then goes to `sink`. The session holds one
// band at a time and is left holding the last.
Status RenderBands(Session& s, int width, int height, const BandRender& what, RowSink& sink);

}  // namespace vorla
