// GIF files that declare far more pixels than their data hold: N frames of 8192 x 8192, each
// only a clear and an end code (about 12 bytes a frame), or frames that take the screen's size
// (size 0) and carry one pixel before the end code (15 bytes a frame; 4,367 of them fill 64 KB).
// Decoding every frame, as bitmaps of one image and as index buffers, should cost in
// proportion to the file. Counters: the peak resident memory above the start of the run (MB)
// and the file's size.
// Files of many tiny frames: one-pixel frames of 15 bytes each (no local table, the
// global one of two colours), 10 and 100 MiB of them. Reading the bytes, loading the file into
// a picture and building every frame's bitmap should each cost a bounded multiple of the file;
// counters: the peak above the start (MB), that peak over the file's size, and what one more
// frame's bitmap adds to what stays resident (bytes).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "bench/PeakMemory.h"
#include "gifkit/GkGIF.h"

namespace {

std::string HostileFile(int frames, bool onePixel) {
  std::string gif("GIF89a", 6);
  gif += std::string("\x00\x20\x00\x20\x80\x00\x00", 7);  // 8192 x 8192, 2-entry table
  gif += std::string("\x00\x00\x00\xff\xff\xff", 6);
  for (int i = 0; i < frames; ++i) {
    if (onePixel) {
      gif += std::string(10, '\0').replace(0, 1, "\x2c");  // at 0,0; size 0 is the screen's
      gif += std::string("\x02\x02\x44\x01\x00", 5);       // codes 4 (clear), 0, 5 (end)
    } else {
      gif += std::string("\x2c\x00\x00\x00\x00\x00\x20\x00\x20\x00", 10);
      gif += std::string("\x02\x01\x2c\x00", 4);  // code size 2; codes 4 (clear) and 5 (end)
    }
  }
  return gif + ";";
}

template <class Decode>
void Run(benchmark::State& state, Decode decode) {
  const std::string bytes = HostileFile(static_cast<int>(state.range(0)), state.range(1) != 0);
  double peakMb = 0;
  for (auto _ : state) {
    ResetPeak();
    const long long before = StatusBytes("VmRSS");
    decode(bytes);
    peakMb = std::max(peakMb, (StatusBytes("VmHWM") - before) / 1048576.0);
  }
  state.counters["peak MB"] = peakMb;
  state.counters["file bytes"] = static_cast<double>(bytes.size());
}

// As many one-pixel frames as fit in `mib` MiB at 15 bytes each: a 1 x 1 screen with a
// two-colour global table, then frames of one image descriptor and the codes clear, 0, end.
std::string OnePixelFrames(int mib) {
  std::string gif("GIF89a", 6);
  gif += std::string("\x01\x00\x01\x00\x80\x00\x00", 7);
  gif += std::string("\x00\x00\x00\xff\xff\xff", 6);
  const std::size_t frames = (std::size_t{1} << 20) * static_cast<std::size_t>(mib) / 15;
  const std::string frame("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
  gif.reserve(gif.size() + frames * frame.size() + 1);
  for (std::size_t i = 0; i < frames; ++i) gif += frame;
  return gif + ";";
}

double ResidentMb() { return StatusBytes("VmRSS") / 1048576.0; }

// Peak above what was resident before `work`, memory freed by earlier runs handed back first.
template <class Work>
double PeakMbOf(Work work) {
  malloc_trim(0);
  ResetPeak();
  const long long before = StatusBytes("VmRSS");
  work();
  return (StatusBytes("VmHWM") - before) / 1048576.0;
}

enum class Step { Read, Load, Bitmaps };

// Argument: MiB of one-pixel frames. Reading takes the bytes in memory; loading reads the file
// through the picture, as a program opening it does.
void ManyFrames(benchmark::State& state, Step step) {
  const auto bytes =
      std::make_shared<const std::string>(OnePixelFrames(static_cast<int>(state.range(0))));
  const std::string path = "/tmp/bench_gif_hostile_" + std::to_string(getpid()) + ".gif";
  if (step != Step::Read) std::ofstream(path, std::ios::binary) << *bytes;
  double peakMb = 0, bitmapBytes = 0;
  int frames = 0;
  for (auto _ : state) {
    peakMb = std::max(peakMb, PeakMbOf([&] {
                        TGIFImage image;
                        if (step == Step::Read) {
                          image.ReadGifBytes(bytes, false);
                        } else {
                          image.LoadFromFile(path);
                        }
                        frames = image.Count();
                        if (step == Step::Bitmaps) {
                          const double loaded = ResidentMb();
                          for (int i = 0; i < frames; ++i)
                            benchmark::DoNotOptimize(image.Frames(i).Bitmap());
                          bitmapBytes = (ResidentMb() - loaded) * 1048576.0 / std::max(frames, 1);
                        }
                      }));
  }
  if (step != Step::Read) std::remove(path.c_str());
  state.counters["frames"] = frames;
  state.counters["peak MB"] = peakMb;
  state.counters["peak/file"] = peakMb * 1048576.0 / static_cast<double>(bytes->size());
  if (step == Step::Bitmaps) state.counters["B/bitmap"] = bitmapBytes;
}

void BM_ManyFrames_Read(benchmark::State& state) { ManyFrames(state, Step::Read); }
void BM_ManyFrames_Load(benchmark::State& state) { ManyFrames(state, Step::Load); }
void BM_ManyFrames_Bitmaps(benchmark::State& state) { ManyFrames(state, Step::Bitmaps); }

void BM_HostileFrames_Bitmaps(benchmark::State& state) {
  Run(state, [](const std::string& bytes) {
    TGIFImage image;
    image.ReadGifBytes(bytes, false);
    for (int i = 0; i < image.Count(); ++i) benchmark::DoNotOptimize(image.Frames(i).Bitmap());
  });
}

void BM_HostileFrames_Indices(benchmark::State& state) {
  Run(state, [](const std::string& bytes) {
    TGIFImageCore image;
    image.ReadGifBytes(bytes, false);
    for (int i = 0; i < image.Count(); ++i)
      benchmark::DoNotOptimize(image.FrameAt(i)->DecodeIndices().Pixels.data());
  });
}

}  // namespace

// Arguments: frames, and whether each carries one pixel (4,367 such frames are 64 KB).
void HostileArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"frames", "onepixel"});
  for (int frames : {1, 20, 200}) b->Args({frames, 0});
  for (int frames : {1, 20, 4367}) b->Args({frames, 1});
}

BENCHMARK(BM_HostileFrames_Bitmaps)
    ->Apply(HostileArgs)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_HostileFrames_Indices)
    ->Apply(HostileArgs)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_ManyFrames_Read)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ManyFrames_Load)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ManyFrames_Bitmaps)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
