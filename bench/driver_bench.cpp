// The cost of computing a picture beside the event loop: the same picture run inline (as the
// renderer runs it) and on a thread of its own that hands every band over to the calling
// thread and waits, which copies the band's rows for the screen as the window does.
#include <benchmark/benchmark.h>

#include <QImage>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "bench_support.h"

namespace vorla {
namespace {

void HandedOver(bench::BenchSession& b, int tag) {
    std::mutex m;
    std::condition_variable wake;
    bool waiting = false, done = false;
    int band = -16;  // the first hand-over comes before any row
    if (const Result<bool> begun = b.session.BeginPicture(tag); !begun || !begun.Value()) return;
    std::thread picture([&] {
        b.session.RunPicture(
            [&](int) {
                std::unique_lock lock(m);
                waiting = true;
                wake.notify_all();
                wake.wait(lock, [&] { return !waiting; });
                return false;
            },
            nullptr);
        const std::lock_guard lock(m);
        done = true;
        wake.notify_all();
    });
    QImage shown = b.session.tabula.Copy();
    for (;;) {  // the event loop's part: the rows of every band copied for the screen
        std::unique_lock lock(m);
        wake.wait(lock, [&] { return waiting || done; });
        if (done) break;
        const QImage& image = b.session.tabula.Image();
        for (int r = std::max(band, 0); r < std::min(band + 16, image.height()); ++r)
            std::memcpy(shown.scanLine(r), image.constScanLine(r),
                        static_cast<std::size_t>(image.bytesPerLine()));
        band += 16;
        waiting = false;
        wake.notify_all();
    }
    picture.join();
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
