// Speed of the lunar calendar engine over its whole range: the calendar control converts 42 day
// cells on every paint and every mouse move, so per-day cost is what matters.
#include <benchmark/benchmark.h>

#include "calendar/engine/LunarEngine.h"

namespace {

constexpr double FirstDay = 32.0;    // 31 January 1900
constexpr double LastDay = 73415.0;  // 31 December 2100
constexpr double DayCount = LastDay - FirstDay + 1;

void PerItem(benchmark::State& state, double count, const char* name) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
  state.counters[name] = benchmark::Counter(
      count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SolarToLunar(benchmark::State& state) {
  for (auto _ : state) {
    for (double date = FirstDay; date <= LastDay; ++date) {
      benchmark::DoNotOptimize(SolarToLunar(date));
    }
  }
  PerItem(state, DayCount, "per_day");
}
BENCHMARK(BM_SolarToLunar)->Unit(benchmark::kMillisecond);

void BM_GetGanZhiIndex(benchmark::State& state) {
  for (auto _ : state) {
    for (double date = FirstDay; date <= LastDay; ++date) {
      TGanZhiIndex index;
      GetGanZhiIndex(date, index);
      benchmark::DoNotOptimize(index);
    }
  }
  PerItem(state, DayCount, "per_day");
}
BENCHMARK(BM_GetGanZhiIndex)->Unit(benchmark::kMillisecond);

// The 24 terms of every year 1900..2100.
void BM_SolarTerms(benchmark::State& state) {
  for (auto _ : state) {
    for (int year = 1900; year <= 2100; ++year) {
      for (int term = 0; term < 24; ++term) benchmark::DoNotOptimize(GetSolarTermDate(year, term));
    }
  }
  PerItem(state, 201 * 24, "per_term");
}
BENCHMARK(BM_SolarTerms)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
