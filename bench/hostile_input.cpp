// Worst cases of untrusted files: a settings file with many keys, one with a single long line,
// and a 54-byte BMP file declaring a huge picture. Counters: peak heap held through operator new
// during one read (peak_MB), and that peak per input byte (heap_per_byte).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <string>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/gui/Graphics.h"

namespace {

std::atomic<std::int64_t> heapNow{0}, heapPeak{0};

void ResetPeak() { heapPeak = heapNow.load(); }

std::string TempPath(const std::string& name) {
  return "/tmp/zelkar-bench-" + std::to_string(::getpid()) + "-" + name;
}

void Report(benchmark::State& state, std::int64_t base, std::int64_t inputBytes) {
  const double peak = static_cast<double>(heapPeak.load() - base);
  state.counters["peak_MB"] = peak / (1 << 20);
  state.counters["heap_per_byte"] = peak / static_cast<double>(inputBytes);
  state.counters["input_KB"] = static_cast<double>(inputBytes) / 1024;
}

void ReadIni(benchmark::State& state, const std::string& text, const std::string& name) {
  const std::string path = TempPath(name);
  WriteFileAtomically(path, text);
  const std::int64_t base = heapNow;
  ResetPeak();
  for (auto _ : state) {
    TIniFile ini(path);
    benchmark::DoNotOptimize(ini.SectionExists("S"));
  }
  Report(state, base, static_cast<std::int64_t>(text.size()));
  DeleteFile(path);
}

void BM_IniManyKeys(benchmark::State& state) {
  std::string text = "[S]\r\n";
  for (int i = 0; i < state.range(0); ++i) text += "Key" + std::to_string(i) + "=value\r\n";
  ReadIni(state, text, "keys.ini");
}
BENCHMARK(BM_IniManyKeys)->RangeMultiplier(4)->Range(2500, 40000)->Unit(benchmark::kMillisecond);

void BM_IniLongLine(benchmark::State& state) {
  std::string text = "[S]\r\nlong=" + std::string(static_cast<size_t>(state.range(0)) << 20, 'v');
  ReadIni(state, text, "line.ini");
}
BENCHMARK(BM_IniLongLine)->RangeMultiplier(4)->Range(1, 16)->Unit(benchmark::kMillisecond);

// 54 bytes declaring side x side pixels of 32 bits, with no pixels behind them.
void BM_BmpHugeDeclaredSize(benchmark::State& state) {
  const auto side = static_cast<std::uint32_t>(state.range(0));
  auto le32 = [](std::uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
    return out;
  };
  std::string file = "BM" + le32(54) + le32(0) + le32(54) + le32(40) + le32(side) + le32(side);
  file += std::string("\x01\x00\x20\x00", 4) + le32(0) + le32(side * side * 4);
  file += std::string(16, '\0');
  const std::int64_t base = heapNow;
  ResetPeak();
  for (auto _ : state) {
    TBitmap bitmap;
    TMemoryStream stream(file);
    try {
      bitmap.LoadFromStream(stream);
    } catch (const Exception&) {
    }
  }
  Report(state, base, static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_BmpHugeDeclaredSize)
    ->RangeMultiplier(4)
    ->Range(1024, 16384)
    ->Unit(benchmark::kMillisecond);

}  // namespace

// Heap accounting: every block carries its size in front. The replaced operator new takes its
// blocks from malloc, so freeing them is right; the compiler cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  auto* block = static_cast<std::int64_t*>(std::malloc(size + 16));
  if (!block) throw std::bad_alloc();
  block[0] = static_cast<std::int64_t>(size);
  const std::int64_t now = heapNow += static_cast<std::int64_t>(size);
  std::int64_t peak = heapPeak;
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
  return block + 2;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  auto* block = static_cast<std::int64_t*>(p) - 2;
  heapNow -= block[0];
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

BENCHMARK_MAIN();
