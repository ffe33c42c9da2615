// Pictures beside the event loop. A picture is computed on a thread of its own (with the
// session's row pool); before each band of rows it hands the tabula over to the GUI thread
// and waits: the GUI thread shows the rows done, runs the commands kept meanwhile and lets it
// go on. The GUI thread never waits for a band, and a cancel ends the band within a pixel.
#include <QMetaObject>

#include "pictures/kinds.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"

namespace vorla {

QImage TVorlaForm::ShownPicture() const {
    return pictureRunning() ? tabule_->Shown() : session_->tabula.Copy();
}

void TVorlaForm::StartPicture(int tag) {
    bool begun = false;
    RunNow([&] {
        const Result<bool> b = session_->BeginPicture(tag);
        begun = b.ValueOr(false);
        Report(b.ToStatus());
    });
    if (!begun) return;
    cancel_ = false;
    bandWaiting_ = false;
    shownRow_ = 0;
    tabule_->Freeze(session_->tabula.Copy());
    // A thread the system refuses ends the picture as begun, with the general error report.
    const Status started = Guarded([this] {
        pictureThread_ = std::thread([this] {
            const Status ran = Guarded([this] {
                session_->RunPicture([this](int row) { return PictureBand(row); }, &cancel_);
            });
            QMetaObject::invokeMethod(
                this, [this, ran] { PictureDone(ran); }, Qt::QueuedConnection);
        });
    });
    if (!started) {
        RunNow([this] { session_->EndPicture(); });
        tabule_->Thaw();
        ReportError(QString::fromLocal8Bit(started.Message()));
    }
}

bool TVorlaForm::PictureBand(int row) {
    std::unique_lock lock(bandMutex_);
    if (cancel_) return true;
    bandWaiting_ = true;
    bandStop_ = false;
    QMetaObject::invokeMethod(
        this, [this, row] { BandReady(row); }, Qt::QueuedConnection);
    bandWake_.wait(lock, [this] { return !bandWaiting_; });
    return bandStop_ || cancel_;
}

void TVorlaForm::BandReady(int row) {
    {
        const std::lock_guard lock(bandMutex_);
        if (!bandWaiting_) return;  // the picture was cancelled before this hand-over
    }
    // The picture thread waits until the answer below: the session is this thread's.
    inBand_ = true;
    progress_->setText(QString::number(row));
    // Only the rows of the band just done changed, unless a command drew meanwhile (or the
    // picture draws anywhere).
    const bool whole = !pending_.empty() || session_->PictureKind == kRectangleTag;
    RunPending();
    if (whole)
        tabule_->Freeze(session_->tabula.Copy());
    else
        tabule_->UpdateRows(session_->tabula.Image(), shownRow_, row);
    shownRow_ = row;
    inBand_ = false;
    const std::lock_guard lock(bandMutex_);
    bandStop_ = session_->StopRequested;
    bandWaiting_ = false;
    bandWake_.notify_all();
}

void TVorlaForm::PictureDone(Status status) {
    pictureThread_.join();
    RunNow([this] { session_->EndPicture(); });
    tabule_->Thaw();
    if (!status) ReportError(QString::fromLocal8Bit(status.Message()));
    RunPending();
    if (pendingPicture_) {
        const int tag = *pendingPicture_;
        pendingPicture_.reset();
        if (!closePending_) StartPicture(tag);
    }
    if (closePending_ && !pictureRunning() && !renderRunning()) close();
}

void TVorlaForm::CancelPicture() {
    cancel_ = true;
    if (inBand_) return;  // the hand-over's answer tells it
    const std::lock_guard lock(bandMutex_);
    bandWaiting_ = false;
    bandWake_.notify_all();
}

void TVorlaForm::RunPending() {
    // A command may keep further commands (a new picture runs them at its first hand-over).
    std::vector<std::function<void()>> commands;
    commands.swap(pending_);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (pictureRunning() && !inBand_) {
            pending_.insert(pending_.begin(), commands.begin() + i, commands.end());
            return;
        }
        RunNow(commands[i]);
    }
}

}  // namespace vorla
