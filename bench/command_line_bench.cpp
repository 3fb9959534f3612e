// Speed and memory of the command line's list, written to /dev/null as
// `partitionen -b 2 -k 2 -m M > /dev/null` writes it: the time per list and
// the peak resident memory of the whole process, which must stay flat
// however long the list.
//   command_line_bench [--benchmark_filter=X]
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>

#include "command_line.h"
#include "counters.h"

namespace {

void PrintListToNull(benchmark::State& state, const char* m) {
  std::FILE* null = std::fopen("/dev/null", "wb");
  for (auto _ : state) {
    benchmark::DoNotOptimize(PrintList(partition::CountRepeated, "0", "2", m, null, stderr));
  }
  std::fclose(null);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK_CAPTURE(PrintListToNull, 1000000_lines, "999999")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PrintListToNull, 10000000_lines, "9999999")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PrintListToNull, 100000000_lines, "99999999")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
