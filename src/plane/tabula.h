// The drawing surface of the pictures: a bitmap with a pen, a brush and pixel access.
#pragma once

#include <QImage>

class QPainter;
#include <cstdint>
#include <memory>

#include "base/status.h"
#include "colour/palette.h"

namespace vorla {

// The tabula's size when the window opens, and the renderer's default.
inline constexpr int kDefaultTabulaWidth = 542;
inline constexpr int kDefaultTabulaHeight = 450;

// How the pen and the brush meet the pixels: painted over, or not-XORed (twice is none).
enum class PenMode { Copy, NotXor };
// A brush that fills shapes, or none.
enum class BrushStyle { Solid, Clear };

// The bitmap the pictures and overlays draw on, with a pen position as in a canvas.
class Tabula {
  public:
    // A white bitmap of the size; one of 1 x 1 when the memory cannot hold that size.
    explicit Tabula(int width = 1, int height = 1);
    ~Tabula();
    Tabula(const Tabula&) = delete;
    Tabula& operator=(const Tabula&) = delete;

    // Keeps one painter open for a run of shapes while it lives (an orbit of a million rings
    // would otherwise open a painter per ring); the pixels are those of drawing them one by
    // one. Anything but the shapes closes the painter first.
    class Batch {
      public:
        explicit Batch(Tabula& t) : t_(t) { ++t_.batchDepth_; }
        ~Batch() {
            if (--t_.batchDepth_ == 0) t_.ClosePainter();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        Tabula& t_;
    };

    // A new size, the contents white. A size the memory cannot hold fails with kOutOfMemory
    // and leaves the bitmap as it was.
    Status Resize(int width, int height);
    // Makes the bitmap hold only rows first..first+rows-1 of a width x height picture, white:
    // drawing and pixel access keep the whole picture's coordinates, and what falls outside
    // the band is dropped, with the band's pixels as a whole drawing gives them.
    Status ResizeBand(int width, int height, int first, int rows);
    // The size in pixels (of the whole picture, for a band).
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The rows the bitmap holds: first, and how many.
    int FirstRow() const { return origin_; }
    int Rows() const { return rows_; }

    // The pen (outlines and lines: colour, width at least 1, mode) and the brush (insides).
    void SetPenColor(Colour c) { penColour_ = c; }
    Colour PenColor() const { return penColour_; }
    void SetPenWidth(int w) { penWidth_ = w < 1 ? 1 : w; }
    int PenWidth() const { return penWidth_; }
    void SetPenMode(PenMode m) { penMode_ = m; }
    PenMode Mode() const { return penMode_; }
    void SetBrush(BrushStyle style, Colour c) {
        brushStyle_ = style;
        brushColour_ = c;
    }
    void SetBrushStyle(BrushStyle style) { brushStyle_ = style; }
    BrushStyle Brush() const { return brushStyle_; }

    // Moves the pen; draws a line from the pen's position to (x, y) and moves the pen there.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // The ellipse inscribed in the box with corners (x1, y1) and (x2, y2), outlined with the
    // pen and filled with the brush.
    void Ellipse(int x1, int y1, int x2, int y2);
    // The rectangle between two corners: outline with the pen, inside with the brush.
    void Rectangle(int x1, int y1, int x2, int y2);
    // Fills the rectangle (right and bottom edge excluded) with the brush colour.
    void FillRect(int x1, int y1, int x2, int y2);
    // Paints the whole bitmap in one colour.
    void Fill(Colour c);

    // The colour of a pixel; white outside the bitmap.
    Colour Pixel(int x, int y) const;
    // Writes one pixel; positions outside the bitmap are ignored. Distinct rows may be
    // written from several threads at once between two calls of Detach().
    void SetPixel(int x, int y, Colour c) {
        y -= origin_;
        if (static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(rows_))
            reinterpret_cast<std::uint32_t*>(bits_ + y * stride_)[x] = ToQt(c);
    }

    // Makes sure the bitmap is not shared with a copy before direct pixel writes.
    void Detach();

    // The bitmap as it is, and a copy of it.
    const QImage& Image() const { return image_; }
    QImage Copy() const { return image_.copy(); }
    // Replaces the contents by a picture of the same size (a stored picture coming back).
    void SetImage(const QImage& image);

    // A colour as a Qt pixel (0xffRRGGBB), and back.
    static std::uint32_t ToQt(Colour c) {
        return 0xff000000u | ((c & 0xffu) << 16) | (c & 0xff00u) | ((c >> 16) & 0xffu);
    }
    static Colour FromQt(std::uint32_t q) {
        return ((q >> 16) & 0xffu) | (q & 0xff00u) | ((q & 0xffu) << 16);
    }

  private:
    template <class Fn>
    void Paint(Fn&& fn, bool usePen, bool useBrush);
    void ClosePainter();

    std::unique_ptr<QPainter> painter_;  // open only within a Batch
    int batchDepth_ = 0;
    struct PaintState {
        bool set = false, notXor = false, pen = false;
        Colour penColour = 0;
        int penWidth = 0;
        bool brush = false;
        Colour brushColour = 0;
        bool operator==(const PaintState&) const = default;
    };
    PaintState painted_;  // what the open painter was last given

    QImage image_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0, height_ = 0;
    int origin_ = 0, rows_ = 0;  // the rows held: all, or a band
    Colour penColour_ = kBlack;
    int penWidth_ = 1;
    PenMode penMode_ = PenMode::Copy;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    Colour brushColour_ = kWhite;
    int penX_ = 0, penY_ = 0;
};

}  // namespace vorla
