// The main window: its construction, the controls over its widgets, the host services and
// the window events.
#include "ui/vorla_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "plane/number_text.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/tabula_view.h"
#include "ui/widget_controls.h"

namespace vorla {
namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

TVorlaForm::TVorlaForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("VorlaForm");
    setWindowTitle(QString::fromUtf8(kCaption));
    session_ = std::make_unique<Session>(*this, *this, kDefaultTabulaWidth, kDefaultTabulaHeight);
    // Workers the system refuses: the pictures run on those it gave, after a word once shown.
    if (const Status started = session_->pool().Started(); !started)
        QTimer::singleShot(0, this, [this, started] {
            ReportError(
                QString::fromLocal8Bit("Cannot start the picture threads. " + started.Message()));
        });
    tools_ = std::make_unique<MouseTools>(*session_);
    tools_->sliced = true;  // a long orbit must not hold the window

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    QWidget* left = BuildColumn();
    tabule_ = new TabulaView(session_->tabula());
    connect(tabule_, &TabulaView::resized, this, &TVorlaForm::FormResize);
    connect(tabule_, &TabulaView::mousePressed, this, &TVorlaForm::TabuleMouseDown);
    connect(tabule_, &TabulaView::mouseMoved, this, &TVorlaForm::TabuleMouseMove);
    connect(tabule_, &TabulaView::mouseReleased, this, &TVorlaForm::TabuleMouseUp);
    connect(tabule_, &TabulaView::wheeled, this, &TVorlaForm::TabuleWheel);
    row->addWidget(left);
    row->addWidget(tabule_, 1);
    setCentralWidget(central);

    BuildMenus();
    BuildStatusBar();

    // One filter for the whole program sees every key first and the fields' leave events;
    // a second filter on a field would see its leave event twice.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
        if (!w) return;
        if (w != windowHandle()) {
            // Only a return from the help or About window counts: a menu, a drop-down list
            // or a dialog closing must not read half-typed circle fields.
            const auto handleOf = [](QWidget* window) {
                return window ? window->windowHandle() : nullptr;
            };
            if (w == handleOf(help_) || w == handleOf(about_)) returnPending_ = true;
            return;
        }
        if (!activatedOnce_ || returnPending_) FormActivate();
        activatedOnce_ = true;  // also when the first show ran it
        returnPending_ = false;
    });

    timer1_.setParent(this);
    timer1_.setObjectName("Timer1");
    timer1_.setInterval(3000);
    connect(&timer1_, &QTimer::timeout, this, &TVorlaForm::Timer1Timer);
    timer1_.start();

    // FormCreate: no task type, the "Circles" page, the viewport and the colour tables.
    session_->FormCreate();
    pages_->setCurrentIndex(0);
    setMinimumSize(550, 450);
    // The tabula grows no larger than all the screens together can show: a larger one would
    // hold memory (the picture and its grid, 8 bytes a pixel) for pixels nobody can see.
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        tabule_->setMaximumSize(s->virtualSize().expandedTo(tabule_->sizeHint()));
        setMaximumSize(left->width() + tabule_->maximumWidth(),
                       tabule_->maximumHeight() + menuBar()->sizeHint().height() +
                           statusBar()->sizeHint().height());
    }
    // A tabula of the default size beside a column that shows every page whole.
    const int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    resize(left->width() + kDefaultTabulaWidth,
           std::max(kDefaultTabulaHeight, left->sizeHint().height()) + bars);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

TVorlaForm::~TVorlaForm() {
    // The runners end their jobs and wait for them as they go, before the session does.
    qApp->removeEventFilter(this);
}

void TVorlaForm::CreateSmallWindows() {
    if (!about_) about_ = new TAbo1F(this);
    if (!help_) help_ = new THep1F(this);
}

// --- controls ------------------------------------------------------------------------------

std::optional<Ctl> TVorlaForm::ControlOf(const QObject* widget) const {
    for (int i = 0; i < kControlCount; ++i)
        if (widget && widgets_[i] == widget) return static_cast<Ctl>(i);
    return std::nullopt;
}

std::string TVorlaForm::Text(Ctl c) const {
    QWidget* w = widgets_[static_cast<int>(c)];
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* s = qobject_cast<QSpinBox*>(w)) return s->text().toStdString();
    if (auto* b = qobject_cast<QCheckBox*>(w)) return b->isChecked() ? "1" : "0";
    return {};
}

void TVorlaForm::SetText(Ctl c, const std::string& text) {
    QWidget* w = widgets_[static_cast<int>(c)];
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(Q(text));
    if (auto* s = qobject_cast<QSpinBox*>(w)) s->setValue(Q(text).toInt());
    if (auto* b = qobject_cast<QCheckBox*>(w)) b->setChecked(text == "1");
}

bool TVorlaForm::Checked(Ctl c) const {
    auto* b = qobject_cast<QCheckBox*>(widgets_[static_cast<int>(c)]);
    return b && b->isChecked();
}

Colour TVorlaForm::LabelColour(Ctl c) const {
    auto* l = qobject_cast<ColourLabel*>(widgets_[static_cast<int>(c)]);
    return l ? l->colour() : kBlack;
}

void TVorlaForm::SetLabelColour(Ctl c, Colour colour) {
    if (auto* l = qobject_cast<ColourLabel*>(widgets_[static_cast<int>(c)])) l->setColour(colour);
}

void TVorlaForm::Focus(Ctl c) {
    FocusWidget(widgets_[static_cast<int>(c)]);
}

void TVorlaForm::FocusRecalc() {
    FocusWidget(recalc_);
}

void TVorlaForm::FocusWidget(QWidget* w) {
    if (!w) return;
    // A field on another page is shown first, so the focus can land on it.
    for (int i = 0; i < pages_->count(); ++i)
        if (pages_->widget(i)->isAncestorOf(w)) pages_->setCurrentIndex(i);
    // The program takes the focus back to a field: the control it leaves is not checked,
    // so two bad fields cannot hand the message to each other for ever.
    suppressExit_ = true;
    w->setFocus(Qt::OtherFocusReason);
    suppressExit_ = false;
}

void TVorlaForm::ShowBadNumber(Ctl field) {
    QMessageBox box(QMessageBox::Warning, "Vorla", QString::fromUtf8(kBadNumberMessage),
                    QMessageBox::Ok, this);
    box.setObjectName("BadNumberMessage");
    box.exec();
    Focus(field);
}

// --- host ----------------------------------------------------------------------------------

void TVorlaForm::ShowRunning(bool running) {
    stopImage_->setVisible(running);
    progress_->setVisible(running);
    pixelPanel_->setVisible(!running);
}

void TVorlaForm::SetStatus(StatusPanel panel, const std::string& text) {
    Panel(panel)->setText(Q(text));
}

QLabel* TVorlaForm::Panel(StatusPanel panel) const {
    return panels_[static_cast<int>(panel)];
}

void TVorlaForm::PublishScene(const std::string& text) {
    publishedScene = Q(text);
    emit sceneTextChanged(publishedScene);
}

void TVorlaForm::ShowTaskType(TaskType task) {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(ItemOfTask(task));
}

void TVorlaForm::TabulaChanged() {
    if (pictureRunning())
        tabule_->Freeze(session_->tabula().Copy());  // only in a hand-over: the tabula is still
    else
        tabule_->update();
}

void TVorlaForm::ViewChanged() {
    if (viewBack_) viewBack_->setEnabled(session_->history().CanGoBack());
    if (viewForward_) viewForward_->setEnabled(session_->history().CanGoForward());
    if (zoomLabel_)
        zoomLabel_->setText("Zoom \u00d7" +
                            QString::fromStdString(FormatDigits(4, session_->ZoomFactor())));
}

void TVorlaForm::ScaleChanged() {
    if (scaleImage_) scaleImage_->setPixmap(QPixmap::fromImage(session_->scaleImage().Copy()));
}

// --- window events -------------------------------------------------------------------------

void TVorlaForm::FormResize(int width, int height) {
    RunCommand(
        [this, width, height] {
            const Status resized = session_->FormResize(width, height);
            if (!resized) return ReportError(Q(resized.Message()));
            storedPicture_ = QImage();  // it no longer fits
            tabule_->update();
        },
        true);
}

void TVorlaForm::FormActivate() {
    RunCommand([this] {
        session_->FormActivate();
        ScaleChanged();
    });
}

void TVorlaForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The first show counts as an activation even where the window does not get the focus.
    if (!activatedOnce_) {
        activatedOnce_ = true;
        FormActivate();
    }
}

void TVorlaForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // A window manager may not honour the minimum and maximum sizes (nor may a window
    // without one): the window then keeps to them itself.
    // At once, not later: Qt paints the window at the size it was given as soon as this
    // returns, and a window of 20000 x 15000 takes seconds to paint.
    const QSize least = minimumSize().expandedTo(minimumSizeHint()), most = maximumSize();
    const QSize allowed = event->size().expandedTo(least).boundedTo(most);
    if (event->size() != allowed) resize(allowed);
}

// cppcheck-suppress unusedFunction ; Qt calls it
void TVorlaForm::closeEvent(QCloseEvent* event) {
    if (pictureRunning() || renderRunning()) {
        // The pictures end at once; the window closes when their jobs have returned.
        closePending_ = true;
        renders_.Cancel();
        pictures_.Cancel();
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace vorla
