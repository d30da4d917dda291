// The tool bar's pictures, drawn on 16 x 16 bitmaps; pixels left in the key colour are
// transparent.
#include "browser/ToolbarArt.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/gui/Graphics.h"

namespace {

constexpr int kSize = 16;
constexpr TColor kKey = 0x00FF00FF;  // never drawn: the see-through colour

// $00BBGGRR
constexpr TColor kGreen = 0x00309030, kDarkGreen = 0x00186018;
constexpr TColor kRed = 0x002020D0, kDarkRed = 0x00101080;
constexpr TColor kBlue = 0x00C07020, kDarkBlue = 0x00804010;
constexpr TColor kGold = 0x0020C0F0, kDarkGold = 0x00107090;
constexpr TColor kGrey = 0x00A0A0A0, kDarkGrey = 0x00505050;
constexpr TColor kBrick = 0x003040C0, kWall = 0x00B0E0F0, kBrown = 0x00305080;

void Shape(TCanvas& c, TColor fill, TColor line, const std::vector<TPoint>& points) {
  c.Pen().SetColor(line);
  c.Brush().SetColor(fill);
  c.Polygon(points);
}

void Arrow(TCanvas& c, bool right) {
  std::vector<TPoint> p = {{1, 8}, {7, 2}, {7, 5}, {14, 5}, {14, 11}, {7, 11}, {7, 14}};
  if (right)
    for (TPoint& q : p) q.X = 15 - q.X;
  Shape(c, kGreen, kDarkGreen, p);
}

void Stop(TCanvas& c) {
  Shape(c, kRed, kDarkRed,
        {{5, 1}, {10, 1}, {14, 5}, {14, 10}, {10, 14}, {5, 14}, {1, 10}, {1, 5}});
  c.Pen().SetColor(clWhite);
  c.Pen().SetWidth(2);
  c.MoveTo(5, 5);
  c.LineTo(10, 10);
  c.MoveTo(10, 5);
  c.LineTo(5, 10);
  c.Pen().SetWidth(1);
}

void Refresh(TCanvas& c) {
  // A ring open at the top right, its head pointing round.
  c.Pen().SetColor(kBlue);
  c.Pen().SetWidth(3);
  c.Brush().SetStyle(bsClear);
  c.Ellipse(3, 3, 14, 14);
  c.Pen().SetWidth(1);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(kKey);
  c.Pen().SetColor(kKey);
  c.FillRect(Rect(9, 0, 16, 7));
  Shape(c, kBlue, kDarkBlue, {{8, 0}, {13, 4}, {8, 8}});
}

void Home(TCanvas& c) {
  Shape(c, kWall, kBrown, {{3, 7}, {13, 7}, {13, 15}, {3, 15}});
  Shape(c, kBrick, kDarkRed, {{0, 8}, {8, 1}, {15, 8}});
  c.Brush().SetColor(kBrown);
  c.FillRect(Rect(7, 10, 10, 15));
}

void Search(TCanvas& c) {
  c.Pen().SetColor(kDarkBlue);
  c.Pen().SetWidth(2);
  c.Brush().SetColor(0x00FFF0E0);
  c.Ellipse(1, 1, 11, 11);
  c.Pen().SetWidth(3);
  c.MoveTo(10, 10);
  c.LineTo(15, 15);
  c.Pen().SetWidth(1);
}

void Star(TCanvas& c) {
  Shape(c, kGold, kDarkGold,
        {{8, 0}, {10, 5}, {15, 6}, {11, 10}, {12, 15}, {8, 12}, {4, 15}, {5, 10}, {1, 6}, {6, 5}});
}

void Printer(TCanvas& c) {
  Shape(c, clWhite, kDarkGrey, {{4, 1}, {12, 1}, {12, 7}, {4, 7}});
  Shape(c, kGrey, kDarkGrey, {{1, 6}, {15, 6}, {15, 12}, {1, 12}});
  Shape(c, clWhite, kDarkGrey, {{4, 10}, {12, 10}, {12, 15}, {4, 15}});
  // Printed lines on the sheet coming out, and the lamp.
  c.Brush().SetColor(kBlue);
  c.FillRect(Rect(6, 11, 11, 12));
  c.FillRect(Rect(6, 13, 10, 14));
  c.Brush().SetColor(kGreen);
  c.FillRect(Rect(11, 7, 14, 9));
}

// The disabled form: each drawn pixel in a light grey of its own brightness.
void Grey(TBitmap& bitmap) {
  TCanvas& c = bitmap.Canvas();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const TColor colour = c.Pixel(x, y);
      if (colour == kKey) continue;
      const int r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
      const int light = 96 + (r * 30 + g * 59 + b * 11) / 100 * 128 / 255;
      c.SetPixel(x, y, static_cast<TColor>(light | (light << 8) | (light << 16)));
    }
}

}  // namespace

void DrawToolbarPictures(TImageList& list) {
  const std::vector<std::function<void(TCanvas&)>> pictures = {[](TCanvas& c) { Arrow(c, false); },
                                                               [](TCanvas& c) { Arrow(c, true); },
                                                               Stop,
                                                               Refresh,
                                                               Home,
                                                               Search,
                                                               Star,
                                                               Printer};
  std::vector<TBitmap> drawn(pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    TBitmap& bitmap = drawn[i];
    bitmap.SetSize(kSize, kSize);
    TCanvas& c = bitmap.Canvas();
    c.Brush().SetColor(kKey);
    c.FillRect(Rect(0, 0, kSize, kSize));
    pictures[i](c);
    list.AddMasked(bitmap, kKey);
  }
  for (TBitmap& bitmap : drawn) {
    Grey(bitmap);
    list.AddMasked(bitmap, kKey);
  }
}
