// The mouse tools at the window's size: a right click tracing 1,000,000 orbit points (rings
// and polyline) and one move of a dragged centre (fields, scene, basic circles).
#include <benchmark/benchmark.h>

#include "app/mouse_tools.h"
#include "bench_support.h"
#include "overlays/orbit_drawing.h"

namespace vorla {
namespace {

// Arg: 0 rings, 1 polyline. Example 10's orbits wander instead of settling on a point, so
// nearly every iterate is drawn.
void OrbitMillion(benchmark::State& state) {
    bench::BenchSession b(10, 1);
    b.session.RequestStop();
    b.controls.SetText(Ctl::SpinMouseIter, "1000000");
    MouseTools tools(b.session);
    const ShiftState press = shift::Right | (state.range(0) == 1 ? shift::Shift : 0);
    for (auto _ : state)
        tools.TabuleMouseDown(MouseButton::Right, press, b.session.view().W / 3,
                              b.session.view().H / 3);
    state.counters["points/s"] =
        benchmark::Counter(1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(OrbitMillion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void DragMove(benchmark::State& state) {
    bench::BenchSession b(3, 1);
    b.session.RequestStop();
    MouseTools tools(b.session);
    const CentreHandles& h = b.session.view().handles;
    tools.TabuleMouseDown(MouseButton::Left, shift::Left, h.col[2], h.row[2]);
    int step = 0;
    for (auto _ : state) {
        ++step;
        tools.TabuleMouseMove(shift::Left, 200 + step % 40, 150 + step % 30);
    }
}
BENCHMARK(DragMove)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorla
