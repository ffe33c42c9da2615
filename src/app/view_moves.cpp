#include "app/view_moves.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "plane/number_text.h"

namespace vorla {

const char* RangeFaultMessage(RangeFault fault) {
    return fault == RangeFault::EqualEnds ? kEqualEndsMessage
           : fault == RangeFault::YRange  ? kYRangeMessage
                                          : kXScaleMessage;
}

namespace {

// The range whose X step is `step`, whose column 0 is `xFrom` and whose row 0 is `yTop`.
AxesRange RangeOf(long double xFrom, long double yTop, long double step, int W, int H) {
    const long double width = step * W;
    const long double h = H * width / W;  // as the viewport derives it
    return {xFrom, xFrom + width, 1 - yTop / h};
}

// A number written by printf's `format` with `precision`, in the window's separator.
std::string Printed(const char* format, int precision, long double v) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, precision, v);
    std::string text(buf);
    if (text == "-0") text = "0";
    std::replace(text.begin(), text.end(), '.', DecimalChar());
    return text;
}

// The shortest text, in fixed or in general notation, that reads back within `tolerance` of
// v; empty when none of up to 21 digits does.
std::string TextWithin(long double v, long double tolerance) {
    auto within = [&](const std::string& text) {
        const Result<long double> back = ConvertNumberText(text);
        return back && std::fabs(back.Value() - v) <= tolerance;
    };
    std::string best;
    for (int decimals = 0; decimals <= 21 && best.empty(); ++decimals)
        if (const std::string t = Printed("%.*Lf", decimals, v); t.size() <= 40 && within(t))
            best = t;
    for (int digits = 1; digits <= 21; ++digits)
        if (const std::string t = Printed("%.*Lg", digits, v); within(t)) {
            if (best.empty() || t.size() < best.size()) best = t;
            break;
        }
    return best;
}

// How far the view of `b` lies from that of `a` on a W x H tabula, in pixels of `a`: the
// largest shift of the tabula's edges.
long double PixelDistance(const AxesRange& a, const AxesRange& b, int W, int H) {
    const TAxisB ta = AxesOf(a, W, H), tb = AxesOf(b, W, H);
    long double d = 0;
    for (int c : {0, W}) d = std::max(d, std::fabs(ta.XOfColumn(c) - tb.XOfColumn(c)) / ta.XStep);
    for (int r : {0, H}) d = std::max(d, std::fabs(ta.YOfRow(r) - tb.YOfRow(r)) / ta.YStep);
    return d;
}

std::string ShortestText(long double v) {
    char buf[64];
    for (int digits = 15; digits <= 21; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*Lg", digits, v);
        std::string text(buf);
        std::replace(text.begin(), text.end(), '.', DecimalChar());
        const Result<long double> back = ConvertNumberText(text);
        if (back && back.Value() == v) return text;
    }
    return buf;
}

}  // namespace

TAxisB AxesOf(const AxesRange& range, int W, int H) {
    Viewport v;
    v.range = range;
    v.W = W;
    v.H = H;
    v.PrepocetPodleSouradnic({});
    return v.axes;
}

Result<AxesRange> FieldRange(const Controls& controls, int W, int H) {
    const AxesRange r{controls.Number(Ctl::edtXod), controls.Number(Ctl::edtXdo),
                      controls.Number(Ctl::edtYzero)};
    if (const RangeFault fault = CheckRange(r, W, H); fault != RangeFault::None)
        return Failure{RangeFaultMessage(fault)};
    return r;
}

AxesRange ZoomAbout(const AxesRange& range, int W, int H, int X, int Y, long double factor) {
    const TAxisB a = AxesOf(range, W, H);
    const long double x = a.XOfColumn(X), y = a.YOfRow(Y);
    const long double step = a.XStep * factor;
    return RangeOf(x - X * step, y + Y * step, step, W, H);
}

AxesRange ZoomAboutPoint(const AxesRange& range, int W, int H, long double x, long double y,
                         long double factor) {
    // Each edge's distance from the point scales by the factor: a point on a round number
    // keeps the ends on round numbers.
    const long double h = H * (range.XTo - range.XFrom) / W;  // as the viewport derives it
    const long double yMin = -range.YRelative * h;
    const AxesRange zoomed{x - (x - range.XFrom) * factor, x + (range.XTo - x) * factor, 0};
    const long double zoomedH = H * (zoomed.XTo - zoomed.XFrom) / W;
    return {zoomed.XFrom, zoomed.XTo, -(y - (y - yMin) * factor) / zoomedH};
}

AxesRange ZoomToRectangle(const AxesRange& range, int W, int H, int x0, int y0, int x1, int y1) {
    const TAxisB a = AxesOf(range, W, H);
    const int left = std::min(x0, x1), top = std::min(y0, y1);
    const int cols = std::max(std::abs(x1 - x0), 1), rows = std::max(std::abs(y1 - y0), 1);
    // The larger of the two scales keeps the whole rectangle in view.
    const long double factor =
        std::max(static_cast<long double>(cols) / W, static_cast<long double>(rows) / H);
    const long double step = a.XStep * factor;
    const long double cx = a.XOfColumn(left) + cols * a.XStep / 2;
    const long double cy = a.YOfRow(top) - rows * a.YStep / 2;
    return RangeOf(cx - W * step / 2, cy + H * step / 2, step, W, H);
}

AxesRange Pan(const AxesRange& range, int W, int H, int dx, int dy) {
    const TAxisB a = AxesOf(range, W, H);
    return RangeOf(a.XOfColumn(-dx), a.YOfRow(-dy), a.XStep, W, H);
}

AxesTexts ReadAxesTexts(const Controls& controls) {
    return {controls.Text(Ctl::edtXod), controls.Text(Ctl::edtXdo), controls.Text(Ctl::edtYzero)};
}

void WriteAxesTexts(Controls& controls, const AxesTexts& texts) {
    controls.SetText(Ctl::edtXod, texts.xFrom);
    controls.SetText(Ctl::edtXdo, texts.xTo);
    controls.SetText(Ctl::edtYzero, texts.yRel);
}

std::string ExactNumberText(long double v) {
    return ShortestText(v);
}

AxesTexts TextsOf(const AxesRange& range) {
    return {ShortestText(range.XFrom), ShortestText(range.XTo), ShortestText(range.YRelative)};
}

AxesTexts ReadableTextsOf(const AxesRange& exact, int W, int H) {
    const TAxisB a = AxesOf(exact, W, H);
    // Each text may move the view by a share of the tenth of a pixel; a tighter share when
    // the three together still move it further.
    for (long double share = 0.03L; share > 1e-12L; share /= 10) {
        const AxesTexts t{TextWithin(exact.XFrom, share * a.XStep),
                          TextWithin(exact.XTo, share * a.XStep),
                          TextWithin(exact.YRelative, share / H)};
        if (t.xFrom.empty() || t.xTo.empty() || t.yRel.empty()) break;
        const AxesRange back{ConvertNumberText(t.xFrom).Value(), ConvertNumberText(t.xTo).Value(),
                             ConvertNumberText(t.yRel).Value()};
        if (CheckRange(back, W, H) == RangeFault::None && PixelDistance(exact, back, W, H) <= 0.1L)
            return t;
    }
    return TextsOf(exact);
}

void ViewHistory::Record(const AxesTexts& view) {
    if (!views_.empty() && views_[current_] == view) return;
    if (!views_.empty()) views_.resize(current_ + 1);
    views_.push_back(view);
    if (views_.size() > kLimit) views_.erase(views_.begin());
    current_ = views_.size() - 1;
}

std::optional<AxesTexts> ViewHistory::Back() {
    if (!CanGoBack()) return std::nullopt;
    return views_[--current_];
}

std::optional<AxesTexts> ViewHistory::Previous() const {
    if (!CanGoBack()) return std::nullopt;
    return views_[current_ - 1];
}

std::optional<AxesTexts> ViewHistory::Forward() {
    if (!CanGoForward()) return std::nullopt;
    return views_[++current_];
}

}  // namespace vorla
