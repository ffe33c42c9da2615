// The widget that shows the tabula's image and passes its size and mouse on.
#pragma once

#include <QWidget>

namespace vorla {

class Tabula;

class TabulaView : public QWidget {
    Q_OBJECT
  public:
    explicit TabulaView(const Tabula& tabula, QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(542, 450); }

  signals:
    void resized(int width, int height);
    void mousePressed(QMouseEvent* e);
    void mouseMoved(QMouseEvent* e);
    void mouseReleased(QMouseEvent* e);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override { emit mousePressed(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { emit mousePressed(e); }
    void mouseMoveEvent(QMouseEvent* e) override { emit mouseMoved(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { emit mouseReleased(e); }

  private:
    const Tabula& tabula_;
};

}  // namespace vorla
