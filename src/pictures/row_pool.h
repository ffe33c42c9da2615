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
    // Starts anew with `threads`; fails (keeping those it got) when the system refuses some.
    Status SetThreads(int threads);
    // Whether the last start got every thread asked for, or why not.
    const Status& Started() const { return started_; }

    // Runs fn(r) for every r in [first, last], each exactly once, and returns when all are
    // done. The calling thread takes part. Not reentrant from inside fn.
    void Run(int first, int last, const std::function<void(int)>& fn);

  private:
    Status Start(int threads);
    void Stop();
    void Work();
    void TakeRows();

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(int)>* job_ = nullptr;
    std::atomic<int> next_{0};
    int last_ = -1;
    int busy_ = 0;
    unsigned generation_ = 0;
    bool quit_ = false;
    Status started_;
};

}  // namespace vorla
