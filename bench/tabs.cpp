// Speed of the page control's tab strip: a layout runs after every change of the pages, a paint
// after every change of the look, and a hit test on every mouse move (hot tracking). The region
// cache holds one shape by default, so hit tests over many tabs rebuild shapes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "platform/gui/Forms.h"
#include "widgets/WkTabControl.h"

namespace {

std::unique_ptr<TWkCustomTabControl> MakeStrip(int tabs, bool multiLine) {
  auto tc = std::make_unique<TWkCustomTabControl>(nullptr);
  tc->SetBounds(0, 0, 800, 300);
  tc->SetMultiLine(multiLine);
  for (int i = 0; i < tabs; ++i) tc->Tabs().Add()->Caption = "Tab " + std::to_string(i);
  tc->UpdateTabData();
  tc->UpdateLayout();
  tc->SetTabIndex(0);
  return tc;
}

void BM_TabLayout(benchmark::State& state) {
  auto tc = MakeStrip(static_cast<int>(state.range(0)), state.range(1) != 0);
  for (auto _ : state) {
    tc->UpdateTabData();
    tc->UpdateLayout();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TabLayout)->Args({10, 0})->Args({200, 0})->Args({10, 1})->Args({200, 1});

void BM_TabPaint(benchmark::State& state) {
  auto tc = MakeStrip(static_cast<int>(state.range(0)), true);
  for (auto _ : state) benchmark::DoNotOptimize(&tc->PaintOffscreen());
}
BENCHMARK(BM_TabPaint)->Arg(10)->Arg(40)->Unit(benchmark::kMicrosecond);

// One hit test at every 4th pixel across the strip; capacity 1 (the default) or all shapes.
void BM_TabHitTest(benchmark::State& state) {
  auto tc = MakeStrip(40, true);
  tc->SetRegionCacheCapacity(static_cast<int>(state.range(0)));
  const TRect area = tc->TabArea();
  int tests = 0;
  for (auto _ : state) {
    for (int y = area.Top; y < area.Bottom; y += 4)
      for (int x = area.Left; x < area.Right; x += 4, ++tests)
        benchmark::DoNotOptimize(tc->TabAtPos(x, y));
  }
  state.SetItemsProcessed(tests);
}
BENCHMARK(BM_TabHitTest)->Arg(1)->Arg(-1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
