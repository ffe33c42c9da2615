// The Lyapunov pictures and the rectangle iterations at the window's size on Example 03
// (three circles) with the default controls: 1 thread (arg 0) and all cores (arg 1).
#include <benchmark/benchmark.h>

#include "bench_support.h"

namespace vorla {
namespace {

void LyapunovX(benchmark::State& state) {
    bench::PictureBench(state, 3, 18);
}
void LyapunovY(benchmark::State& state) {
    bench::PictureBench(state, 3, 19);
}
void LyapunovSum(benchmark::State& state) {
    bench::PictureBench(state, 3, 20);
}
void LyapunovDisplacement(benchmark::State& state) {
    bench::PictureBench(state, 3, 21);
}
void RectangleIterations(benchmark::State& state) {
    bench::PictureBench(state, 3, 7);
}

BENCHMARK(LyapunovX)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LyapunovY)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LyapunovSum)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LyapunovDisplacement)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RectangleIterations)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vorla
