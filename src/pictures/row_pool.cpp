#include "pictures/row_pool.h"

#include <chrono>

namespace vorla {

RowPool::RowPool(int threads) {
    started_ = Start(threads);
}

RowPool::~RowPool() {
    Stop();
}

Status RowPool::Start(int threads) {
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    if (threads <= 0) threads = 1;
    quit_ = false;
    // A thread the system refuses (a process limit) throws; those started before it stay.
    return Guarded([&] {
        workers_.reserve(static_cast<size_t>(threads - 1));
        const unsigned now = generation_.load();
        for (int i = 1; i < threads; ++i) workers_.emplace_back([this, now] { Work(now); });
    });
}

void RowPool::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (auto& t : workers_) t.join();
    workers_.clear();
}

template <class Pred>
bool RowPool::SpinUntil(Pred pred) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::microseconds(50);
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (pred()) return true;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
        if (Clock::now() >= end) return pred();
    }
}

void RowPool::TakeRows() {
    for (int r = next_.fetch_add(1); r <= last_; r = next_.fetch_add(1)) (*job_)(r);
}

void RowPool::Work(unsigned seen) {
    const auto ready = [&] { return quit_.load() || generation_.load() != seen; };
    for (;;) {
        if (!SpinUntil(ready)) {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, ready);
        }
        if (quit_) return;
        // The job's fields were written before generation_ moved on, and it moves no
        // further until this worker has counted itself out of the job.
        seen = generation_.load();
        TakeRows();
        if (busy_.fetch_sub(1) == 1) {
            // Under the lock, so that Run is either past its check or already waiting.
            std::lock_guard<std::mutex> lock(mutex_);
            done_.notify_all();
        }
    }
}

void RowPool::Run(int first, int last, const std::function<void(int)>& fn) {
    if (first > last) return;
    if (workers_.empty() || first == last) {
        for (int r = first; r <= last; ++r) fn(r);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = &fn;
        next_.store(first);
        last_ = last;
        busy_ = static_cast<int>(workers_.size());
        ++generation_;
    }
    wake_.notify_all();
    TakeRows();
    const auto finished = [&] { return busy_.load() == 0; };
    std::unique_lock<std::mutex> lock(mutex_);
    if (!finished()) {
        lock.unlock();
        SpinUntil(finished);
        lock.lock();
        done_.wait(lock, finished);
    }
    job_ = nullptr;
}

}  // namespace vorla
