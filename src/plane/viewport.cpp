#include "plane/viewport.h"

#include <cmath>

namespace vorla {

const std::array<CoordinatePreset, 6> kCoordinatePresets = {{
    {"N223", "  -&3 .... 7  (1/3)", "-3", "7", "1/3"},
    {"N443", "  -&5 .... 9  (1/3)", "-5", "9", "1/3"},
    {"N883", " -&7 .... 11  (1/3)", "-7", "11", "1/3"},
    {"N9151", " -&9 .... 15  (1/3)", "-9", "15", "1/3"},
    {"N11251", "-&11 .... 25  (1/3)", "-11", "25", "1/3"},
    {"N2020121", "-&20 .... 20  (1/2)", "-20", "20", "1/2"},
}};

TAxisB::TAxisB(int lastCol, int lastRow) {
    ColMax = lastCol;
    RowMax = lastRow;
    SetXRange(0, 1);
    SetYRange(0, 1);
}

int TAxisB::ToPixel(long double v) {
    if (std::isnan(v)) return 0;
    if (v >= kPixelLimit) return kPixelLimit;
    if (v <= -kPixelLimit) return -kPixelLimit;
    return static_cast<int>(v);
}

void TAxisB::DeriveX() {
    const int span = ColMax - ColMin;
    XStep = (XMax - XMin) / (span != 0 ? span : 1);
    XScale = XStep != 0 ? 1 / XStep : 0;
    ColX0 = ColumnOfX(0);
    ColX1 = ColumnOfX(1);
}

void TAxisB::DeriveY() {
    const int span = RowMax - RowMin;
    YStep = (YMax - YMin) / (span != 0 ? span : 1);
    YScale = YStep != 0 ? 1 / YStep : 0;
    RowY0 = RowOfY(0);
    RowY1 = RowOfY(1);
}

void TAxisB::SetXRange(long double xMin, long double xMax) {
    XMin = xMin;
    XMax = xMax;
    DeriveX();
}

void TAxisB::SetYRange(long double yMin, long double yMax) {
    YMin = yMin;
    YMax = yMax;
    DeriveY();
}

void TAxisB::SetPixelRange(int lastCol, int lastRow) {
    ColMax = lastCol;
    RowMax = lastRow;
    DeriveX();
    DeriveY();
}

RangeFault CheckRange(const AxesRange& range, int W, int H) {
    // The same arithmetic as the set-up below, on a scratch pair of axes.
    const long double width = range.XTo - range.XFrom;
    if (width == 0) return RangeFault::EqualEnds;
    TAxisB a(W, H);
    a.SetXRange(range.XFrom, range.XTo);
    const long double h = H * width / W;
    auto usable = [](long double step, long double scale) {
        return std::isfinite(step) && step != 0 && std::isfinite(scale) && scale != 0;
    };
    if (!std::isfinite(width) || !usable(a.XStep, a.XScale) || !std::isfinite(h) || h == 0)
        return RangeFault::XScale;
    a.SetYRange(-range.YRelative * h, (1 - range.YRelative) * h);
    if (!std::isfinite(a.YMin) || !std::isfinite(a.YMax) || !usable(a.YStep, a.YScale))
        return RangeFault::YRange;
    return RangeFault::None;
}

void Viewport::PrepocetPodleSouradnic(const std::array<Disc, 4>& circles) {
    axes.SetPixelRange(W, H);
    // A range without a usable scale keeps the viewport as it was.
    if (CheckRange(range, W, H) == RangeFault::None) {
        const long double h = H * (range.XTo - range.XFrom) / W;
        axes.SetXRange(range.XFrom, range.XTo);
        axes.SetYRange(-range.YRelative * h, (1 - range.YRelative) * h);
    }
    axisPixels = {axes.ColX0, axes.ColX1, axes.RowY0, axes.RowY1};
    auto radius = [&](long double r) {
        const long long p = static_cast<long long>(axes.ColumnOfX(r)) - axes.ColX0;
        return static_cast<int>(p > kPixelLimit    ? kPixelLimit
                                : p < -kPixelLimit ? -kPixelLimit
                                                   : p);
    };
    for (int i = 0; i < 4; ++i) {
        const Disc& d = circles[i];
        circlePixels[i] = {axes.ColumnOfX(d.x), axes.RowOfY(d.y), radius(d.r)};
    }
    handles.col = {axes.ColX0, circlePixels[0].col, circlePixels[1].col, circlePixels[2].col,
                   circlePixels[3].col};
    handles.row = {axes.RowY0, axes.RowY0, circlePixels[1].row, circlePixels[2].row,
                   circlePixels[3].row};
}

}  // namespace vorla
