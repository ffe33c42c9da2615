// A band of rows of a large picture, rendered on its own (by one task of a cluster, say) and
// joined with the others later: its pixels and grid values, compressed, after a header that
// says which picture and which rows it holds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"

namespace vorla {

// Which picture a band belongs to and which of its rows it holds.
struct BandHeader {
    int width = 0, height = 0;  // the whole picture's size
    int first = 0, last = 0;    // the rows held, first..last
    int kind = 0;               // the picture's menu tag
    std::string scene;          // every setting that shapes the picture, as one line
};

// Writes a band row by row into an open file.
class BandWriter {
  public:
    static Result<std::unique_ptr<BandWriter>> Start(std::FILE* out, const BandHeader& header);
    ~BandWriter();
    BandWriter(const BandWriter&) = delete;
    BandWriter& operator=(const BandWriter&) = delete;
    // The next row: `width` pixels 0xAARRGGBB and `width` grid values.
    Status Row(const std::uint32_t* pixels, const std::int32_t* values);
    // After the last row: the file is complete once this succeeds.
    Status Finish();

  private:
    struct Stream;
    BandWriter() = default;
    Status Put(const void* data, std::size_t size, bool end);
    std::FILE* out_ = nullptr;
    std::unique_ptr<Stream> z_;
    BandHeader header_;
    int rows_ = 0;
    std::vector<unsigned char> buffer_, row_;
};

// Reads a band row by row from an open file.
class BandReader {
  public:
    static Result<std::unique_ptr<BandReader>> Start(std::FILE* in);
    ~BandReader();
    BandReader(const BandReader&) = delete;
    BandReader& operator=(const BandReader&) = delete;
    const BandHeader& Header() const { return header_; }
    // The next row's pixels (0xffRRGGBB) and grid values.
    Status Row(std::uint32_t* pixels, std::int32_t* values);

  private:
    struct Stream;
    BandReader() = default;
    Status Get(void* data, std::size_t size);
    std::FILE* in_ = nullptr;
    std::unique_ptr<Stream> z_;
    BandHeader header_;
    std::vector<unsigned char> input_, row_;
};

}  // namespace vorla
