// The application object for benchmarks that build windows: made on Qt's offscreen platform
// (unless another is set) on first use, and freed at the end of the benchmark's main. As a static
// it would go at exit, after the toolkit's own statics it still uses.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "platform/gui/Forms.h"

inline std::unique_ptr<TApplication>& BenchmarkApplicationSlot() {
  static std::unique_ptr<TApplication> application;
  return application;
}

inline TApplication& BenchmarkApplication() {
  static int argc = 1;
  static char name[] = "zelkar_benchmark";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::unique_ptr<TApplication>& application = BenchmarkApplicationSlot();
  if (!application) application = std::make_unique<TApplication>(argc, argv);
  return *application;
}

// BENCHMARK_MAIN(), freeing the application object before the program ends.
#define ZELKAR_GUI_BENCHMARK_MAIN()                                   \
  int main(int argc, char** argv) {                                   \
    benchmark::Initialize(&argc, argv);                               \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1; \
    benchmark::RunSpecifiedBenchmarks();                              \
    benchmark::Shutdown();                                            \
    BenchmarkApplicationSlot().reset();                               \
    return 0;                                                         \
  }
