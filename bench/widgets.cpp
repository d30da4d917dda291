// Speed of the widget kit's painting helpers. A gradient panel or tool bar repaints its whole
// client area on every resize, so a full-window gradient must stay well under a frame's time.
#include <benchmark/benchmark.h>

#include "widgets/WkFrames.h"
#include "widgets/WkGrafx.h"

namespace {

void BM_PaintGradient(benchmark::State& state) {
  const auto direction = static_cast<TGradientDirection>(state.range(0));
  const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
  TBitmap target(width, height);
  for (auto _ : state) {
    PaintGradient(target.Canvas(), Rect(0, 0, width, height), direction, RGB(255, 255, 255),
                  RGB(40, 90, 200));
  }
  state.SetItemsProcessed(state.iterations() * width * height);
  state.SetLabel("pixels");
}
BENCHMARK(BM_PaintGradient)
    ->ArgNames({"direction", "w", "h"})
    ->ArgsProduct({{gdDiagonalUp, gdHorizontalEnd, gdVerticalCenter, gdSquareBox, gdBigSquareBox},
                   {800},
                   {600}})
    ->Args({gdHorizontalEnd, 1024, 19})
    ->Unit(benchmark::kMicrosecond);

void BM_DrawFrameStyles(benchmark::State& state) {
  TBitmap target(200, 40);
  for (auto _ : state) {
    for (int style = fsNone; style <= fsFlatBold; ++style)
      DrawFrame(target.Canvas(), Rect(0, 0, 200, 40), static_cast<TFrameStyle>(style));
  }
  state.SetItemsProcessed(state.iterations() * (fsFlatBold + 1));
}
BENCHMARK(BM_DrawFrameStyles)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
