// Picture files: a picture and its value grid written under their names, the one writer of
// the renderer, of the joining of bands and of the window. A PNG picture goes out a row at a
// time, so a picture drawn in bands needs the memory of a band; the grid file has one format:
// a first line "W H KIND", then H lines of W integers.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>

#include "base/status.h"
#include "pictures/value_grid.h"

namespace vorla {

// The failure of a picture asked to end before it was complete.
inline constexpr const char* kCancelled = "cancelled";

// Takes the rows of a picture, in order.
class RowSink {
  public:
    virtual ~RowSink() = default;
    // Row `row`: the tabula's pixels (0xffRRGGBB) and the grid's values, `width` of each.
    virtual Status Row(int row, const std::uint32_t* pixels, const std::int32_t* values) = 0;
};

// The format of a picture file by its name's extension: "PNG", "BMP", or nullptr for
// another name.
const char* PictureFormatOf(const std::string& path);

// Where a picture goes.
struct PictureFiles {
    std::string picture;         // the picture file
    const char* format = "PNG";  // "PNG" or "BMP"
    std::string grid;            // the grid file; empty: none
};

// Writes the width x height PNG picture and, when named, its grid, both from the rows that
// `fill` sends to the sink it is given. `fill`'s own failure comes back in `filled`, told
// apart from the files'; `step` then names the file whose writing failed ("cannot write X").
Status WritePictureRows(const PictureFiles& files, int width, int height, int kind,
                        const std::function<Status(RowSink&)>& fill, Status& filled,
                        std::string& step);

// Sends the rows of a picture held whole (any format of image) and of its grid to `sink`.
Status SendPictureRows(const QImage& image, const ValueGrid& grid, RowSink& sink);

// Writes a picture held whole, in the files' format, and its grid when named; `step` names
// the file whose writing failed.
Status WritePicture(const PictureFiles& files, const QImage& image, const ValueGrid& grid, int kind,
                    std::string& step);

}  // namespace vorla
