#include "app/picture_runner.h"

#include <algorithm>

namespace vorla {

PictureRunner::PictureRunner(Post post, HandOver mode) : post_(std::move(post)), mode_(mode) {}

PictureRunner::~PictureRunner() {
    *self_ = nullptr;
    if (!thread_.joinable()) return;
    cancel_ = true;
    {
        const std::lock_guard lock(mutex_);
        waiting_ = false;
        wake_.notify_all();
    }
    thread_.join();
}

bool PictureRunner::Job::Band(int row) {
    PictureRunner& r = runner_;
    const std::weak_ptr<PictureRunner*> self = r.self_;
    if (r.mode_ == HandOver::Report) {
        r.post_([self, row] {
            if (const auto s = self.lock(); s && *s && (*s)->events_.band)
                (*s)->events_.band(row, false);
        });
        return r.cancel_;
    }
    std::unique_lock lock(r.mutex_);
    if (r.cancel_) return true;
    r.waiting_ = true;
    r.stop_ = false;
    r.post_([self, row] {
        if (const auto s = self.lock(); s && *s) (*s)->HandOverNow(row);
    });
    r.wake_.wait(lock, [&r] { return !r.waiting_; });
    return r.stop_ || r.cancel_;
}

void PictureRunner::HandOverNow(int row) {
    {
        const std::lock_guard lock(mutex_);
        if (!waiting_) return;  // cancelled before this hand-over
    }
    // The job waits until the answer below: whatever it shares with the owner is the owner's.
    inHandOver_ = true;
    const bool commandsRan = !kept_.empty();
    RunKept();
    const bool stop = events_.band && events_.band(row, commandsRan);
    inHandOver_ = false;
    const std::lock_guard lock(mutex_);
    stop_ = stop;
    waiting_ = false;
    wake_.notify_all();
}

Status PictureRunner::Start(std::function<Status(Job&)> work, Events events) {
    if (Running()) return Failure{"a picture is being computed already"};
    cancel_ = false;
    waiting_ = false;
    events_ = std::move(events);
    const std::weak_ptr<PictureRunner*> self = self_;
    // A thread the system refuses is the general error report's.
    return Guarded([&] {
        thread_ = std::thread([this, self, work = std::move(work)] {
            Job job(*this);
            const Status status = Guarded([&] { return work(job); });
            post_([self, status] {
                if (const auto s = self.lock(); s && *s) (*s)->Finish(status);
            });
        });
    });
}

void PictureRunner::Finish(const Status& status) {
    thread_.join();  // it has just returned
    const bool cancelled = cancel_;
    cancel_ = false;
    const Events events = std::move(events_);
    events_ = {};
    if (events.done) events.done(status, cancelled);
    RunKept();
    if (next_ && !Running()) {
        const std::function<void()> next = std::move(*next_);
        next_.reset();
        next();
    }
}

void PictureRunner::Run(std::function<void()> command, bool endsJob) {
    if (Running() && !inHandOver_) {
        if (endsJob) Cancel();
        kept_.push_back(std::move(command));
        return;
    }
    command();
}

void PictureRunner::Cancel() {
    if (!Running()) return;
    cancel_ = true;
    if (inHandOver_) return;  // the hand-over's answer tells it
    const std::lock_guard lock(mutex_);
    waiting_ = false;
    wake_.notify_all();
}

void PictureRunner::Then(std::function<void()> next) {
    if (!Running()) return next();
    next_ = std::move(next);
}

void PictureRunner::RunKept() {
    // A command may start another job: the commands after it wait for that one's hand-over.
    std::vector<std::function<void()>> commands;
    commands.swap(kept_);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (Running() && !inHandOver_) {
            kept_.insert(kept_.begin(), commands.begin() + static_cast<std::ptrdiff_t>(i),
                         commands.end());
            return;
        }
        commands[i]();
    }
}

std::string ProgressText(long long done, long long total, double seconds) {
    const long long percent = total > 0 ? 100 * std::clamp(done, 0LL, total) / total : 0;
    std::string text = std::to_string(percent) + " %";
    if (seconds < 2 || done <= 0 || done >= total) return text;
    const auto left = static_cast<long long>(
        seconds * static_cast<double>(total - done) / static_cast<double>(done) + 0.5);
    text += ", ";
    if (left >= 60) text += std::to_string(left / 60) + " min ";
    return text + std::to_string(left % 60) + " s left";
}

}  // namespace vorla
