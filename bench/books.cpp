// Decoding a book file: a text of a typical size and one at the length cap, and a hostile file
// that claims the cap with a tiny stream (refused before any work). Opening a book in the reader
// as the book commands do, at a typical size and at the cap: decoding, filling the text box and
// showing its first page; "peak_MB" is how far the process's peak resident memory rose over
// what it held before, "peak_per_text_byte" the same per byte of the book's text.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "bench/BookText.h"
#include "bench/GuiBenchmark.h"
#include "bench/PeakMemory.h"
#include "platform/Files.h"
#include "tools/packtext/PackText.h"
#include "workbench/Reader.h"
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

void OpenBookInReader(benchmark::State& state) {
  BenchmarkApplication();
  const auto textBytes = static_cast<size_t>(state.range(0));
  const std::string path = "/tmp/zelkar-bench-book-" + std::to_string(::getpid()) + ".dat";
  WriteFileAtomically(path, PackText(Book(textBytes)));
  std::unique_ptr<TForm7> reader(NewForm<TForm7>(nullptr));
  long long peak = 0;
  for (auto _ : state) {
    ResetPeak();
    const long long before = StatusBytes("VmRSS");
    reader->LoadBook(path, "易经");
    reader->Show();
    Application->ProcessMessages();
    peak = std::max(peak, StatusBytes("VmHWM") - before);
    state.PauseTiming();
    reader->Close();  // empties the reader
    Application->ProcessMessages();
    state.ResumeTiming();
  }
  reader.reset();
  DeleteFile(path);
  state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["peak_per_text_byte"] = static_cast<double>(peak) / static_cast<double>(textBytes);
}
BENCHMARK(OpenBookInReader)
    ->Arg(1 << 20)
    ->Arg(kPackedTextMaxLength)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

ZELKAR_GUI_BENCHMARK_MAIN();
