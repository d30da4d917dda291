#include "gifkit/ColorMapping.h"

#include <algorithm>
#include <array>
#include <cstdlib>

TMappingMethod DefaultMappingMethod = mmHistogram;

namespace {

constexpr TGifColor Rgb(int r, int g, int b) {
  return static_cast<TGifColor>(r | (g << 8) | (b << 16));
}
constexpr TGifColor kUnusedEntry = 0x808080;

const std::array<int, 4> kLevels4{0, 85, 170, 255};
const std::array<int, 6> kLevels6{0, 51, 102, 153, 204, 255};
const std::array<int, 7> kLevels7{0, 43, 85, 128, 170, 213, 255};
const std::array<int, 8> kLevels8{0, 36, 73, 109, 146, 182, 219, 255};

template <std::size_t N>
std::array<std::uint8_t, 256> TruncationTable(const std::array<int, N>& levels) {
  std::array<std::uint8_t, 256> table{};
  for (int v = 0; v < 256; ++v) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < N; ++i) {
      if (std::abs(levels[i] - v) < std::abs(levels[best] - v)) best = i;
    }
    table[v] = static_cast<std::uint8_t>(best);
  }
  return table;
}

// Built once, as the kit does at start-up.
struct Tables {
  std::array<std::uint8_t, 256> t4 = TruncationTable(kLevels4);
  std::array<std::uint8_t, 256> t6 = TruncationTable(kLevels6);
  std::array<std::uint8_t, 256> t7 = TruncationTable(kLevels7);
  std::array<std::uint8_t, 256> t8 = TruncationTable(kLevels8);
};
const Tables& LevelTables() {
  static const Tables tables;
  return tables;
}

template <class F>
void ForEachPixel(const std::uint8_t* bgr, std::uint32_t w, std::uint32_t h, std::size_t stride,
                  F&& f) {
  for (std::uint32_t y = 0; y < h; ++y) {
    const std::uint8_t* p = bgr + static_cast<std::size_t>(y) * stride;
    for (std::uint32_t x = 0; x < w; ++x, p += 3) f(x, y, p[2], p[1], p[0]);
  }
}

// --- histogram -------------------------------------------------------------------------------

constexpr int kMaxHistogramColors = 2049;
constexpr int kHistogramSlots = 5191;

struct HistogramColor {
  std::uint32_t Count;
  std::uint8_t B, G, R;
  std::uint8_t Index;
};

constexpr std::uint16_t kNoColor = 0xFFFF;

// The slot holding the colour, or the empty slot where it belongs.
int FindColorSlot(const std::vector<std::uint16_t>& slots,
                  const std::vector<HistogramColor>& colors, int r, int g, int b) {
  int slot = ((r + g) * (g + b) * (b + r)) % kHistogramSlots;
  while (slots[slot] != kNoColor) {
    const HistogramColor& c = colors[slots[slot]];
    if (c.R == r && c.G == g && c.B == b) break;
    if (++slot == kHistogramSlots) slot = 0;
  }
  return slot;
}

// Counts the masked colours; false when more than kMaxHistogramColors appear.
bool CountColors(const std::uint8_t* bgr, std::uint32_t w, std::uint32_t h, std::size_t stride,
                 const int mask[3], std::vector<HistogramColor>& colors,
                 std::vector<std::uint16_t>& slots) {
  colors.clear();
  slots.assign(kHistogramSlots, kNoColor);
  for (std::uint32_t y = 0; y < h; ++y) {
    const std::uint8_t* p = bgr + static_cast<std::size_t>(y) * stride;
    for (std::uint32_t x = 0; x < w; ++x, p += 3) {
      const int r = p[2] & mask[0], g = p[1] & mask[1], b = p[0] & mask[2];
      const int slot = FindColorSlot(slots, colors, r, g, b);
      if (slots[slot] != kNoColor) {
        ++colors[slots[slot]].Count;
        continue;
      }
      if (static_cast<int>(colors.size()) == kMaxHistogramColors) return false;
      slots[slot] = static_cast<std::uint16_t>(colors.size());
      colors.push_back({1, static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                        static_cast<std::uint8_t>(r), 0});
    }
  }
  return true;
}

TColorMapResult Histogram(const std::uint8_t* bgr, std::uint32_t w, std::uint32_t h,
                          std::size_t stride) {
  int mask[3] = {255, 255, 255};  // red, green, blue
  std::vector<HistogramColor> colors;
  std::vector<std::uint16_t> slots;
  while (!CountColors(bgr, w, h, stride, mask, colors, slots)) {
    // Coarsen one channel at a time: blue, red, green, blue, ... from equal masks.
    if (mask[0] < mask[1]) {
      mask[1] = (mask[1] << 1) & 0xFF;
    } else if (mask[0] > mask[2]) {
      mask[0] = (mask[0] << 1) & 0xFF;
    } else {
      mask[2] = (mask[2] << 1) & 0xFF;
    }
  }
  TColorMapResult result;
  result.Palette.assign(256, kUnusedEntry);
  std::vector<bool> taken(colors.size(), false);
  std::vector<int> chosen;
  while (chosen.size() < 256 && chosen.size() < colors.size()) {
    int best = -1;
    for (std::size_t i = 0; i < colors.size(); ++i) {
      if (!taken[i] && (best < 0 || colors[i].Count > colors[best].Count))
        best = static_cast<int>(i);
    }
    taken[best] = true;
    colors[best].Index = static_cast<std::uint8_t>(chosen.size());
    result.Palette[chosen.size()] = Rgb(colors[best].R, colors[best].G, colors[best].B);
    chosen.push_back(best);
  }
  for (std::size_t i = 0; i < colors.size(); ++i) {
    if (taken[i]) continue;
    int best = 0;
    long bestDistance = -1;
    for (std::size_t e = 0; e < chosen.size(); ++e) {
      const HistogramColor& p = colors[chosen[e]];
      const long dr = p.R - colors[i].R, dg = p.G - colors[i].G, db = p.B - colors[i].B;
      const long d = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || d < bestDistance) {
        bestDistance = d;
        best = static_cast<int>(e);
      }
    }
    colors[i].Index = static_cast<std::uint8_t>(best);
  }
  result.Indices.resize(static_cast<std::size_t>(w) * h);
  ForEachPixel(bgr, w, h, stride, [&](std::uint32_t x, std::uint32_t y, int r, int g, int b) {
    // Every masked colour was counted, so its slot is never empty.
    const int slot = FindColorSlot(slots, colors, r & mask[0], g & mask[1], b & mask[2]);
    result.Indices[static_cast<std::size_t>(y) * w + x] = colors[slots[slot]].Index;
  });
  return result;
}

// --- median cut ------------------------------------------------------------------------------

struct Box {
  std::vector<std::uint16_t> Cells;
  std::uint64_t Pixels = 0;
  int Start[3] = {0, 0, 0};
  int Extent[3] = {255, 255, 255};
};

int CellChannel(std::uint16_t cell, int channel) { return (cell >> (8 - 4 * channel)) & 15; }

TColorMapResult MedianCut(const std::uint8_t* bgr, std::uint32_t w, std::uint32_t h,
                          std::size_t stride) {
  std::vector<std::uint64_t> cellCount(4096, 0);
  std::vector<std::uint16_t> pixelCell(static_cast<std::size_t>(w) * h);
  ForEachPixel(bgr, w, h, stride, [&](std::uint32_t x, std::uint32_t y, int r, int g, int b) {
    const std::uint16_t cell =
        static_cast<std::uint16_t>((r >> 4) * 256 + (g >> 4) * 16 + (b >> 4));
    ++cellCount[cell];
    pixelCell[static_cast<std::size_t>(y) * w + x] = cell;
  });
  std::vector<Box> boxes(1);
  for (int c = 0; c < 4096; ++c) {
    if (cellCount[c]) boxes[0].Cells.push_back(static_cast<std::uint16_t>(c));
  }
  boxes[0].Pixels = static_cast<std::uint64_t>(w) * h;

  while (boxes.size() < 256) {
    int bestBox = -1, bestChannel = 0, bestExtent = -1;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].Cells.size() < 2) continue;
      for (int ch = 0; ch < 3; ++ch) {
        if (boxes[i].Extent[ch] > bestExtent) {
          bestExtent = boxes[i].Extent[ch];
          bestBox = static_cast<int>(i);
          bestChannel = ch;
        }
      }
    }
    if (bestBox < 0) break;
    Box& box = boxes[bestBox];
    std::stable_sort(box.Cells.begin(), box.Cells.end(), [&](std::uint16_t a, std::uint16_t b) {
      return CellChannel(a, bestChannel) < CellChannel(b, bestChannel);
    });
    // Split where the running pixel count passes half of the box's pixels; both halves keep
    // at least one cell.
    std::uint64_t running = 0;
    std::size_t split = 1;
    for (std::size_t i = 0; i + 1 < box.Cells.size(); ++i) {
      running += cellCount[box.Cells[i]];
      split = i + 1;
      if (running * 2 > box.Pixels) break;
    }
    Box next;
    next.Cells.assign(box.Cells.begin() + split, box.Cells.end());
    box.Cells.resize(split);
    for (std::uint16_t c : next.Cells) next.Pixels += cellCount[c];
    box.Pixels -= next.Pixels;
    for (int ch = 0; ch < 3; ++ch) {
      next.Start[ch] = box.Start[ch];
      next.Extent[ch] = box.Extent[ch];
    }
    const int end = box.Start[bestChannel] + box.Extent[bestChannel];
    next.Start[bestChannel] = CellChannel(next.Cells.front(), bestChannel) * 16;
    next.Extent[bestChannel] = std::max(0, end - next.Start[bestChannel]);
    box.Extent[bestChannel] = std::max(0, next.Start[bestChannel] - box.Start[bestChannel]);
    boxes.push_back(std::move(next));
  }

  TColorMapResult result;
  result.Palette.assign(256, 0);
  std::vector<std::uint8_t> cellBox(4096, 0);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    int sum[3] = {0, 0, 0};
    for (std::uint16_t c : boxes[i].Cells) {
      cellBox[c] = static_cast<std::uint8_t>(i);
      for (int ch = 0; ch < 3; ++ch) sum[ch] += CellChannel(c, ch);
    }
    const int n = static_cast<int>(std::max<std::size_t>(1, boxes[i].Cells.size()));
    int v[3];
    for (int ch = 0; ch < 3; ++ch) v[ch] = (sum[ch] * 16 + 15) / n;
    result.Palette[i] = (v[0] <= 16 && v[1] <= 16 && v[2] <= 16) ? 0 : Rgb(v[0], v[1], v[2]);
  }
  result.Indices.resize(pixelCell.size());
  for (std::size_t i = 0; i < pixelCell.size(); ++i) result.Indices[i] = cellBox[pixelCell[i]];
  result.ColorsUsed = static_cast<int>(boxes.size());
  return result;
}

}  // namespace

int NearestLevel(int levels, int value) {
  const Tables& t = LevelTables();
  const auto& table = levels == 4 ? t.t4 : levels == 6 ? t.t6 : levels == 7 ? t.t7 : t.t8;
  return table[value & 0xFF];
}

TColorMapResult MapTrueColorPixels(const std::uint8_t* bgr, std::uint32_t width,
                                   std::uint32_t height, std::size_t stride,
                                   TMappingMethod method) {
  CheckGifImageArea(width, height);
  if (method == mmHistogram) return Histogram(bgr, width, height, stride);
  if (method == mmMedianCut) return MedianCut(bgr, width, height, stride);

  const Tables& t = LevelTables();
  TColorMapResult result;
  result.Palette.assign(256, method == mmChannelRamps ? 0 : kUnusedEntry);
  result.Indices.resize(static_cast<std::size_t>(width) * height);
  std::uint8_t* out = result.Indices.data();
  switch (method) {
    case mmQuantize224:
      for (int r = 0; r < 7; ++r)
        for (int g = 0; g < 8; ++g)
          for (int b = 0; b < 4; ++b)
            result.Palette[32 * r + 4 * g + b] = Rgb(kLevels7[r], kLevels8[g], kLevels4[b]);
      result.ColorsUsed = 224;
      ForEachPixel(bgr, width, height, stride,
                   [&](std::uint32_t, std::uint32_t, int r, int g, int b) {
                     *out++ = static_cast<std::uint8_t>(32 * t.t7[r] + 4 * t.t8[g] + t.t4[b]);
                   });
      break;
    case mmQuantize216:
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b)
            result.Palette[36 * r + 6 * g + b] = Rgb(kLevels6[r], kLevels6[g], kLevels6[b]);
      result.ColorsUsed = 216;
      ForEachPixel(bgr, width, height, stride,
                   [&](std::uint32_t, std::uint32_t, int r, int g, int b) {
                     *out++ = static_cast<std::uint8_t>(36 * t.t6[r] + 6 * t.t6[g] + t.t6[b]);
                   });
      break;
    case mmChannelRamps:
      for (int i = 0; i < 64; ++i) {
        result.Palette[i] = Rgb(4 * i, 0, 0);
        result.Palette[64 + i] = Rgb(0, 4 * i, 0);
        result.Palette[128 + i] = Rgb(0, 0, 4 * i);
      }
      ForEachPixel(bgr, width, height, stride,
                   [&](std::uint32_t x, std::uint32_t y, int r, int g, int b) {
                     const int k = (x + y) % 3;
                     *out++ = static_cast<std::uint8_t>(k == 0   ? r >> 2
                                                        : k == 1 ? 64 + (g >> 2)
                                                                 : 128 + (b >> 2));
                   });
      break;
    default:  // grey levels
      for (int i = 0; i < 256; ++i) result.Palette[i] = Rgb(i, i, i);
      ForEachPixel(bgr, width, height, stride,
                   [&](std::uint32_t, std::uint32_t, int r, int g, int b) {
                     *out++ = static_cast<std::uint8_t>((77 * r + 150 * g + 29 * b) >> 8);
                   });
      break;
  }
  return result;
}
