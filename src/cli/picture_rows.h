// A picture and its grid file written a row at a time, from rows drawn or read from bands.
#pragma once

#include <functional>
#include <string>

#include "app/band_render.h"
#include "base/status.h"

namespace vorla {

// Writes the width x height PNG picture at `picture` and, unless `grid` is empty, its grid
// text (first line "W H KIND"), both from the rows that `fill` sends to the sink it is given.
// `fill`'s own failure comes back in `filled`, told apart from the files'; `step` then names
// the file whose writing failed.
Status SavePictureRows(const std::string& picture, const std::string& grid, int width, int height,
                       int kind, const std::function<Status(RowSink&)>& fill, Status& filled,
                       std::string& step);

}  // namespace vorla
