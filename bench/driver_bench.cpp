// The cost of computing a picture beside the event loop: the same picture run inline (as the
// renderer runs it) and on a thread of its own that hands every band over to the calling
// thread and waits, which copies the tabula for the screen as the window does.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "bench_support.h"

namespace vorla {
namespace {

void HandedOver(bench::BenchSession& b, int tag) {
    std::mutex m;
    std::condition_variable wake;
    bool waiting = false, done = false;
    if (!b.session.BeginPicture(tag)) return;
    ControlValues controls(b.controls);
    std::thread picture([&] {
        b.session.RunPicture(
            controls,
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
    for (;;) {  // the event loop's part: a copy of the tabula for every band
        std::unique_lock lock(m);
        wake.wait(lock, [&] { return waiting || done; });
        if (done) break;
        benchmark::DoNotOptimize(b.session.tabula.Copy());
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
            b.session.ActionClick(tag);
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
