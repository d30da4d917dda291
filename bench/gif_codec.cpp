// GIF decoding and encoding speed of the kit beside giflib, on generated pictures: a
// photo-like 1920x1080 frame, 4096x4096 random indices, a flat 4096x4096, an interlaced
// 1920x1080 and a 100-frame 200x200 animation. Counters: Mpixel/s and the encoded size.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <malloc.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "gifkit/GifFormat.h"
#include "gifkit/GifStream.h"

namespace {

struct Picture {
  std::uint32_t Width = 0, Height = 0;
  bool Interlaced = false;
  std::vector<std::vector<std::uint8_t>> Frames;  // indices, rows top-down
  std::vector<TGifColor> Palette = std::vector<TGifColor>(256);
  std::uint64_t Pixels() const { return std::uint64_t(Width) * Height * Frames.size(); }
};

// Smooth shading with a little noise, quantised to 256 levels: what a photograph reduced to
// a palette looks like to LZW.
std::vector<std::uint8_t> PhotoLike(std::uint32_t w, std::uint32_t h, double phase, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> pixels(std::size_t(w) * h);
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      const double v = 128 + 70 * std::sin(x / 90.0 + phase) * std::cos(y / 70.0) +
                       40 * std::sin((x + y) / 230.0) + static_cast<int>(rng() % 7) - 3;
      pixels[std::size_t(y) * w + x] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
  }
  return pixels;
}

Picture MakePicture(int kind) {
  Picture p;
  for (int i = 0; i < 256; ++i) p.Palette[i] = (i * 0x010101u) ^ (i << 5);
  switch (kind) {
    case 0:
      p.Width = 1920;
      p.Height = 1080;
      p.Frames.push_back(PhotoLike(1920, 1080, 0, 1));
      break;
    case 1: {
      p.Width = p.Height = 4096;
      std::mt19937 rng(2);
      std::vector<std::uint8_t> pixels(std::size_t(4096) * 4096);
      for (auto& v : pixels) v = static_cast<std::uint8_t>(rng());
      p.Frames.push_back(std::move(pixels));
      break;
    }
    case 2:
      p.Width = p.Height = 4096;
      p.Frames.emplace_back(std::size_t(4096) * 4096, 17);
      break;
    case 3:
      p.Width = 1920;
      p.Height = 1080;
      p.Interlaced = true;
      p.Frames.push_back(PhotoLike(1920, 1080, 0, 3));
      break;
    default:
      p.Width = p.Height = 200;
      for (int f = 0; f < 100; ++f) p.Frames.push_back(PhotoLike(200, 200, f * 0.1, 10 + f));
      break;
  }
  return p;
}

const char* kNames[] = {"photo1920x1080", "random4096", "flat4096", "interlaced1920x1080",
                        "anim100x200x200"};

// --- ours ------------------------------------------------------------------------------------

// --- giflib ----------------------------------------------------------------------------------

int WriteToString(GifFileType* gif, const GifByteType* data, int count) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), count);
  return count;
}

std::string EncodeGiflib(const Picture& p) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToString, &error);
  std::vector<GifColorType> colors(256);
  for (int i = 0; i < 256; ++i) {
    colors[i] = {GifByteType(p.Palette[i] & 0xFF), GifByteType((p.Palette[i] >> 8) & 0xFF),
                 GifByteType((p.Palette[i] >> 16) & 0xFF)};
  }
  ColorMapObject* map = GifMakeMapObject(256, colors.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, p.Width, p.Height, 8, 0, map);
  for (const auto& pixels : p.Frames) {
    EGifPutImageDesc(gif, 0, 0, p.Width, p.Height, p.Interlaced, nullptr);
    std::uint32_t row = 0;
    for (std::uint32_t i = 0; i < p.Height; ++i) {
      EGifPutLine(gif, const_cast<GifPixelType*>(pixels.data()) + std::size_t(row) * p.Width,
                  p.Width);
      row = p.Interlaced ? NextInterlacedRow(row, p.Height) : row + 1;
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

struct Source {
  const std::string* bytes;
  std::size_t at;
};
int ReadFromString(GifFileType* gif, GifByteType* buffer, int count) {
  auto* s = static_cast<Source*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(count, s->bytes->size() - s->at);
  std::memcpy(buffer, s->bytes->data() + s->at, n);
  s->at += n;
  return static_cast<int>(n);
}

using File = std::shared_ptr<const std::string>;

std::uint64_t DecodeGiflib(const File& bytes) {
  Source source{bytes.get(), 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadFromString, &error);
  DGifSlurp(gif);
  std::uint64_t sum = gif->ImageCount ? gif->SavedImages[gif->ImageCount - 1].RasterBits[0] : 0;
  DGifCloseFile(gif, &error);
  return sum;
}

// Reads the file where it stands, as giflib does through its read function.
std::uint64_t DecodeOurs(const File& bytes) {
  TGIFImageCore image;
  image.ReadGifBytes(bytes, false);
  std::uint64_t sum = 0;
  for (int i = 0; i < image.Count(); ++i) sum += image.FrameAt(i)->DecodeIndices().Pixels[0];
  return sum;
}

std::string EncodeOurs(const Picture& p) {
  TGIFImageCore image;
  for (const auto& pixels : p.Frames) {
    TGIFFrameCore& frame = image.AppendFrame();
    frame.EncodeIndices(
        TGIFIndexImage{p.Width, p.Height, 8, p.Palette, TGifIndices(pixels.begin(), pixels.end())});
  }
  return image.WriteGifBytes();
}

// The file both decoders read: giflib's encoding, so that neither side reads its own output
// (and so that the interlaced picture really is interlaced).
const File& TestFile(int kind) {
  static File files[5];
  if (!files[kind])
    files[kind] = std::make_shared<const std::string>(EncodeGiflib(MakePicture(kind)));
  return files[kind];
}

const Picture& TestPicture(int kind) {
  static Picture pictures[5];
  if (pictures[kind].Frames.empty()) pictures[kind] = MakePicture(kind);
  return pictures[kind];
}

void Rate(benchmark::State& state, std::uint64_t pixels) {
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(pixels) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

// A decoder or an encoder on picture kind state.range(0); the templates let the timed loop call
// it directly, as a hand-written benchmark would.
template <std::uint64_t (*Decode)(const File&)>
void DecodeBench(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const File& bytes = TestFile(kind);
  for (auto _ : state) benchmark::DoNotOptimize(Decode(bytes));
  Rate(state, TestPicture(kind).Pixels());
  state.SetLabel(kNames[kind]);
}

template <std::string (*Encode)(const Picture&)>
void EncodeBench(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const Picture& p = TestPicture(kind);
  std::size_t size = 0;
  for (auto _ : state) size = Encode(p).size();
  Rate(state, p.Pixels());
  state.counters["bytes"] = double(size);
  state.SetLabel(kNames[kind]);
}

long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  }
  return 0;
}

// Peak resident memory one decoding adds on top of the file in memory (MB); the peak starts
// again from what is resident before each run. Memory an earlier run freed is handed back to the
// system first: kept by the allocator, it would be reused without counting, and whichever
// decoder runs second would look free of cost.
template <std::uint64_t (*Decode)(const File&)>
void PeakBench(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const File& bytes = TestFile(kind);
  double peak = 0;
  for (auto _ : state) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS:");
    benchmark::DoNotOptimize(Decode(bytes));
    peak = std::max(peak, (StatusKb("VmHWM:") - before) / 1024.0);
  }
  state.counters["peak MB"] = peak;
  state.SetLabel(kNames[kind]);
}

void BM_DecodePeak_Ours(benchmark::State& state) { PeakBench<DecodeOurs>(state); }
void BM_DecodePeak_Giflib(benchmark::State& state) { PeakBench<DecodeGiflib>(state); }

void BM_Decode_Ours(benchmark::State& state) { DecodeBench<DecodeOurs>(state); }
void BM_Decode_Giflib(benchmark::State& state) { DecodeBench<DecodeGiflib>(state); }
void BM_Encode_Ours(benchmark::State& state) { EncodeBench<EncodeOurs>(state); }
void BM_Encode_Giflib(benchmark::State& state) { EncodeBench<EncodeGiflib>(state); }

}  // namespace

BENCHMARK(BM_Decode_Ours)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode_Giflib)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode_Ours)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode_Giflib)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePeak_Ours)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePeak_Giflib)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
