// Pictures beside the event loop, on the window's picture runner: the session is this
// thread's except while the picture computes a band; at every band the runner hands it back,
// the commands kept meanwhile run and the rows done are shown.
#include <QMetaObject>

#include "pictures/coarse.h"
#include "pictures/kinds.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"

namespace vorla {

PictureRunner::Post TVorlaForm::PostToWindow() {
    return [this](std::function<void()> fn) {
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
    };
}

QImage TVorlaForm::ShownPicture() const {
    return pictureRunning() ? tabule_->Shown() : session_->tabula().Copy();
}

void TVorlaForm::StartPicture(int tag, const QImage& preview) {
    // Gestures compute coarse first over the preview; the menus and keys keep the row order
    // unless the user asked for the coarse order everywhere.
    const bool coarse = !preview.isNull() || coarseEverywhere_->isChecked();
    bool begun = false;
    RunNow([&] {
        const Result<bool> b =
            session_->BeginPicture(tag, coarse ? PixelOrder::CoarseFirst : PixelOrder::Rows);
        begun = b.ValueOr(false);
        Report(b.ToStatus());
    });
    if (!begun) {
        tabule_->Thaw();  // a preview no picture follows
        return;
    }
    shownRow_ = 0;
    background_ = preview.size() == session_->tabula().Image().size() ? preview : QImage();
    pictureClock_.start();
    progress_->setText(QString::fromStdString(ProgressText(0, 1, 0)));
    tabule_->Freeze(background_.isNull() ? session_->tabula().Copy() : background_);
    PictureRunner::Events events;
    events.band = [this](int row, bool commandsRan) { return PictureBand(row, commandsRan); };
    events.done = [this](const Status& status, bool) { PictureDone(status); };
    const Status started = pictures_.Start(
        [this](PictureRunner::Job& job) -> Status {
            session_->RunPicture([&job](int row) { return job.Band(row); }, job.Cancel());
            return {};
        },
        std::move(events));
    // A thread the system refuses ends the picture as begun, with the general error report.
    if (!started) {
        RunNow([this] { session_->EndPicture(); });
        tabule_->Thaw();
        ReportError(QString::fromLocal8Bit(started.Message()));
    }
}

bool TVorlaForm::PictureBand(int row, bool commandsRan) {
    const PictureProgress& p = session_->Progress();
    progress_->setText(QString::fromStdString(
        ProgressText(p.done, p.total, static_cast<double>(pictureClock_.elapsed()) / 1000)));
    if (session_->Order() == PixelOrder::CoarseFirst) {
        // Each computed pixel shows as the block of its pass, over the preview until the
        // first pass comes.
        ComposeCoarse(session_->tabula().Image(), background_, p.step, p.nextRow, composed_);
        tabule_->Freeze(composed_);
    } else if (commandsRan || session_->PictureKind() == PictureTag::Rectangle) {
        // A command drew meanwhile, or the picture draws anywhere: all of it anew.
        tabule_->Freeze(session_->tabula().Copy());
    } else {
        // Only the rows of the band just done changed (over the preview, if there is one).
        tabule_->UpdateRows(session_->tabula().Image(), shownRow_, row);
    }
    shownRow_ = row;
    return session_->StopRequested();
}

void TVorlaForm::PictureDone(const Status& status) {
    RunNow([this] { session_->EndPicture(); });
    tabule_->Thaw();
    if (!status) ReportError(QString::fromLocal8Bit(status.Message()));
    if (closePending_) CloseWhenIdle();
}

void TVorlaForm::CloseWhenIdle() {
    // After the kept commands: the window closes once neither runner has a job.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!pictureRunning() && !renderRunning()) close();
        },
        Qt::QueuedConnection);
}

}  // namespace vorla
