// Exploring by mouse: zooming and panning the view, and the history of the views shown. The
// axes fields stay the one store of the view: a move gives a new range, which is written into
// the fields as text and then put in place as a typed range would be.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "model/controls.h"
#include "plane/viewport.h"

namespace vorla {

// Why the axes fields cannot set the viewport up.
inline constexpr const char* kEqualEndsMessage =
    "The axes range cannot be used: \"X from\" and \"X to\" are equal.";
inline constexpr const char* kXScaleMessage =
    "The axes range cannot be used: \"X from\" and \"X to\" are too far apart or too close "
    "together for the tabula.";
inline constexpr const char* kYRangeMessage =
    "The axes range cannot be used: \"Axis Y relatively\" puts the Y axis beyond the numbers "
    "the program can hold.";
// The message of a range fault: one of the three above.
const char* RangeFaultMessage(RangeFault fault);

// The range that the axes fields give on a W x H tabula; fails when it has no scale.
Result<AxesRange> FieldRange(const Controls& controls, int W, int H);
// The axes a W x H view sets up for `range`, as the session's view does.
TAxisB AxesOf(const AxesRange& range, int W, int H);

// The range `factor` times as wide (below 1 zooms in), about the top left corner of pixel
// (X, Y), which stays where it is.
AxesRange ZoomAbout(const AxesRange& range, int W, int H, int X, int Y, long double factor);
// The range `factor` times as wide about the point (x, y) of the plane, which stays where it
// is in the picture: the zoom of a caller that works in the plane's coordinates.
AxesRange ZoomAboutPoint(const AxesRange& range, int W, int H, long double x, long double y,
                         long double factor);
// The range that shows the pixel rectangle with corners (x0, y0) and (x1, y1) as large as the
// tabula allows, centred; the tabula's shape is kept, so one side may show more.
AxesRange ZoomToRectangle(const AxesRange& range, int W, int H, int x0, int y0, int x1, int y1);
// The range moved by (dx, dy) pixels as the picture is dragged: right and down are positive.
AxesRange Pan(const AxesRange& range, int W, int H, int dx, int dy);

// The texts of the three axes fields.
struct AxesTexts {
    std::string xFrom, xTo, yRel;
    bool operator==(const AxesTexts&) const = default;
};
// Reads and writes the axes fields.
AxesTexts ReadAxesTexts(const Controls& controls);
void WriteAxesTexts(Controls& controls, const AxesTexts& texts);
// The shortest text, in the window's decimal separator, that reads back as exactly `v`.
std::string ExactNumberText(long double v);
// The texts of a range, each the shortest that reads back as the same number.
AxesTexts TextsOf(const AxesRange& range);
// The shortest texts whose range shows the view of `exact` on a W x H tabula within a tenth
// of a pixel (TextsOf when no shorter ones do): what a gesture writes into the axes fields.
AxesTexts ReadableTextsOf(const AxesRange& exact, int W, int H);

// The views put in place, oldest first, with the one shown; Back and Forward walk them.
class ViewHistory {
  public:
    // A view put in place: it becomes the current one and the views after the current one are
    // dropped, unless it is the current one already.
    void Record(const AxesTexts& view);
    // The view before (after) the current one, which becomes current; none at the end.
    std::optional<AxesTexts> Back();
    std::optional<AxesTexts> Forward();
    // The view before the current one, which stays current; none at the start.
    std::optional<AxesTexts> Previous() const;
    bool CanGoBack() const { return current_ > 0; }
    bool CanGoForward() const { return current_ + 1 < views_.size(); }

  private:
    static constexpr std::size_t kLimit = 1000;  // the oldest views go beyond it
    std::vector<AxesTexts> views_;
    std::size_t current_ = 0;
};

}  // namespace vorla
