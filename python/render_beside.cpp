#include "render_beside.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace vorla::python {
namespace py = pybind11;
namespace {

// How long the waiting thread leaves the lock between two looks at the signals: well within
// the tenth of a second a Ctrl+C may take.
constexpr auto kTick = std::chrono::milliseconds(10);
// The steps of a slice of RunInSlices: some milliseconds of map steps.
constexpr long long kSlice = 1 << 18;

// The owner's side of a runner: what it posts, run on the waiting Python thread.
class PostQueue {
  public:
    PictureRunner::Post Post() {
        return [this](std::function<void()> fn) {
            const std::lock_guard lock(mutex_);
            queue_.push_back(std::move(fn));
            wake_.notify_all();
        };
    }
    // Runs what is posted until `until` holds or `tick` has passed.
    template <class Pred>
    void RunFor(std::chrono::steady_clock::duration tick, Pred until) {
        const auto deadline = std::chrono::steady_clock::now() + tick;
        std::unique_lock lock(mutex_);
        while (!until()) {
            if (!wake_.wait_until(lock, deadline, [this] { return !queue_.empty(); })) return;
            std::function<void()> fn = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            fn();
            lock.lock();
        }
    }

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace

Status RunBeside(const std::function<Status(PictureRunner::Job&)>& work,
                 const std::function<void(int row)>& band) {
    PostQueue queue;  // outlives the runner, whose thread posts into it
    bool finished = false;
    Status result;
    std::optional<int> latest;  // the row of the latest band begun, not yet reported
    PictureRunner runner(queue.Post(), PictureRunner::HandOver::Report);
    PictureRunner::Events events;
    events.band = [&latest](int row, bool) {
        latest = row;
        return false;
    };
    events.done = [&](const Status& status, bool) {
        result = status;
        finished = true;
    };
    if (Status started = runner.Start(work, std::move(events)); !started) return started;
    const auto done = [&finished] { return finished; };
    try {
        while (!finished) {
            {
                const py::gil_scoped_release release;
                queue.RunFor(kTick, done);
            }
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
            if (latest && !finished) {
                const int row = *latest;
                latest.reset();
                band(row);
            }
        }
    } catch (...) {
        runner.Cancel();
        {
            const py::gil_scoped_release release;
            while (!finished) queue.RunFor(kTick, done);
        }
        throw;
    }
    return result;
}

long long RunInSlices(long long count, const std::function<bool(long long)>& step) {
    long long i = 0;
    bool going = true;
    while (going && i < count) {
        const long long end = count - i > kSlice ? i + kSlice : count;
        {
            const py::gil_scoped_release release;
            for (; i < end; ++i)
                if (!step(i)) {
                    going = false;
                    break;
                }
        }
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    }
    return i;
}

}  // namespace vorla::python
