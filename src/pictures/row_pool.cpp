#include "pictures/row_pool.h"

namespace vorla {

RowPool::RowPool(int threads) {
    started_ = Start(threads);
}

RowPool::~RowPool() {
    Stop();
}

Status RowPool::SetThreads(int threads) {
    Stop();
    started_ = Start(threads);
    return started_;
}

Status RowPool::Start(int threads) {
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    if (threads <= 0) threads = 1;
    quit_ = false;
    // A thread the system refuses (a process limit) throws; those started before it stay.
    return Guarded([&] {
        workers_.reserve(static_cast<size_t>(threads - 1));
        for (int i = 1; i < threads; ++i) workers_.emplace_back([this] { Work(); });
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

void RowPool::TakeRows() {
    for (int r = next_.fetch_add(1); r <= last_; r = next_.fetch_add(1)) (*job_)(r);
}

void RowPool::Work() {
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
            if (quit_) return;
            seen = generation_;
        }
        TakeRows();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (--busy_ == 0) done_.notify_all();
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
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return busy_ == 0; });
    job_ = nullptr;
}

}  // namespace vorla
