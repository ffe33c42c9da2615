#include "ui/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextEdit>

#include "richtext/rtf_reader.h"

#ifndef VORLA_DATA_DIR
#define VORLA_DATA_DIR ""
#endif

namespace vorla {

THep1F::THep1F(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Hep1F");
    setWindowTitle("popis");
    ShapeRtf = new QFrame(this);
    ShapeRtf->setObjectName("ShapeRtf");
    ShapeRtf->setFrameStyle(QFrame::Box | QFrame::Plain);
    RichEditHelp = new QTextEdit(this);
    RichEditHelp->setObjectName("RichEditHelp");
    RichEditHelp->setReadOnly(true);
    RichEditHelp->setFrameShape(QFrame::NoFrame);
    RichEditHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEditHelp->setPlainText(kNotFoundText);
    // The window sees the keys before the viewer does.
    RichEditHelp->installEventFilter(this);
    RichEditHelp->viewport()->installEventFilter(this);
    resize(636, 401);
    FormResize();  // a hidden window gets its resize event only when shown
    FormCreate();
}

void THep1F::FormCreate() {
    LoadFlag = true;
}

void THep1F::ShowHelp(const QString& fileName) {
    HelpFileName = fileName;
    reportPending_ = true;
    show();
    raise();
    activateWindow();
    // Not every window system activates a window on request: load now as well.
    FormActivate();
}

QString THep1F::FindHelpFile(const QString& fileName) {
    if (fileName.isEmpty()) return {};
    if (QFileInfo(fileName).isAbsolute()) return QFileInfo(fileName).isFile() ? fileName : "";
    const QString here = QDir::current().filePath(fileName);
    if (QFileInfo(here).isFile()) return here;
    // Then beside the program (a build tree), its relocated data folder and the installed one,
    // so that a program started from the desktop menu finds its help too.
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString bin = QCoreApplication::applicationDirPath();
        folders << bin << QDir(bin).filePath("../share/vorla");
    }
    folders << QStringLiteral(VORLA_DATA_DIR);
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        const QString candidate = QDir(folder).filePath(fileName);
        if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
    }
    return {};
}

bool THep1F::LoadFile(QString& error) {
    const QString path = FindHelpFile(HelpFileName);
    if (path.isEmpty()) {
        error = QString("Cannot open file \"%1\". The file was not found.").arg(HelpFileName);
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QString("Cannot open file \"%1\". %2").arg(HelpFileName, f.errorString());
        return false;
    }
    if (f.size() > kMaxFileSize) {
        error = QString("Cannot read file \"%1\". The file is too large.").arg(HelpFileName);
        return false;
    }
    const QByteArray data = f.read(kMaxFileSize + 1);
    if (f.error() != QFileDevice::NoError || data.size() > kMaxFileSize) {
        error = QString("Cannot read file \"%1\". %2").arg(HelpFileName, f.errorString());
        return false;
    }
    // The text is built into a document no viewer shows, which nothing lays out meanwhile,
    // and then shown at once: the viewer lays it out once, the part in sight first.
    auto* doc = new QTextDocument(RichEditHelp);
    doc->setDefaultFont(RichEditHelp->font());
    if (!ReadRtf(data, *doc)) {
        // Not rich text: shown as plain text, UTF-8 when it is that, else Western 8-bit. No
        // more is decoded than the document can take.
        const QByteArray head = data.left(4LL * RtfLimits{}.maxChars);
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(head);
        if (utf8.hasError()) {
            text.clear();
            for (char c : head) text += CodePageChar(1252, static_cast<unsigned char>(c));
        }
        ReadPlainText(text, *doc);
    }
    // The viewer deletes a document of its own; one shown before is ours to delete.
    QTextDocument* old = RichEditHelp->document();
    const bool ours = old->parent() == RichEditHelp;
    RichEditHelp->setDocument(doc);
    if (ours) delete old;
    RichEditHelp->moveCursor(QTextCursor::Start);
    return true;
}

void THep1F::FormActivate() {
    if (!LoadFlag) return;
    QString error;
    if (!LoadFile(error)) {
        // The viewer keeps the not-found text and the flag stays set: the next activation
        // tries again, silently; the next ShowHelp reports again.
        RichEditHelp->setPlainText(kNotFoundText);
        if (reportPending_) {
            reportPending_ = false;
            emit helpLoadFailed(error);
            if (ReportByMessageBox) {
                auto* box =
                    new QMessageBox(QMessageBox::Critical, "Vorla", error, QMessageBox::Ok, this);
                box->setAttribute(Qt::WA_DeleteOnClose);
                box->open();
            }
        }
        return;
    }
    setWindowTitle(HelpFileName);
    LoadFlag = false;
}

bool THep1F::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(e);
}

void THep1F::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (placed_) return;
    placed_ = true;
    // 636 x 401 is the outer size: take the frame off the client area, then centre.
    const QSize frame = frameGeometry().size() - size();
    if (frame.width() > 0 || frame.height() > 0) resize(636 - frame.width(), 401 - frame.height());
    if (QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void THep1F::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    FormResize();
}

void THep1F::FormResize() {
    const int w = width(), h = height();
    ShapeRtf->setGeometry(8, 8, qMax(0, w - 16), qMax(0, h - 16));
    RichEditHelp->setGeometry(16, 16, qMax(0, w - 32), qMax(0, h - 32));
    RichEditHelp->viewport()->update();
}

bool THep1F::FormKeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

void THep1F::keyPressEvent(QKeyEvent* e) {
    if (FormKeyPress(e->key())) return;
    QWidget::keyPressEvent(e);
}

bool THep1F::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && FormKeyPress(static_cast<QKeyEvent*>(e)->key()))
        return true;
    return QWidget::eventFilter(watched, e);
}

}  // namespace vorla
