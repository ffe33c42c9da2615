// What the window tests share: a small shown main window, and answers to modal dialogs.
#pragma once

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

namespace vorla::testing {

// Shows a window at a size whose tabula keeps the pictures quick, and waits until it is
// active.
inline bool ShowSmall(QWidget& w) {
    w.resize(420, 330);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return false;
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// Answers the modal dialogs that open while it lives, and notes what they said.
class Answerer : public QObject {
  public:
    // `owner`, when given, becomes the active window again as soon as a dialog is answered,
    // as a window manager may do before the dialog's caller goes on.
    explicit Answerer(std::function<void(QWidget*)> answer = {}, QWidget* owner = nullptr)
        : answer_(std::move(answer)), owner_(owner) {
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        timer_.start(5);
    }
    int seen = 0;
    QStringList texts;
    QString lastClass;

  private:
    void Tick() {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || !m->isVisible()) return;
        ++seen;
        lastClass = m->metaObject()->className();
        // A runaway sequence of dialogs is answered by closing them all.
        if (answer_ && seen <= 10) {
            answer_(m);
            if (!m->isVisible()) return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(m)) {
            texts << box->text();
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->accept();
        } else if (auto* d = qobject_cast<QDialog*>(m)) {
            d->reject();
        }
        if (owner_) QApplication::setActiveWindow(owner_);
    }
    std::function<void(QWidget*)> answer_;
    QWidget* owner_;
    QTimer timer_;
};

// Picks a colour in the colour dialog.
inline std::function<void(QWidget*)> PickColour(QColor c, QColor* preset = nullptr) {
    return [c, preset](QWidget* m) {
        if (auto* d = qobject_cast<QColorDialog*>(m)) {
            if (preset) *preset = d->currentColor();
            d->setCurrentColor(c);
            d->accept();
        }
    };
}

}  // namespace vorla::testing
