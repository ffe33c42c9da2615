// The cost of computing a picture beside the event loop: the same picture run inline (as the
// renderer runs it) and on the window's picture runner, which hands every band over to the
// calling thread and waits while that thread copies the band's rows for the screen.
#include <benchmark/benchmark.h>

#include <QImage>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>

#include "app/picture_runner.h"
#include "bench_support.h"

namespace vorla {
namespace {

// The event loop's queue.
struct Queue {
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::function<void()>> q;
    PictureRunner::Post Post() {
        return [this](std::function<void()> fn) {
            const std::lock_guard lock(m);
            q.push_back(std::move(fn));
            cv.notify_all();
        };
    }
    void RunOne() {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return !q.empty(); });
        std::function<void()> fn = std::move(q.front());
        q.pop_front();
        lock.unlock();
        fn();
    }
};

void HandedOver(bench::BenchSession& b, int tag) {
    Queue queue;
    PictureRunner runner(queue.Post(), PictureRunner::HandOver::Wait);
    if (const Result<bool> begun = b.session.BeginPicture(tag); !begun || !begun.Value()) return;
    QImage shown = b.session.tabula().Copy();
    int band = 0;
    bool done = false;
    PictureRunner::Events events;
    events.band = [&](int row, bool) {
        // The rows of the band just done, copied for the screen.
        const QImage& image = b.session.tabula().Image();
        for (int r = band; r < std::min(row, image.height()); ++r)
            std::memcpy(shown.scanLine(r), image.constScanLine(r),
                        static_cast<std::size_t>(image.bytesPerLine()));
        band = row;
        return false;
    };
    events.done = [&](const Status&, bool) { done = true; };
    const Status started = runner.Start(
        [&](PictureRunner::Job& job) {
            b.session.RunPicture([&job](int row) { return job.Band(row); }, job.Cancel());
            return Status();
        },
        std::move(events));
    while (started && !done) queue.RunOne();
    b.session.EndPicture();
}

// Arg 0: inline; arg 1: handed over band by band. Both on all cores.
void Driver(benchmark::State& state, int example, int tag) {
    bench::BenchSession b(example, 0);
    for (auto _ : state) {
        if (state.range(0) == 0)
            (void)b.session.ActionClick(tag);
        else
            HandedOver(b, tag);
    }
}
void DriverConvergence(benchmark::State& state) {
    Driver(state, 3, 1);
}
void DriverPeriodicity(benchmark::State& state) {
    Driver(state, 10, 2);
}

BENCHMARK(DriverConvergence)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DriverPeriodicity)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vorla
