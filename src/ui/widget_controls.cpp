#include "ui/widget_controls.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>

namespace vorla {

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

Colour FromQColor(const QColor& c) {
    return Rgb(c.red(), c.green(), c.blue());
}

ColourLabel::ColourLabel(const QString& name, const QString& caption, Colour colour, bool clickable,
                         QWidget* parent)
    : QLabel(caption, parent), clickable_(clickable) {
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMinimumSize(22, 18);  // a swatch to see and click, also with a one-letter caption
    // Its own buddy, so that an "&" in the caption shows as an underlined letter.
    if (caption.contains('&')) setBuddy(this);
    if (clickable) setCursor(Qt::PointingHandCursor);
    setColour(colour);
}

void ColourLabel::setColour(Colour c) {
    colour_ = c;
    QPalette p = palette();
    const QColor back = ToQColor(c);
    p.setColor(QPalette::Window, back);
    // The caption stays readable on any colour.
    const int lightness = (RedOf(c) * 299 + GreenOf(c) * 587 + BlueOf(c) * 114) / 1000;
    p.setColor(QPalette::WindowText, lightness < 128 ? Qt::white : Qt::black);
    setPalette(p);
}

void ColourLabel::mousePressEvent(QMouseEvent* e) {
    if (clickable_ && e->button() == Qt::LeftButton) {
        e->accept();
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(e);
}

PageTabs::PageTabs(QTabWidget* pages, int perRow, QWidget* parent)
    : QWidget(parent), pages_(pages) {
    setObjectName(pages->objectName() + "Tabs");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    for (int i = 0; i < pages->count(); ++i) {
        auto* b = new QToolButton(this);
        b->setText(pages->tabText(i));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        group_.addButton(b, i);
        grid->addWidget(b, i / perRow, i % perRow);
    }
    group_.setExclusive(true);
    // The page shown stands out clearly from the others.
    setStyleSheet(
        "QToolButton:checked { background: navy; color: white; font-weight: bold;"
        " border: 1px solid navy; }");
    connect(&group_, &QButtonGroup::idClicked, pages_, &QTabWidget::setCurrentIndex);
    connect(pages_, &QTabWidget::currentChanged, this, &PageTabs::Follow);
    Follow(pages_->currentIndex());
}

void PageTabs::Follow(int index) {
    if (QAbstractButton* b = group_.button(index)) b->setChecked(true);
}

QImage StopImage() {
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(QColor(255, 255, 0));
    QPainter p(&img);
    p.setPen(QColor(255, 0, 0));
    p.drawRect(0, 0, 39, 19);
    QFont f("Sans");
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.drawText(QRect(0, 0, 40, 20), Qt::AlignCenter, "STOP");
    return img;
}

namespace {
void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - 6 * u + 3.5 * n);
    head.lineTo(to - 6 * u - 3.5 * n);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}
}  // namespace

QImage ClassArrowsImage() {
    QImage img(160, 64, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f("Sans");
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    // Directions as (dx, dy) with y growing downwards.
    struct Item {
        const char* letter;
        int dx, dy;
    };
    // A to D leave the centre: up-right, down-left, up-left, down-right.
    const Item away[4] = {{"A", 1, -1}, {"B", -1, 1}, {"C", -1, -1}, {"D", 1, 1}};
    // E to H come into a point: from up-right, down-right, up-left, down-left.
    const Item into[4] = {{"E", 1, -1}, {"F", 1, 1}, {"G", -1, -1}, {"H", -1, 1}};
    const QPointF c1(40, 32), c2(120, 32);
    p.setPen(QPen(QColor(0, 0, 255), 2));
    for (const Item& it : away) {
        Arrow(p, c1 + QPointF(3 * it.dx, 3 * it.dy), c1 + QPointF(19 * it.dx, 19 * it.dy));
        p.drawText(QRectF(c1.x() + 28 * it.dx - 6, c1.y() + 24 * it.dy - 7, 12, 14),
                   Qt::AlignCenter, it.letter);
    }
    const QColor darkRed(160, 0, 0);
    p.setPen(QPen(darkRed, 2));
    for (const Item& it : into) {
        Arrow(p, c2 + QPointF(21 * it.dx, 21 * it.dy), c2 + QPointF(6 * it.dx, 6 * it.dy));
        p.drawText(QRectF(c2.x() + 29 * it.dx - 6, c2.y() + 25 * it.dy - 7, 12, 14),
                   Qt::AlignCenter, it.letter);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(darkRed);
    p.drawEllipse(c2, 3, 3);
    return img;
}

}  // namespace vorla
