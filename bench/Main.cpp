// The benchmark program. Without arguments (or with Google Benchmark's own flags) it runs the
// benchmarks. With --profile it runs one scenario a fixed number of times and nothing else, for a
// profiler that counts instructions:
//
//   tamik_bench --profile SCENARIO [COUNT]
//   valgrind --tool=callgrind --toggle-collect='*ProfiledRuns*' tamik_bench --profile tick 1000
//
// Scenarios: tick, parse/N, sample/N (N processor instances), bar/WxH/P (a bar without a parent
// at Progress P) and bar/WxH/P/form (on a shown form). Set-up and warm-up happen before
// ProfiledRuns, so the instructions collected inside it divided by COUNT are one run's.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/Scenarios.h"

namespace bench {

[[gnu::noinline]] void ProfiledRuns(AnyScenario& scenario, long count) {
  for (long i = 0; i < count; ++i) scenario.Run();
}

}  // namespace bench

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--profile") == 0) {
    const char* name = argc >= 3 ? argv[2] : "";
    const long count = argc >= 4 ? std::strtol(argv[3], nullptr, 10) : 1000;
    std::unique_ptr<bench::AnyScenario> scenario = bench::MakeScenario(name);
    if (!scenario || count <= 0) {
      std::fprintf(stderr, "usage: %s --profile tick|parse/N|sample/N|bar/WxH/P[/form] [COUNT]\n",
                   argv[0]);
      return 2;
    }
    bench::ProfiledRuns(*scenario, count);
    std::printf("%s: %ld runs\n", name, count);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
