#include "tools/coins/CoinArt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gifkit/GifStream.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Index 0 is see-through; 1..kShades run from dark to light bronze; then the edge colour.
constexpr int kShades = 24;
constexpr int kEdge = kShades + 1;

std::vector<TGifColor> Palette() {
  std::vector<TGifColor> colours(256, 0);
  colours[0] = 0xF0F0F0;
  for (int i = 1; i <= kShades; ++i) {
    const double t = (i - 1) / double(kShades - 1);
    const int r = static_cast<int>(90 + 150 * t), g = static_cast<int>(60 + 125 * t),
              b = static_cast<int>(20 + 60 * t);
    colours[i] = r | (g << 8) | (b << 16);
  }
  colours[kEdge] = 0x103050;  // dark brown, $00BBGGRR
  return colours;
}

std::uint8_t Shade(double light) {
  return static_cast<std::uint8_t>(1 +
                                   std::clamp(static_cast<int>(light * kShades), 0, kShades - 1));
}

// What lies at (u, v) of the coin's own face, both in -1..1: 0 outside or in the hole, else a
// shade. The face has a raised rim, a raised square round the hole and four marks between
// them; the back only the two rims and a crescent.
std::uint8_t Surface(double u, double v, bool face, double light) {
  const double r = std::sqrt(u * u + v * v);
  if (r > 1) return 0;
  const double hole = 0.22;
  if (std::abs(u) < hole && std::abs(v) < hole) return 0;
  double level = 0.55 + 0.25 * (-u - v) * 0.5;  // light from the upper left
  const bool rim = r > 0.86;
  const bool inner = std::max(std::abs(u), std::abs(v)) < hole + 0.1;
  if (rim || inner) level += 0.25;
  if (face && !rim && !inner) {
    // Four marks above, below, left and right of the hole.
    const double a = std::abs(u), b = std::abs(v);
    const bool mark = (a < 0.12 && b > 0.45 && b < 0.72) || (b < 0.12 && a > 0.45 && a < 0.72) ||
                      (a < 0.04 && b > 0.36 && b < 0.8) || (b < 0.04 && a > 0.36 && a < 0.8);
    if (mark) level += 0.3;
  }
  if (!face && !rim && !inner) {
    const double du = u - 0.5, dv = v + 0.05;
    if (du * du + dv * dv < 0.03 && (du + 0.06) * (du + 0.06) + dv * dv > 0.02) level += 0.3;
  }
  return Shade(level * light);
}

// One frame: the coin turned by theta about its upright axis.
TGifIndices Frame(int size, double theta) {
  TGifIndices pixels(static_cast<std::size_t>(size) * size, 0);
  const double c = std::cos(theta);
  const double squash = std::max(std::abs(c), 0.08);
  const bool face = c >= 0;
  const double light = 0.75 + 0.25 * std::abs(c);
  const double radius = size / 2.0 - 1;
  const double centre = size / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double px = (x + 0.5 - centre) / radius, py = (y + 0.5 - centre) / radius;
      const double u = px / squash;
      if (u * u + py * py > 1) continue;
      // Seen edge-on the coin is its dark rim.
      if (squash < 0.15) {
        pixels[std::size_t(y) * size + x] = kEdge;
        continue;
      }
      pixels[std::size_t(y) * size + x] = Surface(face ? u : -u, py, face, light);
    }
  }
  return pixels;
}

std::string Write(const TCoinArt& art, const std::vector<double>& turns) {
  TGIFImageCore image;
  image.Version = TGIFVersion::gv89a;
  image.ScreenWidth = image.ScreenHeight = static_cast<std::uint16_t>(art.Size);
  image.Looping = art.Loop && turns.size() > 1;
  image.RepeatCount = 0;
  const std::vector<TGifColor> palette = Palette();
  image.Data->ColorTable = TGIFColorTable(256);
  for (int i = 0; i < 256; ++i) image.Data->ColorTable.SetColor(i, palette[i]);
  image.Data->BitsPerPixel = 8;
  for (double theta : turns) {
    TGIFFrameCore& frame = image.AppendFrame();
    const auto size = static_cast<std::uint32_t>(art.Size);
    frame.EncodeIndices(TGIFIndexImage{size, size, 8, palette, Frame(art.Size, theta)});
    frame.HasLocalColorTable = false;
    frame.Disposal = 2;  // each frame on the empty screen
    frame.SetTransparent(palette[0], 0);
    if (turns.size() > 1) frame.SetDelay(static_cast<std::uint16_t>(art.DelayMs));
  }
  image.FrameIndex = 0;
  return image.WriteGifBytes();
}

}  // namespace

std::string SpinningCoinGif(const TCoinArt& art) {
  std::vector<double> turns;
  for (int k = 0; k < art.Frames; ++k) turns.push_back(2 * kPi * k / art.Frames);
  return Write(art, turns);
}

std::string StillCoinGif(const TCoinArt& art) { return Write(art, {0.0}); }
