// Map steps per second for each of the five maps, on an orbit of Example 03's circles.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "model/scene.h"

namespace vorla {
namespace {

Scene BenchScene(int task) {
    Scene s;
    s.taskType = TaskOfNumber(task);
    CircleSet& k = s.k;
    k.D = 3, k.R = 2.5, k.M = 0.87L, k.N = 0.75L, k.S = 1, k.U = 2, k.V = 3, k.W = 2, k.A = 3,
    k.B = 2, k.C = 2.5;
    k.UpdateSquares();
    return s;
}

template <class Map>
void MapSteps(benchmark::State& state) {
    const int task = static_cast<int>(state.range(0));
    const Scene s = BenchScene(task);
    const Map map{s};
    long double x = 0.3L, y = 0.7L;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) map(x, y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
    state.counters["steps/s"] =
        benchmark::Counter(1000.0 * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK_TEMPLATE(MapSteps, TwoCircle)->Arg(2);
BENCHMARK_TEMPLATE(MapSteps, ThreeCircle)->Arg(3);
BENCHMARK_TEMPLATE(MapSteps, FourCircle)->Arg(4);
BENCHMARK_TEMPLATE(MapSteps, FiveCircle)->Arg(5);
BENCHMARK_TEMPLATE(MapSteps, UnitCircleSquare)->Arg(6);

void Convergence(benchmark::State& state) {
    bench::PictureBench(state, 3, 1);
}
BENCHMARK(Convergence)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vorla
