// Worker threads that compute the rows of one batch of a picture together.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "base/status.h"

namespace vorla {

class RowPool {
  public:
    // threads <= 0: one per core. Threads the system refuses are done without: the pool
    // works with those it got, and Started() tells why.
    explicit RowPool(int threads = 0);
    ~RowPool();
    RowPool(const RowPool&) = delete;
    RowPool& operator=(const RowPool&) = delete;

    int Threads() const { return static_cast<int>(workers_.size()) + 1; }
    // Whether the last start got every thread asked for, or why not.
    const Status& Started() const { return started_; }

    // Runs fn(r) for every r in [first, last], each exactly once, and returns when all are
    // done. The calling thread takes part. Not reentrant from inside fn.
    void Run(int first, int last, const std::function<void(int)>& fn);

  private:
    Status Start(int threads);
    void Stop();
    // A worker's loop from job generation `seen` on: it takes part in every later job.
    void Work(unsigned seen);
    void TakeRows();
    // Spins a little while `pred` is false before the caller sleeps on a condition: a band's
    // rows take a millisecond or less in the quick pictures, and a sleeping thread takes
    // longer than that to wake on some machines.
    template <class Pred>
    static bool SpinUntil(Pred pred);

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    // Written under mutex_ before generation_ moves on; read by the workers after they see it.
    const std::function<void(int)>* job_ = nullptr;
    std::atomic<int> next_{0};
    int last_ = -1;
    // Workers still in the current job; each counts itself out, and the last one wakes Run.
    std::atomic<int> busy_{0};
    // Moves on (under mutex_) for every job; the workers wait for it, spinning first.
    std::atomic<unsigned> generation_{0};
    std::atomic<bool> quit_{false};
    Status started_;
};

}  // namespace vorla
