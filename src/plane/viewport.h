// The mapping between the tabula's pixels and the points of the plane.
#pragma once

#include <array>

namespace vorla {

// Pixel positions handed to drawing code are kept within this bound, so that sums and
// differences of a few of them never overflow a 32-bit integer.
inline constexpr int kPixelLimit = (1 << 29) - 1;

// The axes: maps the plane's rectangle [XMin, XMax] x [YMin, YMax] onto the pixel columns
// ColMin..ColMax and rows RowMin..RowMax (row 0 at the top), both ways.
class TAxisB {
  public:
    // Axes over [0, 1] x [0, 1] with the given last column and row.
    TAxisB(int lastCol = 1, int lastRow = 1);

    // Sets the plane's ranges and the last column and row; the steps and scales follow.
    void SetXRange(long double xMin, long double xMax);
    void SetYRange(long double yMin, long double yMax);
    void SetPixelRange(int lastCol, int lastRow);

    // The pixel of a plane coordinate (truncated, as ToPixel), and the plane coordinate of
    // a pixel.
    int ColumnOfX(long double x) const { return ToPixel((x - XMin) * XScale); }
    int RowOfY(long double y) const { return ToPixel((YMax - y) * YScale); }
    long double XOfColumn(int c) const { return c * XStep + XMin; }
    long double YOfRow(int r) const { return YMax - r * YStep; }

    // Truncation toward zero, defined for every real: non-finite and huge values clamp.
    static int ToPixel(long double v);

    long double XMin = 0, XMax = 1, YMin = 0, YMax = 1;  // the plane's rectangle
    int ColMin = 0, ColMax = 1, RowMin = 0, RowMax = 1;  // the pixels'
    int ColX0 = 0, ColX1 = 0, RowY0 = 0, RowY1 = 0;      // the pixels of X = 0, 1 and Y = 0, 1
    // Plane units per pixel, and pixels per plane unit.
    long double XStep = 1, YStep = 1, XScale = 1, YScale = 1;

  private:
    void DeriveX();
    void DeriveY();
};

// The pixels of the drawn axes: columns of X = 0 and 1, rows of Y = 0 and 1.
struct AxisPixels {
    int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
};

// Centre column, centre row and pixel radius of K2..K5 (index 0..3).
struct CirclePixel {
    int col = 0, row = 0, radius = 0;
};

// The pixels of the circles' centres, the drag handles: entry 0 is K1's (the origin), 1..4
// are K2..K5.
struct CentreHandles {
    std::array<int, 5> col{}, row{};
    // Moves handle 1..4 to (X, Y), as a drag shows it; K2's stays on the X axis.
    void Move(int centre, int X, int Y) {
        if (centre < 1 || centre > 4) return;
        col[centre] = X;
        if (centre != 1) row[centre] = Y;
    }
};

// A circle of the plane: centre (x, y) and radius r.
struct Disc {
    long double x = 0, y = 0, r = 0;
};

// The user's axes range.
struct AxesRange {
    long double XFrom = -3, XTo = 7, YRelative = 1.0L / 3;
};

// Why an axes range has no usable scale on a tabula of a given size.
enum class RangeFault {
    None,       // usable
    EqualEnds,  // "X from" equals "X to"
    XScale,     // the X range overflows, or is too narrow for the columns
    YRange,     // "Y relatively" puts the Y range beyond the reals
};

// Checks that `range` gives finite, non-zero steps and scales on a W x H tabula.
RangeFault CheckRange(const AxesRange& range, int W, int H);

// The viewport with its derived pixel forms; one instance, owned by the session.
struct Viewport {
    TAxisB axes;
    AxesRange range;
    int W = 1, H = 1;  // the tabula's size
    AxisPixels axisPixels;
    std::array<CirclePixel, 4> circlePixels{};
    CentreHandles handles;

    // Recomputes the axes and the pixel forms of K2..K5 (`circles`) from the stored range,
    // W and H. A range that CheckRange refuses keeps the previous X and Y ranges.
    void PrepocetPodleSouradnic(const std::array<Disc, 4>& circles);
};

// The presets of the Coordinates menu: texts of edtXod, edtXdo, edtYzero.
struct CoordinatePreset {
    const char* name;
    const char* caption;
    const char* xFrom;
    const char* xTo;
    const char* yRel;
};
extern const std::array<CoordinatePreset, 6> kCoordinatePresets;

}  // namespace vorla
