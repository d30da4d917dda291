// The packer reading a text file into a book's text: a UTF-8 book converted to GBK, and the
// refusal of a file of blank lines that ends in a character GBK lacks (UTF-8) or in a byte
// that is no GBK, against packing a file of the same size. Counters: the peak resident memory
// of the process during the run above what it held before (peak_MB), and per input byte.
#include "tools/packtext/PackText.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "bench/BookText.h"
#include "bench/PeakMemory.h"
#include "platform/GbkText.h"

namespace {

void Read(benchmark::State& state, const std::string& file, TextEncoding encoding) {
  long long peak = 0;
  bool refused = false;
  for (auto _ : state) {
    state.PauseTiming();
    std::string copy = file;
    const long long before = StatusBytes("VmRSS");
    ResetPeak();
    state.ResumeTiming();
    try {
      BookSource book = ReadBookText(std::move(copy), encoding);
      benchmark::DoNotOptimize(book);
    } catch (const std::runtime_error&) {
      refused = true;
    }
    state.PauseTiming();
    peak = std::max(peak, StatusBytes("VmHWM") - before);
    state.ResumeTiming();
  }
  state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["peak_per_byte"] = static_cast<double>(peak) / static_cast<double>(file.size());
  state.counters["refused"] = refused;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}

void ReadUtf8Book(benchmark::State& state) {
  Read(state, GbkToUtf8(Book(static_cast<size_t>(state.range(0)))), TextEncoding::Detect);
}
BENCHMARK(ReadUtf8Book)->Arg(52 << 20)->Unit(benchmark::kMillisecond)->Iterations(3);

void ReadBlankLines(benchmark::State& state) {
  Read(state, std::string(static_cast<size_t>(state.range(0)), '\n') + "abcd",
       TextEncoding::Detect);
}
BENCHMARK(ReadBlankLines)->Arg(50 << 20)->Unit(benchmark::kMillisecond)->Iterations(3);

void RefuseBlankLinesEndingInEmoji(benchmark::State& state) {
  Read(state, std::string(static_cast<size_t>(state.range(0)), '\n') + "\xF0\x9F\x98\x80",
       TextEncoding::Detect);
}
BENCHMARK(RefuseBlankLinesEndingInEmoji)
    ->Arg(50 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void RefuseBlankLinesEndingInByte80(benchmark::State& state) {
  Read(state, std::string(static_cast<size_t>(state.range(0)), '\n') + "abc\x80",
       TextEncoding::Gbk);
}
BENCHMARK(RefuseBlankLinesEndingInByte80)
    ->Arg(50 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
