// The benchmarks of the refresh tick. Each reports, next to its time, the heap allocations and
// releases per run ("allocs", "frees"): the sampler's walk, a bar's drawing and a whole ordinary
// tick are meant to allocate nothing.

#include <benchmark/benchmark.h>

#include "bench/Scenarios.h"
#include "support/AllocationCounter.h"

namespace {

// Counts the allocations of the timed loop, averaged over its iterations.
class AllocationCounters {
 public:
  explicit AllocationCounters(benchmark::State& state) : state_(state) {}
  ~AllocationCounters() {
    state_.counters["allocs"] = benchmark::Counter(static_cast<double>(counter_.Allocations()),
                                                   benchmark::Counter::kAvgIterations);
    state_.counters["frees"] = benchmark::Counter(static_cast<double>(counter_.Deallocations()),
                                                  benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& state_;
  AllocationCounter counter_;
};

// The walk alone: a block of state.range(0) processor instances.
void BM_ParsePerfBlock(benchmark::State& state) {
  bench::ParseScenario scenario(static_cast<int>(state.range(0)));
  AllocationCounters counters(state);
  for (auto _ : state) benchmark::DoNotOptimize(scenario.Run());
}
BENCHMARK(BM_ParsePerfBlock)->ArgName("instances")->Arg(2)->Arg(8)->Arg(64)->Arg(256);

// A whole sample on the fake registry: the query (a copy of the block) and the walk.
void BM_TakeLoadSample(benchmark::State& state) {
  bench::SampleScenario scenario(static_cast<int>(state.range(0)));
  AllocationCounters counters(state);
  for (auto _ : state) scenario.Run();
  benchmark::DoNotOptimize(scenario.Sampler().ProcessorLoad(0));
}
BENCHMARK(BM_TakeLoadSample)->ArgName("instances")->Arg(2)->Arg(8)->Arg(64)->Arg(256);

// One drawing: width, height, Progress, and whether the bar sits on a shown form.
void BM_DrawBar(benchmark::State& state) {
  bench::BarScenario scenario({static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                               static_cast<int>(state.range(2)), state.range(3) != 0});
  AllocationCounters counters(state);
  for (auto _ : state) scenario.Run();
  benchmark::DoNotOptimize(scenario.Bar().Image().Pixels());
}
void DrawBarShapes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "pct", "form"});
  // The main window's bars: the default height and the highest the options allow.
  for (const int height : {100, 200}) {
    for (const int progress : {0, 50, 100}) b->Args({63, height, progress, 1});
  }
  // The colours page's preview bar, half full.
  b->Args({73, 134, 50, 1});
  // A bar created by code, without a parent.
  for (const int progress : {0, 50, 100}) b->Args({60, 180, progress, 0});
}
BENCHMARK(BM_DrawBar)->Apply(DrawBarShapes);

// One refresh tick of the main window for 2 processors, from the timer's delivery to the second
// bar's copy to the window; the loads change on every tick.
void BM_Timer1Timer(benchmark::State& state) {
  bench::TickScenario scenario;
  AllocationCounters counters(state);
  for (auto _ : state) scenario.Run();
  benchmark::DoNotOptimize(scenario.Form().RarBar2->Progress());
}
BENCHMARK(BM_Timer1Timer);

}  // namespace
