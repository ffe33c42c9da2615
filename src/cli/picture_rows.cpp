#include "cli/picture_rows.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "plane/image_file.h"
#include "plane/png_rows.h"

namespace vorla {
namespace {

Status PutText(std::FILE* f, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), f) == text.size()
               ? Status()
               : Status(Failure{std::strerror(errno ? errno : EIO)});
}

// Rows going to a PNG file and, when it is open, a grid file.
class PictureSink : public RowSink {
  public:
    PictureSink(PngRowWriter& png, std::FILE* grid, int width)
        : png_(png), grid_(grid), width_(width) {}
    Status Row(int, const std::uint32_t* pixels, const std::int32_t* values) override {
        if (pngFault = png_.Row(pixels); !pngFault) return pngFault;
        if (!grid_) return {};
        line_.clear();
        for (int c = 0; c < width_; ++c) {
            if (c) line_ += ' ';
            line_ += std::to_string(values[c]);
        }
        line_ += '\n';
        gridFault = PutText(grid_, line_);
        return gridFault;
    }
    Status pngFault, gridFault;  // a file's own failure, told apart from the rows'

  private:
    PngRowWriter& png_;
    std::FILE* grid_;
    int width_;
    std::string line_;
};

}  // namespace

Status SavePictureRows(const std::string& picture, const std::string& grid, int width, int height,
                       int kind, const std::function<Status(RowSink&)>& fill, Status& filled,
                       std::string& step) {
    step = "cannot write " + picture;
    bool pictureFailed = false;  // the picture's own writing, not the grid's
    return SaveFile(picture, [&](std::FILE* f) -> Status {
        Result<std::unique_ptr<PngRowWriter>> png = PngRowWriter::Start(f, width, height);
        if (!png) return png.ToStatus();
        auto write = [&](std::FILE* gridFile) -> Status {
            if (gridFile)
                if (Status put =
                        PutText(gridFile, std::to_string(width) + " " + std::to_string(height) +
                                              " " + std::to_string(kind) + "\n");
                    !put)
                    return put;
            PictureSink sink(*png.Value(), gridFile, width);
            filled = fill(sink);
            if (!sink.pngFault || !sink.gridFault) filled = {};
            pictureFailed = !sink.pngFault;
            if (!sink.pngFault) return sink.pngFault;
            if (!sink.gridFault) return sink.gridFault;
            if (!filled) return filled;
            const Status finished = png.Value()->Finish();
            pictureFailed = !finished;
            return finished;
        };
        if (grid.empty()) return write(nullptr);
        const Status written = SaveFile(grid, write);
        if (!written && filled && !pictureFailed) step = "cannot write " + grid;
        return written;
    });
}

}  // namespace vorla
