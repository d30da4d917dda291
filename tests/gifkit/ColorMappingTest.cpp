// Colour reduction of true-colour pixels to a 256-entry palette, by each mapping method.
#include <gtest/gtest.h>

#include <set>

#include "gifkit/ColorMapping.h"

namespace {

struct Rgb24 {
  std::uint32_t w, h;
  std::vector<std::uint8_t> bgr;  // rows padded to 4 bytes, as in a bitmap
  std::size_t Stride() const { return (3 * w + 3) / 4 * 4; }
  Rgb24(std::uint32_t w_, std::uint32_t h_) : w(w_), h(h_), bgr((3 * w_ + 3) / 4 * 4 * h_, 0) {}
  void Set(std::uint32_t x, std::uint32_t y, int r, int g, int b) {
    std::uint8_t* p = &bgr[y * Stride() + 3 * x];
    p[0] = b, p[1] = g, p[2] = r;
  }
  TColorMapResult Map(TMappingMethod m) const {
    return MapTrueColorPixels(bgr.data(), w, h, Stride(), m);
  }
};

TGifColor Color(int r, int g, int b) { return r | (g << 8) | (b << 16); }

}  // namespace

TEST(ColorMapping, HistogramKeepsThe256MostFrequentColours) {
  // 300 distinct colours; colour i appears 300 - i times, so 0..255 are the most frequent.
  std::vector<TGifColor> colours;
  for (int i = 0; i < 300; ++i) colours.push_back(Color(i % 256, i < 256 ? 10 : 200, i / 3));
  Rgb24 img(300, 300);
  for (std::uint32_t y = 0; y < 300; ++y)
    for (std::uint32_t x = 0; x < 300; ++x) img.Set(x, y, 0, 10, 0);  // colour 0 fills the rest
  for (std::uint32_t i = 0; i < 300; ++i) {
    for (std::uint32_t y = 0; y < 300 - i; ++y) {
      const TGifColor c = colours[i];
      img.Set(i, y, c & 0xFF, (c >> 8) & 0xFF, c >> 16);
    }
  }
  const TColorMapResult r = img.Map(mmHistogram);
  const std::set<TGifColor> palette(r.Palette.begin(), r.Palette.end());
  for (int i = 0; i < 256; ++i) EXPECT_TRUE(palette.count(colours[i])) << i;
  for (std::uint32_t x = 0; x < 300; ++x) {
    const TGifColor got = r.Palette[r.Indices[x]];  // row 0 holds colour x
    if (x < 256) {
      EXPECT_EQ(got, colours[x]);
    } else {
      // Nearest entry by squared distance among the palette.
      auto dist = [](TGifColor a, TGifColor b) {
        long d = 0;
        for (int s = 0; s < 24; s += 8) {
          const long c = long((a >> s) & 0xFF) - long((b >> s) & 0xFF);
          d += c * c;
        }
        return d;
      };
      long best = -1;
      for (TGifColor p : r.Palette)
        best = best < 0 ? dist(p, colours[x]) : std::min(best, dist(p, colours[x]));
      EXPECT_EQ(dist(got, colours[x]), best) << x;
    }
  }
}

TEST(ColorMapping, HistogramCoarsensBlueThenRedThenGreen) {
  // 64 reds x 64 blues: too many colours; dropping blue's lowest bit leaves 2048.
  Rgb24 img(64, 64);
  for (std::uint32_t y = 0; y < 64; ++y)
    for (std::uint32_t x = 0; x < 64; ++x) img.Set(x, y, 2 * x + 1, 7, y);
  TColorMapResult r = img.Map(mmHistogram);
  bool oddRed = false;
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ((r.Palette[i] >> 16) % 2, 0u) << "blue of entry " << i;
    oddRed |= (r.Palette[i] & 1) != 0;
  }
  EXPECT_TRUE(oddRed);

  // Three varying channels need blue, red and then green coarsened.
  Rgb24 img3(256, 64);
  for (std::uint32_t y = 0; y < 64; ++y)
    for (std::uint32_t x = 0; x < 256; ++x)
      img3.Set(x, y, (x % 16) * 3, (y % 16) * 3 + 1, (x / 16) * 5 + (y / 16) * 80);
  r = img3.Map(mmHistogram);
  for (int i = 0; i < 256; ++i) {
    if (r.Palette[i] == 0x808080) continue;  // unused entry
    EXPECT_EQ(r.Palette[i] & 0x010001, 0u) << "red and blue of entry " << i;
  }
}

TEST(ColorMapping, FixedPalettesGreyLevelsAndRamps) {
  Rgb24 img(3, 2);
  img.Set(0, 0, 255, 255, 255);
  img.Set(1, 0, 0, 0, 0);
  img.Set(2, 0, 200, 100, 50);
  img.Set(0, 1, 10, 20, 30);
  img.Set(1, 1, 128, 128, 128);
  img.Set(2, 1, 255, 0, 0);

  TColorMapResult r = img.Map(mmQuantize224);
  EXPECT_EQ(r.Indices[0], 223);
  EXPECT_EQ(r.Indices[1], 0);
  EXPECT_EQ(r.Palette[223], Color(255, 255, 255));
  EXPECT_EQ(r.Palette[r.Indices[2]], Color(213, 109, 85));
  EXPECT_EQ(r.Palette[230], 0x808080u);
  EXPECT_EQ(r.ColorsUsed, 224);

  r = img.Map(mmQuantize216);
  EXPECT_EQ(r.Indices[0], 215);
  EXPECT_EQ(r.Palette[r.Indices[2]], Color(204, 102, 51));
  EXPECT_EQ(r.ColorsUsed, 216);

  r = img.Map(mmGrayscale);
  EXPECT_EQ(r.Indices[0], 255);
  EXPECT_EQ(r.Indices[2], (77 * 200 + 150 * 100 + 29 * 50) >> 8);
  EXPECT_EQ(r.Palette[100], Color(100, 100, 100));

  r = img.Map(mmChannelRamps);
  // (x + y) mod 3 picks red, green or blue.
  EXPECT_EQ(r.Indices[0], 255 >> 2);         // (0,0): red
  EXPECT_EQ(r.Indices[2], 128 + (50 >> 2));  // (2,0): blue
  EXPECT_EQ(r.Indices[3], 64 + (20 >> 2));   // (0,1): green
  EXPECT_EQ(r.Palette[64 + 5], Color(0, 20, 0));
  EXPECT_EQ(r.Palette[200], 0u);

  // Nearest levels, ties to the lower.
  EXPECT_EQ(NearestLevel(8, 18), 0);
  EXPECT_EQ(NearestLevel(8, 19), 1);
  EXPECT_EQ(NearestLevel(4, 42), 0);
  EXPECT_EQ(NearestLevel(4, 43), 1);
  EXPECT_EQ(NearestLevel(7, 255), 6);
}

TEST(ColorMapping, MedianCutSplitsIntoBoxesOfCells) {
  // Two colours far apart and a dark one: three boxes, each pixel in its own colour's box.
  Rgb24 img(30, 10);
  for (std::uint32_t y = 0; y < 10; ++y)
    for (std::uint32_t x = 0; x < 30; ++x) {
      if (x < 10)
        img.Set(x, y, 250, 20, 20);
      else if (x < 20)
        img.Set(x, y, 20, 20, 250);
      else
        img.Set(x, y, 5, 5, 5);
    }
  const TColorMapResult r = img.Map(mmMedianCut);
  EXPECT_EQ(r.ColorsUsed, 3);
  const int red = r.Indices[0], blue = r.Indices[10], dark = r.Indices[20];
  EXPECT_NE(red, blue);
  EXPECT_NE(red, dark);
  EXPECT_NE(blue, dark);
  EXPECT_EQ(r.Palette[dark], 0u);  // all channels 16 or less: black
  EXPECT_EQ(r.Palette[red], Color(15 * 16 + 15, 16 + 15, 16 + 15));
  EXPECT_EQ(r.Palette[255], 0u);
  for (std::uint32_t y = 0; y < 10; ++y) {
    EXPECT_EQ(r.Indices[y * 30 + 5], red);
    EXPECT_EQ(r.Indices[y * 30 + 15], blue);
  }
  // More cells than boxes: never more than 256 entries.
  Rgb24 many(64, 64);
  for (std::uint32_t y = 0; y < 64; ++y)
    for (std::uint32_t x = 0; x < 64; ++x) many.Set(x, y, x * 4, y * 4, (x ^ y) * 4);
  EXPECT_EQ(many.Map(mmMedianCut).ColorsUsed, 256);
}
