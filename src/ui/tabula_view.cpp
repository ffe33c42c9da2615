#include "ui/tabula_view.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>

#include "plane/tabula.h"

namespace vorla {

TabulaView::TabulaView(const Tabula& tabula, QWidget* parent) : QWidget(parent), tabula_(tabula) {
    setObjectName("Tabule");
    setMouseTracking(true);
    // A click or Tab gives it the focus, for the keys that zoom and pan.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(1, 1);
}

// cppcheck-suppress unusedFunction ; Qt calls it
void TabulaView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(offset_, frozen_.isNull() ? tabula_.Image() : frozen_);
    if (!band_.isEmpty()) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(band_.adjusted(0, 0, -1, -1));
    }
}

void TabulaView::SetOffset(QPoint offset) {
    offset_ = offset;
    update();
}

void TabulaView::SetBand(QRect band) {
    band_ = band;
    update();
}

void TabulaView::Freeze(QImage image) {
    frozen_ = std::move(image);
    update();
}

void TabulaView::UpdateRows(const QImage& image, int first, int last) {
    if (image.size() != frozen_.size() || image.format() != frozen_.format())
        return Freeze(image.copy());
    first = std::max(first, 0);
    last = std::min(last, frozen_.height());
    for (int r = first; r < last; ++r)
        std::memcpy(frozen_.scanLine(r), image.constScanLine(r),
                    static_cast<std::size_t>(image.bytesPerLine()));
    if (first < last) update(0, first, width(), last - first);
}

void TabulaView::Thaw() {
    frozen_ = QImage();
    update();
}

void TabulaView::resizeEvent(QResizeEvent* e) {
    emit resized(e->size().width(), e->size().height());
}

}  // namespace vorla
