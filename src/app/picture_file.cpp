#include "app/picture_file.h"

#include <cctype>
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

std::string GridHeader(int width, int height, int kind) {
    return std::to_string(width) + " " + std::to_string(height) + " " + std::to_string(kind) + "\n";
}

// Rows going to a PNG file (when open) and a grid file (when open).
class PictureSink : public RowSink {
  public:
    PictureSink(PngRowWriter* png, std::FILE* grid, int width)
        : png_(png), grid_(grid), width_(width) {}
    Status Row(int, const std::uint32_t* pixels, const std::int32_t* values) override {
        if (png_)
            if (pngFault = png_->Row(pixels); !pngFault) return pngFault;
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
    PngRowWriter* png_;
    std::FILE* grid_;
    int width_;
    std::string line_;
};

// Sends the rows of a picture held whole.
Status SendRows(const QImage& rgb, const ValueGrid& grid, RowSink& sink) {
    const int W = grid.Width();
    for (int r = 0; r < rgb.height(); ++r)
        if (Status put = sink.Row(r, reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(r)),
                                  grid.Cells().data() + static_cast<std::size_t>(r) * W);
            !put)
            return put;
    return {};
}

}  // namespace

const char* PictureFormatOf(const std::string& path) {
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == ".png") return "PNG";
    if (tail == ".bmp") return "BMP";
    return nullptr;
}

Status WritePictureRows(const PictureFiles& files, int width, int height, int kind,
                        const std::function<Status(RowSink&)>& fill, Status& filled,
                        std::string& step) {
    step = "cannot write " + files.picture;
    bool pictureFailed = false;  // the picture's own writing, not the grid's
    return SaveFile(files.picture, [&](std::FILE* f) -> Status {
        Result<std::unique_ptr<PngRowWriter>> png = PngRowWriter::Start(f, width, height);
        if (!png) return png.ToStatus();
        auto write = [&](std::FILE* gridFile) -> Status {
            if (gridFile)
                if (Status put = PutText(gridFile, GridHeader(width, height, kind)); !put)
                    return put;
            PictureSink sink(png.Value().get(), gridFile, width);
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
        if (files.grid.empty()) return write(nullptr);
        const Status written = SaveFile(files.grid, write);
        if (!written && filled && !pictureFailed) step = "cannot write " + files.grid;
        return written;
    });
}

Status SendPictureRows(const QImage& image, const ValueGrid& grid, RowSink& sink) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) return Failure{kOutOfMemory};
    return SendRows(rgb, grid, sink);
}

Status WritePicture(const PictureFiles& files, const QImage& image, const ValueGrid& grid, int kind,
                    std::string& step) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) return Failure{kOutOfMemory};
    // A file's resolution must not depend on a screen: 100 dpi, what an image gets in a
    // program without one.
    constexpr int kDotsPerMeter = 3937;
    rgb.setDotsPerMeterX(kDotsPerMeter);
    rgb.setDotsPerMeterY(kDotsPerMeter);
    if (std::string(files.format) == "PNG") {
        Status filled;
        const Status saved = WritePictureRows(
            files, rgb.width(), rgb.height(), kind,
            [&](RowSink& sink) { return SendRows(rgb, grid, sink); }, filled, step);
        return saved ? filled : saved;
    }
    step = "cannot write " + files.picture;
    if (Status saved = SaveImageFile(rgb, files.picture, files.format); !saved) return saved;
    if (files.grid.empty()) return {};
    step = "cannot write " + files.grid;
    return SaveFile(files.grid, [&](std::FILE* f) -> Status {
        if (Status put = PutText(f, GridHeader(rgb.width(), rgb.height(), kind)); !put) return put;
        PictureSink sink(nullptr, f, rgb.width());
        return SendRows(rgb, grid, sink);
    });
}

}  // namespace vorla
