// Speed of the counters and of whole lists, against the direct recursion
// where that finishes at all.
//   partition_bench                       all benchmarks
//   partition_bench --benchmark_filter=X  those whose name matches X
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "calculation.h"
#include "counters.h"
#include "exact_counts.h"
#include "test_support/recursive_counters.h"

namespace partition {
namespace {

constexpr Long kTriangle65535 = 2147450880;  // 1 + 2 + ... + 65535

void List(benchmark::State& state, Counter counter, const char* n, const char* k, const char* m) {
  std::string list;
  for (auto _ : state) {
    RunCalculation(counter, n, k, m, list);
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["bytes"] = static_cast<double>(list.size());
}

// Worst-case full lists: every count up to the last that fits.
BENCHMARK_CAPTURE(List, Distinct_k225_n0_m225, CountDistinct, "0", "225", "225")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(List, Repeated_k121_n0_m121, CountRepeated, "0", "121", "121")
    ->Unit(benchmark::kMicrosecond);
// Long lists.
BENCHMARK_CAPTURE(List, Repeated_k2_100000_lines, CountRepeated, "0", "2", "99999")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(List, Repeated_k2_1000000_lines, CountRepeated, "0", "2", "999999")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(List, Repeated_k2_1000000_lines_from_1E9, CountRepeated, "1E9", "2", "999999")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(List, Distinct_fraction_k_1000000_lines, CountDistinct, "0", "4.5", "999999")
    ->Unit(benchmark::kMillisecond);

// Lists small enough for the direct recursion, both ways.
BENCHMARK_CAPTURE(List, Distinct_k20_n0_m210, CountDistinct, "0", "20", "210")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(List, Recursive_Distinct_k20_n0_m210, test_support::RecursiveCountDistinct, "0",
                  "20", "210")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(List, Distinct_k22_n0_m253, CountDistinct, "0", "22", "253")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(List, Recursive_Distinct_k22_n0_m253, test_support::RecursiveCountDistinct, "0",
                  "22", "253")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(List, Repeated_k40_n0_m40, CountRepeated, "0", "40", "40")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(List, Recursive_Repeated_k40_n0_m40, test_support::RecursiveCountRepeated, "0",
                  "40", "40")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(List, Repeated_k60_n0_m60, CountRepeated, "0", "60", "60")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(List, Recursive_Repeated_k60_n0_m60, test_support::RecursiveCountRepeated, "0",
                  "60", "60")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Exact counts ("Große Anzahlen genau"): compute and text of the whole list,
// counts for j = 0..N with largest summand k, as the command line writes it.
void ExactList(benchmark::State& state, Calculation calculation, Long last, Long k) {
  const std::string m = std::to_string(last);
  const std::string kText = std::to_string(k);
  std::size_t bytes = 0;
  for (auto _ : state) {
    CalculationRun run(calculation, Counting::Exact, "0", kText, m, kNoListLimit);
    bytes = 0;
    WritePieces(run, kLinesPerStreamPiece, LineEnds::LineFeed, [&bytes](std::string_view piece) {
      bytes += piece.size();
      return true;
    });
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void ExactRows(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_CAPTURE(ExactList, Distinct_N1e4_k100, Calculation::Distinct, 10000, 100)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Repeated_N1e4_k100, Calculation::Repeated, 10000, 100)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Distinct_N1e4_k1e4, Calculation::Distinct, 10000, 10000)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Repeated_N1e4_k1e4, Calculation::Repeated, 10000, 10000)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Distinct_N1e5_k1000, Calculation::Distinct, 100000, 1000)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Repeated_N1e5_k1000, Calculation::Repeated, 100000, 1000)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Distinct_N1e5_k1e5, Calculation::Distinct, 100000, 100000)
    ->Apply(ExactRows);
BENCHMARK_CAPTURE(ExactList, Repeated_N1e5_k1e5, Calculation::Repeated, 100000, 100000)
    ->Apply(ExactRows);
// N = 10^5 across k, where the ways change.
void ExactAcrossK(benchmark::State& state) {
  ExactList(state, state.range(0) == 1 ? Calculation::Distinct : Calculation::Repeated, 100000,
            static_cast<Long>(state.range(1)));
}
BENCHMARK(ExactAcrossK)
    ->ArgsProduct({{1, 2}, {100, 300, 600, 1000, 3000, 10000}})
    ->Apply(ExactRows);

// The decimal text alone of all counts up to 10^5, some 23 MB.
void ExactText(benchmark::State& state) {
  const ExactCounts counts(Calculation::Repeated, 100000, 100000);
  std::string text;
  for (auto _ : state) {
    text.clear();
    for (Long j = 0; j <= 100000; ++j) {
      counts.AppendDecimal(text, j);
    }
  }
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(ExactText)->Unit(benchmark::kMillisecond);

// Single calls at the far corners of the argument range; the overflow error
// is the costliest answer because it throws.
void Counter(benchmark::State& state, Long (*count)(Long, Long), Long n, Long k) {
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(count(n, k));
    } catch (const RuntimeError&) {
      benchmark::ClobberMemory();
    }
  }
}

BENCHMARK_CAPTURE(Counter, Distinct_225_225, CountDistinct, 225, 225);
BENCHMARK_CAPTURE(Counter, Distinct_k65535_all_but_225, CountDistinct, kTriangle65535 - 225, 65535);
BENCHMARK_CAPTURE(Counter, Distinct_largest_overflow, CountDistinct, 2147483647, 2147483647);
BENCHMARK_CAPTURE(Counter, Distinct_negative_k_overflow, CountDistinct, 1, -1);
BENCHMARK_CAPTURE(Counter, Repeated_121_121, CountRepeated, 121, 121);
BENCHMARK_CAPTURE(Counter, Repeated_k2_largest_n, CountRepeated, 2147483647, 2);
BENCHMARK_CAPTURE(Counter, Repeated_k3_last_that_fits, CountRepeated, 160526, 3);
BENCHMARK_CAPTURE(Counter, Repeated_k4_6000, CountRepeated, 6000, 4);
BENCHMARK_CAPTURE(Counter, Repeated_largest_overflow, CountRepeated, 2147483647, 2147483647);

// The first call of each counter sets up its table once per process.
void ReportFirstCalls() {
  using Clock = std::chrono::steady_clock;
  const auto time = [](Long (*count)(Long, Long)) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(count(100, 100));
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  };
  const double distinct = time(CountDistinct);
  const double repeated = time(CountRepeated);
  std::printf(
      "first call with table set-up: CountDistinct %.1f us, "
      "CountRepeated %.1f us\n",
      distinct, repeated);
}

}  // namespace
}  // namespace partition

int main(int argc, char** argv) {
  partition::ReportFirstCalls();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
