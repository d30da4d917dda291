// One whole cast as the window runs it: calendar labels from the date texts, then the chart,
// its strengths and the recommendation.
#include <benchmark/benchmark.h>

#include "workbench/logic/CalendarLabels.h"
#include "workbench/logic/Chart.h"

namespace {

ChartInput Lines(std::array<bool, 6> moving) {
  ChartInput in;
  in.Yang = {true, false, true, false, true, true};
  in.Moving = moving;
  in.DateTexts = {"2012", "2", "4", "16", "54"};
  return in;
}

void Cast(benchmark::State& state, std::array<bool, 6> moving, StrengthModel model) {
  ChartInput in = Lines(moving);
  for (auto _ : state) {
    CalendarLabels labels;
    ComputeCalendarLabels(in.DateTexts[0], in.DateTexts[1], in.DateTexts[2], in.DateTexts[3],
                          in.DateTexts[4], labels);
    in.FourPillarsText = labels.FourPillarsText;
    in.LunarDateText = labels.LunarDateText;
    in.XunVoidText = labels.XunVoidText;
    ChartCast cast = CastChart(in, model);
    benchmark::DoNotOptimize(cast);
  }
}

void BM_CastStatic(benchmark::State& state) { Cast(state, {}, StrengthModel::Factor); }
void BM_CastOneMoving(benchmark::State& state) {
  Cast(state, {false, false, false, false, false, true}, StrengthModel::Factor);
}
void BM_CastThreeMovingCosine(benchmark::State& state) {
  Cast(state, {true, false, true, false, true, false}, StrengthModel::Cosine);
}

void BM_LabelsOnly(benchmark::State& state) {
  for (auto _ : state) {
    CalendarLabels labels;
    ComputeCalendarLabels("2012", "2", "4", "16", "54", labels);
    benchmark::DoNotOptimize(labels);
  }
}

}  // namespace

BENCHMARK(BM_CastStatic);
BENCHMARK(BM_CastOneMoving);
BENCHMARK(BM_CastThreeMovingCosine);
BENCHMARK(BM_LabelsOnly);
BENCHMARK_MAIN();
