// PNG files written and read a row at a time, so that a picture of any height needs the
// memory of one row: the renderer's posters and the assembly of bands.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/status.h"

struct spng_ctx;

namespace vorla {

// Writes an 8-bit RGB PNG row by row into an open file. The bytes depend only on the size,
// the text entries and the pixels, so a picture written whole or assembled from bands is
// the same file.
class PngRowWriter {
  public:
    // Begins a width x height picture on `out` with the given keyword/text entries.
    static Result<std::unique_ptr<PngRowWriter>> Start(
        std::FILE* out, int width, int height,
        const std::vector<std::pair<std::string, std::string>>& texts = {});
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // The next row, as `width` pixels 0xAARRGGBB (alpha ignored).
    Status Row(const std::uint32_t* pixels);
    // After the last row: the file is complete once this succeeds.
    Status Finish();

  private:
    explicit PngRowWriter(int width, int height);
    spng_ctx* ctx_ = nullptr;
    int width_, height_, rows_ = 0;
    std::vector<unsigned char> rgb_;
};

// Reads an 8-bit RGB (or any colour type, converted) PNG row by row from an open file.
class PngRowReader {
  public:
    static Result<std::unique_ptr<PngRowReader>> Start(std::FILE* in);
    ~PngRowReader();
    PngRowReader(const PngRowReader&) = delete;
    PngRowReader& operator=(const PngRowReader&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The text of a tEXt entry, empty when there is none.
    std::string Text(const std::string& keyword) const;
    // The next row into `width` pixels 0xffRRGGBB.
    Status Row(std::uint32_t* pixels);

  private:
    PngRowReader() = default;
    spng_ctx* ctx_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<std::pair<std::string, std::string>> texts_;
    std::vector<unsigned char> rgb_;
};

}  // namespace vorla
