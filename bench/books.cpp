// Decoding a book file: a text of a typical size and one at the length cap, and a hostile file
// that claims the cap with a tiny stream (refused before any work).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BookText.h"
#include "tools/packtext/PackText.h"
#include "workbench/logic/PackedText.h"

namespace {

void DecodeBook(benchmark::State& state) {
  const std::string file = PackText(Book(static_cast<size_t>(state.range(0))));
  for (auto _ : state) {
    PackedText text = DecodePackedText(file);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(DecodeBook)->Arg(1 << 20)->Arg(kPackedTextMaxLength)->Unit(benchmark::kMillisecond);

void RefuseLyingLength(benchmark::State& state) {
  std::string file = PackText("twenty bytes of text");
  file[0] = file[1] = file[2] = '\xFF';
  file[3] = '\x7F';
  for (auto _ : state) {
    PackedText text = DecodePackedText(file);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(RefuseLyingLength);

}  // namespace

BENCHMARK_MAIN();
