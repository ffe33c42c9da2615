// The widget that shows the tabula's image and passes its size and mouse on.
#pragma once

#include <QImage>
#include <QWidget>

#include "plane/tabula.h"

namespace vorla {

class TabulaView : public QWidget {
    Q_OBJECT
  public:
    explicit TabulaView(const Tabula& tabula, QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(kDefaultTabulaWidth, kDefaultTabulaHeight); }

    // Shows `image` instead of the tabula until Thaw: the picture thread writes the tabula.
    void Freeze(QImage image);
    // Takes rows [first, last) of `image`, which has the frozen image's size, into it.
    void UpdateRows(const QImage& image, int first, int last);
    // Shows the tabula itself again.
    void Thaw();
    // The image shown while frozen.
    const QImage& Shown() const { return frozen_; }
    // Shows the picture moved by `offset` while it is dragged (a null point: in place).
    void SetOffset(QPoint offset);
    // Outlines the rectangle a zoom will show (an empty one: none).
    void SetBand(QRect band);

  signals:
    void resized(int width, int height);
    void mousePressed(QMouseEvent* e);
    void mouseMoved(QMouseEvent* e);
    void mouseReleased(QMouseEvent* e);
    void wheeled(QWheelEvent* e);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override { emit mousePressed(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { emit mousePressed(e); }
    void mouseMoveEvent(QMouseEvent* e) override { emit mouseMoved(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { emit mouseReleased(e); }
    void wheelEvent(QWheelEvent* e) override { emit wheeled(e); }

  private:
    const Tabula& tabula_;
    QImage frozen_;  // shown instead of the tabula while not null
    QPoint offset_;
    QRect band_;
};

}  // namespace vorla
