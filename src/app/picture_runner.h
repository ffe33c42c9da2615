// Work beside the thread that owns a session (the window's thread): one job at a time on a
// thread of its own, met by the owner at every band. A picture of the owner's session waits
// at each band until the owner has run the commands that came meanwhile, so the session is
// the owner's except while a band is computed; a picture of a session of its own ("Render at
// size", movies, tiles) only reports its progress and goes on. The owner never waits for a
// band: everything the runner hands it comes through `post`, which runs a function later on
// the owner's thread (the window's event loop).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/status.h"

namespace vorla {

class PictureRunner {
  public:
    // Runs a function later on the owner's thread.
    using Post = std::function<void(std::function<void()>)>;

    // How a job meets the owner at its bands.
    enum class HandOver {
        Wait,    // the job waits until the owner has run the commands kept meanwhile
        Report,  // the job tells the owner where it is and goes on
    };

    // What a job sees of its runner, on the job's thread.
    class Job {
      public:
        // The hand-over before the band that starts at `row`; true when the job must end.
        bool Band(int row);
        // Set when the job must end at once; the workers look at it between pixels.
        const std::atomic<bool>* Cancel() const { return &runner_.cancel_; }

      private:
        friend class PictureRunner;
        explicit Job(PictureRunner& runner) : runner_(runner) {}
        PictureRunner& runner_;
    };

    // What the owner is told, on its own thread.
    struct Events {
        // At a hand-over, after the commands kept meanwhile have run (`commandsRan`): true
        // ends the job. In Report mode the answer is not waited for.
        std::function<bool(int row, bool commandsRan)> band;
        // The job has returned `status` (`cancelled`: it was asked to end at once) and its
        // thread is gone; then the commands kept since the last hand-over run.
        std::function<void(const Status& status, bool cancelled)> done;
    };

    PictureRunner(Post post, HandOver mode);
    // Ends a running job at once and waits for its thread; its done event is not sent.
    ~PictureRunner();
    PictureRunner(const PictureRunner&) = delete;
    PictureRunner& operator=(const PictureRunner&) = delete;

    // Starts `work` on a thread of its own; fails, starting nothing, when a job runs already
    // or the system refuses the thread.
    Status Start(std::function<Status(Job&)> work, Events events);
    // Whether a job runs: from its start until its done event.
    bool Running() const { return thread_.joinable(); }
    // Whether the owner is in a hand-over, while the job waits.
    bool InHandOver() const { return inHandOver_; }

    // Runs `command` now when no job runs or in a hand-over; otherwise keeps it for the next
    // hand-over or the job's end, after ending the job at once when `endsJob`.
    void Run(std::function<void()> command, bool endsJob = false);
    // Ends the running job at once: the band being computed is dropped.
    void Cancel();
    // Runs `next` after the running job has ended and the kept commands have run (at once
    // when none runs); a later call replaces a `next` not yet run.
    void Then(std::function<void()> next);

  private:
    void HandOverNow(int row);  // on the owner's thread
    void Finish(const Status& status);
    void RunKept();

    Post post_;
    HandOver mode_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    Events events_;
    // Guards waiting_ and stop_, which the job's thread reads while it waits.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool waiting_ = false;  // the job waits for the hand-over's answer
    bool stop_ = false;     // the answer: the job ends
    // The owner's thread alone.
    bool inHandOver_ = false;
    std::vector<std::function<void()>> kept_;  // commands that came during a band
    std::optional<std::function<void()>> next_;
    // Functions posted to the owner look at it: a runner gone drops them.
    std::shared_ptr<PictureRunner*> self_ = std::make_shared<PictureRunner*>(this);
};

// A job's progress as it is told: the percentage of its work done ("37 %"), and from two
// seconds on, once it can be estimated, the time left ("37 %, 1 min 5 s left").
std::string ProgressText(long long done, long long total, double seconds);

}  // namespace vorla
