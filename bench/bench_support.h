// A headless session on a given example, for the picture benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

#include "app/session.h"
#include "model/controls.h"
#include "model/step_count.h"

namespace vorla::bench {

struct QuietHost : Host {};

struct BenchSession {
    ControlValues controls;
    QuietHost host;
    Session session;
    BenchSession(int example, int threads, int w = 542, int h = 450)
        : session(controls, host, w, h, threads) {
        session.FormCreate();
        (void)session.FormResize(w, h);
        session.FormActivate();
        session.LoadExample(example);
        session.SetSeed(1);
    }
};

// Runs picture `tag` on `example` with 1 thread (arg 0) or all cores (arg 1), and reports
// pixels per second.
inline void PictureBench(benchmark::State& state, int example, int tag) {
    const int threads = state.range(0) == 0 ? 1 : 0;
    BenchSession b(example, threads);
    steps::Reset();
    for (auto _ : state) (void)b.session.ActionClick(tag);
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(steps::Total()), benchmark::Counter::kIsRate);
    state.counters["threads"] = b.session.pool().Threads();
    state.counters["pixels/s"] = benchmark::Counter(
        static_cast<double>(543 * 451) * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace vorla::bench
