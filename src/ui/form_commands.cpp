// The main window's commands: each runs its session operation inside the general error
// report; the picture, clipboard and help commands; the leave handlers of the fields and
// the mouse handlers of the tabula.
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>

#include "base/status.h"
#include "plane/image_file.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/mouse_events.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"
#include "ui/widget_controls.h"

namespace vorla {
namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

void TVorlaForm::RunCommand(const std::function<void()>& command) {
    if (const Status done = Guarded(command); !done)
        ReportError(QString::fromLocal8Bit(done.Message()));
    // A close asked for during a picture happens once the last picture has returned.
    if (closePending_ && !session_->Running()) QTimer::singleShot(0, this, &QWidget::close);
}

void TVorlaForm::ReportError(const QString& message) {
    QMessageBox::critical(this, "Vorla", message);
}

void TVorlaForm::ActionClick(int tag) {
    RunCommand([&] { session_->ActionClick(tag); });
}

void TVorlaForm::ComboTypUlohyChange(int index) {
    RunCommand([&] { session_->ComboTypUlohyChange(index); });
}

void TVorlaForm::ButPrepocetClick() {
    RunCommand([&] { session_->ButPrepocetClick(); });
}
void TVorlaForm::Recalculation1Click() {
    RunCommand([&] { session_->Recalculation1Click(); });
}
void TVorlaForm::StopVypoctuClick() {
    session_->StopVypoctuClick();
}
void TVorlaForm::SouradniceClick(int tag) {
    RunCommand([&] { session_->SouradniceClick(tag); });
}
void TVorlaForm::ExampleClick(int number) {
    RunCommand([&] { session_->LoadExample(number); });
}
void TVorlaForm::Zadani1Click() {
    RunCommand([&] { session_->Zadani1Click(); });
}
void TVorlaForm::PevneBody1Click() {
    RunCommand([&] { session_->PevneBody1Click(); });
}

void TVorlaForm::LabelyBarev(Ctl label) {
    auto* l = qobject_cast<ColourLabel*>(widgets_[static_cast<int>(label)]);
    if (!l || !l->clickable()) return;
    const QColor chosen = QColorDialog::getColor(ToQColor(l->colour()), this, QString());
    if (!chosen.isValid()) return;  // cancelled: nothing changes
    RunCommand([&] { session_->LabelyBarev(label, FromQColor(chosen)); });
}

void TVorlaForm::FieldLeft(Ctl field) {
    // The handler runs once the focus has arrived where it goes.
    switch (Spec(field).handler) {
        case ControlHandler::Coefficient:
            QTimer::singleShot(0, this, [this, field] {
                RunCommand([&] { (void)session_->EditKoefExit(field); });
            });
            break;
        // A refused number is reported, or its field focused, by the exit itself.
        case ControlHandler::InfinityBound:
            QTimer::singleShot(
                0, this, [this] { RunCommand([&] { (void)session_->EditNekonecnoExit(); }); });
            break;
        case ControlHandler::Accuracy:
            QTimer::singleShot(0, this,
                               [this] { RunCommand([&] { session_->EditPresnostExit(); }); });
            break;
        case ControlHandler::None:
        case ControlHandler::PickColour:
            break;
    }
}

void TVorlaForm::Timer1Timer() {
    panels_[7]->clear();
    timer1_.stop();
}

void TVorlaForm::menuSaveObrazClick() {
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), QString(),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    const Status saved = SaveImageFile(session_->tabula.Image(), path.toStdString(), "BMP");
    if (!saved)
        ReportError(QString::fromLocal8Bit("Cannot create file \"" + path.toStdString() + "\". " +
                                           saved.Message()));
}

void TVorlaForm::UschovatObraz1Click() {
    storedPicture_ = session_->tabula.Copy();
}

void TVorlaForm::ObnovitObraz1Click() {
    if (storedPicture_.isNull()) {
        panels_[7]->setText("NO STORED PICTURE");
        timer1_.start();
        return;
    }
    session_->tabula.SetImage(storedPicture_);
    tabule_->update();
}

void TVorlaForm::menuKopieClick() {
    QGuiApplication::clipboard()->setImage(session_->tabula.Copy());
}

void TVorlaForm::TextDoSchranky1Click() {
    QClipboard* clip = QGuiApplication::clipboard();
    clip->clear();
    clip->setText(session_->scene.taskType == 2 ? " \r\n" : "\r\n");
}

void TVorlaForm::Jakpracovat1Click() {
    CreateSmallWindows();
    help_->ShowHelp("Vorla.rtf");
}

void TVorlaForm::Oaplikaci1Click() {
    CreateSmallWindows();
    about_->ShowAbout("Vorla", "2");
}

// --- mouse on the tabula -------------------------------------------------------------------

namespace {
QPoint PixelOf(const QMouseEvent* e) {
    return e->position().toPoint();
}
}  // namespace

void TVorlaForm::TabuleMouseDown(QMouseEvent* e) {
    MouseButton button;
    if (!ButtonFromQt(e->button(), button)) return;
    const QPoint p = PixelOf(e);
    const ShiftState state =
        ShiftFromQt(e->modifiers(), e->buttons(), e->type() == QEvent::MouseButtonDblClick);
    RunCommand([&] { ShowMouseOutcome(tools_->TabuleMouseDown(button, state, p.x(), p.y())); });
}

void TVorlaForm::TabuleMouseMove(QMouseEvent* e) {
    const QPoint p = PixelOf(e);
    const ShiftState state = ShiftFromQt(e->modifiers(), e->buttons(), false);
    RunCommand([&] { ShowMouseOutcome(tools_->TabuleMouseMove(state, p.x(), p.y())); });
}

void TVorlaForm::TabuleMouseUp(QMouseEvent* e) {
    MouseButton button = MouseButton::Left;
    ButtonFromQt(e->button(), button);
    const QPoint p = PixelOf(e);
    const ShiftState state = ShiftFromQt(e->modifiers(), e->buttons(), false);
    RunCommand([&] { ShowMouseOutcome(tools_->TabuleMouseUp(button, state, p.x(), p.y())); });
}

void TVorlaForm::ShowMouseOutcome(const MouseTools::Outcome& out) {
    if (out.hover) {
        valueLabel_->setText(Q(out.readout.valueText));
        QPalette colours = swatch_->palette();
        colours.setColor(QPalette::Window, ToQColor(out.readout.colour));
        swatch_->setPalette(colours);
        colourText_->setText(Q(out.readout.colourText));
    }
    if (out.drew) tabule_->update();
    if (!out.status) ReportError(Q(out.status.Message()));
}

}  // namespace vorla
