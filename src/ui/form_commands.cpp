// The main window's commands: each runs its session operation inside the general error
// report; the picture, clipboard and help commands; the leave handlers of the fields and
// the mouse handlers of the tabula.
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "app/picture_file.h"
#include "base/status.h"
#include "pictures/coarse.h"
#include "pictures/kinds.h"
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

void TVorlaForm::RunCommand(const std::function<void()>& command, bool endsPicture) {
    tools_->StopOrbit();  // a command may draw or resize: the orbit stays as far as drawn
    pictures_.Run([this, command] { RunNow(command); }, endsPicture);
}

void TVorlaForm::RunNow(const std::function<void()>& command) {
    if (const Status done = Guarded(command); !done)
        ReportError(QString::fromLocal8Bit(done.Message()));
}

void TVorlaForm::Report(const Status& done) {
    if (!done) ReportError(QString::fromLocal8Bit(done.Message()));
}

void TVorlaForm::ReportError(const QString& message) {
    QMessageBox::critical(this, "Vorla", message);
}

void TVorlaForm::ActionClick(int tag) {
    tools_->StopOrbit();
    // A running picture ends at once; the last picture asked for starts after it.
    pictures_.Cancel();
    pictures_.Then([this, tag] {
        if (!closePending_) StartPicture(tag);
    });
}

void TVorlaForm::ComboTypUlohyChange(int index) {
    RunCommand([this, index] { session_->ComboTypUlohyChange(index); }, true);
}

void TVorlaForm::ButPrepocetClick() {
    RunCommand([this] { Report(session_->ButPrepocetClick()); }, true);
}
void TVorlaForm::Recalculation1Click() {
    RunCommand([this] { Report(session_->Recalculation1Click()); });
}
void TVorlaForm::StopVypoctuClick() {
    RunCommand([this] { session_->StopVypoctuClick(); }, true);
}
void TVorlaForm::SouradniceClick(int tag) {
    RunCommand([this, tag] { session_->SouradniceClick(tag); });
}
void TVorlaForm::ExampleClick(int number) {
    RunCommand([this, number] { session_->LoadExample(number); }, true);
}
void TVorlaForm::Zadani1Click() {
    RunCommand([this] { session_->Zadani1Click(); });
}
void TVorlaForm::PevneBody1Click() {
    RunCommand([this] { session_->PevneBody1Click(); });
}

void TVorlaForm::LabelyBarev(Ctl label) {
    auto* l = qobject_cast<ColourLabel*>(widgets_[static_cast<int>(label)]);
    if (!l || !l->clickable()) return;
    const QColor chosen = QColorDialog::getColor(ToQColor(l->colour()), this, QString());
    if (!chosen.isValid()) return;  // cancelled: nothing changes
    const Colour colour = FromQColor(chosen);
    RunCommand([this, label, colour] { session_->LabelyBarev(label, colour); });
}

void TVorlaForm::FieldLeft(Ctl field) {
    // The handler runs once the focus has arrived where it goes.
    switch (Spec(field).handler) {
        case ControlHandler::Coefficient:
            QTimer::singleShot(0, this, [this, field] {
                RunCommand([this, field] { (void)session_->EditKoefExit(field); });
            });
            break;
        // A refused number is reported, or its field focused, by the exit itself.
        case ControlHandler::InfinityBound:
            QTimer::singleShot(
                0, this, [this] { RunCommand([this] { (void)session_->EditNekonecnoExit(); }); });
            break;
        case ControlHandler::Accuracy:
            QTimer::singleShot(0, this,
                               [this] { RunCommand([this] { session_->EditPresnostExit(); }); });
            break;
        case ControlHandler::None:
        case ControlHandler::PickColour:
            break;
    }
}

void TVorlaForm::Timer1Timer() {
    Panel(StatusPanel::Message)->clear();
    timer1_.stop();
}

std::optional<std::pair<QString, int>> TVorlaForm::AskSaveFile(const char* name,
                                                               const QStringList& filters,
                                                               const QStringList& suffixes,
                                                               int initial) {
    QFileDialog dialog(this);
    dialog.setObjectName(name);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[initial]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().first();
    if (path.isEmpty()) return {};
    const int filter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    if (QFileInfo(path).suffix().isEmpty()) path += "." + suffixes[filter];
    return std::pair{path, filter};
}

std::optional<std::pair<QString, const char*>> TVorlaForm::AskPictureFile(const char* name) {
    const auto chosen =
        AskSaveFile(name, {"PNG image (*.png)", "BMP image (*.bmp)"}, {"png", "bmp"}, 0);
    if (!chosen) return {};
    // The name's own extension decides the format; the filter only for another name.
    const char* format = PictureFormatOf(chosen->first.toStdString());
    return std::pair{chosen->first, format ? format : chosen->second == 0 ? "PNG" : "BMP"};
}

void TVorlaForm::menuSaveObrazClick() {
    const auto chosen = AskPictureFile("SaveDialog1");
    if (!chosen) return;
    const QString& path = chosen->first;
    const Status saved = SaveImageFile(ShownPicture(), path.toStdString(), chosen->second);
    if (!saved)
        ReportError(QString::fromLocal8Bit("Cannot create file \"" + path.toStdString() + "\". " +
                                           saved.Message()));
}

void TVorlaForm::UschovatObraz1Click() {
    storedPicture_ = ShownPicture();
}

void TVorlaForm::ObnovitObraz1Click() {
    if (storedPicture_.isNull()) {
        Panel(StatusPanel::Message)->setText("NO STORED PICTURE");
        timer1_.start();
        return;
    }
    RunCommand([this, picture = storedPicture_] { session_->RestorePicture(picture); });
}

void TVorlaForm::menuKopieClick() {
    QGuiApplication::clipboard()->setImage(ShownPicture());
}

void TVorlaForm::TextDoSchranky1Click() {
    QClipboard* clip = QGuiApplication::clipboard();
    clip->clear();
    clip->setText(session_->taskType() == TaskType::TwoCircles ? " \r\n" : "\r\n");
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
    // A middle drag pans and a Shift + left drag outlines a zoom, also while a picture runs
    // (which then ends, as for the wheel); any other press is ignored meanwhile.
    if (button == MouseButton::Middle) {
        panFrom_ = p;
        return;
    }
    if (pictureRunning()) {
        if (state == (shift::Shift | shift::Left)) bandFrom_ = p;
        return;
    }
    RunNow([&] { ShowMouseOutcome(tools_->TabuleMouseDown(button, state, p.x(), p.y())); });
    if (tools_->OrbitPending()) QTimer::singleShot(0, this, &TVorlaForm::DrawOrbitSlice);
    // Shift + left away from every centre (where it does nothing else) outlines a zoom.
    if (state == (shift::Shift | shift::Left) && tools_->DraggedCentre == -1) bandFrom_ = p;
}

void TVorlaForm::TabuleMouseMove(QMouseEvent* e) {
    const QPoint p = PixelOf(e);
    const ShiftState state = ShiftFromQt(e->modifiers(), e->buttons(), false);
    if (panFrom_) tabule_->SetOffset(p - *panFrom_);
    if (bandFrom_) tabule_->SetBand(QRect(*bandFrom_, p).normalized());
    if (pictureRunning()) return;
    RunNow([&] { ShowMouseOutcome(tools_->TabuleMouseMove(state, p.x(), p.y())); });
}

void TVorlaForm::TabuleMouseUp(QMouseEvent* e) {
    MouseButton button = MouseButton::Left;
    ButtonFromQt(e->button(), button);
    const QPoint p = PixelOf(e);
    const ShiftState state = ShiftFromQt(e->modifiers(), e->buttons(), false);
    if (panFrom_ && button == MouseButton::Middle) {
        const QPoint moved = p - *panFrom_;
        panFrom_.reset();
        tabule_->SetOffset({});
        if (!moved.isNull())
            MoveView([moved](const AxesRange& r, int W, int H) {
                return Pan(r, W, H, moved.x(), moved.y());
            });
        return;
    }
    if (bandFrom_ && button == MouseButton::Left) {
        const QRect band = QRect(*bandFrom_, p).normalized();
        bandFrom_.reset();
        tabule_->SetBand({});
        // A click or a sliver is no rectangle to zoom to.
        if (band.width() > 2 && band.height() > 2)
            MoveView([band](const AxesRange& r, int W, int H) {
                return ZoomToRectangle(r, W, H, band.left(), band.top(), band.right() + 1,
                                       band.bottom() + 1);
            });
        return;
    }
    if (pictureRunning()) return;
    RunNow([&] { ShowMouseOutcome(tools_->TabuleMouseUp(button, state, p.x(), p.y())); });
}

void TVorlaForm::DrawOrbitSlice() {
    if (!tools_->OrbitPending() || pictureRunning()) return;
    // About a sixtieth of a second of drawing, then the events that came meanwhile.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(15);
    Status outcome;
    bool done = false;
    while (!done && std::chrono::steady_clock::now() < end)
        done = tools_->ContinueOrbit(2048, outcome);
    tabule_->update();
    if (!done) return void(QTimer::singleShot(0, this, &TVorlaForm::DrawOrbitSlice));
    Report(outcome);
}

void TVorlaForm::TabuleWheel(QWheelEvent* e) {
    const int notches = e->angleDelta().y() / 120;
    if (notches == 0) return;
    const QPoint p = e->position().toPoint();
    // Each notch forward shows the middle four fifths; back, the reverse.
    const long double factor = std::pow(notches > 0 ? 0.8L : 1.25L, std::abs(notches));
    MoveView([p, factor](const AxesRange& r, int W, int H) {
        return ZoomAbout(r, W, H, p.x(), p.y(), factor);
    });
}

void TVorlaForm::MoveView(const std::function<AxesRange(const AxesRange&, int W, int H)>& move) {
    const int W = session_->view().W, H = session_->view().H;
    const Result<AxesRange> from = FieldRange(*this, W, H);
    if (!from) return Report(from.ToStatus());
    const AxesRange to = move(from.Value(), W, H);
    // Beyond what the numbers can hold the view stays as it is.
    if (CheckRange(to, W, H) != RangeFault::None) return;
    WriteAxesTexts(*this, ReadableTextsOf(to, W, H));
    ShowNewView();
}

void TVorlaForm::ShowNewView() {
    const int W = session_->view().W, H = session_->view().H;
    const Result<AxesRange> to = FieldRange(*this, W, H);
    const int tag = session_->PictureKind();
    if (tag == PictureTag::None || !to) return Recalculation1Click();
    // The picture shown, moved at once to the view the fields give; the new picture then
    // comes coarse first over it.
    const QImage preview =
        MovedPicture(ShownPicture(), session_->view().axes, AxesOf(to.Value(), W, H));
    tabule_->Freeze(preview);
    tools_->StopOrbit();
    pictures_.Cancel();
    pictures_.Then([this, tag, preview] {
        if (!closePending_) StartPicture(tag, preview);
    });
}

void TVorlaForm::ViewBackClick() {
    if (const std::optional<AxesTexts> view = session_->ViewBack()) {
        WriteAxesTexts(*this, *view);
        ShowNewView();
    }
}

void TVorlaForm::ViewForwardClick() {
    if (const std::optional<AxesTexts> view = session_->ViewForward()) {
        WriteAxesTexts(*this, *view);
        ShowNewView();
    }
}

void TVorlaForm::KeyMove(int key) {
    const int W = session_->view().W, H = session_->view().H;
    switch (key) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
        case Qt::Key_Minus: {
            const long double factor = key == Qt::Key_Minus ? 1.25L : 0.8L;
            return MoveView([factor](const AxesRange& r, int w, int h) {
                return ZoomAbout(r, w, h, w / 2, h / 2, factor);
            });
        }
        default: {
            // The picture moves away from the arrow: the view goes its way by a tenth.
            const int dx = key == Qt::Key_Left ? W / 10 : key == Qt::Key_Right ? -W / 10 : 0;
            const int dy = key == Qt::Key_Up ? H / 10 : key == Qt::Key_Down ? -H / 10 : 0;
            return MoveView(
                [dx, dy](const AxesRange& r, int w, int h) { return Pan(r, w, h, dx, dy); });
        }
    }
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
