// A memo's text as the main window uses it on every cast: a chart of some dozens of lines set
// into the box and read back, and a line appended. Short texts are the common case of every
// text box, so this is where a change to the conversion shows first.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/GuiBenchmark.h"
#include "platform/gui/StdCtrls.h"

namespace {

std::string Chart(int lines) {
  std::string text;
  for (int line = 0; line < lines; ++line)
    text += "第" + std::to_string(line) + "爻：官鬼 丙午火 世，旺相，动而化进。\r\n";
  return text;
}

void SetAndRead(benchmark::State& state) {
  BenchmarkApplication();
  auto form = std::make_unique<TForm>(nullptr);
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  const std::string chart = Chart(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    memo->SetText(chart);
    benchmark::DoNotOptimize(memo->GetText());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(chart.size()));
}
BENCHMARK(SetAndRead)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);

void AppendLine(benchmark::State& state) {
  BenchmarkApplication();
  auto form = std::make_unique<TForm>(nullptr);
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  int appended = 0;
  for (auto _ : state) {
    if (++appended % 200 == 0) memo->Clear();
    memo->AddLine("系统正在升级中........yj.dat升级成功");
  }
}
BENCHMARK(AppendLine)->Unit(benchmark::kMicrosecond);

}  // namespace

ZELKAR_GUI_BENCHMARK_MAIN();
