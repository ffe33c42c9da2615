// A band of rows of a large picture, rendered on its own (by one task of a cluster, say) and
// joined with the others later: a header that says which picture and which rows it holds,
// with the texts of the picture's deep-zoom page (so that bands join into tiles), one zlib
// stream of the rows' pixels and grid values, and the CRC-32 of every byte before
// it (4 bytes, least significant first). The stream must end right after the last row, and
// the file right after the checksum; a CRC-32 finds every error of up to 32 bits in a row,
// so a band that was cut, lengthened or damaged on its way is never joined.
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
    std::string viewText;       // the deep-zoom page's view file and scene file (TilePage)
    std::string sceneText;

    bool operator==(const BandHeader&) const = default;
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
    // After the last row: the end of the stream and the checksum; the file is complete once
    // this succeeds.
    Status Finish();

  private:
    struct Stream;
    BandWriter() = default;
    Status Put(const void* data, std::size_t size, bool end);
    std::FILE* out_ = nullptr;
    std::unique_ptr<Stream> z_;
    BandHeader header_;
    int rows_ = 0;
    std::uint32_t crc_ = 0;  // of the bytes written so far
    std::vector<unsigned char> buffer_, row_;
};

// Reads a band row by row from an open file, checking it whole.
class BandReader {
  public:
    // Reads the header; a failure says what is wrong with it.
    static Result<std::unique_ptr<BandReader>> Start(std::FILE* in);
    ~BandReader();
    BandReader(const BandReader&) = delete;
    BandReader& operator=(const BandReader&) = delete;
    const BandHeader& Header() const { return header_; }
    // The next row's pixels (0xffRRGGBB) and grid values.
    Status Row(std::uint32_t* pixels, std::int32_t* values);
    // After the last row: the stream must end there, the checksum follow and match, and the
    // file end with it. Rows read before this succeeds are not yet known to be right.
    Status Finish();

  private:
    struct Stream;
    BandReader() = default;
    Status Get(void* data, std::size_t size);
    Status Fill();
    int Inflate();
    std::FILE* in_ = nullptr;
    std::unique_ptr<Stream> z_;
    BandHeader header_;
    int rows_ = 0;
    bool streamEnded_ = false;
    std::uint32_t crc_ = 0;  // of the bytes taken so far
    std::vector<unsigned char> input_, row_;
};

}  // namespace vorla
