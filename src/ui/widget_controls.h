// Small widgets of the main window: colour labels, a clickable image, the two-row page tabs
// and the two pictures drawn in code.
#pragma once

#include <QButtonGroup>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QWidget>

#include "colour/palette.h"

class QTabWidget;

namespace vorla {

QColor ToQColor(Colour c);
Colour FromQColor(const QColor& c);

// A label showing a colour as its background; a click asks for a new colour, unless the
// label is only a display.
class ColourLabel : public QLabel {
    Q_OBJECT
  public:
    ColourLabel(const QString& name, const QString& caption, Colour colour, bool clickable,
                QWidget* parent = nullptr);

    Colour colour() const { return colour_; }
    void setColour(Colour c);
    bool clickable() const { return clickable_; }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* e) override;

  private:
    Colour colour_ = 0;
    bool clickable_ = true;
};

// The page captions of a page control as rows of buttons, the page shown clearly marked;
// the page control's own tab bar is hidden.
class PageTabs : public QWidget {
    Q_OBJECT
  public:
    PageTabs(QTabWidget* pages, int perRow, QWidget* parent = nullptr);

  private:
    void Follow(int index);
    QTabWidget* pages_;
    QButtonGroup group_;
};

// The word STOP in red on yellow, 40 x 20.
QImage StopImage();
// The eight classes of the convergence picture as arrows, 160 x 64.
QImage ClassArrowsImage();

}  // namespace vorla
