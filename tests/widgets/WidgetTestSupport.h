// Pictures for pixel checks: a bitmap filled with a marker colour that no drawing routine
// uses, so every pixel a routine leaves alone shows the marker.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

namespace wktest {

constexpr TColor kMarker = RGB(1, 254, 3);

struct MarkedPicture {
  explicit MarkedPicture(int width = 24, int height = 24) : bitmap(width, height) {
    bitmap.Canvas().Brush().SetColor(kMarker);
    bitmap.Canvas().FillRect(Rect(0, 0, width, height));
  }
  TCanvas& canvas() { return bitmap.Canvas(); }
  TColor at(int x, int y) const { return bitmap.PixelColor(x, y); }
  TBitmap bitmap;
};

// One expected pixel: position and the colour (system colours resolved when compared).
struct Px {
  int X, Y;
  TColor Color;
};

inline ::testing::AssertionResult PixelsAre(const TBitmap& bitmap, const std::vector<Px>& pixels) {
  std::string wrong;
  for (const Px& p : pixels) {
    const TColor want = ColorToRGB(p.Color), got = bitmap.PixelColor(p.X, p.Y);
    if (want != got) {
      char buf[96];
      snprintf(buf, sizeof buf, " (%d,%d)=%06X want %06X;", p.X, p.Y, got, want);
      wrong += buf;
    }
  }
  if (wrong.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "wrong pixels:" << wrong;
}

}  // namespace wktest
