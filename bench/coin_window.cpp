// CPU the coin-casting window takes with its three spinning coins: on screen, and hidden (as
// after closing it while the coins spun). Each run lets the program's loop go for the
// iteration's time; "cpu/wall" is the process's CPU time per second of wall time.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "bench/GuiBenchmark.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Threads.h"
#include "workbench/CoinForm.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// window 0: none (what the loop itself costs), 1: spinning on screen, 2: hidden while spinning.
void RunLoop(benchmark::State& state, int window) {
  BenchmarkApplication();
  TForm6* coins = window ? NewForm<TForm6>(Application) : nullptr;
  if (coins) {
    coins->Show();
    coins->Button2Click(coins);  // spinning
    if (window == 2) coins->Hide();
  }
  std::uint64_t ticks = 0;
  auto Ticks = [&] {
    if (!coins) return std::uint64_t{0};
    return coins->GkGIFAnimator1->Timer().Thread().Ticks() +
           coins->GkGIFAnimator2->Timer().Thread().Ticks() +
           coins->GkGIFAnimator3->Timer().Thread().Ticks();
  };
  const std::uint64_t ticksBefore = Ticks();
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double before = CpuSeconds();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500)) {
      Application->ProcessMessages();
      CheckSynchronize();
      Sleep(5);
    }
    cpu += CpuSeconds() - before;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  ticks = Ticks() - ticksBefore;
  state.counters["cpu/wall"] = cpu / wall;
  state.counters["ticks/s"] = ticks / wall;
  delete coins;
}

void BM_Loop_NoWindow(benchmark::State& state) { RunLoop(state, 0); }
void BM_CoinWindow_Spinning(benchmark::State& state) { RunLoop(state, 1); }
void BM_CoinWindow_Hidden(benchmark::State& state) { RunLoop(state, 2); }

}  // namespace

BENCHMARK(BM_Loop_NoWindow)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoinWindow_Spinning)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoinWindow_Hidden)->Iterations(4)->Unit(benchmark::kMillisecond);

ZELKAR_GUI_BENCHMARK_MAIN();
