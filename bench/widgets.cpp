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

// A 32-bit picture of width x height at the screen's ratio (the argument in percent).
TCanvas& ScaledTarget(TBitmap& target, const benchmark::State& state, int width, int height) {
  target.SetPixelFormat(pf32bit);
  target.SetDevicePixelRatio(static_cast<double>(state.range(0)) / 100);
  target.SetSize(width, height);
  return target.Canvas();
}

// The drop-down arrows of tool buttons and tool bars: a small polygon with pen and brush, on
// a picture of the screen's ratio (the argument in percent).
void BM_PolygonArrow(benchmark::State& state) {
  TBitmap target;
  TCanvas& canvas = ScaledTarget(target, state, 24, 22);
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetColor(clBlack);
  for (auto _ : state) canvas.Polygon({Point(12, 13), Point(10, 11), Point(14, 11)});
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PolygonArrow)->ArgName("percent")->Arg(100)->Arg(150)->Arg(200);

// A large filled polygon with slanted edges, outline and fill in other colours.
void BM_PolygonLarge(benchmark::State& state) {
  TBitmap target;
  TCanvas& canvas = ScaledTarget(target, state, 400, 300);
  canvas.Pen().SetColor(clNavy);
  canvas.Brush().SetColor(clRed);
  for (auto _ : state)
    canvas.Polygon(
        {Point(10, 10), Point(380, 30), Point(300, 290), Point(120, 200), Point(20, 280)});
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PolygonLarge)
    ->ArgName("percent")
    ->Arg(100)
    ->Arg(150)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
