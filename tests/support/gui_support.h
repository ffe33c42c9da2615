// What the window tests share: a small shown main window, and answers to modal dialogs.
#pragma once

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/vorla_form.h"

namespace vorla::testing {

// Lets every queued event run, so that nothing more is pending.
inline void Settle() {
    for (int i = 0; i < 10; ++i) QTest::qWait(5);
}

inline QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline int Render(QStringList args) {
    return QProcess::execute(VORLA_RENDER, args << "--quiet");
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

  private:
    void Tick() {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || !m->isVisible()) return;
        ++seen;
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

// Answers the size dialog with `size` and a file dialog with `filter` (unless empty) and
// `path`.
inline std::function<void(QWidget*)> AnswerFile(QString path, QString filter = {},
                                                QString size = {}) {
    return [=](QWidget* m) {
        if (auto* in = qobject_cast<QInputDialog*>(m)) {
            in->setTextValue(size);
            in->accept();
        } else if (auto* d = qobject_cast<QFileDialog*>(m)) {
            if (!filter.isEmpty()) d->selectNameFilter(filter);
            d->selectFile(path);
            QMetaObject::invokeMethod(d, "accept");
        }
    };
}

// Picks a colour in the colour dialog; `preset` receives the colour it opened with.
inline std::function<void(QWidget*)> PickColour(QColor c, QColor* preset = nullptr) {
    return [c, preset](QWidget* m) {
        if (auto* d = qobject_cast<QColorDialog*>(m)) {
            if (preset) *preset = d->currentColor();
            d->setCurrentColor(c);
            d->accept();
        }
    };
}

// A main window, shown at a size whose tabula keeps the pictures quick, and active; and a
// folder for the test's files.
class WindowTest : public QObject {
  protected:
    std::unique_ptr<TVorlaForm> form;
    QTemporaryDir folder;
    QString F(const QString& name) { return folder.filePath(name); }
    bool Open() {
        form = std::make_unique<TVorlaForm>();
        form->resize(420, 330);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) return false;
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }
    QAction* Action(const char* name) { return form->findChild<QAction*>(name); }
    bool Finished() {
        return QTest::qWaitFor([this] { return !form->pictureRunning(); }, 120000);
    }
    // Waits for a render beside the window (a picture at a size, a movie, an export) to end.
    bool RenderEnded() {
        return QTest::qWaitFor([this] { return !form->renderRunning(); }, 300000);
    }
    bool Run(const char* action) {
        Action(action)->trigger();
        return Finished();
    }
    // Runs `action` with its dialogs answered as AnswerFile does, and waits for the picture or
    // the render it may start; what its messages said.
    QStringList Through(const char* action, QString path, QString filter = {}, QString size = {}) {
        Answerer answers(AnswerFile(path, filter, size));
        Action(action)->trigger();
        if (!Finished() || !RenderEnded()) answers.texts << "it did not end";
        return answers.texts;
    }
    template <class T = QWidget>
    T* W(const char* name) {
        return form->findChild<T*>(name);
    }
    Session& S() { return form->session(); }
    // The text of status panel `panel` (0..7, captions included).
    QString Status(int panel) {
        return W<QLabel>(qPrintable(QString("StatusPanel%1").arg(panel)))->text();
    }
};

}  // namespace vorla::testing
