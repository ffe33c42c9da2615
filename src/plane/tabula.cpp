#include "plane/tabula.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vorla {
namespace {
// Shapes reaching farther than this from the bitmap are beyond what the rasteriser
// handles well; lines are clipped to it, larger ellipses are not drawn.
constexpr double kReach = 1 << 22;

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Clips the segment to the square |x|,|y| <= kReach (Liang-Barsky); false if outside.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + kReach, kReach - x1, y1 + kReach, kReach - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}
}  // namespace

Tabula::Tabula(int width, int height) {
    if (!Resize(width, height)) (void)Resize(1, 1);
}

Tabula::~Tabula() = default;

Status Tabula::Resize(int width, int height) {
    return ResizeBand(width, height, 0, height);
}

Status Tabula::ResizeBand(int width, int height, int first, int rows) {
    ClosePainter();
    QImage image(std::max(1, width), std::max(1, rows), QImage::Format_RGB32);
    if (image.isNull()) return Failure{kOutOfMemory};
    width_ = image.width();
    rows_ = image.height();
    height_ = std::max(height, first + rows_);
    origin_ = first;
    image_ = std::move(image);
    image_.fill(Qt::white);
    Detach();
    return {};
}

void Tabula::Detach() {
    painter_.reset();       // direct writes come after the shapes of a batch
    bits_ = image_.bits();  // the non-const access detaches a shared image
    stride_ = image_.bytesPerLine();
}

void Tabula::SetImage(const QImage& image) {
    ClosePainter();
    if (image.size() != image_.size()) return;
    image_ = image.convertToFormat(QImage::Format_RGB32);
    Detach();
}

template <class Fn>
void Tabula::Paint(Fn&& fn, bool usePen, bool useBrush) {
    QPainter* p = painter_.get();
    std::unique_ptr<QPainter> single;
    if (!p) {
        single = std::make_unique<QPainter>(&image_);
        p = single.get();
        p->setRenderHint(QPainter::Antialiasing, false);
        if (batchDepth_ > 0) painter_ = std::move(single);
        painted_ = {};
    }
    // The painter's state is set only where it differs from the last shape's: along an
    // orbit the colour changes only every few thousand points.
    const PaintState want{true,
                          // The pen mode governs outlines and brush fills of shapes, not FillRect.
                          penMode_ == PenMode::NotXor && (usePen || useBrush), usePen,
                          usePen ? penColour_ : 0, usePen ? penWidth_ : 0,
                          useBrush && brushStyle_ == BrushStyle::Solid,
                          useBrush && brushStyle_ == BrushStyle::Solid ? brushColour_ : 0};
    if (!(want == painted_)) {
        p->setCompositionMode(want.notXor ? QPainter::RasterOp_NotSourceXorDestination
                                          : QPainter::CompositionMode_SourceOver);
        if (want.pen) {
            QPen pen(ToQColor(penColour_));
            pen.setWidth(penWidth_);
            pen.setJoinStyle(Qt::MiterJoin);
            pen.setCapStyle(Qt::SquareCap);
            p->setPen(pen);
        } else {
            p->setPen(Qt::NoPen);
        }
        if (want.brush)
            p->setBrush(ToQColor(brushColour_));
        else
            p->setBrush(Qt::NoBrush);
        painted_ = want;
    }
    fn(*p);
    if (single) {
        single.reset();
        Detach();
    }
}

void Tabula::ClosePainter() {
    if (painter_) Detach();
}

void Tabula::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void Tabula::LineTo(int x, int y) {
    double x1 = penX_, y1 = penY_, x2 = x, y2 = y;
    penX_ = x;
    penY_ = y;
    if (!ClipSegment(x1, y1, x2, y2)) return;
    Paint([&](QPainter& p) { p.drawLine(QLineF(x1, y1 - origin_, x2, y2 - origin_)); }, true,
          false);
}

void Tabula::Ellipse(int x1, int y1, int x2, int y2) {
    const long long l = std::min(x1, x2), r = std::max(x1, x2);
    const long long t = std::min(y1, y2), b = std::max(y1, y2);
    const long long m = penWidth_ + 1;
    // Entirely outside the bitmap: nothing to draw.
    if (r + m < 0 || b + m < origin_ || l - m > width_ || t - m > origin_ + rows_) return;
    if (l < -kReach || t < -kReach || r > kReach || b > kReach) return;
    Paint(
        [&](QPainter& p) {
            p.drawEllipse(QRect(int(l), int(t - origin_), int(r - l), int(b - t)));
        },
        true, true);
}

void Tabula::Rectangle(int x1, int y1, int x2, int y2) {
    const long long l = std::clamp<long long>(std::min(x1, x2), -kReach, kReach);
    const long long r = std::clamp<long long>(std::max(x1, x2), -kReach, kReach);
    const long long t = std::clamp<long long>(std::min(y1, y2), -kReach, kReach);
    const long long b = std::clamp<long long>(std::max(y1, y2), -kReach, kReach);
    Paint([&](QPainter& p) { p.drawRect(QRect(int(l), int(t - origin_), int(r - l), int(b - t))); },
          true, true);
}

void Tabula::FillRect(int x1, int y1, int x2, int y2) {
    const int l = std::clamp(std::min(x1, x2), 0, width_);
    const int r = std::clamp(std::max(x1, x2), 0, width_);
    const int t = std::clamp(std::min(y1, y2), 0, height_);
    const int b = std::clamp(std::max(y1, y2), 0, height_);
    if (r <= l || b <= t) return;
    Paint(
        [&](QPainter& p) {
            p.fillRect(QRect(l, t - origin_, r - l, b - t), ToQColor(brushColour_));
        },
        false, false);
}

void Tabula::Fill(Colour c) {
    ClosePainter();
    image_.fill(ToQColor(c));
    Detach();
}

Colour Tabula::Pixel(int x, int y) const {
    y -= origin_;
    if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_) ||
        static_cast<unsigned>(y) >= static_cast<unsigned>(rows_))
        return kWhite;
    return FromQt(reinterpret_cast<const std::uint32_t*>(image_.constScanLine(y))[x]);
}

}  // namespace vorla
