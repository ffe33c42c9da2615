// The periodicity, preperiodicity, end-regions, infinity-reach and distance pictures at the
// window's size with the default controls, each on an example where it shows structure:
// 1 thread (arg 0) and all cores (arg 1).
#include <benchmark/benchmark.h>

#include "bench_support.h"

namespace vorla {
namespace {

void Periodicity(benchmark::State& state) {
    bench::PictureBench(state, 10, 2);
}
void Preperiodicity(benchmark::State& state) {
    bench::PictureBench(state, 7, 3);
}
void EndRegions(benchmark::State& state) {
    bench::PictureBench(state, 5, 8);
}
void InfinityReach(benchmark::State& state) {
    bench::PictureBench(state, 10, 15);
}
void LastTwo(benchmark::State& state) {
    bench::PictureBench(state, 3, 17);
}
void NthDistance(benchmark::State& state) {
    bench::PictureBench(state, 1, 4);
}
void ClosestOrder(benchmark::State& state) {
    bench::PictureBench(state, 11, 16);
}
void ClosestDistance(benchmark::State& state) {
    bench::PictureBench(state, 3, 22);
}

BENCHMARK(Periodicity)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Preperiodicity)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EndRegions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InfinityReach)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LastTwo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(NthDistance)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ClosestOrder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ClosestDistance)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vorla
